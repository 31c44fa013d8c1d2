#include "shred/wipers/free_space_win32.h"

#include "core/unique_handle.h"
#include "shred/engine/name_wiper.h"
#include "shred/engine/shred_exports.h"
#include "shred/engine/system_win32.h"
#include "shred/wipers/progress_file_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace shred::wipers::testing {
namespace {

constexpr std::uint64_t kMiB = 1ull << 20;

// The real working folder and fillers on a drive letter mapped to a temp folder; the volume's
// free space is a capacity minus what the working folder holds, because fillers sized with
// SetEndOfFile take no room on this platform's host.
class SimulatedFreeSpace : public Win32FreeSpaceSystem
{
public:
    std::wstring folder;
    std::uint64_t capacity = 0;

    bool FreeSpace(const std::wstring&, std::uint64_t& freeBytes,
                   std::uint64_t& totalBytes) override
    {
        std::uint64_t held = 0;
        WIN32_FIND_DATAW found{};
        core::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
        if (find) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    held += (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) |
                            found.nFileSizeLow;
            } while (FindNextFileW(find.Get(), &found));
        }
        freeBytes = held >= capacity ? 0 : capacity - held;
        totalBytes = capacity;
        return true;
    }
    bool Geometry(const std::wstring&, ClusterGeometry& geometry) override
    {
        geometry = {8, 512, 0, static_cast<std::uint32_t>(capacity / 4096)};
        return true;
    }
};

// Drive Q: of the test prefix is mapped to a scratch folder by the test fixture.
struct MappedDrive : ::testing::Test
{
    SimulatedFreeSpace volume;
    std::wstring progress;

    void SetUp() override
    {
        if (GetFileAttributesW(L"Q:\\") == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "drive Q: is not mapped to a scratch folder";
        DeleteTree(DefaultShredSystem(), L"Q:\\VNTShred");
        volume.folder = L"Q:\\VNTShred";
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temp);
        progress =
            std::wstring(temp) + L"wipers-progress-" + std::to_wstring(GetCurrentProcessId());
        std::ofstream(progress.c_str(), std::ios::binary) << "<H/>\r\n";
    }
    void TearDown() override
    {
        DeleteTree(DefaultShredSystem(), L"Q:\\VNTShred");
        DeleteFileW(progress.c_str());
    }
    std::string Progress() const
    {
        std::ifstream in(progress.c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(MappedDrive, SmallVolumeIsFilledShreddedByTheEngineAndTheFolderRemoved)
{
    volume.capacity = 24 * kMiB;
    const ShredFileFunction engine = [](const std::wstring& path, int id, void* ctx, void** pause,
                                        char* abort, ShredProgressCallback callback, int keep) {
        return ExportShredFile(kVolumewipe, path.c_str(), id, ctx, pause, abort, callback, nullptr,
                               keep);
    };
    FreeSpaceRequest request;
    request.driveLetter = 'Q';
    request.progress = progress.c_str();
    EXPECT_EQ(WipeFreeDiskSpace(request, volume, DefaultProgressSystem(), engine), kFreeSpaceDone);
    EXPECT_EQ(GetFileAttributesW(L"Q:\\VNTShred"), INVALID_FILE_ATTRIBUTES);
    // The last filler is shredded alone: one file, so its status stays "Starting up".
    EXPECT_NE(Progress().find("<Progress>100</Progress>\r\n<TimeLeft>0</TimeLeft>\r\n"),
              std::string::npos)
        << Progress();
}

TEST_F(MappedDrive, FillerLoopMakesRealSparseFillersAndAbortDeletesThem)
{
    volume.capacity = 700 * kMiB;
    std::vector<std::wstring> seen;
    char abortFlag = 0;
    const ShredFileFunction engine = [&](const std::wstring& path, int, void*, void**, char*,
                                         ShredProgressCallback, int keep) {
        WIN32_FIND_DATAW found{};
        core::UniqueFind find(FindFirstFileW(L"Q:\\VNTShred\\*", &found));
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                seen.push_back(found.cFileName);
        } while (find && FindNextFileW(find.Get(), &found));
        abortFlag = 1;  // the user stops the run during the start-up shred
        return kShredAborted;
    };
    FreeSpaceRequest request;
    request.driveLetter = 'q';
    request.abortFlag = &abortFlag;
    EXPECT_EQ(WipeFreeDiskSpace(request, volume, DefaultProgressSystem(), engine),
              kFreeSpaceAborted);
    EXPECT_EQ(seen.size(), 9u);  // 700 MiB less nine 64 MiB fillers leaves 124 MiB
    EXPECT_EQ(GetFileAttributesW(L"Q:\\VNTShred"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace shred::wipers::testing
