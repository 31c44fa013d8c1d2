// The volume calls the cluster wiper needs: cluster geometry, the unbuffered temporary file, the
// volume bitmap and cluster moves. Raw volume access happens only through this interface.
#pragma once

#include "shred/engine/shred_system.h"
#include "shred/snapshots/cluster_extents.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace shred::snapshots {

// NT status values the wiper tells apart.
inline constexpr std::uint32_t kStatusSuccess = 0;
inline constexpr std::uint32_t kStatusPending = 259;
inline constexpr std::uint32_t kStatusBufferOverflow = 0x80000005;
inline constexpr std::uint32_t kStatusNotImplemented = 0xC0000002;
inline constexpr std::uint32_t kStatusInvalidHandle = 0xC0000008;
inline constexpr std::uint32_t kStatusInvalidParameter = 0xC000000D;
inline constexpr std::uint32_t kStatusInvalidDeviceRequest = 0xC0000010;
inline constexpr std::uint32_t kStatusAlreadyCommitted = 0xC0000021;

struct ClusterGeometry
{
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
    std::uint32_t freeClusters = 0;
    std::uint32_t totalClusters = 0;
};

// One answer of the bitmap request: the page's first cluster (the request's start rounded down
// as the file system likes), the clusters from there to the end of the volume, and the bits.
struct VolumeBitmapPage
{
    std::uint64_t startingLcn = 0;
    std::uint64_t bitmapSize = 0;
    std::array<std::uint8_t, kBitmapPageBytes> bits{};
};

// The temporary file whose clusters are moved: opened with write-through and without buffering,
// so every write must be whole sectors from a sector-aligned buffer.
class IClusterFile : public IShredFile
{
public:
    virtual void* NativeHandle() = 0;
};

class IVolume
{
public:
    virtual ~IVolume() = default;
    // FSCTL_GET_VOLUME_BITMAP; an NT status: success on the last page, buffer overflow while more
    // pages follow.
    virtual std::uint32_t GetVolumeBitmap(std::uint64_t startingLcn, VolumeBitmapPage& page) = 0;
    // Moves clusterCount clusters of file from startingVcn onto the volume at targetLcn.
    // FSCTL_MOVE_FILE.
    virtual std::uint32_t MoveClusters(IClusterFile& file, std::uint64_t startingVcn,
                                       std::uint64_t targetLcn, std::uint32_t clusterCount) = 0;
};

class IVolumeControl
{
public:
    virtual ~IVolumeControl() = default;
    // The free-space query of the drive's root (a wrapper of GetDiskFreeSpaceW).
    virtual bool QueryGeometry(const std::wstring& root, ClusterGeometry& geometry) = 0;
    // Created anew, read-write, shared for reading and writing, write-through and unbuffered.
    virtual std::unique_ptr<IClusterFile> CreateTempFile(const std::wstring& path) = 0;
    virtual bool RemoveFile(const std::wstring& path) = 0;
    // "\\.\X:" for reading, shared for reading and writing; NULL with the system's error text.
    virtual std::unique_ptr<IVolume> OpenVolume(wchar_t driveLetter, std::string& errorText) = 0;
    virtual std::uint32_t Seconds() = 0;  // seeds the overwrite's random source
    virtual void Print(std::string_view text) = 0;
};

// The status line pair of the wiper's diagnostics ("STATUS_SUCCESS\n\n", "0x%08x\n\n", ...).
std::string NtStatusText(std::uint32_t status);

}  // namespace shred::snapshots
