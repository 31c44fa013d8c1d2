// The file searches of the file statements: a folder-and-mask walk that lists files (and, when
// asked, folders) with progress and a stop check for its worker thread, the plain walk, the joined
// result text and the repeated delete passes. No walk descends through a reparse point.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "setup/engine/script/variables.h"
#include "setup/engine/system/file_system_view.h"

namespace setup::engine {

struct FoundEntry
{
    std::string path;  // folder path, '\', entry name; folders without a trailing '\'
    std::uint32_t attributes = 0;
};

// True once the worker was asked to stop; the search then returns what it has found.
using SearchStopCheck = std::function<bool()>;

// The progress position the searches of one run publish, kept from search to search; workers
// move it.
struct SearchProgress
{
    std::atomic<int> tick{0};
};

// The search of "folder\mask": within one folder the results of its sub-folders (and, with
// includeFolders, each sub-folder after its contents) come before its own matching files.
// Publishes its progress in the thread-progress variables of the run's variables and polls the
// stop check.
std::vector<std::string> FindAllFiles(IFileSystemView& fs, const std::string& folderAndMask,
                                      bool recurse, bool includeFolders, SearchProgress& progress,
                                      ScriptVariables& variables,
                                      const SearchStopCheck& stopRequested);
// The same search without progress and stop checks.
std::vector<std::string> FindAllFilesDirect(IFileSystemView& fs, const std::string& folderAndMask,
                                            bool recurse, bool includeFolders);
// The plain search with each entry's attributes.
std::vector<FoundEntry> FindAllEntries(IFileSystemView& fs, const std::string& folderAndMask,
                                       bool recurse, bool includeFolders);

// The entries separated by '|'; an entry holding a blank, a control character, '"' or '|' is
// enclosed in double quotes with each inner double quote doubled.
std::string JoinFoundPaths(const std::vector<std::string>& paths);

// Deletes the matching files and the emptied sub-folders of "folder\mask" in passes until a pass
// changes nothing; the folder itself, files not matching and non-empty sub-folders stay. A link
// inside the tree is removed itself; what it points to is never touched.
void DeleteFilesRecursive(IFileSystemView& fs, const std::string& folderAndMask);

}  // namespace setup::engine
