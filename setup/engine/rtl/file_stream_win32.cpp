#include <windows.h>

#include <algorithm>

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/stream.h"

namespace setup::rtl {
namespace {

class Win32FileStream : public TStream
{
public:
    explicit Win32FileStream(core::UniqueFile file) : m_file(std::move(file)) {}

    std::size_t Read(void* buffer, std::size_t count) override
    {
        std::size_t total = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (total < count) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
            DWORD done = 0;
            if (!::ReadFile(m_file.Get(), bytes + total, chunk, &done, nullptr) || done == 0)
                break;
            total += done;
        }
        return total;
    }
    std::size_t Write(const void* buffer, std::size_t count) override
    {
        std::size_t total = 0;
        const auto* bytes = static_cast<const char*>(buffer);
        while (total < count) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
            DWORD done = 0;
            if (!::WriteFile(m_file.Get(), bytes + total, chunk, &done, nullptr) || done == 0)
                break;
            total += done;
        }
        return total;
    }
    std::int64_t Position() const override
    {
        LARGE_INTEGER zero{}, position{};
        ::SetFilePointerEx(m_file.Get(), zero, &position, FILE_CURRENT);
        return position.QuadPart;
    }
    void SetPosition(std::int64_t position) override
    {
        LARGE_INTEGER target{};
        target.QuadPart = position;
        ::SetFilePointerEx(m_file.Get(), target, nullptr, FILE_BEGIN);
    }
    std::int64_t Size() const override
    {
        LARGE_INTEGER size{};
        ::GetFileSizeEx(m_file.Get(), &size);
        return size.QuadPart;
    }

private:
    core::UniqueFile m_file;
};

}  // namespace

std::unique_ptr<TStream> OpenFileStream(const std::string& path, FileStreamMode mode)
{
    if (mode == FileStreamMode::OpenReadDenyWrite) {
        core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            throw EFOpenError(path);
        return std::make_unique<Win32FileStream>(std::move(file));
    }
    core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw EFCreateError(path);
    return std::make_unique<Win32FileStream>(std::move(file));
}

}  // namespace setup::rtl
