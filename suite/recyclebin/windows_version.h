// The Windows versions Trashwipe tells apart: the old per-drive "Recycled" folders of Windows 95,
// 98 and NT 4.0, the folder column of the contents list from Windows XP on, and version 6, whose
// volumes may keep previous versions of shred files.
#pragma once

namespace trashwipe {

struct WindowsVersion
{
    unsigned major = 0;
    unsigned minor = 0;
};

// Windows ME and every NT version from 5.0 on.
constexpr bool IsNewRecycleBin(WindowsVersion v)
{
    return v.major > 4 || v.minor > 10;
}

constexpr bool HasFolderColumn(WindowsVersion v)
{
    return (v.major >= 5 && v.minor > 0) || v.major >= 6;
}

constexpr bool IsMajorVersion6(WindowsVersion v)
{
    return v.major == 6;
}

}  // namespace trashwipe
