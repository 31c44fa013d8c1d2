#include "setup/engine/statements/file_search.h"

#include <atomic>

#include "setup/engine/script/path_text.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {
namespace {

constexpr std::string_view kProgressContext = "Thread Progress";
constexpr int kTickRange = 101;

bool IsDotEntry(const FileEntry& entry)
{
    return entry.name == "." || entry.name == "..";
}

bool IsFolder(std::uint32_t attributes)
{
    return (attributes & kAttributeDirectory) != 0;
}

bool IsLink(std::uint32_t attributes)
{
    return (attributes & kAttributeReparsePoint) != 0;
}

// One folder's walk. Without a stop check it neither publishes progress nor stops.
class Search
{
public:
    Search(IFileSystemView& fs, bool includeFolders, SearchProgress* progress,
           ScriptVariables* variables, const SearchStopCheck* stopRequested)
        : m_fs(fs),
          m_includeFolders(includeFolders),
          m_progress(progress),
          m_variables(variables),
          m_stopRequested(stopRequested)
    {}

    // False once the search was stopped.
    bool Walk(const std::string& folderAndMask, bool recurse, std::vector<FoundEntry>& found)
    {
        if (m_stopRequested)
            PublishTick();
        const std::string folder = ExtractFilePath(folderAndMask);
        const std::string mask = ExtractFileName(folderAndMask);
        const std::vector<FileEntry> all = m_fs.List(folder + "*.*");
        if (all.empty())
            return true;
        for (const FileEntry& entry : all) {
            if (IsDotEntry(entry) || !IsFolder(entry.attributes))
                continue;
            const std::string path = folder + entry.name;
            // A junction or symbolic link may lead out of the tree or back into it.
            if (recurse && !IsLink(entry.attributes) && !Walk(path + "\\" + mask, true, found))
                return false;
            if (m_includeFolders)
                found.push_back({path, entry.attributes});
            if (Stopped())
                return false;
        }
        for (const FileEntry& entry : m_fs.List(folderAndMask)) {
            if (IsFolder(entry.attributes))
                continue;
            const std::string path = folder + entry.name;
            if (m_stopRequested)
                m_variables->Set("TARQ_thProgressText", path, kProgressContext);
            found.push_back({path, entry.attributes});
            if (Stopped())
                return false;
        }
        return true;
    }

private:
    bool Stopped() const { return m_stopRequested && *m_stopRequested && (*m_stopRequested)(); }

    void PublishTick()
    {
        std::atomic<int>& ticks = m_progress->tick;
        int tick = ticks.load();
        while (!ticks.compare_exchange_weak(tick, (tick + 1) % kTickRange)) {
        }
        m_variables->Set("TARQ_thMax", "100", kProgressContext);
        m_variables->Set("TARQ_thMin", "0", kProgressContext);
        m_variables->Set("TARQ_thProgress", std::to_string((tick + 1) % kTickRange),
                         kProgressContext);
    }

    IFileSystemView& m_fs;
    bool m_includeFolders;
    SearchProgress* m_progress;
    ScriptVariables* m_variables;
    const SearchStopCheck* m_stopRequested;
};

std::vector<std::string> PathsOf(const std::vector<FoundEntry>& entries)
{
    std::vector<std::string> paths;
    paths.reserve(entries.size());
    for (const FoundEntry& entry : entries)
        paths.push_back(entry.path);
    return paths;
}

bool NeedsQuotes(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '|')
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> FindAllFiles(IFileSystemView& fs, const std::string& folderAndMask,
                                      bool recurse, bool includeFolders, SearchProgress& progress,
                                      ScriptVariables& variables,
                                      const SearchStopCheck& stopRequested)
{
    std::vector<FoundEntry> found;
    Search(fs, includeFolders, &progress, &variables, &stopRequested)
        .Walk(folderAndMask, recurse, found);
    return PathsOf(found);
}

std::vector<std::string> FindAllFilesDirect(IFileSystemView& fs, const std::string& folderAndMask,
                                            bool recurse, bool includeFolders)
{
    return PathsOf(FindAllEntries(fs, folderAndMask, recurse, includeFolders));
}

std::vector<FoundEntry> FindAllEntries(IFileSystemView& fs, const std::string& folderAndMask,
                                       bool recurse, bool includeFolders)
{
    std::vector<FoundEntry> found;
    Search(fs, includeFolders, nullptr, nullptr, nullptr).Walk(folderAndMask, recurse, found);
    return found;
}

std::string JoinFoundPaths(const std::vector<std::string>& paths)
{
    std::string joined;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (i != 0)
            joined += '|';
        if (!NeedsQuotes(paths[i])) {
            joined += paths[i];
            continue;
        }
        joined += '"';
        for (const char c : paths[i]) {
            if (c == '"')
                joined += '"';
            joined += c;
        }
        joined += '"';
    }
    return joined;
}

void DeleteFilesRecursive(IFileSystemView& fs, const std::string& folderAndMask)
{
    std::vector<FoundEntry> entries = FindAllEntries(fs, folderAndMask, true, true);
    while (!entries.empty()) {
        const std::size_t count = entries.size();
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            if (IsFolder(entry->attributes))
                continue;
            // A link's own attributes are left alone; resetting them could not make it go.
            if (!IsLink(entry->attributes))
                fs.SetAttributes(entry->path, kAttributeNormal);
            fs.RemoveFile(entry->path);
        }
        // Sub-folders come after their contents, so from the end an outer folder is tried before
        // the inner one is gone; the next pass takes it.
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            if (!IsFolder(entry->attributes))
                continue;
            if (!IsLink(entry->attributes))
                fs.SetAttributes(entry->path, kAttributeNormal);
            fs.RemoveFolder(entry->path);
        }
        entries = FindAllEntries(fs, folderAndMask, true, true);
        // A pass that removed nothing ends it; so does one that found more than before
        // (something keeps adding files) rather than chase it forever.
        if (entries.size() >= count)
            break;
    }
}

}  // namespace setup::engine
