// One drive's cluster wipe after its snapshots are deleted: the free runs before and after the
// deletion, and for every new run the temporary file's clusters moved onto it and overwritten.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/snapshots/cluster_extents.h"
#include "shred/snapshots/progress_window.h"
#include "shred/snapshots/sector_aligned_file.h"
#include "shred/snapshots/volume_control.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace shred::snapshots {

// Clusters the temporary file grows to before the bitmaps are read.
inline constexpr std::uint32_t kInitialTempClusters = 0x8000;

class VolumeClusterWiper
{
public:
    VolumeClusterWiper(IVolumeControl& control, char driveLetter, int algorithmId,
                       ShredCharReader readShredChar);
    // Deletes the temporary file on every way out, not only after a finished run.
    ~VolumeClusterWiper();
    VolumeClusterWiper(const VolumeClusterWiper&) = delete;
    VolumeClusterWiper& operator=(const VolumeClusterWiper&) = delete;

    // 1, or -1 cluster query failed, -2 temporary file not created, -3 algorithm refused.
    int PrepareTempFile(std::uint32_t& freeClusters);
    // 1 resized, 0 already that large, -1 seek failed, -2 end of file not set.
    int ResizeTempFile(std::uint64_t clusters);
    // 1, or -1 with the volume's error printed.
    int OpenVolume();
    void CollectFreeExtents(ClusterExtentList& list);
    // 1, or -1 when the window cancelled.
    int WipeExtents(const ClusterExtentList& list, IProgressWindow& window);
    // Flushes, closes and deletes the temporary file (1 deleted, -1 not) and closes the volume.
    int Finish();

    std::uint32_t ClusterSize() const { return m_clusterSize; }
    std::uint64_t TempClusters() const { return m_tempClusters; }
    std::uint64_t TempSize() const { return m_tempSize; }
    const std::wstring& TempPath() const { return m_tempPath; }

private:
    void WipeExtent(std::uint64_t start, std::uint64_t length);
    void MoveAndOverwrite(std::uint64_t vcn, std::uint64_t count, std::uint64_t target);
    bool MoveTempClusters(std::uint64_t vcn, std::uint64_t count, std::uint64_t target);
    void OverwriteTempFile(std::uint64_t bytes);
    void Print(const char* format, ...);

    IVolumeControl& m_control;
    char m_driveLetter;
    int m_algorithmId;
    ShredCharReader m_readShredChar;
    std::uint32_t m_clusterSize = 0;
    std::uint32_t m_sectorSize = 0;
    std::uint32_t m_freeClusters = 0;
    std::uint64_t m_tempSize = 0;
    std::uint64_t m_tempClusters = 0;
    std::unique_ptr<IVolume> m_volume;
    std::unique_ptr<IClusterFile> m_tempFile;
    std::unique_ptr<SectorAlignedFile> m_alignedTemp;
    std::wstring m_tempPath;
    std::optional<PassList> m_passes;
};

}  // namespace shred::snapshots
