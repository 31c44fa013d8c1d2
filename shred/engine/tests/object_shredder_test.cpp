#include "shred/engine/object_shredder.h"

#include "shred/engine/tests/scripted_system.h"
#include "shred/engine/tests/shred_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace shred::testing {

void SHRED_CALLBACK ReadBackEveryPass(void* ctx, int percent, int, int, int passCount,
                                      std::uint64_t bytesDone, void**, float,
                                      std::uint64_t fileSize)
{
    auto& readBack = *static_cast<ReadBack*>(ctx);
    ++readBack.calls;
    if (readBack.target >= readBack.targets.size()) {
        readBack.failures.push_back("progress after the last target");
        return;
    }
    const ReadBack::Target& target = readBack.targets[readBack.target];
    if (fileSize != target.size || static_cast<std::size_t>(passCount) != readBack.passCount)
        readBack.failures.push_back("size or pass count of target " +
                                    std::to_string(readBack.target));
    if (percent < readBack.lastPercent || percent > 100)
        readBack.failures.push_back("percent " + std::to_string(percent));
    readBack.lastPercent = percent;
    if (bytesDone == 0 || bytesDone % target.size != 0)
        return;  // inside a pass
    const std::size_t pass = static_cast<std::size_t>(bytesDone / target.size) - 1;
    const auto actual = readBack.backing->Read(target.path);
    if (!actual || *actual != Expand(readBack.buffers[pass], static_cast<std::size_t>(target.size)))
        readBack.failures.push_back("target " + std::to_string(readBack.target) + " pass " +
                                    std::to_string(pass) + " reads back wrong");
    ++readBack.checkedPasses;
    if (pass + 1 == readBack.passCount) {
        if (percent != 100)
            readBack.failures.push_back("last chunk reports " + std::to_string(percent) + "%");
        ++readBack.target;
        readBack.lastPercent = -1;
    }
}

namespace {

struct RunOptions
{
    const ShredVariant* variant = &kVolumewipe;
    bool keepFile = false;
    ShredProgressCallback progress = nullptr;
    void* ctx = nullptr;
    char* abortFlag = nullptr;
    void** pauseEvent = nullptr;
};

template <typename Backing>
class ShredObjectTest : public ::testing::Test
{
protected:
    std::wstring Path(const std::wstring& name) { return m_backing.Root() + L"\\" + name; }

    ShredResult Shred(const std::wstring& path, const PassList& passes,
                      const RunOptions& options = {})
    {
        int percent = 0;
        const int fileIndex = 1;
        const ShredWalk walk{m_system,           *options.variant,  passes,
                             &percent,           &fileIndex,        1,
                             options.pauseEvent, options.abortFlag, options.ctx,
                             options.progress,   options.keepFile};
        return ShredObject(path, walk);
    }

    bool Called(const std::wstring& call) const
    {
        return std::find(m_system.calls.begin(), m_system.calls.end(), call) !=
               m_system.calls.end();
    }
    std::ptrdiff_t CallIndex(const std::wstring& call) const
    {
        return std::find(m_system.calls.begin(), m_system.calls.end(), call) -
               m_system.calls.begin();
    }

