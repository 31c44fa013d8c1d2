#include "shred/engine/tests/shred_backing.h"

#include "core/unique_handle.h"
#include "shred/engine/name_wiper.h"
#include "shred/engine/system_win32.h"

#include <windows.h>

#include <stdexcept>

namespace shred::testing {

Win32Backing::Win32Backing()
{
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_root = std::wstring(temp) + L"shred-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(++counter);
    DeleteTree(DefaultShredSystem(), m_root);
    if (!::CreateDirectoryW(m_root.c_str(), nullptr))
        throw std::runtime_error("cannot create the test folder");
}

Win32Backing::~Win32Backing()
{
    DeleteTree(DefaultShredSystem(), m_root);
}

IShredSystem& Win32Backing::System()
{
    return DefaultShredSystem();
}

void Win32Backing::MakeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) ||
        written != bytes.size())
        throw std::runtime_error("cannot create a test file");
}

void Win32Backing::MakeFolder(const std::wstring& path)
{
    if (!::CreateDirectoryW(path.c_str(), nullptr))
        throw std::runtime_error("cannot create a test folder");
}

std::optional<std::vector<std::uint8_t>> Win32Backing::Read(const std::wstring& path)
{
    // Shared for writing: the engine holds the file open while the progress callback reads it.
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                        &read, nullptr) ||
            read == 0)
            return std::nullopt;
        done += read;
    }
    return bytes;
}

bool Win32Backing::Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> Win32Backing::Names(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    for (const FolderEntry& entry : DefaultShredSystem().List(folder))
        names.push_back(entry.name);
    return names;
}

}  // namespace shred::testing
