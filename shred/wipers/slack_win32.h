// The Win32 side of the slack wipers: cluster sizes, attributes, the write-through slack file,
// folder matches, the run's pause event and standard output.
#pragma once

#include "shred/wipers/slack_wiper.h"

namespace shred::wipers {

class Win32SlackSystem : public ISlackSystem
{
public:
    SlackFacts Facts(const std::wstring& path) override;
    bool ClusterSize(const std::wstring& root, std::uint32_t& clusterSize) override;
    bool GetAttributes(const std::wstring& path, std::uint32_t& attributes) override;
    bool SetAttributes(const std::wstring& path, std::uint32_t attributes) override;
    std::unique_ptr<ISlackFile> OpenForSlack(const std::wstring& path) override;
    std::vector<SlackEntry> FindMatches(const std::wstring& pattern) override;
    std::uint32_t LastError() override;
    std::unique_ptr<ISlackEvent> CreateRunEvent(const std::wstring& name) override;
    void WaitForRun(void** pauseEvent) override;
    std::uint32_t Seconds() override;
    void Print(std::string_view text) override;
};

ISlackSystem& DefaultSlackSystem() noexcept;

// Waits on the event a pause pointer holds; no pointer or no event lets the run go on.
void WaitOnPauseEvent(void** pauseEvent);

}  // namespace shred::wipers
