#include "suite/shellmenu/path_facts_win32.h"

#include <windows.h>

#include <shlwapi.h>

namespace shellmenu {

bool Win32PathFacts::IsDirectory(const std::wstring& path)
{
    return ::PathIsDirectoryW(path.c_str()) != FALSE;
}

bool Win32PathFacts::Exists(const std::wstring& path)
{
    return ::PathFileExistsW(path.c_str()) != FALSE;
}

DriveType Win32PathFacts::DriveTypeOf(const std::wstring& path)
{
    // Windows answers "no root directory" for any folder below a root; Wine answers with the
    // type of the drive the folder is on, which would make every folder a drive.
    if (!::PathIsRootW(path.c_str()))
        return DriveType::NoRootDir;
    return static_cast<DriveType>(::GetDriveTypeW(path.c_str()));
}

}  // namespace shellmenu