    Backing m_backing;
    ScriptedSystem m_system{m_backing.System()};
};

#if defined(_WIN32)
using Backings = ::testing::Types<MemoryBacking, Win32Backing>;
#else
using Backings = ::testing::Types<MemoryBacking>;
#endif
TYPED_TEST_SUITE(ShredObjectTest, Backings);

TYPED_TEST(ShredObjectTest, EveryPassReadsBackAsItsPattern)
{
    struct Case
    {
        std::size_t size;
        int algorithmId;
        int expectedCalls;  // -1: not checked
    };
    const Case cases[] = {
        {0, 2, 0},     {1, 2, 35},      {1024, 4, 7}, {1025, 3, 3},     {65535, 2, 35},
        {65536, 1, 3}, {65537, 12, 14}, {4099, 5, 3}, {200000, 2, 140},  // 65535 * 3 + 3395 per
                                                                         // pass: 200000 is no
                                                                         // multiple of the 3-byte
                                                                         // patterns
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("size " + std::to_string(c.size) + ", algorithm " +
                     std::to_string(c.algorithmId));
        const std::wstring path = this->Path(L"target" + std::to_wstring(++number) + L".bin");
        this->m_backing.MakeFile(path, Original(c.size));
        const PassList passes = Passes(c.algorithmId);
        ReadBack readBack;
        readBack.backing = &this->m_backing;
        readBack.passCount = passes.size();
        readBack.buffers = PassBuffers(passes, this->m_system.seconds);
        readBack.targets = {{path, c.size}};
        RunOptions options;
        options.progress = &ReadBackEveryPass;
        options.ctx = &readBack;

        EXPECT_EQ(this->Shred(path, passes, options), kShredDone);

        EXPECT_THAT(readBack.failures, ::testing::IsEmpty());
        EXPECT_EQ(readBack.calls, c.expectedCalls);
        EXPECT_EQ(readBack.checkedPasses, c.size == 0 ? 0 : static_cast<int>(passes.size()));
        EXPECT_THAT(this->m_backing.Names(this->m_backing.Root()), ::testing::IsEmpty());
    }
}

TYPED_TEST(ShredObjectTest, NamedStreamsAreOverwrittenAndDeletedBeforeTheMainStream)
{
    const std::wstring one = L":one:$DATA";
    const std::wstring two = L":two:$DATA";
    for (const bool keepFile : {false, true}) {
        SCOPED_TRACE(keepFile ? "keepFile" : "remove");
        const std::wstring path = this->Path(keepFile ? L"kept.txt" : L"streams.txt");
        this->m_backing.MakeFile(path, Original(3000));
        this->m_backing.MakeFile(path + one, Original(5000));
        this->m_backing.MakeFile(path + two, Original(70000));
        this->m_system.streamNames = std::vector<std::wstring>{one, two};
        this->m_system.calls.clear();
        const PassList passes = Passes(1);
        ReadBack readBack;
        readBack.backing = &this->m_backing;
        readBack.passCount = passes.size();
        readBack.buffers = PassBuffers(passes, this->m_system.seconds);
        readBack.targets = {{path + one, 5000}, {path + two, 70000}, {path, 3000}};
        RunOptions options;
        options.progress = &ReadBackEveryPass;
        options.ctx = &readBack;
        options.keepFile = keepFile;

        std::vector<bool> notContentIndexed;
        this->m_system.failOpen = [&](const std::wstring&, const OpenOptions& open) {
            notContentIndexed.push_back(open.notContentIndexed);
            return false;
        };

        EXPECT_EQ(this->Shred(path, passes, options), kShredDone);

        EXPECT_THAT(readBack.failures, ::testing::IsEmpty());
        EXPECT_EQ(readBack.checkedPasses, 9);
        // Three overwrite opens, then (unless kept) the reopen before deletion.
        EXPECT_THAT(std::vector<bool>(notContentIndexed.begin(), notContentIndexed.begin() + 3),
                    ::testing::Each(true));
        EXPECT_LT(this->CallIndex(L"open " + path + one), this->CallIndex(L"remove " + path + one));
        EXPECT_LT(this->CallIndex(L"remove " + path + one), this->CallIndex(L"open " + path + two));
        EXPECT_LT(this->CallIndex(L"remove " + path + two), this->CallIndex(L"open " + path));
        EXPECT_FALSE(this->m_backing.Exists(path + one));
        EXPECT_FALSE(this->m_backing.Exists(path + two));
        EXPECT_EQ(this->m_backing.Exists(path), keepFile);
    }
}

TYPED_TEST(ShredObjectTest, SnapwipeOverwritesOnlyTheMainStream)
{
    const std::wstring path = this->Path(L"snap.txt");
    const std::wstring stream = L":one:$DATA";
    this->m_backing.MakeFile(path, Original(3000));
    this->m_backing.MakeFile(path + stream, Original(500));
    this->m_system.streamNames = std::vector<std::wstring>{stream};
    std::vector<bool> notContentIndexed;
    this->m_system.failOpen = [&](const std::wstring&, const OpenOptions& open) {
        notContentIndexed.push_back(open.notContentIndexed);
        return false;
    };
    RunOptions options;
    options.variant = &kSnapwipe;
    options.keepFile = true;

    EXPECT_EQ(this->Shred(path, Passes(0), options), kShredDone);

    EXPECT_FALSE(this->Called(L"backup " + path));
    EXPECT_THAT(notContentIndexed, ::testing::ElementsAre(false));
    EXPECT_EQ(this->m_backing.Read(path + stream), Original(500));
    EXPECT_EQ(this->m_backing.Read(path), std::vector<std::uint8_t>(3000, 0));
    EXPECT_EQ(this->m_system.printed, "");
}

TYPED_TEST(ShredObjectTest, FailuresStopTheObjectAndLeaveItInPlace)
{
    enum class Fate
    {
        Untouched,
        TwoChunksWritten,
        ShortThirdChunk,
        OverwrittenInPlace,
        OverwrittenUnderA,
        EmptyUnderA
    };
    struct Case
    {
        const char* name;
        std::function<void(ScriptedSystem&, const std::wstring& path)> inject;
        ShredResult expected;
        Fate fate;
    };
    const Case cases[] = {
        {"open fails",
         [](ScriptedSystem& s, const std::wstring& path) {
             s.failOpen = [path](const std::wstring& p, const OpenOptions&) { return p == path; };
         },
         kShredNotFound, Fate::Untouched},
        {"first write fails", [](ScriptedSystem& s, const std::wstring&) { s.failWriteAt = 0; },
         kShredNotFound, Fate::Untouched},
        {"third write fails", [](ScriptedSystem& s, const std::wstring&) { s.failWriteAt = 2; },
         kShredNotFound, Fate::TwoChunksWritten},
        {"third write falls short",
         [](ScriptedSystem& s, const std::wstring&) { s.shortWriteAt = 2; }, kShredNotFound,
         Fate::ShortThirdChunk},
        {"first rename fails",
         [](ScriptedSystem& s, const std::wstring& path) {
             s.failMove = [path](const std::wstring& from, const std::wstring&) {
                 return from == path;
             };
         },
         kShredRenameFailed, Fate::OverwrittenInPlace},
        {"reopen fails",
         [](ScriptedSystem& s, const std::wstring&) {
             s.failOpen = [](const std::wstring&, const OpenOptions& o) {
                 return !o.shareReadWrite;
             };
         },
         kShredRemoveFailed, Fate::OverwrittenUnderA},
        {"delete fails",
         [](ScriptedSystem& s, const std::wstring&) {
             s.failRemove = [](const std::wstring& p) { return p.ends_with(L"\\a."); };
         },
         kShredRemoveFailed, Fate::EmptyUnderA},
    };
    const std::size_t size = 200000;  // four chunks of 65536 with algorithm 0
    std::vector<std::uint8_t> twoChunks = Original(size);
    std::fill_n(twoChunks.begin(), 2 * 65536, 0);
    std::vector<std::uint8_t> shortThird = twoChunks;
    std::fill_n(shortThird.begin(), 3 * 65536 - 1, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TypeParam backing;
        ScriptedSystem system(backing.System());
        const std::wstring path = backing.Root() + L"\\victim.doc";
        const std::wstring letterA = backing.Root() + L"\\a";
        backing.MakeFile(path, Original(size));
        c.inject(system, path);
        int percent = 0;
        const int fileIndex = 1;
        const PassList passes = Passes(0);
        const ShredWalk walk{system, kVolumewipe, passes, &percent, &fileIndex, 1};

        EXPECT_EQ(ShredObject(path, walk), c.expected);

        const bool inPlace = c.fate != Fate::OverwrittenUnderA && c.fate != Fate::EmptyUnderA;
        EXPECT_EQ(backing.Names(backing.Root()).size(), 1u);
        switch (c.fate) {
            case Fate::Untouched:
                EXPECT_EQ(backing.Read(path), Original(size));
                break;
            case Fate::TwoChunksWritten:
                EXPECT_EQ(backing.Read(path), twoChunks);
                break;
            case Fate::ShortThirdChunk:
                EXPECT_EQ(backing.Read(path), shortThird);
                break;
            case Fate::OverwrittenInPlace:
                EXPECT_EQ(backing.Read(path), std::vector<std::uint8_t>(size, 0));
                break;
            case Fate::OverwrittenUnderA:
                EXPECT_EQ(backing.Read(letterA), std::vector<std::uint8_t>(size, 0));
                break;
            case Fate::EmptyUnderA:
                EXPECT_EQ(backing.Read(letterA), std::vector<std::uint8_t>());
                break;
        }
        if (inPlace) {
            EXPECT_THAT(system.moves, ::testing::IsEmpty());
        }
    }
}

TYPED_TEST(ShredObjectTest, RenamesWalkRandomLongAndOneLetterNamesAndLeaveNoneBehind)
{
    const std::wstring root = this->m_backing.Root();
    const std::wstring path = this->Path(L"report.final.txt");
    this->m_backing.MakeFile(path, Original(100));

    EXPECT_EQ(this->Shred(path, Passes(0)), kShredDone);

    const auto& moves = this->m_system.moves;
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(moves[0].first, path);
    const std::wstring randomName = moves[0].second.substr(root.size() + 1);
    EXPECT_TRUE(HasShape(randomName, L"????????????.???"))
        << std::string(randomName.begin(), randomName.end());
    EXPECT_EQ(moves[1].first, moves[0].second);
    EXPECT_EQ(moves[1].second.size(), 258u);
    EXPECT_EQ(moves[1].second, root + L"\\" + std::wstring(253 - root.size(), L'a') + L".aaa");
    EXPECT_EQ(moves[2], std::make_pair(moves[1].second, root + L"\\a."));
    const auto& calls = this->m_system.calls;
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[calls.size() - 3], L"truncate");
    EXPECT_EQ(calls[calls.size() - 2], L"times 119600064000000000");
    EXPECT_EQ(calls.back(), L"remove " + root + L"\\a.");
    EXPECT_THAT(this->m_backing.Names(root), ::testing::IsEmpty());
}

