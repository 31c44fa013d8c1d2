// A scripted system for installer-cache detection: folders, registry values, installer answers
// and files are plain members; folder changes are recorded as lines of text.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/installer/installer_cache.h"

namespace setup::engine::testing {

class FakeCacheSystem : public ICacheSystem
{
public:
    bool windowsNT = true;
    bool admin = true;
    std::map<int, std::string> specialFolders = {{0, "C:\\Users\\ann\\Desktop"},
                                                 {5, "C:\\Users\\ann\\Documents"},
                                                 {26, "C:\\Users\\ann\\AppData\\Roaming"},
                                                 {28, "C:\\Users\\ann\\AppData\\Local"},
                                                 {35, "C:\\ProgramData"},
                                                 {38, "C:\\Program Files"},
                                                 {43, "C:\\Program Files\\Common Files"}};
    std::string identCache;
    std::map<std::string, std::string> uninstallStrings;  // "HKLM|title" or "HKCU|title"
    int productState = -1;
    std::string installedPackageCode;
    std::set<std::string> files;
    std::set<std::string> folders;
    std::map<std::string, std::vector<std::string>> fileLines;
    std::vector<std::string> actions;
    bool createSucceeds = true;

    bool IsWindowsNT() override { return windowsNT; }
    bool HasAdminRights() override { return admin; }
    std::string SpecialFolder(int folderId) override
    {
        const auto found = specialFolders.find(folderId);
        return found == specialFolders.end() ? std::string() : found->second;
    }
    std::string ReadIdentCache(const std::string&) override { return identCache; }
    std::string ReadUninstallString(const std::string& title, bool machineHive) override
    {
        const auto found = uninstallStrings.find((machineHive ? "HKLM|" : "HKCU|") + title);
        return found == uninstallStrings.end() ? std::string() : found->second;
    }
    int QueryProductState(const std::string&) override { return productState; }
    bool InstalledPackageCodeMatches(const std::string&, const std::string& packageCode) override
    {
        return packageCode == installedPackageCode;
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    std::vector<std::string> ReadLines(const std::string& path) override
    {
        const auto found = fileLines.find(path);
        return found == fileLines.end() ? std::vector<std::string>() : found->second;
    }
    std::vector<std::string> FileNames(const std::string& folder,
                                       const std::string& pattern) override
    {
        // Only "*.ext" patterns are asked for.
        const std::string extension = pattern.substr(1);
        std::vector<std::string> names;
        for (const std::string& file : files) {
            if (file.rfind(folder, 0) != 0)
                continue;
            const std::string name = file.substr(folder.size());
            if (name.find('\\') == std::string::npos && name.size() > extension.size() &&
                name.compare(name.size() - extension.size(), extension.size(), extension) == 0)
                names.push_back(name);
        }
        return names;
    }
    bool CreateFolders(const std::string& folder) override
    {
        actions.push_back("create " + folder);
        if (createSucceeds)
            folders.insert(folder);
        return createSucceeds;
    }
    bool FolderExists(const std::string& folder) override { return folders.count(folder) != 0; }
    void SetHidden(const std::string& folder) override { actions.push_back("hide " + folder); }
    void SetCompression(const std::string& folder, bool compressed) override
    {
        actions.push_back(std::string(compressed ? "compress " : "uncompress ") + folder);
    }
};

}  // namespace setup::engine::testing
