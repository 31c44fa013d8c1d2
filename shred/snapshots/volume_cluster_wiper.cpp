#include "shred/snapshots/volume_cluster_wiper.h"

#include "shred/engine/region_overwriter.h"
#include "shred/engine/shred_types.h"

#include <algorithm>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace shred::snapshots {

VolumeClusterWiper::VolumeClusterWiper(IVolumeControl& control, char driveLetter, int algorithmId,
                                       ShredCharReader readShredChar)
    : m_control(control),
      m_driveLetter(driveLetter),
      m_algorithmId(algorithmId),
      m_readShredChar(std::move(readShredChar))
{}

VolumeClusterWiper::~VolumeClusterWiper()
{
    if (m_tempFile)
        Finish();
}

void VolumeClusterWiper::Print(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    m_control.Print(text);
}

int VolumeClusterWiper::PrepareTempFile(std::uint32_t& freeClusters)
{
    const auto letter = static_cast<wchar_t>(static_cast<unsigned char>(m_driveLetter));
    m_tempPath = std::wstring(1, letter) + L":\\VNTShred.txt";
    Print("%c:\\VNTShred.txt\n", m_driveLetter);

    ClusterGeometry geometry;
    if (!m_control.QueryGeometry(std::wstring(1, letter) + L":\\", geometry))
        return -1;
    Print(
        "\nlpSectorsPerCluster: %d\nlpBytesPerSector: %d\nlpNumberOfFreeClusters: "
        "%d\nlpTotalNumberOfClusters: %d\n",
        static_cast<int>(geometry.sectorsPerCluster), static_cast<int>(geometry.bytesPerSector),
        static_cast<int>(geometry.freeClusters), static_cast<int>(geometry.totalClusters));
    m_clusterSize = geometry.sectorsPerCluster * geometry.bytesPerSector;
    m_sectorSize = geometry.bytesPerSector;
    m_freeClusters = geometry.freeClusters;
    // A geometry of nothing cannot size the file or any move.
    if (m_clusterSize == 0)
        return -1;

    m_tempFile = m_control.CreateTempFile(m_tempPath);
    if (!m_tempFile)
        return -2;
    m_alignedTemp = std::make_unique<SectorAlignedFile>(*m_tempFile, m_sectorSize);

    m_passes = BuildPassList(m_algorithmId, kSnapwipe, m_readShredChar);
    if (!m_passes || m_passes->empty())
        return -3;

    // The overwrite starts every chunk at the pattern's first byte, so the file's size must be a
    // whole number of patterns.
    const std::uint64_t patternLength = m_passes->front().pattern.size();
    std::uint64_t bytes = m_clusterSize;
    std::uint64_t clusters = 1;
    while (bytes % patternLength != 0) {
        bytes += m_clusterSize;
        ++clusters;
    }
    m_tempSize = bytes;
    m_tempClusters = clusters;
    Print("Need atleast file with size: %d\n", static_cast<int>(bytes));
    freeClusters = m_freeClusters;
    return 1;
}

int VolumeClusterWiper::ResizeTempFile(std::uint64_t clusters)
{
    if (m_tempClusters >= clusters)
        return 0;
    Print("Need a file with size: %" PRId64 " clusters: %d\n",
          static_cast<std::int64_t>(m_tempSize), static_cast<int>(clusters));
    if (!m_tempFile || !m_tempFile->Seek(clusters * m_clusterSize))
        return -1;
    if (!m_tempFile->SetEndOfFile())
        return -2;
    m_tempSize = clusters * m_clusterSize;
    m_tempClusters = clusters;
    return 1;
}

int VolumeClusterWiper::OpenVolume()
{
    std::string errorText;
    m_volume = m_control.OpenVolume(static_cast<wchar_t>(static_cast<unsigned char>(m_driveLetter)),
                                    errorText);
    if (m_volume)
        return 1;
    Print("Could not open volume %c:!\n", m_driveLetter);
    m_control.Print(errorText + "\n");
    return -1;
}

