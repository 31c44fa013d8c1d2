// A shadow-copy service in memory: snapshots per volume whose store is a set of cluster runs on
// a simulated volume; deleting a snapshot frees its runs, with their contents left behind.
#pragma once

#include "shred/snapshots/tests/simulated_volume.h"
#include "shred/snapshots/vss_snapshot_service.h"

#include <string>
#include <vector>

namespace shred::snapshots::testing {

std::wstring SimVolumeName(char letter);  // "\\?\Volume{<letter>}\"

class SimulatedVss : public IVssApi
{
public:
    struct Snapshot
    {
        SnapshotInfo info;
        ClusterExtentList runs;
    };

    explicit SimulatedVss(SimulatedVolume& volume) : m_volume(volume) {}
    // A snapshot of the drive's volume whose store occupies runs (marked used on the volume).
    void Add(char letter, const VssGuid& provider, ClusterExtentList runs);

    std::vector<Snapshot> snapshots;
    bool createFails = false;  // what Wine's service does
    std::int32_t queryResult = 0;
    int volumeQueries = 0;
    std::string printed;

    std::unique_ptr<IVssBackup> CreateBackup() override;
    std::int32_t IsVolumeSnapshotted(const std::wstring& root, bool& present) override;
    bool VolumeNameForMountPoint(const std::wstring& root, std::wstring& name) override;
    void Print(std::string_view text) override { printed += text; }

private:
    friend class SimBackup;
    SimulatedVolume& m_volume;
    std::uint8_t m_nextId = 1;
};

}  // namespace shred::snapshots::testing
