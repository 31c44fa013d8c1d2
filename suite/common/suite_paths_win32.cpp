#include "suite/common/suite_paths_win32.h"

#include "core/unique_handle.h"
#include "suite/common/library_path.h"

#include <shlobj.h>

#include <vector>

namespace suite {

std::optional<std::wstring> ReadRegistryText(HKEY root, const wchar_t* subKey,
                                             const wchar_t* valueName)
{
    core::UniqueKey key;
    if (::RegOpenKeyExW(root, subKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t buffer[kRegistryTextBytes / sizeof(wchar_t)] = {};
    DWORD size = sizeof(buffer);
    if (::RegQueryValueExW(key.Get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                           &size) != ERROR_SUCCESS ||
        size > kRegistryTextBytes)
        return std::nullopt;
    return TextFromRegistryData(buffer, size);
}

std::wstring GetSuiteLibraryFolder(std::wstring_view fileName)
{
    const std::wstring name(fileName);
    return ReadRegistryText(HKEY_LOCAL_MACHINE, kLibraryFoldersKey, name.c_str()).value_or(L"");
}

std::wstring GetModuleFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return FolderOfPath(std::wstring_view(path, length));
}

std::wstring GetInstallFolder(std::wstring_view companyName, const wchar_t* productTitle)
{
    const std::wstring subKey = L"SOFTWARE\\" + std::wstring(companyName) + L"\\Paths\\App Paths";
    return ReadRegistryText(HKEY_LOCAL_MACHINE, subKey.c_str(), productTitle)
        .value_or(GetModuleFolder());
}

std::wstring GetSpecialFolder(int folderId)
{
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, folderId, TRUE))
        return {};
    return path;
}

std::wstring ReadVersionText(const std::wstring& path, VersionOf kind, IUserMessages& messages)
{
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), nullptr);
    std::vector<BYTE> block;
    try {
        block.resize(size);
    } catch (...) {
        messages.Show(L"Out of Memory trying to get file version.", {}, MessageIcon::None);
        return std::wstring(kNoVersion);
    }
    // A file without a version resource has size 0: reading it fails like a damaged one.
    bool read = size != 0 && ::GetFileVersionInfoW(path.c_str(), 0, size, block.data());
    if (!read && size != 0)
        read = ::GetFileVersionInfoW(path.c_str(), 0, size, block.data());
    if (!read) {
        messages.Show(kind == VersionOf::Program
                          ? L"Error retrieving version info.\n(" + path + L")"
                          : std::wstring(L"Error retrieving version info"),
                      {}, MessageIcon::None);
        return std::wstring(kNoVersion);
    }
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length)) {
        messages.Show(L"Version information not available.", {}, MessageIcon::None);
        return std::wstring(kNoVersion);
    }
    if (length == 0 || !info) {
        messages.Show(L"Version information not available", {}, MessageIcon::None);
        return std::wstring(kNoVersion);
    }
    return FormatVersionText(info->dwFileVersionMS, info->dwFileVersionLS);
}

std::wstring GetFileVersionText(IUserMessages& messages)
{
    // The module's own file name, not the command line's first word: a program started by a
    // relative name or without ".exe" still finds its version.
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring(kNoVersion);
    return ReadVersionText(path, VersionOf::Program, messages);
}

void MessageBoxMessages::Show(std::wstring_view text, std::wstring_view caption, MessageIcon icon)
{
    const std::wstring body(text);
    const std::wstring title(caption.empty() ? std::wstring_view(m_title) : caption);
    HWND owner = ::GetActiveWindow();
    ::MessageBoxW(owner, body.c_str(), title.c_str(),
                  MB_OK | (icon == MessageIcon::Error         ? MB_ICONERROR
                           : icon == MessageIcon::Exclamation ? MB_ICONEXCLAMATION
                                                              : 0));
}

}  // namespace suite
