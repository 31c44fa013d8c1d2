#include "setup/engine/system/file_utils_win32.h"

#include <objbase.h>
#include <shlobj.h>
#include <winioctl.h>

#include <cstdio>

#include "core/scope_guard.h"
#include "core/text_convert.h"
#include "core/unique_handle.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/system/file_system_win32.h"
#include "setup/engine/system/folder_walk.h"

namespace setup::engine {

namespace {

std::string FolderFrom(UINT (*query)(char*, UINT))
{
    char buffer[MAX_PATH] = {};
    const UINT length = query(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return IncludeBackslash(std::string(buffer, length));
}

UINT QueryWindowsDir(char* buffer, UINT size)
{
    return ::GetWindowsDirectoryA(buffer, size);
}

UINT QuerySystemDir(char* buffer, UINT size)
{
    return ::GetSystemDirectoryA(buffer, size);
}

UINT QueryTempDir(char* buffer, UINT size)
{
    return ::GetTempPathA(size, buffer);
}

}  // namespace

std::string GetWindowsDir()
{
    return FolderFrom(QueryWindowsDir);
}

std::string GetSystemDir()
{
    return FolderFrom(QuerySystemDir);
}

std::string GetTempDir()
{
    return FolderFrom(QueryTempDir);
}

bool IsWindowsNT()
{
    return (::GetVersion() & 0x80000000u) == 0;
}

bool SupportsBalloonTips()
{
    const DWORD version = ::GetVersion();
    const DWORD major = LOBYTE(LOWORD(version));
    const DWORD minor = HIBYTE(LOWORD(version));
    return major > 4 || (major == 4 && minor >= 90);
}

std::string GetShortPath(const std::string& path)
{
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return length < MAX_PATH ? std::string(buffer, length) : std::string();
}

std::string GetLongPath(const std::string& path)
{
    return GetLongPath(Win32FileSystem(), path);
}

std::string CreateGuidText()
{
    GUID guid{};
    if (FAILED(::CoCreateGuid(&guid)))
        return {};
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

std::string CreateGuidString()
{
    return rtl::AnsiUpperCase(CreateGuidText());
}

bool FileExistsAnsi(const std::string& path)
{
    ::SetFileApisToANSI();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
           (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExistsAnsi(const std::string& path)
{
    ::SetFileApisToANSI();
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ForceDirectoriesAnsi(const std::string& path)
{
    ::SetFileApisToANSI();
    rtl::TStringList created;
    return ForceFoldersRecorded(Win32FileSystem(), path, created);
}

bool ForceFoldersRecorded(const std::string& path, rtl::TStringList& created)
{
    return ForceFoldersRecorded(Win32FileSystem(), path, created);
}

std::vector<std::string> GetFileList(const std::string& folderAndMask, bool recurse)
{
    return GetFileList(Win32FileSystem(), folderAndMask, recurse);
}

std::vector<std::string> FindFiles(const std::string& folderAndMask, bool recurse)
{
    return FindFiles(Win32FileSystem(), folderAndMask, recurse);
}

std::vector<std::string> ListSubFolders(const std::string& folder, bool recurse)
{
    return ListSubFolders(Win32FileSystem(), folder, recurse);
}

void DeleteFolderTree(const std::string& folder, bool recurse)
{
    DeleteFolderTree(Win32FileSystem(), folder, recurse);
}

bool DeleteOnReboot(const std::string& file, const std::string& windowsDir)
{
    if (IsWindowsNT())
        return ::MoveFileExA(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
    char shortName[1024] = {};
    ::GetShortPathNameA(file.c_str(), shortName, sizeof shortName);
    const std::string iniFile = IncludeBackslash(windowsDir) + "wininit.ini";
    return ::WritePrivateProfileStringA("Rename", "NUL", shortName, iniFile.c_str()) != FALSE;
}

std::uint64_t GetFileSize64(const std::string& path)
{
    WIN32_FIND_DATAA data{};
    core::UniqueFind find(::FindFirstFileA(path.c_str(), &data));
    if (!find)
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::uint64_t GetDriveFreeBytes(const std::string& path)
{
    const std::string drive = ExtractFileDrive(path);
    const std::string root = drive.empty() ? std::string() : IncludeBackslash(drive);
    ULARGE_INTEGER available{}, total{}, free{};
    if (!::GetDiskFreeSpaceExA(root.empty() ? nullptr : root.c_str(), &available, &total, &free))
        return 0;
    return available.QuadPart;
}

void SetNtfsCompression(const std::string& path, bool compress)
{
    core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                        nullptr));
    if (!file)
        return;
    USHORT format = compress ? COMPRESSION_FORMAT_LZNT1 : COMPRESSION_FORMAT_NONE;
    DWORD returned = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_COMPRESSION, &format, sizeof format, nullptr, 0,
                      &returned, nullptr);
}

std::pair<bool, std::string> BrowseForFolder(const std::string& title,
                                             const std::string& initialFolder, HWND owner)
{
    PIDLIST_ABSOLUTE root = nullptr;
    if (!initialFolder.empty()) {
        IShellFolder* desktop = nullptr;
        if (SUCCEEDED(::SHGetDesktopFolder(&desktop))) {
            std::wstring wide = core::AnsiToWide(initialFolder);
            ULONG eaten = 0;
            PIDLIST_RELATIVE parsed = nullptr;
            if (SUCCEEDED(desktop->ParseDisplayName(owner, nullptr, wide.data(), &eaten, &parsed,
                                                    nullptr)))
                root = reinterpret_cast<PIDLIST_ABSOLUTE>(parsed);
            desktop->Release();
        }
    }
    auto freeRoot = core::MakeScopeGuard([&] { ::CoTaskMemFree(root); });

    char display[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&info);
    if (chosen == nullptr)
        return {false, {}};
    auto freeChosen = core::MakeScopeGuard([&] { ::CoTaskMemFree(chosen); });
    char path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListA(chosen, path))
        return {false, {}};
    return {true, path};
}

}  // namespace setup::engine
