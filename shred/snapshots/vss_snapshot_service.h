// The shadow-copy service as the remover uses it: whether a drive has shadow copies, and the
// deletion of the drive's copies made by the system's software provider, with the diagnostics.
#pragma once

#include "shred/snapshots/snapshot_remover.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace shred::snapshots {

using VssGuid = std::array<std::uint8_t, 16>;  // in the system's GUID byte layout

// {B5946137-7B9F-4925-AF80-51ABD60B20D5}: the system software shadow-copy provider.
inline constexpr VssGuid kSoftwareProviderId = {0x37, 0x61, 0x94, 0xB5, 0x9F, 0x7B, 0x25, 0x49,
                                                0xAF, 0x80, 0x51, 0xAB, 0xD6, 0x0B, 0x20, 0xD5};

struct SnapshotInfo
{
    VssGuid id{};
    VssGuid providerId{};
    std::wstring originatingMachine;
    std::wstring originalVolumeName;
    std::wstring snapshotDeviceObject;
};

// One backup-components object of the service.
class IVssBackup
{
public:
    virtual ~IVssBackup() = default;
    virtual std::int32_t InitializeForBackup() = 0;
    virtual std::int32_t SetContextAll() = 0;
    // Every snapshot object the service knows; an HRESULT.
    virtual std::int32_t QuerySnapshots(std::vector<SnapshotInfo>& snapshots) = 0;
    virtual std::int32_t DeleteSnapshot(const VssGuid& id) = 0;
};

class IVssApi
{
public:
    virtual ~IVssApi() = default;
    // NULL when the service cannot create one (Wine: E_NOTIMPL).
    virtual std::unique_ptr<IVssBackup> CreateBackup() = 0;
    virtual std::int32_t IsVolumeSnapshotted(const std::wstring& root, bool& present) = 0;
    virtual bool VolumeNameForMountPoint(const std::wstring& root, std::wstring& name) = 0;
    virtual void Print(std::string_view text) = 0;
};

class VssSnapshotService : public ISnapshotService
{
public:
    explicit VssSnapshotService(IVssApi& api) : m_api(api) {}
    bool IsDriveSnapshotted(char driveLetter) override;
    void DeleteDriveSnapshots(char driveLetter) override;

private:
    std::unique_ptr<IVssBackup> Open();

    IVssApi& m_api;
};

// The name of a query failure as the diagnostics print it; empty for codes without one.
std::string_view VssErrorName(std::int32_t hresult);

}  // namespace shred::snapshots
