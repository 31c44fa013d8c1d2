// Reports the Windows version decisions of the process it runs in as its exit code: bit 0 the
// new Recycle Bin, bit 1 the folder column, bit 2 version 6, the major version from bit 4 and the
// minor version from bit 12.
#include "suite/recyclebin/trashwipe_environment_win32.h"

int main()
{
    const trashwipe::WindowsVersion version = trashwipe::ReadWindowsVersion();
    return (trashwipe::IsNewRecycleBin(version) ? 1 : 0) |
           (trashwipe::HasFolderColumn(version) ? 2 : 0) |
           (trashwipe::IsMajorVersion6(version) ? 4 : 0) | static_cast<int>(version.major << 4) |
           static_cast<int>(version.minor << 12);
}