TYPED_TEST(ShredObjectTest, NamesThatBelongToOthersAreNeverTaken)
{
    enum class Taken
    {
        LetterA,
        LongName,
        EveryLetter
    };
    const std::pair<Taken, const char*> cases[] = {
        {Taken::LetterA, "a is taken"},
        {Taken::LongName, "the long name is taken"},
        {Taken::EveryLetter, "every letter is taken"},
    };
    for (const auto& [taken, name] : cases) {
        SCOPED_TRACE(name);
        TypeParam backing;
        ScriptedSystem system(backing.System());
        const std::wstring root = backing.Root();
        const std::wstring longName =
            root + L"\\" + std::wstring(253 - root.size(), L'a') + L".aaa";
        std::vector<std::wstring> others;  // files of somebody else, left as they are
        std::wstring lastName;             // the name the shredded file is deleted under
        switch (taken) {
            case Taken::LetterA:
                others = {root + L"\\a"};
                lastName = root + L"\\b.";
                break;
            case Taken::LongName:
                others = {longName};
                lastName = root + L"\\a.";
                break;
            case Taken::EveryLetter:
                for (wchar_t c = L'a'; c <= L'z'; ++c)
                    others.push_back(root + L"\\" + c);
                lastName = longName;
                break;
        }
        for (const std::wstring& other : others)
            backing.MakeFile(other, {0x42});
        const std::wstring path = root + L"\\mine.txt";
        backing.MakeFile(path, Original(10));
        int percent = 0;
        const int fileIndex = 1;
        const PassList passes = Passes(0);
        const ShredWalk walk{system, kVolumewipe, passes, &percent, &fileIndex, 1};

        EXPECT_EQ(ShredObject(path, walk), kShredDone);

        EXPECT_EQ(system.calls.back(), L"remove " + lastName);
        for (const std::wstring& other : others)
            EXPECT_EQ(backing.Read(other), std::vector<std::uint8_t>{0x42});
        EXPECT_EQ(backing.Names(root).size(), others.size());
    }
}

