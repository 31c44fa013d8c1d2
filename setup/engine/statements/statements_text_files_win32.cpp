#include "setup/engine/statements/statements_text_files_win32.h"

#include <windows.h>

#include <vector>

#include "core/text_convert.h"
#include "core/unique_handle.h"

namespace setup::engine {
namespace {

constexpr DWORD kIniBufferSize = 26000;
constexpr DWORD kChunkSize = 65536;

void MakeWritable(const std::string& path)
{
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool WriteAll(HANDLE file, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD part =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunkSize));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, part, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

}  // namespace

std::u16string Win32AnsiCodec::ToUtf16(std::string_view ansi)
{
    const std::wstring wide = core::AnsiToWide(ansi);
    return std::u16string(wide.begin(), wide.end());
}

std::string Win32AnsiCodec::FromUtf16(std::u16string_view text)
{
    return core::WideToAnsi(std::wstring(text.begin(), text.end()));
}

TextFileRead Win32TextFileSystem::ReadFile(const std::string& path)
{
    TextFileRead result;
    core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        result.exists = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
                        error != ERROR_INVALID_NAME;
        return result;
    }
    result.exists = true;
    std::vector<char> chunk(kChunkSize);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), chunk.data(), kChunkSize, &read, nullptr))
            return result;
        if (read == 0)
            break;
        result.bytes.append(chunk.data(), read);
    }
    result.read = true;
    return result;
}

bool Win32TextFileSystem::WriteFile(const std::string& path, const std::string& bytes)
{
    MakeWritable(path);
    core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), bytes);
}

bool Win32TextFileSystem::AppendFile(const std::string& path, const std::string& bytes)
{
    MakeWritable(path);
    core::UniqueFile file(::CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), bytes);
}

std::string Win32TextFileSystem::ReadIniValue(const std::string& file, const std::string& section,
                                              const std::string& key)
{
    std::vector<char> buffer(kIniBufferSize, '\0');
    const DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                                    kIniBufferSize, file.c_str());
    return std::string(buffer.data(), std::min<DWORD>(length, kIniBufferSize - 1));
}

TextFileStatementServices Win32TextFileStatementServices(IWow64Services& wow64)
{
    static Win32TextFileSystem files;
    return {&wow64, &files};
}

}  // namespace setup::engine
