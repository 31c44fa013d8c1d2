#include "core/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> g_closed;
void RecordClose(int handle)
{
    g_closed.push_back(handle);
}
using UniqueFake = core::UniqueHandle<int, &RecordClose, -1>;

TEST(UniqueHandle, ClosesEachValidHandleOnce)
{
    g_closed.clear();
    {
        UniqueFake a(3);
        UniqueFake b(std::move(a));
        EXPECT_FALSE(a.IsValid());
        UniqueFake c(4);
        c = std::move(b);  // closes 4, takes 3
        UniqueFake invalid;
        UniqueFake released(5);
        EXPECT_EQ(released.Release(), 5);
        *c.Put() = 6;  // Put closes 3 before the new value arrives
    }
    EXPECT_EQ(g_closed, (std::vector<int>{4, 3, 6}));
}

TEST(UniqueHandle, OwnsRealEventAndFile)
{
    core::UniqueEvent event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    EXPECT_EQ(::WaitForSingleObject(event.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

    core::UniqueFile missing(::CreateFileW(L"Z:\\no\\such\\file.bin", GENERIC_READ, 0, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
}

}  // namespace
