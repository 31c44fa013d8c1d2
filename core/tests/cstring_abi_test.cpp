#include "core/cstring_abi.h"
#include "tests/support/counting_string_manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using CountingManager = testsupport::CountingStringManager;

TEST(CStringAbi, HeaderPrecedesZeroTerminatedCharacters)
{
    CountingManager manager;
    core::CStringW s = core::CStringCreate(L"Abbrechen", manager);
    core::CStringData* header = core::CStringHeader(s);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(reinterpret_cast<char*>(header) + sizeof(core::CStringData),
              reinterpret_cast<char*>(s.chars));
    EXPECT_EQ(header->manager, &manager);
    EXPECT_EQ(header->dataLength, 9);
    EXPECT_EQ(header->refs, 1);
    EXPECT_EQ(s.chars[9], L'\0');
    EXPECT_EQ(core::CStringView(s), L"Abbrechen");
    core::CStringRelease(s);
    EXPECT_EQ(s.chars, nullptr);
    EXPECT_EQ(manager.frees, 1);
}

TEST(CStringAbi, LastReleaseFreesThroughRecordedManager)
{
    CountingManager manager;
    core::CStringW original = core::CStringCreate(L"x", manager);
    core::CStringW byValue = core::CStringAddRef(original);  // what a caller hands over
    core::CStringRelease(byValue);                           // what the callee does
    EXPECT_EQ(manager.frees, 0);
    core::CStringRelease(original);
    EXPECT_EQ(manager.frees, 1);
}

TEST(CStringAbi, NullStringReadsEmptyAndReleasesSafely)
{
    core::CStringW s{nullptr};
    EXPECT_TRUE(core::CStringView(s).empty());
    EXPECT_EQ(core::CStringAddRef(s).chars, nullptr);
    core::CStringRelease(s);

    CountingManager manager;
    manager.failNext = true;
    EXPECT_EQ(core::CStringCreate(L"text", manager).chars, nullptr);
}

TEST(CStringAbi, EmptyTextIsARealString)
{
    core::CStringW s = core::CStringCreate(L"");
    ASSERT_NE(s.chars, nullptr);
    EXPECT_EQ(s.chars[0], L'\0');
    core::CStringRelease(s);
}

TEST(CStringAbi, ConcurrentSharingFreesExactlyOnce)
{
    CountingManager manager;
    core::CStringW s = core::CStringCreate(L"shared", manager);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([s] {
            for (int i = 0; i < 10000; ++i) {
                core::CStringW copy = core::CStringAddRef(s);
                core::CStringRelease(copy);
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(core::CStringHeader(s)->refs, 1);
    core::CStringRelease(s);
    EXPECT_EQ(manager.frees, 1);
}

TEST(CStringHolder, CopiesShareAndMovesTransfer)
{
    core::CStringHolder a(L"text");
    {
        core::CStringHolder b = a;
        EXPECT_EQ(b.Get().chars, a.Get().chars);
        EXPECT_EQ(core::CStringHeader(a.Get())->refs, 2);
    }
    EXPECT_EQ(core::CStringHeader(a.Get())->refs, 1);

    core::CStringW passed = a.Share();
    EXPECT_EQ(core::CStringHeader(a.Get())->refs, 2);
    core::CStringHolder received = core::CStringHolder::Adopt(passed);
    core::CStringHolder moved = std::move(received);
    EXPECT_EQ(received.Get().chars, nullptr);
    EXPECT_EQ(moved.View(), L"text");
}

}  // namespace
