#include "setup/engine/media/media_files_win32.h"

#include <windows.h>

#include "setup/engine/system/file_system_win32.h"
#include "setup/engine/system/file_utils_win32.h"

namespace setup::engine {

namespace {

class Win32MediaFileSystem : public IMediaFiles
{
public:
    std::vector<FileEntry> List(const std::string& pattern) override
    {
        return m_view.List(pattern);
    }
    bool FolderExists(const std::string& path) override { return m_view.FolderExists(path); }
    bool CreateFolder(const std::string& path) override { return m_view.CreateFolder(path); }
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override
    {
        return m_view.SetAttributes(path, attributes);
    }
    bool RemoveFile(const std::string& path) override { return m_view.RemoveFile(path); }
    bool RemoveFolder(const std::string& path) override { return m_view.RemoveFolder(path); }

    bool FileExists(const std::string& path) override
    {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool Move(const std::string& from, const std::string& to) override
    {
        return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
    }
    bool Copy(const std::string& from, const std::string& to, bool overwrite) override
    {
        return ::CopyFileA(from.c_str(), to.c_str(), overwrite ? FALSE : TRUE) != FALSE;
    }
    std::uint64_t Size(const std::string& path) override
    {
        return FileExists(path) ? GetFileSize64(path) : 0;
    }
    void Compress(const std::string& path, bool compress) override
    {
        SetNtfsCompression(path, compress);
    }

private:
    IFileSystemView& m_view = Win32FileSystem();
};

}  // namespace

IMediaFiles& Win32MediaFiles()
{
    static Win32MediaFileSystem files;
    return files;
}

}  // namespace setup::engine
