// Off Windows there are no drive roots to query and no short names; C streams keep the files.
#include <cstdio>

#include "setup/engine/components/components_system.h"
#include "setup/engine/rtl/exceptions.h"

namespace setup::engine {
namespace {

class NoDiskSpace : public IDiskSpace
{
public:
    std::optional<std::int64_t> AvailableBytes(const std::string&) override { return std::nullopt; }
};

class StdioStateFileStore : public IStateFileStore
{
public:
    bool Exists(const std::string& path) override
    {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr)
            return false;
        std::fclose(file);
        return true;
    }
    std::string ReadText(const std::string& path) override
    {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr)
            throw rtl::EFOpenError(path);
        std::string text;
        char buffer[65536];
        for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) != 0;)
            text.append(buffer, read);
        const bool failed = std::ferror(file) != 0;
        std::fclose(file);
        if (failed)
            throw rtl::EReadError();
        return text;
    }
    void WriteText(const std::string& path, std::string_view text) override
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr)
            throw rtl::EFCreateError(path);
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        if (std::fclose(file) != 0 || !written)
            throw rtl::EWriteError();
    }
    void Replace(const std::string& source, const std::string& target) override
    {
        // POSIX rename replaces the target atomically.
        if (std::rename(source.c_str(), target.c_str()) != 0)
            throw rtl::EInOutError("Cannot replace file \"" + target + "\"", 5);
    }
    void Remove(const std::string& path) override { std::remove(path.c_str()); }
    std::string ShortPath(const std::string& path) override { return path; }
};

}  // namespace

IDiskSpace& SystemDiskSpace()
{
    static NoDiskSpace disk;
    return disk;
}

IStateFileStore& SystemStateFileStore()
{
    static StdioStateFileStore store;
    return store;
}

}  // namespace setup::engine
