#include "setup/engine/media/transfer_folder.h"

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/string_list.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/system/folder_walk.h"

namespace setup::engine {

bool ForceMediaFolder(IMediaFiles& files, const std::string& folder)
{
    const std::string path = ExcludeBackslash(folder);
    if (path.empty())
        return false;
    rtl::TStringList created;
    try {
        ForceFoldersRecorded(files, path, created);
    } catch (const rtl::Exception&) {
        return false;
    }
    return files.FolderExists(path);
}

bool TransferFolder(IMediaFiles& files, const std::string& source, const std::string& target,
                    bool move)
{
    const std::string from = IncludeBackslash(source);
    const std::string to = IncludeBackslash(target);
    for (const std::string& file : GetFileList(files, from + "*.*", true)) {
        const std::string relative = ExtractFilePath(file).substr(from.size());
        if (!ForceMediaFolder(files, to + relative))
            return false;
        const std::string placed = to + relative + ExtractFileName(file);
        if (move) {
            files.SetAttributes(placed, kAttributeNormal);
            files.RemoveFile(placed);
            if (!files.Move(file, placed))
                return false;
        } else if (!files.Copy(file, placed, true)) {
            return false;
        }
    }
    if (move) {
        DeleteFolderTree(files, from, true);
        files.RemoveFolder(ExcludeBackslash(from));
    }
    return true;
}

}  // namespace setup::engine
