#include "setup/engine/installer/installer_system_win32.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include "core/unique_handle.h"
#include "setup/engine/interpreter/statements_package.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/text_lines.h"
#include "setup/engine/system/file_utils_win32.h"
#include "setup/sysconfig/installer/installer_bridge_win32.h"
#include "setup/sysconfig/installer/msi_api.h"
#include "setup/sysconfig/installer/msi_thread_win32.h"
#include "setup/sysconfig/installer/package_edits_win32.h"
#include "setup/sysconfig/installer/system_queries_win32.h"

namespace setup::sysconfig::installer {

namespace {

HKEY Hive(bool machineHive)
{
    return machineHive ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Member of the Administrators group with the group enabled in the token: from Vista on an
// administrator that is not elevated holds the group for deny only.
bool TokenHoldsAdministrators()
{
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID group = nullptr;
    if (!::AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &group))
        return false;
    BOOL member = FALSE;
    if (!::CheckTokenMembership(nullptr, group, &member))
        member = FALSE;
    ::FreeSid(group);
    return member != FALSE;
}

std::string ReadWholeFile(const std::string& path, bool& ok)
{
    ok = false;
    core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    ok = true;
    return text;
}

bool IsWindows9xSystem()
{
    return !engine::IsWindowsNT();
}

}  // namespace

std::string ReadRegistryString(bool machineHive, const std::string& key, const std::string& name)
{
    core::UniqueKey opened;
    if (::RegOpenKeyExA(Hive(machineHive), key.c_str(), 0, KEY_READ, opened.Put()) != ERROR_SUCCESS)
        return {};
    char buffer[2048] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(opened.Get(), name.empty() ? nullptr : name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return std::string(buffer, ::strnlen(buffer, size));
}

bool Win32CacheSystem::IsWindowsNT()
{
    return engine::IsWindowsNT();
}

bool Win32CacheSystem::HasAdminRights()
{
    return TokenHoldsAdministrators();
}

std::string Win32CacheSystem::SpecialFolder(int folderId)
{
    const auto [found, folder] = engine::GetFolderPathFallback(folderId);
    return found ? folder : std::string();
}

std::string Win32CacheSystem::ReadIdentCache(const std::string& productCode)
{
    const std::string key = std::string(engine::kIdentCacheKey) + productCode;
    std::string value = ReadRegistryString(true, key, "");
    if (value.empty())
        value = ReadRegistryString(false, key, "");
    return value;
}

std::string Win32CacheSystem::ReadUninstallString(const std::string& title, bool machineHive)
{
    return ReadRegistryString(machineHive, std::string(engine::kUninstallKey) + title,
                              "UninstallString");
}

int Win32CacheSystem::QueryProductState(const std::string& productCode)
{
    try {
        return MsiApi().MsiQueryProductStateA(productCode.c_str());
    } catch (const std::exception&) {
        return -1;
    }
}

bool Win32CacheSystem::InstalledPackageCodeMatches(const std::string& productCode,
                                                   const std::string& packageCode)
{
    try {
        return PackageCodeMatches(productCode, packageCode);
    } catch (const std::exception&) {
        return false;
    }
}

bool Win32CacheSystem::FileExists(const std::string& path)
{
    return engine::FileExistsAnsi(path);
}

std::vector<std::string> Win32CacheSystem::ReadLines(const std::string& path)
{
    bool ok = false;
    const std::string text = ReadWholeFile(path, ok);
    std::vector<std::string> lines;
    engine::TextLineReader reader(text);
    while (!reader.AtEnd())
        lines.push_back(reader.Next());
    return lines;
}

std::vector<std::string> Win32CacheSystem::FileNames(const std::string& folder,
                                                     const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data = {};
    core::UniqueFind find(::FindFirstFileA((folder + pattern).c_str(), &data));
    if (!find)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(data.cFileName);
    } while (::FindNextFileA(find.Get(), &data));
    return names;
}

bool Win32CacheSystem::CreateFolders(const std::string& folder)
{
    return engine::ForceDirectoriesAnsi(engine::ExcludeBackslash(folder));
}

bool Win32CacheSystem::FolderExists(const std::string& folder)
{
    return engine::DirectoryExistsAnsi(engine::ExcludeBackslash(folder));
}

void Win32CacheSystem::SetHidden(const std::string& folder)
{
    const std::string path = engine::ExcludeBackslash(folder);
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
}

void Win32CacheSystem::SetCompression(const std::string& folder, bool compressed)
{
    engine::SetNtfsCompression(engine::ExcludeBackslash(folder), compressed);
}

int Win32InstallerSystem::RunInstall(const engine::InstallRequest& request, std::string& errorText)
{
    InstallerSettings& settings = m_bridge.settings;
    settings.dataDir = m_state.DataDir;
    if (request.patchMode)
        settings.patchSourceDir = m_state.DataDir;
    settings.script = request.script;
    return RunMSIThread(m_bridge, request.patchMode, request.packagePath, request.dialogFilePath,
                        request.variablesText, request.propertiesText, request.productCode,
                        request.install, request.advertise, errorText, request.targetDir);
}

int Win32InstallerSystem::QueryProductState(const std::string& productCode)
{
    return Win32CacheSystem().QueryProductState(productCode);
}

std::string Win32InstallerSystem::PreparedInstancePackage()
{
    const PackageInstanceState& instance = m_bridge.instance;
    return instance.newInstanceMode ? instance.instancePackagePath : std::string();
}

void Win32InstallerSystem::MarkNewInstance(const std::string& productCode,
                                           const std::string& cacheId)
{
    PackageInstanceState& instance = m_bridge.instance;
    instance.newInstanceMode = true;
    instance.componentsRegenerated = false;
    instance.productCode = productCode;
    instance.cacheId = cacheId;
    m_bridge.settings.cacheId = cacheId;
}

void Win32InstallerSystem::LocalizePackage(const std::string& packagePath,
                                           const std::vector<std::string>& shortcuts,
                                           const std::vector<std::string>& progIds)
{
    LocalizeMSIShortcuts(packagePath, shortcuts);
    LocalizeMSIProgIds(packagePath, progIds);
}

std::string Win32InstallerSystem::NewGuid()
{
    return engine::CreateGuidString();
}

std::string Win32InstallerSystem::TempFolder()
{
    return installer::TempFolder();
}

bool Win32InstallerSystem::BrowseForFolder(const std::string& prompt, std::string& folder)
{
    const auto [chosen, path] = engine::BrowseForFolder(prompt, "", ::GetForegroundWindow());
    folder = path;
    return chosen;
}

bool Win32InstallerSystem::IsWindows2000OrLater()
{
    return engine::IsWindowsNT() && LOBYTE(LOWORD(::GetVersion())) >= 5;
}

bool Win32InstallerSystem::IsWindows9x()
{
    return IsWindows9xSystem();
}

bool Win32InstallerSystem::FileExists(const std::string& path)
{
    return engine::FileExistsAnsi(path);
}

bool Win32InstallerSystem::FolderExists(const std::string& path)
{
    return engine::DirectoryExistsAnsi(engine::ExcludeBackslash(path));
}

bool Win32InstallerSystem::CreateFolders(const std::string& path, bool compressed)
{
    const std::string folder = engine::ExcludeBackslash(path);
    if (!engine::ForceDirectoriesAnsi(folder))
        return false;
    engine::SetNtfsCompression(folder, compressed);
    return true;
}

void Win32InstallerSystem::CopyOver(const std::string& source, const std::string& target)
{
    ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::CopyFileA(source.c_str(), target.c_str(), FALSE);
}

void Win32InstallerSystem::WriteLines(const std::string& path,
                                      const std::vector<std::string>& lines)
{
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw rtl::EInOutError("Cannot create file \"" + path + "\"",
                               static_cast<int>(::GetLastError()));
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    DWORD written = 0;
    if (!text.empty() && (!::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()),
                                       &written, nullptr) ||
                          written != text.size()))
        throw rtl::EInOutError("Cannot write file \"" + path + "\"",
                               static_cast<int>(::GetLastError()));
}

