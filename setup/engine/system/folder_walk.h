// Folder trees: listing files and sub-folders, creating a folder with its parents while recording
// what was created, and emptying a tree. No walk descends through a reparse point (junction or
// symbolic link): it could lead outside the tree or back into it.
#pragma once

#include <string>
#include <vector>

#include "setup/engine/rtl/string_list.h"
#include "setup/engine/system/file_system_view.h"

namespace setup::engine {

// Full paths of the files matching "folder\mask"; with recurse, each sub-folder's results
// (recursively) come before the folder's own files.
std::vector<std::string> GetFileList(IFileSystemView& fs, const std::string& folderAndMask,
                                     bool recurse);
std::vector<std::string> FindFiles(IFileSystemView& fs, const std::string& folderAndMask,
                                   bool recurse);
// Full paths (no trailing '\') of the sub-folders; with recurse each one's own sub-folders come
// before it. A linked folder is listed but not entered.
std::vector<std::string> ListSubFolders(IFileSystemView& fs, const std::string& folder,
                                        bool recurse);
// Deletes the folder's files (attributes reset first); with recurse empties and removes each
// sub-folder too. The folder itself stays. Links are removed, never followed.
void DeleteFolderTree(IFileSystemView& fs, const std::string& folder, bool recurse);
// Creates the folder and its missing parents, appending each created folder (outermost first)
// to the list. An empty path raises EInOutError "Unable to create directory" (code 3).
bool ForceFoldersRecorded(IFileSystemView& fs, const std::string& path, rtl::TStringList& created);
// The path rebuilt from the long names of its components; unchanged from the first component
// that does not exist.
std::string GetLongPath(IFileSystemView& fs, const std::string& path);

}  // namespace setup::engine
