#include "shred/snapshots/volume_control_win32.h"

#include "shred/snapshots/sector_aligned_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <vector>

namespace shred::snapshots {
namespace {

TEST(Win32VolumeControl, FindsTheVolumeControlCall)
{
    EXPECT_TRUE(HasVolumeControlCall());
}

TEST(Win32VolumeControl, UnbufferedTemporaryFileSizedWrittenAndRemoved)
{
    Win32VolumeControl control;
    ClusterGeometry geometry;
    ASSERT_TRUE(control.QueryGeometry(L"C:\\", geometry));
    ASSERT_GT(geometry.bytesPerSector, 0u);

    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"VNTShred_test.txt";
    {
        auto file = control.CreateTempFile(path);
        ASSERT_TRUE(file);
        EXPECT_NE(file->NativeHandle(), nullptr);
        SectorAlignedFile aligned(*file, geometry.bytesPerSector);
        const std::vector<std::uint8_t> pattern(65535, 0x61);  // a 3-byte pattern's chunk
        std::uint32_t written = 0;
        ASSERT_TRUE(aligned.Seek(0));
        ASSERT_TRUE(aligned.Write(pattern.data(), 65535, written));
        ASSERT_TRUE(aligned.Write(pattern.data(), 65537, written));  // whole sectors in all
        ASSERT_TRUE(aligned.Flush());
        std::uint64_t size = 0;
        ASSERT_TRUE(aligned.GetSize(size));
        EXPECT_EQ(size, 131072u);
        ASSERT_TRUE(file->Seek(262144));
        ASSERT_TRUE(file->SetEndOfFile());
        ASSERT_TRUE(file->GetSize(size));
        EXPECT_EQ(size, 262144u);
    }
    EXPECT_TRUE(control.RemoveFile(path));
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Wine has no volume bitmap: the request answers with a final failure status (never the pending
// one), which the wiper prints and stops on.
TEST(Win32VolumeControl, VolumeCallsAnswerWithAStatus)
{
    Win32VolumeControl control;
    std::string error;
    auto volume = control.OpenVolume(L'C', error);
    if (!volume) {
        EXPECT_FALSE(error.empty());
        GTEST_SKIP() << "the volume cannot be opened here";
    }
    VolumeBitmapPage page;
    const std::uint32_t status = volume->GetVolumeBitmap(0, page);
    EXPECT_NE(status, kStatusPending);
    std::printf("volume bitmap status: %s", NtStatusText(status).c_str());
}

}  // namespace
}  // namespace shred::snapshots
