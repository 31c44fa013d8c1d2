// A scripted file system for the folder walkers: folders, files and links by path, listed in
// creation order, with a record of every change asked of it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "setup/engine/system/file_system_view.h"

namespace setup::engine::testing {

class FakeFileSystem : public IFileSystemView
{
public:
    void AddFolder(const std::string& path, std::uint32_t extra = 0);
    void AddFile(const std::string& path, std::uint32_t attributes = kAttributeNormal);
    bool Exists(const std::string& path) const { return m_entries.count(Key(path)) != 0; }

    std::vector<FileEntry> List(const std::string& pattern) override;
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;

    std::vector<std::string> log;  // "verb path" per change
    std::vector<std::string> refuseCreate;

private:
    struct Entry
    {
        std::string path;
        std::uint32_t attributes;
        long order;
    };
    static std::string Key(const std::string& path);
    static std::string Parent(const std::string& key);

    std::map<std::string, Entry> m_entries;
    long m_next = 0;
};

bool WildcardMatch(const std::string& mask, const std::string& name);

}  // namespace setup::engine::testing