void Win32InstallerSystem::RemoveFile(const std::string& path)
{
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
}

void Win32InstallerSystem::RemoveFolder(const std::string& path)
{
    ::RemoveDirectoryA(engine::ExcludeBackslash(path).c_str());
}

void Win32InstallerSystem::DeleteTree(const std::string& path)
{
    engine::DeleteFolderTree(engine::ExcludeBackslash(path), true);
}

bool Win32InstallerSystem::MoveFolder(const std::string& source, const std::string& target)
{
    return ::MoveFileA(engine::ExcludeBackslash(source).c_str(),
                       engine::ExcludeBackslash(target).c_str()) != FALSE;
}

bool Win32InstallerSystem::DeleteOnReboot(const std::string& path)
{
    return engine::DeleteOnReboot(path, m_process.windowsDir);
}

std::string Win32InstallerSystem::ReadUninstallString(const std::string& title, bool machineHive)
{
    return Win32CacheSystem().ReadUninstallString(title, machineHive);
}

void Win32InstallerSystem::WriteString(bool machineHive, const std::string& key,
                                       const std::string& name, const std::string& value)
{
    core::UniqueKey opened;
    LONG status = ::RegCreateKeyExA(Hive(machineHive), key.c_str(), 0, nullptr, 0, KEY_WRITE,
                                    nullptr, opened.Put(), nullptr);
    if (status == ERROR_SUCCESS)
        status = ::RegSetValueExA(opened.Get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1));
    if (status != ERROR_SUCCESS)
        throw rtl::Exception("Unable to write registry value \"" + name + "\" of \"" + key + "\"");
}

void Win32InstallerSystem::DeleteKey(bool machineHive, const std::string& key)
{
    ::SHDeleteKeyA(Hive(machineHive), key.c_str());
}

}  // namespace setup::sysconfig::installer
