#include <windows.h>

#include "setup/engine/system/file_system_win32.h"

#include "core/unique_handle.h"

namespace setup::engine {
namespace {

class Win32FileSystemView : public IFileSystemView
{
public:
    std::vector<FileEntry> List(const std::string& pattern) override
    {
        std::vector<FileEntry> entries;
        WIN32_FIND_DATAA data{};
        core::UniqueFind find(::FindFirstFileA(pattern.c_str(), &data));
        if (!find)
            return entries;
        do {
            entries.push_back(
                {data.cFileName, data.dwFileAttributes,
                 (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
        } while (::FindNextFileA(find.Get(), &data));
        return entries;
    }

    bool FolderExists(const std::string& path) override
    {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool CreateFolder(const std::string& path) override
    {
        return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    }

    bool SetAttributes(const std::string& path, std::uint32_t attributes) override
    {
        return ::SetFileAttributesA(path.c_str(), attributes) != FALSE;
    }

    bool RemoveFile(const std::string& path) override
    {
        return ::DeleteFileA(path.c_str()) != FALSE;
    }

    bool RemoveFolder(const std::string& path) override
    {
        return ::RemoveDirectoryA(path.c_str()) != FALSE;
    }
};

}  // namespace

IFileSystemView& Win32FileSystem()
{
    static Win32FileSystemView view;
    return view;
}

}  // namespace setup::engine