TYPED_TEST(ShredObjectTest, PauseAndAbortAreHonouredAfterEveryChunkWithoutACallback)
{
    const std::wstring path = this->Path(L"big.bin");
    this->m_backing.MakeFile(path, Original(200000));
    char abortFlag = 0;
    void* pauseHandle = reinterpret_cast<void*>(0x1234);
    this->m_system.onWait = [&] {
        if (this->m_system.waits == 3)
            abortFlag = 1;
    };
    RunOptions options;
    options.abortFlag = &abortFlag;
    options.pauseEvent = &pauseHandle;

    EXPECT_EQ(this->Shred(path, Passes(0), options), kShredAborted);

    // One wait before the object, one after each of the two chunks reported; the third chunk
    // was already on its way when the abort was seen, and no chunk after it was started.
    EXPECT_EQ(this->m_system.waits, 3);
    EXPECT_EQ(this->m_system.writes, 3);
    std::vector<std::uint8_t> expected = Original(200000);
    std::fill_n(expected.begin(), 3 * 65536, 0);
    EXPECT_EQ(this->m_backing.Read(path), expected);
    EXPECT_THAT(this->m_system.moves, ::testing::IsEmpty());
}

TYPED_TEST(ShredObjectTest, AnAbortBeforeTheObjectTouchesNothing)
{
    const std::wstring path = this->Path(L"early.bin");
    this->m_backing.MakeFile(path, Original(10));
    char abortFlag = 1;
    RunOptions options;
    options.abortFlag = &abortFlag;

    EXPECT_EQ(this->Shred(path, Passes(0), options), kShredAborted);

    EXPECT_THAT(this->m_system.calls, ::testing::IsEmpty());
    EXPECT_EQ(this->m_backing.Read(path), Original(10));
}

