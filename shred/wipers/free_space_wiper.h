// The free-space wiper: fills a drive's free space with filler files in a working folder, shreds
// them through the engine and removes the folder. Every volume call goes through IFreeSpaceSystem.
#pragma once

#include "shred/engine/shred_types.h"
#include "shred/wipers/progress_file.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace shred::wipers {

inline constexpr int kFreeSpaceDone = 1;
inline constexpr int kFreeSpaceFolderFailed = -1;
inline constexpr int kFreeSpaceQueryFailed = -2;
inline constexpr int kFreeSpaceAborted = -3;
// The free space could not be filled (fillers do not consume it, or what is left cannot be
// handed to fillers even one cluster at a time): what was filled is shredded, but the run is not
// reported done.
inline constexpr int kFreeSpaceNotFilled = -4;

// The caller's notice of the filler count plus one and the free space measured last.
using WipeInitCallback = void(SHRED_CALLBACK*)(int fillerCount, unsigned long freeLow,
                                               unsigned long freeHigh, int ctx);

struct ClusterGeometry
{
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
    std::uint32_t freeClusters = 0;
    std::uint32_t totalClusters = 0;
};

enum class FillerResult
{
    NotCreated,
    NotSized,  // created, but its end of file could not be set
    Sized,
};

enum class FillerWrite
{
    Unbuffered,    // the filler loop's files
    WriteThrough,  // the last filler
};

class IFreeSpaceSystem
{
public:
    virtual ~IFreeSpaceSystem() = default;
    // Returns when the caller's event lets the run go on (at once without an event).
    virtual void WaitForRun(void** pauseEvent) = 0;
    // Removes a folder and everything beneath it without overwriting; never follows links.
    virtual void DeleteTree(const std::wstring& folder) = 0;
    virtual bool CreateFolder(const std::wstring& folder) = 0;
    virtual std::uint32_t LastError() = 0;
    virtual std::uint32_t DriveType(const std::wstring& root) = 0;
    // The free bytes available to the caller and the total bytes of the folder's drive.
    virtual bool FreeSpace(const std::wstring& folder, std::uint64_t& freeBytes,
                           std::uint64_t& totalBytes) = 0;
    virtual bool Geometry(const std::wstring& root, ClusterGeometry& geometry) = 0;
    virtual bool Exists(const std::wstring& path) = 0;
    // Creates or opens for writing, unshared, normal attributes; sets the end of file at size
    // (no data written) and closes.
    virtual FillerResult CreateFiller(const std::wstring& path, std::uint64_t size,
                                      FillerWrite mode) = 0;
    virtual bool RemoveFile(const std::wstring& path) = 0;
    virtual void Print(std::string_view text) = 0;
};

// The engine's VNTShredFile, reached through the caller so the wiper does not bind the export.
using ShredFileFunction =
    std::function<int(const std::wstring& path, int algorithmId, void* ctx, void** pauseEvent,
                      char* abortFlag, ShredProgressCallback progress, int keepFile)>;

struct FreeSpaceRequest
{
    char driveLetter = 'C';
    int algorithmId = 0;
    int ctx = 0;
    void** pauseEvent = nullptr;
    char* abortFlag = nullptr;
    WipeInitCallback init = nullptr;
    const void* progress = nullptr;
};

// 64 MiB rounded down to clusters, or 1 % of the free space when that gives over 100 fillers.
std::uint64_t FillerSize(std::uint64_t freeBytes, std::uint32_t clusterSize);

// The first of folder\S<count>, S<count+1>, ... that does not exist, and its number.
std::wstring NextFreeFillerName(IFreeSpaceSystem& system, const std::wstring& folder, int number);

// Where a run works, decided from the drive letter alone.
struct FreeSpacePlan
{
    // Anything but a drive letter would make the working folder a path of the caller's choosing,
    // which the run deletes: such a run creates nothing.
    bool isDriveLetter = false;
    std::wstring folder;     // the working folder, "<letter>:\VNTShred" with the letter as given
    std::wstring givenRoot;  // "<letter>:\" as given, described when the folder fails
    std::wstring root;       // the drive's root, upper-cased, asked for its geometry
};
FreeSpacePlan PlanFreeSpaceWipe(char driveLetter);

// Leftovers of an interrupted run are removed first; the working folder goes at the end, also
// when the run is aborted.
int WipeFreeDiskSpace(const FreeSpaceRequest& request, IFreeSpaceSystem& system,
                      IProgressSystem& progressSystem, const ShredFileFunction& shredFile);

}  // namespace shred::wipers
