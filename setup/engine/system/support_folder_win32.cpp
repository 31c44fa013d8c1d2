#include <windows.h>

#include "setup/engine/system/support_folder.h"

namespace setup::engine {

std::optional<std::string> ClaimSupportDir(const std::string& tempDir)
{
    return ClaimSupportDir(tempDir, [](const std::string& folder) {
        if (::CreateDirectoryA(folder.c_str(), nullptr))
            return CreateFolderResult::Created;
        const DWORD error = ::GetLastError();
        return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS
                   ? CreateFolderResult::AlreadyExists
                   : CreateFolderResult::Failed;
    });
}

}  // namespace setup::engine
