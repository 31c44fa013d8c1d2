// A simulated volume for the free-space wiper: free space is a capacity minus what the files on it
// hold (rounded up to clusters), with knobs for sparse fillers, size limits and failing calls,
// and a recording stand-in for the engine's VNTShredFile.
#pragma once

#include "shred/wipers/free_space_wiper.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace shred::wipers::testing {

class SimulatedVolume : public IFreeSpaceSystem
{
public:
    std::uint64_t capacity = 0;
    std::uint64_t used = 0;  // what other files hold
    std::uint32_t sectorsPerCluster = 8;
    std::uint32_t bytesPerSector = 512;
    bool fillersConsumeSpace = true;         // false: sparse files, as on this platform
    std::uint64_t largestFile = UINT64_MAX;  // a larger end of file is refused
    bool folderFails = false;
    bool geometryFails = false;
    int freeSpaceFailsAt = 0;  // the n-th query fails (1-based); 0: never
    std::map<std::wstring, std::uint64_t> files;
    std::vector<std::wstring> folders;
    std::vector<std::string> log;  // "create", "delete-tree", "filler <name> <size>", ...
    std::string printed;
    // Called on every pause wait with its 1-based number; may set the caller's abort flag.
    std::function<void(int)> onWait;
    int waits = 0;
    int freeSpaceQueries = 0;

    std::uint32_t Cluster() const { return sectorsPerCluster * bytesPerSector; }
    std::uint64_t Free() const;

    void WaitForRun(void** pauseEvent) override;
    void DeleteTree(const std::wstring& folder) override;
    bool CreateFolder(const std::wstring& folder) override;
    std::uint32_t LastError() override { return 3; }
    std::uint32_t DriveType(const std::wstring& root) override { return 1; }
    bool FreeSpace(const std::wstring& folder, std::uint64_t& freeBytes,
                   std::uint64_t& totalBytes) override;
    bool Geometry(const std::wstring& root, ClusterGeometry& geometry) override;
    bool Exists(const std::wstring& path) override;
    FillerResult CreateFiller(const std::wstring& path, std::uint64_t size,
                              FillerWrite mode) override;
    bool RemoveFile(const std::wstring& path) override;
    void Print(std::string_view text) override { printed += text; }
};

// What the wiper asked of the engine, and the engine's removal of a shredded folder.
struct ShredCallRecord
{
    std::wstring path;
    int algorithmId;
    void* ctx;
    void** pauseEvent;
    char* abortFlag;
    int keepFile;
};

class RecordingShredder
{
public:
    explicit RecordingShredder(SimulatedVolume& volume) : m_volume(volume) {}

    std::vector<ShredCallRecord> calls;
    // Progress steps the engine reports per file before its last (percent 200) step.
    int chunksPerFile = 2;
    int result = -100;
    bool removesFolder = true;  // false: the engine fails and leaves every filler behind
    int progressSteps = 0;
    std::function<void(const ShredCallRecord&)> afterCall;

    ShredFileFunction Function();

private:
    int Shred(const std::wstring& path, int algorithmId, void* ctx, void** pauseEvent,
              char* abortFlag, ShredProgressCallback progress, int keepFile);

    SimulatedVolume& m_volume;
};

}  // namespace shred::wipers::testing
