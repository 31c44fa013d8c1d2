#include "setup/ui/file_lister_win32.h"

#include <windows.h>

#include "core/unique_handle.h"

namespace setup::ui {

std::vector<FolderEntry> Win32FileLister::List(const std::string& folder,
                                               const std::string& pattern)
{
    std::vector<FolderEntry> entries;
    std::string query = folder;
    if (!query.empty() && query.back() != '\\')
        query += '\\';
    query += pattern;
    WIN32_FIND_DATAA found;
    // Folders are listed whatever the pattern: the search is for everything, matched here.
    core::UniqueFind search(
        ::FindFirstFileA((query.substr(0, query.rfind('\\') + 1) + "*").c_str(), &found));
    if (!search)
        return entries;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const DWORD attributes = found.dwFileAttributes;
        const bool isFolder = attributes & FILE_ATTRIBUTE_DIRECTORY;
        if (!isFolder && !MatchesWildcard(name, pattern))
            continue;
        entries.push_back({name, isFolder, (attributes & FILE_ATTRIBUTE_READONLY) != 0,
                           (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                           (attributes & FILE_ATTRIBUTE_SYSTEM) != 0,
                           (attributes & FILE_ATTRIBUTE_ARCHIVE) != 0});
    } while (::FindNextFileA(search.Get(), &found));
    return entries;
}

bool Win32FileLister::FolderExists(const std::string& folder)
{
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32FileLister::Drives()
{
    std::string drives;
    const DWORD mask = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i))
            drives += static_cast<char>('A' + i);
    return drives;
}

}  // namespace setup::ui