void VolumeClusterWiper::CollectFreeExtents(ClusterExtentList& list)
{
    if (!m_volume)
        return;
    VolumeBitmapPage page;
    std::uint64_t next = 0;
    for (;;) {
        const std::uint32_t status = m_volume->GetVolumeBitmap(next, page);
        if (status != kStatusSuccess && status != kStatusBufferOverflow) {
            Print("\nGet Volume Bitmap: ");
            m_control.Print(NtStatusText(status));
            return;
        }
        const auto scanned = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(page.bitmapSize, kBitmapPageClusters));
        AppendFreeRuns(page.bits.data(), scanned, page.startingLcn, list);
        if (status == kStatusSuccess) {
            Print("End of volume.\n\n");
            return;
        }
        // A page that covers nothing would ask for itself forever.
        if (scanned == 0 || page.startingLcn + scanned <= next) {
            Print("\nGet Volume Bitmap: ");
            m_control.Print(NtStatusText(status));
            return;
        }
        next = page.startingLcn + scanned;
    }
}

int VolumeClusterWiper::WipeExtents(const ClusterExtentList& list, IProgressWindow& window)
{
    std::uint64_t total = 0;
    for (const ClusterExtent& extent : list)
        total += extent.length;
    std::uint64_t done = 0;
    for (const ClusterExtent& extent : list) {
        Print("ShredClusterArea %" PRId64 " %" PRId64 "\n", static_cast<std::int64_t>(extent.start),
              static_cast<std::int64_t>(extent.length));
        WipeExtent(extent.start, extent.length);
        if (QueryCancel(window)) {
            SendCancelled(window);
            return -1;
        }
        done += extent.length;
        window.Send(kMsgPercent, static_cast<std::uintptr_t>(done * 100 / total), 0);
    }
    return 1;
}

void VolumeClusterWiper::WipeExtent(std::uint64_t start, std::uint64_t length)
{
    ResizeTempFile(length);
    if (m_tempClusters == 0)
        return;
    const std::uint64_t slices = length / m_tempClusters;
    for (std::uint64_t k = 0; k < slices; ++k)
        MoveAndOverwrite(0, m_tempClusters, start + k * m_tempClusters);
    const std::uint64_t rest = length % m_tempClusters;
    if (rest != 0)
        MoveAndOverwrite(0, rest, start + slices * m_tempClusters);
}

void VolumeClusterWiper::MoveAndOverwrite(std::uint64_t vcn, std::uint64_t count,
                                          std::uint64_t target)
{
    if (MoveTempClusters(vcn, count, target)) {
        OverwriteTempFile(count * m_clusterSize);
        return;
    }
    Print("ISCH! MoveCluster failed! This will take some extra time...\n");
    for (std::uint64_t i = 0; i < count; ++i) {
        if (MoveTempClusters(vcn, 1, target + i))
            OverwriteTempFile(m_clusterSize);
    }
}

bool VolumeClusterWiper::MoveTempClusters(std::uint64_t vcn, std::uint64_t count,
                                          std::uint64_t target)
{
    Print("   Start Offset: %" PRId64 "\n", static_cast<std::int64_t>(vcn));
    Print("   Number of Clusters: %d\n", static_cast<int>(count));
    Print("   Target Cluster: %" PRId64 "\n", static_cast<std::int64_t>(target));
    // The move request counts clusters in 32 bits; a larger slice is refused, and the fallback
    // moves it one cluster at a time.
    std::uint32_t status = kStatusInvalidParameter;
    if (m_volume && m_tempFile && count <= std::numeric_limits<std::uint32_t>::max())
        status =
            m_volume->MoveClusters(*m_tempFile, vcn, target, static_cast<std::uint32_t>(count));
    if (status == kStatusSuccess)
        return true;
    Print("Move cluster status: ");
    m_control.Print(NtStatusText(status));
    return false;
}

void VolumeClusterWiper::OverwriteTempFile(std::uint64_t bytes)
{
    if (!m_passes || !m_alignedTemp)
        return;
    const ShredResult result =
        OverwriteRegion(m_alignedTemp.get(), *m_passes, 0, bytes, m_control.Seconds());
    Print(result == kShredDone ? "Shredding successfull! %d %d %d\n"
                               : "Error while shredding! %d %d %d\n",
          result, static_cast<int>(bytes & 0xffffffffu), static_cast<int>(bytes >> 32));
}

int VolumeClusterWiper::Finish()
{
    int deleted = 1;
    if (m_tempFile) {
        m_alignedTemp->Flush();
        m_alignedTemp.reset();
        m_tempFile.reset();
        deleted = m_control.RemoveFile(m_tempPath) ? 1 : -1;
    }
    m_volume.reset();
    m_passes.reset();
    return deleted;
}

}  // namespace shred::snapshots
