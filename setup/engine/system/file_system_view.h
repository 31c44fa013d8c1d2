// The narrow view of the file system that the folder walkers and folder creation use: the Win32
// view in the product, a scripted one in tests (Wine reports no reparse points).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setup::engine {

// Attribute bits as Windows reports them.
constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeNormal = 0x80;
constexpr std::uint32_t kAttributeReparsePoint = 0x400;

struct FileEntry
{
    std::string name;  // name only, as the find functions report it
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
};

class IFileSystemView
{
public:
    virtual ~IFileSystemView() = default;
    // Entries matching a path with an optional wildcard name ("C:\dir\*.txt"), "." and ".."
    // included when the system reports them; empty when the folder cannot be read.
    virtual std::vector<FileEntry> List(const std::string& pattern) = 0;
    virtual bool FolderExists(const std::string& path) = 0;
    virtual bool CreateFolder(const std::string& path) = 0;
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Removes an empty folder, or a link to a folder without touching what it points to.
    virtual bool RemoveFolder(const std::string& path) = 0;
};

}  // namespace setup::engine
