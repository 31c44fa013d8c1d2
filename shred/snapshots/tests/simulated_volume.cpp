#include "shred/snapshots/tests/simulated_volume.h"

#include <algorithm>
#include <cstring>

namespace shred::snapshots::testing {

class SimFile : public IClusterFile
{
public:
    SimFile(SimulatedVolume& volume, std::wstring path) : m_volume(volume), m_path(std::move(path))
    {}
    void* NativeHandle() override { return this; }
    const std::wstring& Path() const { return m_path; }

    bool GetSize(std::uint64_t& size) override
    {
        size = m_volume.m_files.at(m_path).size;
        return true;
    }
    bool Seek(std::uint64_t offset) override
    {
        m_position = offset;
        return true;
    }
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written) override
    {
        written = 0;
        if (!m_volume.WriteFile(m_path, m_position, data, length))
            return false;
        written = length;
        m_position += length;
        return true;
    }
    bool SetEndOfFile() override
    {
        if (m_volume.failSetEndOfFile)
            return false;
        auto& file = m_volume.m_files.at(m_path);
        const std::uint64_t clusters =
            (m_position + m_volume.m_clusterSize - 1) / m_volume.m_clusterSize;
        if (clusters > file.clusters.size() && !m_volume.Allocate(file, clusters))
            return false;
        m_volume.Release(file, clusters);
        file.size = m_position;
        return true;
    }
    bool SetTimes(std::uint64_t) override { return true; }
    bool Flush() override { return true; }

private:
    SimulatedVolume& m_volume;
    std::wstring m_path;
    std::uint64_t m_position = 0;
};

class SimVolumeHandle : public IVolume
{
public:
    explicit SimVolumeHandle(SimulatedVolume& volume) : m_volume(volume) {}
    std::uint32_t GetVolumeBitmap(std::uint64_t startingLcn, VolumeBitmapPage& page) override
    {
        ++m_volume.bitmapRequests;
        std::uint32_t status = kStatusSuccess;
        m_volume.GetBitmap(startingLcn, page, status);
        return status;
    }
    std::uint32_t MoveClusters(IClusterFile& file, std::uint64_t startingVcn,
                               std::uint64_t targetLcn, std::uint32_t clusterCount) override
    {
        ++m_volume.moveRequests;
        return m_volume.Move(static_cast<SimFile*>(file.NativeHandle())->Path(), startingVcn,
                             targetLcn, clusterCount);
    }

private:
    SimulatedVolume& m_volume;
};

SimulatedVolume::SimulatedVolume(std::uint64_t clusterCount, std::uint32_t sectorsPerCluster,
                                 std::uint32_t bytesPerSector)
    : m_sectorSize(bytesPerSector),
      m_sectorsPerCluster(sectorsPerCluster),
      m_clusterSize(sectorsPerCluster * bytesPerSector),
      m_used(clusterCount, false),
      m_store(clusterCount * m_clusterSize, kSecret)
{}

void SimulatedVolume::AddFile(const std::wstring& path, const std::vector<std::uint64_t>& clusters,
                              std::uint8_t fill)
{
    FileData& file = m_files[path];
    for (std::uint64_t cluster : clusters) {
        m_used[cluster] = true;
        std::fill_n(m_store.begin() + cluster * m_clusterSize, m_clusterSize, fill);
        file.clusters.push_back(cluster);
    }
    file.size = clusters.size() * m_clusterSize;
}

void SimulatedVolume::MarkUsed(std::uint64_t start, std::uint64_t length)
{
    for (std::uint64_t c = start; c < start + length; ++c)
        m_used[c] = true;
}

void SimulatedVolume::Free(std::uint64_t start, std::uint64_t length)
{
    for (std::uint64_t c = start; c < start + length; ++c)
        m_used[c] = false;
}

std::vector<std::uint8_t> SimulatedVolume::Cluster(std::uint64_t cluster) const
{
    const auto first = m_store.begin() + static_cast<std::ptrdiff_t>(cluster * m_clusterSize);
    return std::vector<std::uint8_t>(first, first + m_clusterSize);
}

bool SimulatedVolume::QueryGeometry(const std::wstring&, ClusterGeometry& geometry)
{
    if (failGeometry)
        return false;
    const auto freeClusters =
        static_cast<std::uint32_t>(std::count(m_used.begin(), m_used.end(), false));
    geometry = {m_sectorsPerCluster, m_sectorSize, freeClusters,
                static_cast<std::uint32_t>(m_used.size())};
    return true;
}

