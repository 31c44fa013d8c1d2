// File, folder and path routines of the setup program that call Windows: the system folders,
// names with the short-path retry for paths the ANSI code page cannot hold, folder creation and
// removal, reboot-time deletion, sizes, NTFS compression and the folder dialog.
#pragma once

#include <shlobj.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "setup/engine/rtl/string_list.h"

namespace setup::engine {

// The folders as Windows names them now, each with a trailing '\'; empty when it does not answer.
std::string GetWindowsDir();
std::string GetSystemDir();
std::string GetTempDir();

bool IsWindowsNT();
// Windows Me, 2000 and later (version 4.90 on).
bool SupportsBalloonTips();

std::string GetShortPath(const std::string& path);
std::string GetLongPath(const std::string& path);
std::string CreateGuidText();
std::string CreateGuidString();

// The 8.3 form of a wide path in ANSI text (plain ASCII); the ANSI form of the path itself when
// it has no short form.
std::string ShortAnsiPath(const std::wstring& path);

// GetModuleFileNameA with the short-path retry; 122 (ERROR_INSUFFICIENT_BUFFER) instead of a
// length when the name and its NUL do not fit, the buffer then holding what fits and a NUL.
DWORD GetModuleFileNameSafe(HMODULE module, char* buffer, DWORD size);
std::string GetParamStr(int index);
// SHGetPathFromIDListA with the short-path retry; buffer of MAX_PATH bytes.
bool GetPathFromPidlSafe(PCIDLIST_ABSOLUTE itemList, char* buffer);
std::pair<bool, std::string> GetFolderPathFallback(int folder);

// Both switch the file APIs to the ANSI code page first, as every engine path is ANSI text.
bool FileExistsAnsi(const std::string& path);  // the file's date can be read
bool DirectoryExistsAnsi(const std::string& path);
bool ForceDirectoriesAnsi(const std::string& path);
bool ForceFoldersRecorded(const std::string& path, rtl::TStringList& created);
std::vector<std::string> GetFileList(const std::string& folderAndMask, bool recurse);
std::vector<std::string> FindFiles(const std::string& folderAndMask, bool recurse);
std::vector<std::string> ListSubFolders(const std::string& folder, bool recurse);
void DeleteFolderTree(const std::string& folder, bool recurse);
// Before NT the deletion is queued in wininit.ini of the Windows folder given.
bool DeleteOnReboot(const std::string& file, const std::string& windowsDir);
std::uint64_t GetFileSize64(const std::string& path);
std::uint64_t GetDriveFreeBytes(const std::string& path);
void SetNtfsCompression(const std::string& path, bool compress);
std::pair<bool, std::string> BrowseForFolder(const std::string& title,
                                             const std::string& initialFolder, HWND owner);

}  // namespace setup::engine
