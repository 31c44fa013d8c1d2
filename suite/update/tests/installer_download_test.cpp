#include "suite/update/installer_download.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace update {
namespace {

// Hands out the pieces it was given, in order; nothing for a read failure; then 0 at the end.
class ScriptedSource final : public IDownloadSource
{
public:
    std::optional<int> status = 200;
    std::deque<std::optional<std::size_t>> pieces;

    std::optional<int> Open(const std::wstring&) override { return status; }
    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override
    {
        if (pieces.empty())
            return 0;
        const auto piece = pieces.front();
        pieces.pop_front();
        if (piece)
            std::fill_n(buffer.begin(), std::min(*piece, buffer.size()), std::uint8_t{0x5A});
        return piece ? std::optional<std::size_t>(std::min(*piece, buffer.size())) : std::nullopt;
    }
};

class RecordingFile final : public IInstallerFile
{
public:
    bool Create(const std::wstring& path) override
    {
        created = path;
        return true;
    }
    bool Write(std::span<const std::uint8_t> bytes) override
    {
        writes.push_back(bytes.size());
        return true;
    }
    void Close() override { closed = true; }
    std::wstring created;
    std::vector<std::size_t> writes;
    bool closed = false;
};

class RecordingProgress final : public IDownloadProgress
{
public:
    void Percent(int percent) override { percents.push_back(percent); }
    bool CancelRequested() override
    {
        return cancelAfter >= 0 && int(percents.size()) >= cancelAfter;
    }
    std::vector<int> percents;
    int cancelAfter = -1;
};

TEST(InstallerDownload, EndsOnlyOnAnEmptyRead)
{
    struct Case
    {
        const char* name;
        std::vector<std::optional<std::size_t>> pieces;
        std::int64_t announced;
        DownloadOutcome outcome;
        std::vector<std::size_t> writes;
        std::vector<int> percents;
    };
    const Case cases[] = {
        {"empty", {}, 0, DownloadOutcome::Complete, {}, {}},
        {"one full piece", {65536}, 65536, DownloadOutcome::Complete, {65536}, {100}},
        {"one more byte", {65536, 1}, 65537, DownloadOutcome::Complete, {65536, 1}, {99, 100}},
        {"short read part-way",
         {65536, 1000, 64536},
         131072,
         DownloadOutcome::Complete,
         {65536, 1000, 64536},
         {50, 50, 100}},
        {"no size announced", {10, 10}, 0, DownloadOutcome::Complete, {10, 10}, {0, 0}},
        {"read fails",
         {65536, std::nullopt},
         131072,
         DownloadOutcome::ConnectionLost,
         {65536},
         {50}},
    };
    for (const Case& c : cases) {
        ScriptedSource source;
        source.pieces.assign(c.pieces.begin(), c.pieces.end());
        RecordingFile file;
        RecordingProgress progress;
        const DownloadResult result = DownloadInstaller(
            L"http://host/setup.exe", L"C:\\Temp\\setup.exe", c.announced, source, file, progress);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(file.writes, c.writes) << c.name;
        EXPECT_EQ(progress.percents, c.percents) << c.name;
        EXPECT_TRUE(file.closed) << c.name;
        EXPECT_EQ(file.created, L"C:\\Temp\\setup.exe");
    }
}

TEST(InstallerDownload, NothingIsSavedWithoutAnInstallerToSave)
{
    struct Case
    {
        const char* name;
        std::optional<int> status;
        const wchar_t* path;
    };
    const Case cases[] = {
        {"not found", 404, L"C:\\Temp\\setup.exe"},
        {"server error", 500, L"C:\\Temp\\setup.exe"},
        {"not sent", std::nullopt, L"C:\\Temp\\setup.exe"},
        {"no safe local name", 200, L""},
    };
    for (const Case& c : cases) {
        ScriptedSource source;
        source.status = c.status;
        source.pieces = {100};
        RecordingFile file;
        RecordingProgress progress;
        EXPECT_EQ(DownloadInstaller(L"http://host/x", c.path, 100, source, file, progress).outcome,
                  DownloadOutcome::NoConnection)
            << c.name;
        EXPECT_TRUE(file.created.empty()) << c.name;
    }
}

TEST(InstallerDownload, CancelAfterAPieceLeavesThePartialFile)
{
    ScriptedSource source;
    source.pieces = {65536, 65536, 65536};
    RecordingFile file;
    RecordingProgress progress;
    progress.cancelAfter = 1;
    const DownloadResult result =
        DownloadInstaller(L"http://host/x", L"C:\\Temp\\x.exe", 196608, source, file, progress);
    EXPECT_EQ(result.outcome, DownloadOutcome::Cancelled);
    EXPECT_EQ(result.bytes, 65536u);
    EXPECT_EQ(file.writes, std::vector<std::size_t>{65536});
    EXPECT_TRUE(file.closed);
}

}  // namespace
}  // namespace update
