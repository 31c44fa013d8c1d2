#include "shred/engine/path_walker.h"

#include "shred/engine/object_shredder.h"

namespace shred {
namespace {

bool IsDots(const std::wstring& name)
{
    return name == L"." || name == L"..";
}

// A real folder is walked; a link to one is an object of its own, removed as a name.
bool IsWalkedFolder(const FolderEntry& entry)
{
    return entry.isFolder && !entry.isLink;
}

int CountFolder(IShredSystem& system, const std::wstring& path, int depth);

int CountEntry(IShredSystem& system, const std::wstring& folder, const FolderEntry& entry,
               int depth)
{
    if (IsWalkedFolder(entry) && IsLiteralName(entry.name))
        return CountFolder(system, JoinPath(folder, entry.name), depth + 1);
    return 1;
}

int CountFolder(IShredSystem& system, const std::wstring& path, int depth)
{
    if (depth > kMaxWalkDepth)
        return 0;
    int count = 0;
    for (const FolderEntry& entry : system.List(path))
        count += CountEntry(system, path, entry, depth);
    return count;
}

class Walker
{
public:
    Walker(WalkCounters& counters, const ShredCall& call)
        : m_counters(counters), m_call(call), m_system(call.system)
    {}

    ShredResult Target(const std::wstring& path, const std::optional<ShredTarget>& target)
    {
        const std::uint32_t mode = m_call.eventLog.ReadEventLogSetting();
        if (Aborted()) {
            Log(mode, path, kShredAborted);
            return kShredAborted;
        }
        const std::vector<FolderEntry> matches =
            target ? m_system.FindMatches(JoinPath(target->folder, target->name))
                   : std::vector<FolderEntry>();
        if (matches.empty()) {
            Log(mode, path, kShredNotFound);
            return kShredNotFound;
        }
        // Every object is addressed through the folder searched and the name found there, so
        // the system's reading of the caller's text never decides twice.
        if (!target->isPattern && IsWalkedFolder(matches.front()) &&
            IsLiteralName(matches.front().name))
            return Folder(JoinPath(target->folder, matches.front().name), mode, 0);

        ShredResult result = kShredDone;
        for (const FolderEntry& entry : matches) {
            if (IsDots(entry.name))
                continue;
            const ShredResult r = Match(target->folder, entry, mode, 0);
            if (r != kShredDone)
                result = r;  // the last failure wins; the walk goes on
        }
        return result;
    }

private:
    ShredResult Folder(const std::wstring& path, std::uint32_t mode, int depth)
    {
        if (depth > kMaxWalkDepth) {
            Done(mode, path, kDoneKindFolder, kShredNotFound);
            return kShredNotFound;
        }
        ShredResult result = kShredDone;
        for (const FolderEntry& entry : m_system.List(path)) {
            const ShredResult r = Child(path, entry, mode, depth);
            if (r != kShredDone)
                result = r;
        }
        // Whatever is still inside was not overwritten (a child failed, or appeared meanwhile):
        // removing the folder now would delete it unshredded.
        if (result == kShredDone && !m_call.keepFile && !m_system.List(path).empty())
            result = kShredFolderFailed;
        if (result == kShredDone)
            result = ShredObject(path, Walk());
        Done(mode, path, kDoneKindFolder, result);
        return result;
    }

    // A folder's entry: the abort ends it unreported, as if it had been a path of its own.
    ShredResult Child(const std::wstring& folder, const FolderEntry& entry, std::uint32_t mode,
                      int depth)
    {
        if (Aborted()) {
            Log(mode, JoinPath(folder, entry.name), kShredAborted);
            return kShredAborted;
        }
        return Match(folder, entry, mode, depth);
    }

    ShredResult Match(const std::wstring& folder, const FolderEntry& entry, std::uint32_t mode,
                      int depth)
    {
        const std::wstring child = JoinPath(folder, entry.name);
        const int kind = entry.isFolder ? kDoneKindFolder : kDoneKindFile;
        // A name the system would read as a pattern, a path or another object is never used.
        if (!IsLiteralName(entry.name)) {
            ++m_counters.fileIndex;
            Done(mode, child, kind, kShredNotFound);
            return kShredNotFound;
        }
        // A folder that a pattern matches is shredded with its contents, not just deleted.
        if (IsWalkedFolder(entry))
            return Folder(child, mode, depth + 1);
        ++m_counters.fileIndex;
        const ShredResult r = ShredObject(child, Walk());
        Done(mode, child, kind, r);
        if (r == kShredDone && !entry.isFolder && m_call.progress) {
            m_counters.percent = 200;
            m_call.progress(m_call.ctx, 200, m_counters.fileIndex, m_counters.fileCount, 0, 0,
                            m_call.pauseEvent, 0.0f, 0);
        }
        return r;
    }

    ShredWalk Walk() const
    {
        return ShredWalk{m_system,
                         m_call.variant,
                         m_call.passes,
                         &m_counters.percent,
                         &m_counters.fileIndex,
                         m_counters.fileCount,
                         m_call.pauseEvent,
                         m_call.abortFlag,
                         m_call.ctx,
                         m_call.progress,
                         m_call.keepFile};
    }

    bool Aborted() const
    {
        return m_call.abortFlag && *static_cast<const volatile char*>(m_call.abortFlag) == 1;
    }

    void Log(std::uint32_t mode, const std::wstring& path, ShredResult result) const
    {
        if (mode == static_cast<std::uint32_t>(ShredEventLogMode::PerObject))
            m_call.eventLog.ReportShredEvent(path, m_call.algorithmId, result);
    }

    void Done(std::uint32_t mode, const std::wstring& path, int kind, ShredResult result) const
    {
        Log(mode, path, result);
        if (!m_call.fileDone)
            return;
        // The callee owns the one reference; a string that cannot be made is no call at all.
        const core::CStringW text = core::CStringCreate(path);
        if (text.chars)
            m_call.fileDone(m_call.ctx, text, kind, result);
    }

    WalkCounters& m_counters;
    const ShredCall& m_call;
    IShredSystem& m_system;
};

}  // namespace

int CountShredTargets(IShredSystem& system, const ShredVariant& variant,
                      const std::optional<ShredTarget>& target)
{
    if (!target)
        return variant.missingPathCount;
    const std::vector<FolderEntry> matches =
        system.FindMatches(JoinPath(target->folder, target->name));
    if (matches.empty())
        return variant.missingPathCount;
    if (!target->isPattern) {
        if (!IsWalkedFolder(matches.front()) || !IsLiteralName(matches.front().name))
            return 1;
        return CountFolder(system, JoinPath(target->folder, matches.front().name), 0);
    }
    int count = 0;
    for (const FolderEntry& entry : matches) {
        if (!IsDots(entry.name))
            count += CountEntry(system, target->folder, entry, 0);
    }
    return count;
}

int CountShredTargets(IShredSystem& system, const ShredVariant& variant, const std::wstring& path)
{
    return CountShredTargets(system, variant, ResolveShredTarget(system, path));
}

ShredResult ShredPath(const std::wstring& path, const std::optional<ShredTarget>& target,
                      WalkCounters& counters, const ShredCall& call)
{
    return Walker(counters, call).Target(path, target);
}

}  // namespace shred
