#include "shred/engine/path_walker.h"

#include "shred/engine/object_shredder.h"

namespace shred {
namespace {

bool IsDots(const std::wstring& name)
{
    return name == L"." || name == L"..";
}

bool HasWildcard(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return path.find_first_of(L"*?", slash == std::wstring::npos ? 0 : slash) != std::wstring::npos;
}

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// A real folder is walked; a link to one is an object of its own, removed as a name.
bool IsWalkedFolder(const FolderEntry& entry)
{
    return entry.isFolder && !entry.isLink;
}

class Walker
{
public:
    Walker(WalkCounters& counters, const ShredCall& call)
        : m_counters(counters), m_call(call), m_system(call.system)
    {}

    ShredResult Path(const std::wstring& path)
    {
        const std::uint32_t mode = m_call.eventLog.ReadEventLogSetting();
        m_system.SetNormalAttributes(path);
        if (Aborted()) {
            Log(mode, path, kShredAborted);
            return kShredAborted;
        }
        const std::vector<FolderEntry> matches = m_system.FindMatches(path);
        if (matches.empty()) {
            Log(mode, path, kShredNotFound);
            return kShredNotFound;
        }
        if (!HasWildcard(path) && IsWalkedFolder(matches.front()))
            return Folder(path, mode);

        const std::wstring folder = SplitFolderAndName(m_system, path).folder;
        ShredResult result = kShredDone;
        for (const FolderEntry& entry : matches) {
            if (IsDots(entry.name))
                continue;
            const ShredResult r = Match(folder + L"\\" + entry.name, entry, mode);
            if (r != kShredDone)
                result = r;  // the last failure wins; the walk goes on
        }
        return result;
    }

private:
    ShredResult Folder(const std::wstring& path, std::uint32_t mode)
    {
        ShredResult result = kShredDone;
        for (const FolderEntry& entry : m_system.List(path)) {
            const ShredResult r = Path(path + L"\\" + entry.name);
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

    ShredResult Match(const std::wstring& child, const FolderEntry& entry, std::uint32_t mode)
    {
        // A folder that a pattern matches is shredded with its contents, not just deleted.
        if (IsWalkedFolder(entry))
            return Folder(child, mode);
        ++m_counters.fileIndex;
        const ShredResult r = ShredObject(child, Walk());
        Done(mode, child, entry.isFolder ? kDoneKindFolder : kDoneKindFile, r);
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

FolderAndName SplitFolderAndName(IShredSystem& system, const std::wstring& path)
{
    const std::wstring longPath = system.LongPath(path);
    const std::size_t slash = longPath.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return {std::wstring(), longPath};
    return {longPath.substr(0, slash), longPath.substr(slash + 1)};
}

int CountShredTargets(IShredSystem& system, const ShredVariant& variant, const std::wstring& path)
{
    const std::vector<FolderEntry> matches = system.FindMatches(path);
    if (matches.empty())
        return variant.missingPathCount;
    if (!HasWildcard(path)) {
        if (!IsWalkedFolder(matches.front()))
            return 1;
        int count = 0;
        for (const FolderEntry& entry : system.List(path))
            count += IsWalkedFolder(entry)
                         ? CountShredTargets(system, variant, path + L"\\" + entry.name)
                         : 1;
        return count;
    }
    const std::wstring folder = FolderOf(path);
    int count = 0;
    for (const FolderEntry& entry : matches) {
        if (IsDots(entry.name))
            continue;
        count += IsWalkedFolder(entry)
                     ? CountShredTargets(system, variant, folder + L"\\" + entry.name)
                     : 1;
    }
    return count;
}

ShredResult ShredPath(const std::wstring& path, WalkCounters& counters, const ShredCall& call)
{
    return Walker(counters, call).Path(path);
}

}  // namespace shred
