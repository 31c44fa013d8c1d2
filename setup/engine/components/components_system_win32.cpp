#include <windows.h>

#include "setup/engine/components/components_system.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/stream.h"
#include "setup/engine/system/file_utils_win32.h"

namespace setup::engine {
namespace {

class Win32DiskSpace : public IDiskSpace
{
public:
    std::optional<std::int64_t> AvailableBytes(const std::string& root) override
    {
        ULARGE_INTEGER available{};
        if (!::GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr))
            return std::nullopt;
        return static_cast<std::int64_t>(available.QuadPart);
    }
};

class Win32StateFileStore : public IStateFileStore
{
public:
    bool Exists(const std::string& path) override
    {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    std::string ReadText(const std::string& path) override
    {
        const auto stream = rtl::OpenFileStream(path, rtl::FileStreamMode::OpenReadDenyWrite);
        std::string text;
        char buffer[65536];
        for (std::size_t read; (read = stream->Read(buffer, sizeof buffer)) != 0;)
            text.append(buffer, read);
        return text;
    }
    void WriteText(const std::string& path, std::string_view text) override
    {
        const auto stream = rtl::OpenFileStream(path, rtl::FileStreamMode::Create);
        stream->WriteBuffer(text.data(), text.size());
    }
    void Replace(const std::string& source, const std::string& target) override
    {
        if (!::MoveFileExA(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throw rtl::EInOutError("Cannot replace file \"" + target + "\"",
                                   static_cast<int>(::GetLastError()));
    }
    void Remove(const std::string& path) override { ::DeleteFileA(path.c_str()); }
    std::string ShortPath(const std::string& path) override { return GetShortPath(path); }
};

}  // namespace

IDiskSpace& SystemDiskSpace()
{
    static Win32DiskSpace disk;
    return disk;
}

IStateFileStore& SystemStateFileStore()
{
    static Win32StateFileStore store;
    return store;
}

}  // namespace setup::engine
