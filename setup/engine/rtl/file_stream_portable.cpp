// Off Windows a C stream stands in for the Win32 file; sharing modes do not exist there.
#include <cstdio>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/stream.h"

namespace setup::rtl {
namespace {

class CFileStream : public TStream
{
public:
    explicit CFileStream(std::FILE* file) : m_file(file) {}
    ~CFileStream() override { std::fclose(m_file); }
    CFileStream(const CFileStream&) = delete;
    CFileStream& operator=(const CFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override
    {
        return std::fread(buffer, 1, count, m_file);
    }
    std::size_t Write(const void* buffer, std::size_t count) override
    {
        return std::fwrite(buffer, 1, count, m_file);
    }
    std::int64_t Position() const override { return std::ftell(m_file); }
    void SetPosition(std::int64_t position) override
    {
        std::fseek(m_file, static_cast<long>(position), SEEK_SET);
    }
    std::int64_t Size() const override
    {
        const long here = std::ftell(m_file);
        std::fseek(m_file, 0, SEEK_END);
        const long size = std::ftell(m_file);
        std::fseek(m_file, here, SEEK_SET);
        return size;
    }

private:
    std::FILE* m_file;
};

}  // namespace

std::unique_ptr<TStream> OpenFileStream(const std::string& path, FileStreamMode mode)
{
    const bool reading = mode == FileStreamMode::OpenReadDenyWrite;
    std::FILE* file = std::fopen(path.c_str(), reading ? "rb" : "w+b");
    if (file == nullptr) {
        if (reading)
            throw EFOpenError(path);
        throw EFCreateError(path);
    }
    return std::make_unique<CFileStream>(file);
}

}  // namespace setup::rtl
