// The Win32 side of the volume calls: GetDiskFreeSpaceW, the unbuffered temporary file, and the
// volume bitmap and cluster moves through NtFsControlFile of the loaded ntdll.dll.
#pragma once

#include "shred/snapshots/volume_control.h"

namespace shred::snapshots {

class Win32VolumeControl : public IVolumeControl
{
public:
    bool QueryGeometry(const std::wstring& root, ClusterGeometry& geometry) override;
    std::unique_ptr<IClusterFile> CreateTempFile(const std::wstring& path) override;
    bool RemoveFile(const std::wstring& path) override;
    std::unique_ptr<IVolume> OpenVolume(wchar_t driveLetter, std::string& errorText) override;
    std::uint32_t Seconds() override;
    void Print(std::string_view text) override;
};

// True when NtFsControlFile is found in the loaded ntdll.dll.
bool HasVolumeControlCall() noexcept;

}  // namespace shred::snapshots
