// A scripted installer service for the Windows Installer statements: install answers, files,
// folders and registry values in memory, with every change recorded as a line of text.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/installer/statements_installer.h"
#include "setup/engine/script/path_text.h"

namespace setup::engine::testing {

inline constexpr const char* kUninstall =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Files, folders and registry values in memory; every action that changes them is recorded.
class FakeInstallerSystem : public IInstallerSystem
{
public:
    int installResult = 1;
    std::string installError;
    std::vector<InstallRequest> requests;
    int productState = 2;
    std::set<std::string> files;
    std::set<std::string> folders;
    std::set<std::string> lockedFolders;  // survive deletion and moving
    std::map<std::string, std::vector<std::string>> written;
    std::map<std::string, std::string> registry;  // "HKLM|key|name" -> value
    std::vector<std::string> actions;
    std::vector<std::string> browseAnswers;
    int browses = 0;
    int guids = 0;

    int RunInstall(const InstallRequest& request, std::string& errorText) override
    {
        requests.push_back(request);
        errorText = installError;
        return installResult;
    }
    int QueryProductState(const std::string&) override { return productState; }
    std::string PreparedInstancePackage() override { return {}; }
    void MarkNewInstance(const std::string& product, const std::string& cacheId) override
    {
        actions.push_back("new instance " + product + " " + cacheId);
    }
    void LocalizePackage(const std::string& path, const std::vector<std::string>&,
                         const std::vector<std::string>&) override
    {
        actions.push_back("localize " + path);
    }
    std::string NewGuid() override
    {
        return "{0000000" + std::to_string(++guids) + "-abcd-0000-0000-000000000000}";
    }
    std::string TempFolder() override { return "C:\\Temp\\"; }
    bool BrowseForFolder(const std::string&, std::string& folder) override
    {
        ++browses;
        if (browseAnswers.empty())
            return false;
        folder = browseAnswers.front();
        browseAnswers.erase(browseAnswers.begin());
        return true;
    }
    bool IsWindows2000OrLater() override { return true; }
    bool IsWindows9x() override { return false; }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool FolderExists(const std::string& path) override
    {
        return folders.count(IncludeBackslash(path)) != 0;
    }
    bool CreateFolders(const std::string& path, bool) override
    {
        folders.insert(IncludeBackslash(path));
        return true;
    }
    void CopyOver(const std::string& source, const std::string& target) override
    {
        actions.push_back("copy " + source + " > " + target);
        files.insert(target);
    }
    void WriteLines(const std::string& path, const std::vector<std::string>& lines) override
    {
        written[path] = lines;
        files.insert(path);
    }
    void RemoveFile(const std::string& path) override { files.erase(path); }
    void RemoveFolder(const std::string& path) override { folders.erase(IncludeBackslash(path)); }
    void DeleteTree(const std::string& path) override
    {
        if (lockedFolders.count(path))
            return;
        folders.erase(path);
        std::erase_if(files, [&](const std::string& f) { return f.rfind(path, 0) == 0; });
    }
    bool MoveFolder(const std::string& source, const std::string& target) override
    {
        if (lockedFolders.count(source) && lockedFolders.count("no move"))
            return false;
        actions.push_back("move " + source + " > " + target);
        folders.erase(source);
        folders.insert(IncludeBackslash(target));
        return true;
    }
    bool DeleteOnReboot(const std::string& path) override
    {
        actions.push_back("at restart " + path);
        return true;
    }
    std::string ReadUninstallString(const std::string& title, bool machine) override
    {
        const auto found = registry.find(std::string(machine ? "HKLM|" : "HKCU|") + kUninstall +
                                         title + "|UninstallString");
        return found == registry.end() ? std::string() : found->second;
    }
    void WriteString(bool machine, const std::string& key, const std::string& name,
                     const std::string& value) override
    {
        registry[std::string(machine ? "HKLM|" : "HKCU|") + key + "|" + name] = value;
    }
    void DeleteKey(bool machine, const std::string& key) override
    {
        const std::string prefix = std::string(machine ? "HKLM|" : "HKCU|") + key + "|";
        std::erase_if(registry,
                      [&](const auto& entry) { return entry.first.rfind(prefix, 0) == 0; });
    }
};

}  // namespace setup::engine::testing
