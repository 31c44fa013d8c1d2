#include "shred/snapshots/tests/simulated_vss.h"

#include <algorithm>

namespace shred::snapshots::testing {

std::wstring SimVolumeName(char letter)
{
    return L"\\\\?\\Volume{" + std::wstring(1, static_cast<wchar_t>(letter)) + L"}\\";
}

class SimBackup : public IVssBackup
{
public:
    explicit SimBackup(SimulatedVss& vss) : m_vss(vss) {}
    std::int32_t InitializeForBackup() override { return 0; }
    std::int32_t SetContextAll() override { return 0; }
    std::int32_t QuerySnapshots(std::vector<SnapshotInfo>& found) override
    {
        if (m_vss.queryResult != 0)
            return m_vss.queryResult;
        for (const auto& snapshot : m_vss.snapshots)
            found.push_back(snapshot.info);
        return 0;
    }
    std::int32_t DeleteSnapshot(const VssGuid& id) override
    {
        auto& list = m_vss.snapshots;
        auto found = std::find_if(list.begin(), list.end(),
                                  [&id](const auto& s) { return s.info.id == id; });
        if (found == list.end())
            return static_cast<std::int32_t>(0x80042308u);
        for (const ClusterExtent& run : found->runs)
            m_vss.m_volume.Free(run.start, run.length);
        list.erase(found);
        return 0;
    }

private:
    SimulatedVss& m_vss;
};

void SimulatedVss::Add(char letter, const VssGuid& provider, ClusterExtentList runs)
{
    Snapshot snapshot;
    snapshot.info.id[0] = m_nextId++;
    snapshot.info.providerId = provider;
    snapshot.info.originatingMachine = L"host";
    snapshot.info.originalVolumeName = SimVolumeName(letter);
    snapshot.info.snapshotDeviceObject = L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolumeShadowCopy1";
    for (const ClusterExtent& run : runs)
        m_volume.MarkUsed(run.start, run.length);
    snapshot.runs = std::move(runs);
    snapshots.push_back(std::move(snapshot));
}

std::unique_ptr<IVssBackup> SimulatedVss::CreateBackup()
{
    if (createFails)
        return nullptr;
    return std::make_unique<SimBackup>(*this);
}

std::int32_t SimulatedVss::IsVolumeSnapshotted(const std::wstring& root, bool& present)
{
    ++volumeQueries;
    std::wstring name;
    VolumeNameForMountPoint(root, name);
    present = std::any_of(snapshots.begin(), snapshots.end(),
                          [&name](const Snapshot& s) { return s.info.originalVolumeName == name; });
    return 0;
}

bool SimulatedVss::VolumeNameForMountPoint(const std::wstring& root, std::wstring& name)
{
    if (root.empty())
        return false;
    name = SimVolumeName(static_cast<char>(root[0]));
    return true;
}

}  // namespace shred::snapshots::testing
