// The slack wipers: the spare tail of a file's last cluster overwritten for every pass of an
// algorithm, one file or every file beneath a folder. Every file call goes through ISlackSystem.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/engine/shred_target.h"
#include "shred/engine/shred_types.h"
#include "shred/wipers/progress_file.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shred::wipers {

inline constexpr int kSlackDone = 1;
inline constexpr int kSlackNotFound = -1;
inline constexpr int kSlackIsFolder = -2;
inline constexpr int kSlackNoRoot = -3;
inline constexpr int kSlackClusterFailed = -4;
inline constexpr int kSlackAttributesUnreadable = -5;
inline constexpr int kSlackOpenFailed = -6;
inline constexpr int kSlackTimesUnreadable = -7;
inline constexpr int kSlackSizeUnreadable = -8;
inline constexpr int kSlackAlgorithmRefused = -9;
inline constexpr int kSlackSeekEndFailed = -10;
inline constexpr int kSlackWriteFailed = -11;
inline constexpr int kSlackSeekBackFailed = -12;
inline constexpr int kSlackEndOfFileFailed = -13;
inline constexpr int kSlackTimesNotRestored = -14;
inline constexpr int kSlackAttributesNotRestored = -15;
inline constexpr int kSlackAborted = -20;

struct SlackFileTimes
{
    std::uint64_t creation = 0;
    std::uint64_t lastAccess = 0;
    std::uint64_t lastWrite = 0;

    bool operator==(const SlackFileTimes&) const = default;
};

// A file opened for reading and writing, unshared, existing only, write-through.
class ISlackFile
{
public:
    virtual ~ISlackFile() = default;
    virtual bool GetTimes(SlackFileTimes& times) = 0;
    virtual bool SetTimes(const SlackFileTimes& times) = 0;
    virtual bool GetSize(std::uint64_t& size) = 0;
    virtual bool Seek(std::uint64_t offset) = 0;
    virtual bool Write(const std::uint8_t* data, std::uint32_t length) = 0;  // all or failure
    virtual bool Flush() = 0;
    virtual bool SetEndOfFile() = 0;
};

struct SlackFacts
{
    bool exists = false;
    bool isFolder = false;
    bool isLink = false;  // a junction or symbolic link: never walked through
};

struct SlackEntry
{
    std::wstring name;
    bool isFolder = false;
    bool isLink = false;
};

// An event the run created; closed with its owner.
class ISlackEvent
{
public:
    virtual ~ISlackEvent() = default;
    virtual void* Handle() = 0;
};

class ISlackSystem
{
public:
    virtual ~ISlackSystem() = default;
    virtual SlackFacts Facts(const std::wstring& path) = 0;
    // Sectors per cluster x bytes per sector of a root such as "C:\".
    virtual bool ClusterSize(const std::wstring& root, std::uint32_t& clusterSize) = 0;
    virtual bool GetAttributes(const std::wstring& path, std::uint32_t& attributes) = 0;
    virtual bool SetAttributes(const std::wstring& path, std::uint32_t attributes) = 0;
    virtual std::unique_ptr<ISlackFile> OpenForSlack(const std::wstring& path) = 0;
    // Every match of a path or pattern in the system's order, "." and ".." as reported.
    virtual std::vector<SlackEntry> FindMatches(const std::wstring& pattern) = 0;
    virtual std::uint32_t LastError() = 0;
    // A manual-reset, initially signalled event; NULL when it cannot be created.
    virtual std::unique_ptr<ISlackEvent> CreateRunEvent(const std::wstring& name) = 0;
    virtual void WaitForRun(void** pauseEvent) = 0;
    virtual std::uint32_t Seconds() = 0;
    virtual void Print(std::string_view text) = 0;
};

// What the slack wipers take from the engine: the pass list of an algorithm id (nothing when
// refused), a caller's path resolved the way the shred engine resolves its targets (nothing when
// it names no object), and the engine's target count of what it resolved to.
struct SlackServices
{
    std::function<std::optional<PassList>(int algorithmId)> buildPasses;
    std::function<std::optional<ShredTarget>(const std::wstring& path)> resolveTarget;
    std::function<int(const std::optional<ShredTarget>& target)> countTargets;
};

// "C:\" for "C:\data\a.txt", "\\server\share\" for a UNC path; empty when there is no root.
std::wstring RootOf(const std::wstring& path);

// The cluster size rounded up to whole repeats of the pattern.
std::uint32_t SlackWriteLength(std::uint32_t clusterSize, std::uint32_t patternLength);

// An algorithm without passes counts as refused (-9): -2 already means a folder here.
int WipeSpecifiedFileSlack(const wchar_t* fileName, int algorithmId, ISlackSystem& system,
                           const SlackServices& services);

}  // namespace shred::wipers
