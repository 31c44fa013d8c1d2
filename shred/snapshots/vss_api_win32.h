// The shadow-copy service through VSSAPI.DLL, to which Snapwipe links directly.
#pragma once

#include "shred/snapshots/vss_snapshot_service.h"

namespace shred::snapshots {

class Win32VssApi : public IVssApi
{
public:
    std::unique_ptr<IVssBackup> CreateBackup() override;
    std::int32_t IsVolumeSnapshotted(const std::wstring& root, bool& present) override;
    bool VolumeNameForMountPoint(const std::wstring& root, std::wstring& name) override;
    void Print(std::string_view text) override;
};

}  // namespace shred::snapshots
