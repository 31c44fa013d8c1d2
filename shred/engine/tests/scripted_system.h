// A recording wrapper around any system table: keeps a list of the calls that change things,
// injects failures, supplies named streams (Wine has none), fixes the clock and hooks the pause
// wait.
#pragma once

#include "shred/engine/shred_system.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace shred::testing {

class ScriptedSystem : public IShredSystem
{
public:
    explicit ScriptedSystem(IShredSystem& inner) : m_inner(inner) {}

    // Injections.
    int failWriteAt = -1;   // zero-based number of the write call that fails
    int shortWriteAt = -1;  // ... that reports one byte less than asked
    std::function<bool(const std::wstring& path, const OpenOptions& options)> failOpen;
    std::function<bool(const std::wstring& from, const std::wstring& to)> failMove;
    std::function<bool(const std::wstring& path)> failRemove;
    std::optional<std::vector<std::wstring>> streamNames;  // replaces the backup read's answer
    std::uint32_t seconds = 1000;
    std::function<void()> onWait;
    bool failCreateEvent = false;
    // Replaces what the inner table says of a path (a link Wine cannot show, a vanished object).
    std::function<std::optional<ObjectFacts>(const std::wstring& path)> factsOverride;
    // Replace what a folder listing or a search returns (names Windows cannot hold).
    std::function<std::optional<std::vector<FolderEntry>>(const std::wstring& folder)> listOverride;
    std::function<std::optional<std::vector<FolderEntry>>(const std::wstring& pattern)>
        matchesOverride;

    // Records: "open P", "move A -> B", "remove P", "rmdir P", "truncate", "times T", "backup P".
    std::vector<std::wstring> calls;
    std::vector<std::pair<std::wstring, std::wstring>> moves;  // successful ones
    std::vector<std::wstring> attributesCleared;
    int writes = 0;
    int waits = 0;
    std::vector<ShredEventRecord> events;
    std::string printed;

    std::unique_ptr<IShredFile> Open(const std::wstring& path, const OpenOptions& options) override;
    std::unique_ptr<IBackupStream> OpenBackupRead(const std::wstring& path) override;
    ObjectFacts Facts(const std::wstring& path) override
    {
        if (factsOverride)
            if (std::optional<ObjectFacts> facts = factsOverride(path))
                return *facts;
        return m_inner.Facts(path);
    }
    bool SetNormalAttributes(const std::wstring& path) override
    {
        attributesCleared.push_back(path);
        return m_inner.SetNormalAttributes(path);
    }
    bool Move(const std::wstring& from, const std::wstring& to) override;
    bool RemoveFile(const std::wstring& path) override;
    bool RemoveFolder(const std::wstring& path) override;
    std::vector<FolderEntry> List(const std::wstring& folder) override
    {
        if (listOverride)
            if (std::optional<std::vector<FolderEntry>> entries = listOverride(folder))
                return *entries;
        return m_inner.List(folder);
    }
    std::vector<FolderEntry> FindMatches(const std::wstring& pattern) override
    {
        if (matchesOverride)
            if (std::optional<std::vector<FolderEntry>> entries = matchesOverride(pattern))
                return *entries;
        return m_inner.FindMatches(pattern);
    }
    std::wstring LongPath(const std::wstring& path) override { return m_inner.LongPath(path); }
    std::wstring CurrentFolder() override { return m_inner.CurrentFolder(); }
    std::wstring DriveCurrentFolder(wchar_t drive) override
    {
        return m_inner.DriveCurrentFolder(drive);
    }
    bool IsNtFamily() override { return m_inner.IsNtFamily(); }
    std::int64_t Counter() override { return m_inner.Counter(); }
    std::int64_t CounterFrequency() override { return m_inner.CounterFrequency(); }
    std::uint32_t Seconds() override { return seconds; }
    void YieldTimeSlice() override {}
    void WaitForRun(void*) override
    {
        ++waits;
        if (onWait)
            onWait();
    }
    std::unique_ptr<IRunEvent> CreateRunEvent(const std::wstring& name) override
    {
        calls.push_back(L"event " + name);
        return failCreateEvent ? nullptr : m_inner.CreateRunEvent(name);
    }
    void WriteEvent(const ShredEventRecord& record) override { events.push_back(record); }
    void Print(std::string_view text) override { printed += text; }

    // Counts one write and tells whether it is the one to fail or to cut short.
    enum class WriteFate
    {
        Normal,
        Fail,
        Short
    };
    WriteFate NextWrite();

private:
    IShredSystem& m_inner;
};

}  // namespace shred::testing
