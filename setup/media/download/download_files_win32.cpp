#include "setup/media/download/download_files_win32.h"

#include <shlobj.h>

#include "core/text_convert.h"

namespace download {

std::optional<std::uint64_t> DownloadFilesWin32::Size(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(core::AnsiToWide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool DownloadFilesWin32::OpenAt(const std::string& path, std::uint64_t position)
{
    m_file.Reset(::CreateFileW(core::AnsiToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file)
        return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(position);
    return ::SetFilePointerEx(m_file.Get(), at, nullptr, FILE_BEGIN) &&
           ::SetEndOfFile(m_file.Get());
}

bool DownloadFilesWin32::Write(std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        if (!::WriteFile(m_file.Get(), bytes.data(), size, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

void DownloadFilesWin32::Close()
{
    m_file.Reset();
}

void DownloadFilesWin32::Delete(const std::string& path)
{
    ::DeleteFileW(core::AnsiToWide(path).c_str());
}

bool DownloadFilesWin32::CopyInto(const std::string& from, const std::string& to)
{
    std::wstring folder = core::AnsiToWide(to);
    folder.erase(folder.find_last_of(L"\\/") == std::wstring::npos ? 0 : folder.find_last_of(L"\\/"));
    if (!folder.empty())
        ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return ::CopyFileW(core::AnsiToWide(from).c_str(), core::AnsiToWide(to).c_str(), FALSE) != 0;
}

}  // namespace download
