#include "shred/snapshots/vss_api_win32.h"

#include "shred/engine/system_win32.h"

#include <vsbackup.h>
#include <vss.h>
#include <windows.h>

#include <cstring>

namespace shred::snapshots {
namespace {

VssGuid FromGuid(const GUID& guid)
{
    VssGuid bytes;
    std::memcpy(bytes.data(), &guid, sizeof guid);
    return bytes;
}

GUID ToGuid(const VssGuid& bytes)
{
    GUID guid;
    std::memcpy(&guid, bytes.data(), sizeof guid);
    return guid;
}

std::wstring Text(const VSS_PWSZ text)
{
    return text ? std::wstring(text) : std::wstring();
}

template <typename T>
struct ComRelease
{
    void operator()(T* p) const noexcept
    {
        if (p)
            p->Release();
    }
};
template <typename T>
using ComOwner = std::unique_ptr<T, ComRelease<T>>;

class Win32VssBackup : public IVssBackup
{
public:
    explicit Win32VssBackup(IVssBackupComponents* backup) : m_backup(backup) {}

    std::int32_t InitializeForBackup() override { return m_backup->InitializeForBackup(nullptr); }
    std::int32_t SetContextAll() override { return m_backup->SetContext(VSS_CTX_ALL); }

    std::int32_t QuerySnapshots(std::vector<SnapshotInfo>& snapshots) override
    {
        IVssEnumObject* rawEnum = nullptr;
        const HRESULT queried =
            m_backup->Query(GUID_NULL, VSS_OBJECT_NONE, VSS_OBJECT_SNAPSHOT, &rawEnum);
        ComOwner<IVssEnumObject> objects(rawEnum);
        if (queried != S_OK)
            return FAILED(queried) ? queried : S_OK;
        for (;;) {
            VSS_OBJECT_PROP prop{};
            ULONG fetched = 0;
            if (objects->Next(1, &prop, &fetched) != S_OK || fetched == 0)
                break;
            VSS_SNAPSHOT_PROP& snap = prop.Obj.Snap;
            snapshots.push_back({FromGuid(snap.m_SnapshotId), FromGuid(snap.m_ProviderId),
                                 Text(snap.m_pwszOriginatingMachine),
                                 Text(snap.m_pwszOriginalVolumeName),
                                 Text(snap.m_pwszSnapshotDeviceObject)});
            VssFreeSnapshotProperties(&snap);
        }
        return S_OK;
    }

    std::int32_t DeleteSnapshot(const VssGuid& id) override
    {
        LONG deleted = 0;
        VSS_ID notDeleted{};
        return m_backup->DeleteSnapshots(ToGuid(id), VSS_OBJECT_SNAPSHOT, FALSE, &deleted,
                                         &notDeleted);
    }

private:
    ComOwner<IVssBackupComponents> m_backup;
};

}  // namespace

std::unique_ptr<IVssBackup> Win32VssApi::CreateBackup()
{
    IVssBackupComponents* backup = nullptr;
    if (CreateVssBackupComponents(&backup) != S_OK || !backup) {
        if (backup)
            backup->Release();
        return nullptr;
    }
    return std::make_unique<Win32VssBackup>(backup);
}

std::int32_t Win32VssApi::IsVolumeSnapshotted(const std::wstring& root, bool& present)
{
    std::wstring volume = root;
    WINBOOL snapshotsPresent = FALSE;
    LONG capability = 0;
    const HRESULT result = ::IsVolumeSnapshotted(volume.data(), &snapshotsPresent, &capability);
    present = SUCCEEDED(result) && snapshotsPresent;
    return result;
}

bool Win32VssApi::VolumeNameForMountPoint(const std::wstring& root, std::wstring& name)
{
    wchar_t buffer[250] = {};
    if (!::GetVolumeNameForVolumeMountPointW(root.c_str(), buffer, 250))
        return false;
    name = buffer;
    return true;
}

void Win32VssApi::Print(std::string_view text)
{
    DefaultShredSystem().Print(text);
}

}  // namespace shred::snapshots
