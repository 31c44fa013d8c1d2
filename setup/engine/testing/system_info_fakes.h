// Injected system facts, machine answers and registry values for the system-information tests.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/statements/statements_system_info.h"

namespace setup::engine::testing {

class FakeSystemFacts : public ISystemFacts
{
public:
    OsVersionRecord version{2, 5, 1, 2600, "Service Pack 2"};
    bool server = false;
    std::set<std::uint32_t> groups{kAdministratorsRid, kUsersRid};
    bool elevated = false;
    MemoryStatus memory{512ull << 20};
    ScreenFacts screen{1024, 768, 32, 96};
    std::optional<std::uint16_t> architecture = 0;
    bool wow64 = false;

    OsVersionRecord VersionRecord() override { return version; }
    bool IsServerSystem() override { return server; }
    bool TokenHasBuiltinGroup(std::uint32_t rid) override { return groups.count(rid) != 0; }
    bool IsProcessElevated() override { return elevated; }
    MemoryStatus GetMemoryStatus() override { return memory; }
    ScreenFacts Screen() override { return screen; }
    std::optional<std::uint16_t> NativeProcessorArchitecture() override { return architecture; }
    bool IsWow64() override { return wow64; }
};

class FakeMachineQueries : public IMachineQueries
{
public:
    std::map<std::string, FileVersionFields> fileVersions;
    std::optional<SystemLanguage> language = SystemLanguage{0x0407, "German (Germany)"};
    std::map<int, std::string> shellFolders;
    std::map<int, std::string> fallbackFolders;
    std::map<char, std::uint32_t> driveTypes;
    std::optional<DiskSpace> diskSpace;
    std::vector<std::string> diskQueries;
    bool vmware = false;
    bool virtualPc = false;

    std::string SystemFolder() override { return "C:\\Windows\\system32"; }
    std::string Wow64SystemFolder() override { return "C:\\Windows\\SysWOW64"; }
    std::string WindowsFolder() override { return "C:\\Windows"; }
    std::optional<FileVersionFields> FileVersion(const std::string& path) override
    {
        const auto found = fileVersions.find(path);
        if (found == fileVersions.end())
            return std::nullopt;
        return found->second;
    }
    std::optional<SystemLanguage> GetSystemLanguage() override { return language; }
    std::string ComputerName() override { return "BUILDHOST"; }
    std::string LogonUserOrDomain(bool user) override { return user ? "alice" : "OFFICE"; }
    int SystemMetric(int index) override { return index == kSmTabletPc ? 1 : 0; }
    bool IsVmware() override { return vmware; }
    bool IsVirtualPc() override { return virtualPc; }
    std::string IISAnonymousUser() override { return "IUSR_BUILDHOST"; }
    std::string ShellFolder(int csidl) override
    {
        const auto found = shellFolders.find(csidl);
        return found == shellFolders.end() ? std::string() : found->second;
    }
    std::string ShellFolderFallback(int csidl) override
    {
        const auto found = fallbackFolders.find(csidl);
        return found == fallbackFolders.end() ? std::string() : found->second;
    }
    std::uint32_t DriveType(char letter) override
    {
        const auto found = driveTypes.find(letter);
        return found == driveTypes.end() ? 1 : found->second;
    }
    std::optional<DiskSpace> GetDiskSpace(const std::string& path) override
    {
        diskQueries.push_back(path);
        return diskSpace;
    }
};

// Values by root, key (letter case ignored) and name; each read recorded with its view.
class FakeValueRegistry : public IRegistry
{
public:
    std::map<std::string, RegistryValue> values;
    std::vector<std::string> reads;

    static std::string Id(int root, const std::string& path, const std::string& name)
    {
        std::string key = path;
        if (!key.empty() && key.back() == '\\')
            key.pop_back();
        return std::to_string(root) + "|" + rtl::AnsiUpperCase(key) + "|" + name;
    }
    void Put(int root, const std::string& path, const std::string& name, std::uint32_t type,
             const std::string& data)
    {
        values[Id(root, path, name)] = {type, data};
    }
    void PutText(int root, const std::string& path, const std::string& name,
                 const std::string& text)
    {
        Put(root, path, name, kRegSz, text + std::string(1, '\0'));
    }
    void PutDword(int root, const std::string& path, const std::string& name, std::uint32_t value)
    {
        Put(root, path, name, kRegDword, std::string(reinterpret_cast<const char*>(&value), 4));
    }

    RegistryReadStatus ReadValue(int root, const std::string& keyPath, const std::string& valueName,
                                 std::uint32_t view, RegistryValue& value) override
    {
        reads.push_back(valueName + " " + std::to_string(view));
        const auto found = values.find(Id(root, keyPath, valueName));
        if (found == values.end())
            return RegistryReadStatus::NoValue;
        value = found->second;
        return RegistryReadStatus::Found;
    }
    void DeleteValue(int, const std::string&, const std::string&, std::uint32_t) override {}
    void DeleteKeyTree(int, const std::string&, std::uint32_t) override {}
    void DeleteKeyTree64(int, const std::string&) override {}
};

class FakeWow64Switch : public IWow64Services
{
public:
    bool wow64 = false;
    int disabled = 0;
    bool IsWow64() override { return wow64; }
    bool DisableRedirection(void*& oldValue) override
    {
        ++disabled;
        oldValue = nullptr;
        return true;
    }
    bool RevertRedirection(void*) override
    {
        --disabled;
        return true;
    }
};

class FakeExpander : public IProcessEnvironment
{
public:
    std::string Expand(const std::string& text) override
    {
        const std::string drive = "%SystemDrive%";
        std::string result = text;
        const auto at = result.find(drive);
        if (at != std::string::npos)
            result.replace(at, drive.size(), "C:");
        return result;
    }
    std::string BlockText() override { return {}; }
};

}  // namespace setup::engine::testing