std::unique_ptr<IClusterFile> SimulatedVolume::CreateTempFile(const std::wstring& path)
{
    if (failCreate)
        return nullptr;
    auto found = m_files.find(path);
    if (found != m_files.end())
        Release(found->second, 0);
    m_files[path] = FileData{};
    return std::make_unique<SimFile>(*this, path);
}

bool SimulatedVolume::RemoveFile(const std::wstring& path)
{
    auto found = m_files.find(path);
    if (found == m_files.end())
        return false;
    Release(found->second, 0);
    m_files.erase(found);
    return true;
}

std::unique_ptr<IVolume> SimulatedVolume::OpenVolume(wchar_t, std::string& errorText)
{
    if (failOpenVolume) {
        errorText = "Access is denied.\r\n";
        return nullptr;
    }
    return std::make_unique<SimVolumeHandle>(*this);
}

bool SimulatedVolume::Allocate(FileData& file, std::uint64_t clusters)
{
    for (std::uint64_t c = 0; c < m_used.size() && file.clusters.size() < clusters; ++c) {
        if (m_used[c])
            continue;
        m_used[c] = true;
        std::fill_n(m_store.begin() + c * m_clusterSize, m_clusterSize, 0);
        file.clusters.push_back(c);
    }
    return file.clusters.size() >= clusters;
}

void SimulatedVolume::Release(FileData& file, std::uint64_t keepClusters)
{
    while (file.clusters.size() > keepClusters) {
        m_used[file.clusters.back()] = false;
        file.clusters.pop_back();
    }
}

bool SimulatedVolume::WriteFile(const std::wstring& path, std::uint64_t offset,
                                const std::uint8_t* data, std::uint32_t length)
{
    if (checkAlignment && (offset % m_sectorSize != 0 || length % m_sectorSize != 0 ||
                           reinterpret_cast<std::uintptr_t>(data) % m_sectorSize != 0)) {
        ++refusedWrites;
        return false;
    }
    FileData& file = m_files.at(path);
    const std::uint64_t end = offset + length;
    if (end > file.clusters.size() * m_clusterSize &&
        !Allocate(file, (end + m_clusterSize - 1) / m_clusterSize))
        return false;
    file.size = std::max(file.size, end);
    for (std::uint64_t at = offset; at < end;) {
        const std::uint64_t vcn = at / m_clusterSize;
        const std::uint64_t within = at % m_clusterSize;
        const std::uint64_t take = std::min<std::uint64_t>(m_clusterSize - within, end - at);
        std::memcpy(&m_store[file.clusters[vcn] * m_clusterSize + within], data + (at - offset),
                    take);
        at += take;
    }
    return true;
}

std::uint32_t SimulatedVolume::Move(const std::wstring& path, std::uint64_t vcn, std::uint64_t lcn,
                                    std::uint32_t count)
{
    FileData& file = m_files.at(path);
    if (count == 0 || count > maxMoveClusters || vcn + count > file.clusters.size() ||
        lcn + count > m_used.size())
        return kStatusInvalidParameter;
    for (std::uint64_t c = lcn; c < lcn + count; ++c) {
        if (m_used[c] || refusedTargets.count(c))
            return kStatusAlreadyCommitted;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t from = file.clusters[vcn + i];
        std::copy_n(m_store.begin() + from * m_clusterSize, m_clusterSize,
                    m_store.begin() + (lcn + i) * m_clusterSize);
        m_used[from] = false;
        m_used[lcn + i] = true;
        file.clusters[vcn + i] = lcn + i;
    }
    return kStatusSuccess;
}

void SimulatedVolume::GetBitmap(std::uint64_t start, VolumeBitmapPage& page,
                                std::uint32_t& status) const
{
    if (bitmapStatus != kStatusSuccess) {
        status = bitmapStatus;
        return;
    }
    if (start >= m_used.size()) {
        status = kStatusInvalidParameter;
        return;
    }
    // The file system answers from the byte that holds the asked cluster.
    page.startingLcn = start & ~std::uint64_t{7};
    page.bitmapSize = m_used.size() - page.startingLcn;
    page.bits.fill(0);
    const std::uint64_t covered = std::min<std::uint64_t>(page.bitmapSize, kBitmapPageClusters);
    for (std::uint64_t i = 0; i < covered; ++i) {
        if (m_used[page.startingLcn + i])
            page.bits[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
    }
    status = page.bitmapSize > kBitmapPageClusters ? kStatusBufferOverflow : kStatusSuccess;
}

}  // namespace shred::snapshots::testing
