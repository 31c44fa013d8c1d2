// An in-memory volume for the slack wipers: files with sizes, times and attributes, folders and
// links, per-root cluster sizes, recorded writes, a failure switch for every step and searches
// that may answer with any names.
#pragma once

#include "shred/wipers/slack_wiper.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace shred::wipers::testing {

struct SlackWrite
{
    std::wstring path;
    std::uint64_t offset;
    std::vector<std::uint8_t> bytes;
};

enum class SlackFailure
{
    None,
    Cluster,
    GetAttributes,
    Open,
    GetTimes,
    GetSize,
    FirstSeek,
    Write,
    SecondSeek,
    EndOfFile,
    SetTimes,
    SetAttributes,
};

struct FakeSlackFileState
{
    std::uint64_t size = 0;
    std::uint32_t attributes = 0x20;  // archive
    SlackFileTimes times{111, 222, 333};
    bool readOnly = false;
    bool open = false;
};

class FakeSlackSystem : public ISlackSystem
{
public:
    std::map<std::wstring, FakeSlackFileState> files;
    std::set<std::wstring> folders;
    std::set<std::wstring> links;  // folders that are junctions or links
    std::map<std::wstring, std::uint32_t> clusters{{L"C:\\", 4096}};
    SlackFailure failure = SlackFailure::None;
    std::vector<SlackWrite> writes;
    std::vector<std::wstring> opened;
    std::vector<std::wstring> eventsCreated;
    std::string printed;
    std::uint32_t seconds = 5000;
    std::function<void(int)> onWait;
    // Where relative paths start.
    std::wstring currentFolder = L"C:\\data";
    // Replaces what a search returns (names a real volume cannot hold).
    std::function<std::optional<std::vector<SlackEntry>>(const std::wstring& pattern)>
        matchesOverride;
    int waits = 0;
    void* lastWaitedEvent = nullptr;

    void AddFile(const std::wstring& path, std::uint64_t size);

    SlackFacts Facts(const std::wstring& path) override;
    bool ClusterSize(const std::wstring& root, std::uint32_t& clusterSize) override;
    bool GetAttributes(const std::wstring& path, std::uint32_t& attributes) override;
    bool SetAttributes(const std::wstring& path, std::uint32_t attributes) override;
    std::unique_ptr<ISlackFile> OpenForSlack(const std::wstring& path) override;
    std::vector<SlackEntry> FindMatches(const std::wstring& pattern) override;
    std::uint32_t LastError() override { return 2; }
    std::unique_ptr<ISlackEvent> CreateRunEvent(const std::wstring& name) override;
    void WaitForRun(void** pauseEvent) override;
    std::uint32_t Seconds() override { return seconds; }
    void Print(std::string_view text) override { printed += text; }

    // Files beneath a folder at any depth, links not entered: the engine's count on this volume.
    int CountFiles(const std::wstring& pattern) const;
};

SlackServices TestSlackServices(FakeSlackSystem& system);

}  // namespace shred::wipers::testing
