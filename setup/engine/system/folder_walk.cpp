#include "setup/engine/system/folder_walk.h"

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"

namespace setup::engine {
namespace {

constexpr int kErrorPathNotFound = 3;

bool IsDotEntry(const FileEntry& entry)
{
    return entry.name == "." || entry.name == "..";
}

bool IsFolder(const FileEntry& entry)
{
    return (entry.attributes & kAttributeDirectory) != 0 && !IsDotEntry(entry);
}

bool IsLink(const FileEntry& entry)
{
    return (entry.attributes & kAttributeReparsePoint) != 0;
}

std::vector<FileEntry> SubFolders(IFileSystemView& fs, const std::string& folder)
{
    std::vector<FileEntry> folders;
    for (FileEntry& entry : fs.List(IncludeBackslash(folder) + "*.*")) {
        if (IsFolder(entry))
            folders.push_back(std::move(entry));
    }
    return folders;
}

void AppendOwnFiles(IFileSystemView& fs, const std::string& folder, const std::string& mask,
                    std::vector<std::string>& files)
{
    for (const FileEntry& entry : fs.List(folder + mask)) {
        if ((entry.attributes & kAttributeDirectory) == 0)
            files.push_back(folder + entry.name);
    }
}

void CollectFiles(IFileSystemView& fs, const std::string& folder, const std::string& mask,
                  bool recurse, std::vector<std::string>& files)
{
    if (recurse) {
        for (const FileEntry& sub : SubFolders(fs, folder)) {
            if (!IsLink(sub))
                CollectFiles(fs, folder + sub.name + "\\", mask, true, files);
        }
    }
    AppendOwnFiles(fs, folder, mask, files);
}

}  // namespace

std::vector<std::string> GetFileList(IFileSystemView& fs, const std::string& folderAndMask,
                                     bool recurse)
{
    std::vector<std::string> files;
    CollectFiles(fs, ExtractFilePath(folderAndMask), ExtractFileName(folderAndMask), recurse,
                 files);
    return files;
}

std::vector<std::string> FindFiles(IFileSystemView& fs, const std::string& folderAndMask,
                                   bool recurse)
{
    const std::string folder = ExtractFilePath(folderAndMask);
    const std::string mask = ExtractFileName(folderAndMask);
    std::vector<std::string> files;
    if (recurse) {
        for (const FileEntry& sub : SubFolders(fs, folder)) {
            if (IsLink(sub))
                continue;
            for (std::string& file : FindFiles(fs, folder + sub.name + "\\" + mask, true))
                files.push_back(std::move(file));
        }
    }
    AppendOwnFiles(fs, folder, mask, files);
    return files;
}

std::vector<std::string> ListSubFolders(IFileSystemView& fs, const std::string& folder,
                                        bool recurse)
{
    const std::string base = IncludeBackslash(folder);
    std::vector<std::string> folders;
    for (const FileEntry& sub : SubFolders(fs, base)) {
        const std::string path = base + sub.name;
        if (recurse && !IsLink(sub)) {
            for (std::string& inner : ListSubFolders(fs, path, true))
                folders.push_back(std::move(inner));
        }
        folders.push_back(path);
    }
    return folders;
}

void DeleteFolderTree(IFileSystemView& fs, const std::string& folder, bool recurse)
{
    const std::string base = IncludeBackslash(folder);
    for (const FileEntry& entry : fs.List(base + "*.*")) {
        if (IsDotEntry(entry))
            continue;
        const std::string path = base + entry.name;
        if ((entry.attributes & kAttributeDirectory) == 0) {
            fs.SetAttributes(path, kAttributeNormal);
            fs.RemoveFile(path);
        } else if (recurse) {
            if (!IsLink(entry))
                DeleteFolderTree(fs, path, true);
            fs.RemoveFolder(path);  // for a link: the link only
        }
    }
}

bool ForceFoldersRecorded(IFileSystemView& fs, const std::string& path, rtl::TStringList& created)
{
    if (path.empty())
        throw rtl::EInOutError("Unable to create directory", kErrorPathNotFound);
    const std::string folder = ExcludeBackslash(path);
    const std::string parent = ExtractFilePath(folder);
    if (folder.size() <= 2 || fs.FolderExists(folder) || parent == folder)
        return true;
    // A relative name without a folder part lies in the current folder, which exists.
    if (!parent.empty() && !ForceFoldersRecorded(fs, parent, created))
        return false;
    if (!fs.CreateFolder(folder))
        return false;
    created.Add(folder);
    return true;
}

std::string GetLongPath(IFileSystemView& fs, const std::string& path)
{
    const std::string p = CleanPathEnd(path);
    const std::string folder = ExtractFilePath(p);
    if (folder == p)
        return p;
    const std::vector<FileEntry> found = fs.List(p);
    if (found.empty())
        return p;
    // A relative name has no folder to rebuild; joining it to an empty one would make it rooted.
    if (folder.empty())
        return found.front().name;
    return GetLongPath(fs, folder) + "\\" + found.front().name;
}

}  // namespace setup::engine
