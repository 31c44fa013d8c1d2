#include "shred/wipers/progress_file_win32.h"

#include "core/text_convert.h"
#include "core/unique_handle.h"

#include <windows.h>

#include <ctime>

namespace shred::wipers {

namespace {

constexpr DWORD kExecutable =
    PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY;
constexpr std::size_t kMaxPathChars = 32767;
constexpr DWORD kMaxClientInput = 1 << 20;

bool Committed(const void* address, MEMORY_BASIC_INFORMATION& info)
{
    return VirtualQuery(address, &info, sizeof info) == sizeof info && info.State == MEM_COMMIT &&
           (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) == 0;
}

// The string at text when it ends within readable memory and a path's length.
std::optional<std::wstring> ReadMappedString(const wchar_t* text)
{
    std::wstring result;
    const wchar_t* cursor = text;
    while (result.size() <= kMaxPathChars) {
        MEMORY_BASIC_INFORMATION info{};
        if (!Committed(cursor, info) || (info.Protect & (kReadable | kExecutable)) == 0)
            return std::nullopt;
        const auto* end = reinterpret_cast<const wchar_t*>(
            static_cast<const char*>(info.BaseAddress) + info.RegionSize);
        for (; cursor + 1 <= end && result.size() <= kMaxPathChars; ++cursor) {
            if (*cursor == L'\0')
                return result;
            result += *cursor;
        }
    }
    return std::nullopt;
}

class Win32ProgressFile : public IProgressFile
{
public:
    explicit Win32ProgressFile(core::UniqueFile file) : m_file(std::move(file)) {}

    std::optional<std::string> ReadAll() override
    {
        std::uint64_t size = Size();
        if (size > (1u << 30) || !Seek(0))
            return std::nullopt;
        std::string bytes(static_cast<std::size_t>(size), '\0');
        DWORD read = 0;
        if (!bytes.empty() &&
            !ReadFile(m_file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
            return std::nullopt;
        bytes.resize(read);
        return bytes;
    }

    std::uint64_t Size() override
    {
        LARGE_INTEGER size{};
        return GetFileSizeEx(m_file.Get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    }

    bool WriteAt(std::uint64_t offset, std::string_view bytes) override
    {
        if (!Seek(offset))
            return false;
        DWORD written = 0;
        const bool ok =
            bytes.empty() || (WriteFile(m_file.Get(), bytes.data(),
                                        static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                              written == bytes.size());
        FlushFileBuffers(m_file.Get());
        return ok;
    }

private:
    bool Seek(std::uint64_t offset)
    {
        LARGE_INTEGER distance{};
        distance.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(m_file.Get(), distance, nullptr, FILE_BEGIN) != 0;
    }

    core::UniqueFile m_file;
};

}  // namespace

ProgressArgument Win32ProgressSystem::Probe(const void* argument)
{
    ProgressArgument probed;
    MEMORY_BASIC_INFORMATION info{};
    if (argument == nullptr || !Committed(argument, info))
        return probed;
    probed.executable = (info.Protect & kExecutable) != 0;
    if (reinterpret_cast<std::uintptr_t>(argument) % alignof(wchar_t) == 0)
        probed.text = ReadMappedString(static_cast<const wchar_t*>(argument));
    return probed;
}

bool Win32ProgressSystem::FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::unique_ptr<IProgressFile> Win32ProgressSystem::OpenProgressFile(const std::wstring& path)
{
    core::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return nullptr;
    return std::make_unique<Win32ProgressFile>(std::move(file));
}

std::optional<std::wstring> Win32ProgressSystem::ReadClientInput()
{
    core::UniqueFile file(CreateFileW(L"ClientInput.dat", GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    std::string bytes(kMaxClientInput, '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), kMaxClientInput, &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return core::AnsiToWide(FromTextMode(bytes));
}

std::int64_t Win32ProgressSystem::NowSeconds()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

IProgressSystem& DefaultProgressSystem() noexcept
{
    static Win32ProgressSystem system;
    return system;
}

}  // namespace shred::wipers
