#include "shred/snapshots/vss_snapshot_service.h"

namespace shred::snapshots {
namespace {

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

std::wstring DriveRoot(char letter)
{
    return {static_cast<wchar_t>(static_cast<unsigned char>(letter)), L':', L'\\'};
}

}  // namespace

std::string_view VssErrorName(std::int32_t hresult)
{
    switch (static_cast<std::uint32_t>(hresult)) {
        case 0x8000FFFFu:
            return "E_UNEXPECTED";
        case 0x80042301u:
            return "VSS_E_BAD_STATE";
        case 0x80042306u:
            return "VSS_E_PROVIDER_VETO";
        case 0x80042308u:
            return "VSS_E_OBJECT_NOT_FOUND";
        case 0x8004230Fu:
            return "VSS_E_UNEXPECTED_PROVIDER_ERROR";
        case 0x80070005u:
            return "E_ACCESSDENIED";
        case 0x8007000Eu:
            return "E_OUTOFMEMORY";
        case 0x80070057u:
            return "E_INVALIDARG";
        default:
            return {};
    }
}

std::unique_ptr<IVssBackup> VssSnapshotService::Open()
{
    std::unique_ptr<IVssBackup> backup = m_api.CreateBackup();
    m_api.Print(backup ? "CreateVssBackupComponents is S_OK!\n"
                       : "CreateVssBackupComponents is NOT S_OK!\n");
    if (!backup)
        return nullptr;
    m_api.Print(backup->InitializeForBackup() == 0 ? "InitializeForBackup is S_OK!\n"
                                                   : "InitializeForBackup is NOT S_OK!\n");
    m_api.Print(backup->SetContextAll() == 0 ? "SetContext is S_OK!\n"
                                             : "SetContext is NOT S_OK!\n");
    return backup;
}

bool VssSnapshotService::IsDriveSnapshotted(char driveLetter)
{
    // Without a backup object the service is not there; its volume query must not be asked then
    // (on some systems it ends the process).
    if (!Open())
        return false;
    bool present = false;
    return m_api.IsVolumeSnapshotted(DriveRoot(driveLetter), present) >= 0 && present;
}

void VssSnapshotService::DeleteDriveSnapshots(char driveLetter)
{
    std::wstring volumeName;
    m_api.VolumeNameForMountPoint(DriveRoot(driveLetter), volumeName);
    std::unique_ptr<IVssBackup> backup = Open();
    if (!backup)
        return;
    std::vector<SnapshotInfo> snapshots;
    const std::int32_t queried = backup->QuerySnapshots(snapshots);
    if (queried != 0) {
        m_api.Print("Query Snapshot is NOT S_OK!\n");
        const std::string_view name = VssErrorName(queried);
        if (!name.empty())
            m_api.Print(std::string(name) + "\n");
        return;
    }
    m_api.Print("\r\nQuery Snapshot is S_OK!\n");
    m_api.Print("Snapshots:\n");
    for (const SnapshotInfo& snapshot : snapshots) {
        m_api.Print("OriginatingMachine: " + Narrow(snapshot.originatingMachine) +
                    "\r\nOriginalVolumeName: " + Narrow(snapshot.originalVolumeName) +
                    "\r\nSnapshotDeviceObject: " + Narrow(snapshot.snapshotDeviceObject) + "\r\n");
        if (snapshot.providerId != kSoftwareProviderId) {
            m_api.Print("Warning!! NOT IID_MicrosoftShodowCopy!\n");
            continue;
        }
        m_api.Print("IID_MicrosoftShodowCopy\n");
        if (snapshot.originalVolumeName == volumeName)
            backup->DeleteSnapshot(snapshot.id);
        else
            m_api.Print("Not current volume: " + Narrow(volumeName) + "\n");
    }
}

}  // namespace shred::snapshots
