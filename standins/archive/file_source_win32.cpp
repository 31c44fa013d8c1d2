#include "standins/archive/file_source_win32.h"

#include "standins/archive/archive_error.h"

#include <algorithm>

namespace standins::archive {

Win32FileSource::Win32FileSource(const std::wstring& path)
    : m_file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
{
    if (!m_file) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_INVALID_NAME) {
            throw ArchiveError(ErrorCode::NotFound, "archive file not found");
        }
        throw ArchiveError(ErrorCode::General, "cannot open the archive file");
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_file.Get(), &size)) {
        throw ArchiveError(ErrorCode::General, "cannot read the archive file's size");
    }
    m_size = static_cast<std::uint64_t>(size.QuadPart);
}

bool Win32FileSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size)
{
    if (offset > m_size || size > m_size - offset) {
        return false;
    }
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    while (size != 0) {
        OVERLAPPED position{};
        position.Offset = static_cast<DWORD>(offset);
        position.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        DWORD read = 0;
        if (!::ReadFile(m_file.Get(), bytes, chunk, &read, &position) || read == 0) {
            return false;
        }
        bytes += read;
        offset += read;
        size -= read;
    }
    return true;
}

}  // namespace standins::archive
