// A volume in memory behind the wiper's volume calls: a cluster bitmap, a cluster store filled
// with a known secret, files as lists of clusters, bitmap pages as the file system answers them,
// moves refused onto used clusters, and unbuffered writes that must be whole aligned sectors.
#pragma once

#include "shred/snapshots/volume_control.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace shred::snapshots::testing {

class SimulatedVolume : public IVolumeControl
{
public:
    static constexpr std::uint8_t kSecret = 0x5E;

    SimulatedVolume(std::uint64_t clusterCount, std::uint32_t sectorsPerCluster = 8,
                    std::uint32_t bytesPerSector = 512);

    // A file on the given clusters, each cluster filled with fill (marked used).
    void AddFile(const std::wstring& path, const std::vector<std::uint64_t>& clusters,
                 std::uint8_t fill);
    // Marks the clusters used without a file (what a snapshot's store holds); they keep the secret.
    void MarkUsed(std::uint64_t start, std::uint64_t length);
    // Frees clusters and leaves their contents as they are, as a deletion does.
    void Free(std::uint64_t start, std::uint64_t length);

    bool IsUsed(std::uint64_t cluster) const { return m_used[cluster]; }
    // The bytes of one cluster as the store holds them.
    std::vector<std::uint8_t> Cluster(std::uint64_t cluster) const;
    bool FileExists(const std::wstring& path) const { return m_files.count(path) != 0; }
    std::uint64_t ClusterCount() const { return m_used.size(); }
    std::uint32_t ClusterBytes() const { return m_clusterSize; }

    // Knobs for failures.
    std::uint32_t maxMoveClusters =
        0xffffffffu;                         // longer moves are refused (STATUS_INVALID_PARAMETER)
    std::set<std::uint64_t> refusedTargets;  // single clusters no move may land on
    bool failGeometry = false;
    bool failCreate = false;
    bool failOpenVolume = false;
    bool failSetEndOfFile = false;
    std::uint32_t bitmapStatus = kStatusSuccess;  // anything else: every bitmap request fails
    bool checkAlignment = true;                   // unbuffered rules of the real file system

    std::uint32_t seconds = 1000;
    std::string printed;
    int bitmapRequests = 0;
    int moveRequests = 0;
    int refusedWrites = 0;

    bool QueryGeometry(const std::wstring& root, ClusterGeometry& geometry) override;
    std::unique_ptr<IClusterFile> CreateTempFile(const std::wstring& path) override;
    bool RemoveFile(const std::wstring& path) override;
    std::unique_ptr<IVolume> OpenVolume(wchar_t driveLetter, std::string& errorText) override;
    std::uint32_t Seconds() override { return seconds; }
    void Print(std::string_view text) override { printed += text; }

private:
    friend class SimFile;
    friend class SimVolumeHandle;

    struct FileData
    {
        std::vector<std::uint64_t> clusters;  // by virtual cluster number
        std::uint64_t size = 0;
    };

    bool Allocate(FileData& file, std::uint64_t clusters);
    void Release(FileData& file, std::uint64_t keepClusters);
    std::uint32_t Move(const std::wstring& path, std::uint64_t vcn, std::uint64_t lcn,
                       std::uint32_t count);
    bool WriteFile(const std::wstring& path, std::uint64_t offset, const std::uint8_t* data,
                   std::uint32_t length);
    void GetBitmap(std::uint64_t start, VolumeBitmapPage& page, std::uint32_t& status) const;

    std::uint32_t m_sectorSize;
    std::uint32_t m_sectorsPerCluster;
    std::uint32_t m_clusterSize;
    std::vector<bool> m_used;
    std::vector<std::uint8_t> m_store;
    std::map<std::wstring, FileData> m_files;
};

// True when every byte of the cluster holds the given value.
inline bool ClusterIs(const SimulatedVolume& volume, std::uint64_t cluster, std::uint8_t byte)
{
    const auto bytes = volume.Cluster(cluster);
    return std::all_of(bytes.begin(), bytes.end(), [byte](std::uint8_t b) { return b == byte; });
}

}  // namespace shred::snapshots::testing
