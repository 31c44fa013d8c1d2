#include "shred/snapshots/volume_control_win32.h"

#include "shred/snapshots/sector_aligned_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>
#include <vector>

namespace shred::snapshots {
namespace {

std::wstring TempPath(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool IsFailureStatus(std::uint32_t status)
{
    return (status & 0xC0000000u) == 0xC0000000u;
}

TEST(Win32VolumeControl, FindsTheVolumeControlCall)
{
    EXPECT_TRUE(HasVolumeControlCall());
}

TEST(Win32VolumeControl, ReportsThePlausibleGeometryOfTheSystemDrive)
{
    Win32VolumeControl control;
    ClusterGeometry geometry;
    ASSERT_TRUE(control.QueryGeometry(L"C:\\", geometry));
    EXPECT_GT(geometry.sectorsPerCluster, 0u);
    EXPECT_GE(geometry.bytesPerSector, 512u);
    EXPECT_EQ(geometry.bytesPerSector & (geometry.bytesPerSector - 1), 0u) << "a power of two";
    EXPECT_GT(geometry.totalClusters, 0u);
    EXPECT_LE(geometry.freeClusters, geometry.totalClusters);

    ClusterGeometry untouched{1, 2, 3, 4};
    EXPECT_FALSE(control.QueryGeometry(L"C:\\no such folder\\", untouched));
    EXPECT_EQ(untouched.bytesPerSector, 2u);
}

TEST(Win32VolumeControl, UnbufferedTemporaryFileSizedWrittenAndRemoved)
{
    Win32VolumeControl control;
    ClusterGeometry geometry;
    ASSERT_TRUE(control.QueryGeometry(L"C:\\", geometry));
    ASSERT_GT(geometry.bytesPerSector, 0u);

    // A file left behind is created anew, not appended to.
    const std::wstring path = TempPath(L"VNTShred_test.txt");
    std::ofstream(path.c_str(), std::ios::binary) << "left over from an earlier run";
    {
        auto file = control.CreateTempFile(path);
        ASSERT_TRUE(file);
        EXPECT_NE(file->NativeHandle(), nullptr);
        std::uint64_t size = 1;
        ASSERT_TRUE(file->GetSize(size));
        EXPECT_EQ(size, 0u);
        SectorAlignedFile aligned(*file, geometry.bytesPerSector);
        const std::vector<std::uint8_t> pattern(65537, 0x61);  // a 3-byte pattern's chunk
        std::uint32_t written = 0;
        ASSERT_TRUE(aligned.Seek(0));
        ASSERT_TRUE(aligned.Write(pattern.data(), 65535, written));
        EXPECT_EQ(written, 65535u);
        ASSERT_TRUE(aligned.Write(pattern.data(), 65537, written));  // whole sectors in all
        EXPECT_EQ(written, 65537u);
        ASSERT_TRUE(aligned.Flush());
        ASSERT_TRUE(aligned.GetSize(size));
        EXPECT_EQ(size, 131072u);
        ASSERT_TRUE(file->Seek(262144));
        ASSERT_TRUE(file->SetEndOfFile());
        ASSERT_TRUE(file->GetSize(size));
        EXPECT_EQ(size, 262144u);
    }
    const std::vector<std::uint8_t> content = ReadWholeFile(path);
    ASSERT_EQ(content.size(), 262144u);
    EXPECT_EQ(std::count(content.begin(), content.begin() + 131072, 0x61), 131072);
    EXPECT_EQ(std::count(content.begin() + 131072, content.end(), 0), 131072);

    EXPECT_TRUE(control.RemoveFile(path));
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(control.RemoveFile(path));
}

TEST(Win32VolumeControl, TemporaryFileInAMissingFolderIsRefused)
{
    Win32VolumeControl control;
    EXPECT_EQ(control.CreateTempFile(TempPath(L"VNTShred no such folder\\file.txt")), nullptr);
}

// Wine has no volume bitmap and no cluster moves: the requests answer with a final failure status
// (never the pending one), which the wiper prints and stops on.
TEST(Win32VolumeControl, VolumeCallsAnswerWithAStatus)
{
    Win32VolumeControl control;
    std::string error;
    auto volume = control.OpenVolume(L'C', error);
    if (!volume) {
        EXPECT_FALSE(error.empty());
        GTEST_SKIP() << "the volume cannot be opened here";
    }
    EXPECT_TRUE(error.empty());
    VolumeBitmapPage page;
    const std::uint32_t bitmapStatus = volume->GetVolumeBitmap(0, page);
    EXPECT_TRUE(IsFailureStatus(bitmapStatus)) << NtStatusText(bitmapStatus);

    const std::wstring path = TempPath(L"VNTShred_move.txt");
    {
        auto file = control.CreateTempFile(path);
        ASSERT_TRUE(file);
        const std::uint32_t moveStatus = volume->MoveClusters(*file, 0, 0, 1);
        EXPECT_TRUE(IsFailureStatus(moveStatus)) << NtStatusText(moveStatus);
    }
    EXPECT_TRUE(control.RemoveFile(path));
}

TEST(Win32VolumeControl, AMissingDriveGivesTheSystemsErrorText)
{
    Win32VolumeControl control;
    std::string error;
    // Drive letters from the end of the alphabet are the least likely to be mapped.
    for (wchar_t letter = L'Y'; letter > L'M'; --letter) {
        if (::GetDriveTypeW((std::wstring(1, letter) + L":\\").c_str()) != DRIVE_NO_ROOT_DIR)
            continue;
        EXPECT_EQ(control.OpenVolume(letter, error), nullptr);
        EXPECT_FALSE(error.empty());
        return;
    }
    GTEST_SKIP() << "every drive letter is mapped here";
}

TEST(Win32VolumeControl, SecondsAreTheClock)
{
    Win32VolumeControl control;
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    const std::uint32_t seconds = control.Seconds();
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, static_cast<std::uint32_t>(std::time(nullptr)));
}

}  // namespace
}  // namespace shred::snapshots