TYPED_TEST(ShredObjectTest, FoldersAreRenamedAndRemovedOnlyWhenEmptyAndNotKept)
{
    for (const bool keepFile : {true, false}) {
        SCOPED_TRACE(keepFile ? "keepFile" : "remove");
        TypeParam backing;
        ScriptedSystem system(backing.System());
        const std::wstring folder = backing.Root() + L"\\dir";
        backing.MakeFolder(folder);
        backing.MakeFile(folder + L"\\x.txt", Original(10));
        backing.MakeFolder(folder + L"\\sub");
        backing.MakeFile(folder + L"\\sub\\y.txt", Original(20));
        int percent = 0;
        const int fileIndex = 0;
        const PassList passes = Passes(0);
        const ShredWalk walk{system,  kVolumewipe, passes,  &percent, &fileIndex, 0,
                             nullptr, nullptr,     nullptr, nullptr,  keepFile};

        // What is inside was never overwritten: the folder is renamed but not emptied.
        EXPECT_EQ(ShredObject(folder, walk), keepFile ? kShredDone : kShredFolderFailed);

        // A folder is never opened for overwriting, nor is anything in it.
        EXPECT_TRUE(
            std::none_of(system.calls.begin(), system.calls.end(),
                         [](const std::wstring& call) { return call.starts_with(L"open "); }));
        if (keepFile) {
            EXPECT_EQ(backing.Read(folder + L"\\sub\\y.txt"), Original(20));
        } else {
            ASSERT_EQ(system.moves.size(), 3u);
            const std::wstring last = system.moves.back().second;
            EXPECT_EQ(backing.Read(last + L"\\sub\\y.txt"), Original(20));
            EXPECT_EQ(backing.Read(last + L"\\x.txt"), Original(10));

            // Emptied, it goes.
            const std::wstring empty = backing.Root() + L"\\empty";
            backing.MakeFolder(empty);
            EXPECT_EQ(ShredObject(empty, walk), kShredDone);
            EXPECT_FALSE(backing.Exists(empty));
            EXPECT_EQ(backing.Names(backing.Root()).size(), 1u);
        }
    }
}

TYPED_TEST(ShredObjectTest, TimingLineIsPrintedWhereTheVariantPrintsIt)
{
    for (const ShredVariant* variant : {&kVolumewipe, &kFilewipe, &kSnapwipe}) {
        SCOPED_TRACE(variant->name);
        const std::wstring path = this->Path(L"timed.bin");
        this->m_backing.MakeFile(path, Original(10));
        this->m_system.printed.clear();
        RunOptions options;
        options.variant = variant;

        EXPECT_EQ(this->Shred(path, Passes(0), options), kShredDone);

        if (variant->printsTiming) {
            // Two "%f" numbers and a line end, nothing else.
            double milliseconds = 0;
            double throughput = 0;
            ASSERT_EQ(
                std::sscanf(this->m_system.printed.c_str(), "%lf;%lf", &milliseconds, &throughput),
                2)
                << this->m_system.printed;
            char line[96];
            std::snprintf(line, sizeof line, "%f;%f\n", milliseconds, throughput);
            EXPECT_EQ(this->m_system.printed, line);
        } else {
            EXPECT_EQ(this->m_system.printed, "");
        }
    }
}

}  // namespace
}  // namespace shred::testing
