#include "standins/archive/extract_target_win32.h"

#include "standins/archive/archive_error.h"

#include <algorithm>

namespace standins::archive {
namespace {

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates every missing folder of path from the first component after start on.
void CreateFolderChain(const std::wstring& path, std::size_t start)
{
    for (std::size_t i = start; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\' || path[i] == L'/') {
            const std::wstring prefix = path.substr(0, i);
            if (!prefix.empty() && prefix.back() != L':' && !IsFolder(prefix)) {
                ::CreateDirectoryW(prefix.c_str(), nullptr);
            }
        }
    }
    if (!IsFolder(path)) {
        throw ArchiveError(ErrorCode::WriteFailed, "cannot create a folder");
    }
}

}  // namespace

Win32ExtractTarget::Win32ExtractTarget(const std::wstring& folder) : m_root(folder)
{
    if (m_root.empty()) {
        throw ArchiveError(ErrorCode::BadArgument, "no target folder");
    }
    while (m_root.size() > 1 && (m_root.back() == L'\\' || m_root.back() == L'/')) {
        m_root.pop_back();
    }
    // A UNC root ("\\server\share") is never created; starting past it keeps its parts intact.
    std::size_t start = 0;
    if (m_root.rfind(L"\\\\", 0) == 0) {
        const std::size_t share = m_root.find(L'\\', 2);
        start = share == std::wstring::npos ? m_root.size() : m_root.find(L'\\', share + 1);
        start = start == std::wstring::npos ? m_root.size() : start;
    }
    CreateFolderChain(m_root, start);
    m_root.push_back(L'\\');
}

Win32ExtractTarget::~Win32ExtractTarget()
{
    DiscardFile();
}

std::wstring Win32ExtractTarget::FullPath(const std::u16string& relativePath) const
{
    return m_root + std::wstring(relativePath.begin(), relativePath.end());
}

void Win32ExtractTarget::MakeFolders(const std::u16string& relativeFolder)
{
    std::wstring folder = FullPath(relativeFolder);
    if (m_knownFolders.count(folder) != 0) {
        return;
    }
    CreateFolderChain(folder, m_root.size());
    m_knownFolders.insert(std::move(folder));
}

std::optional<ExistingFile> Win32ExtractTarget::Existing(const std::u16string& relativePath)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(FullPath(relativePath).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    ExistingFile existing;
    existing.size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    existing.modified = static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                        data.ftLastWriteTime.dwLowDateTime;
    return existing;
}

void Win32ExtractTarget::OpenFile(const std::u16string& relativePath)
{
    DiscardFile();
    m_filePath = FullPath(relativePath);
    m_file.Reset(::CreateFileW(m_filePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file) {
        m_filePath.clear();
        throw ArchiveError(ErrorCode::WriteFailed, "cannot create a file");
    }
}

void Win32ExtractTarget::Write(const std::uint8_t* data, std::size_t size)
{
    while (size != 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        if (!::WriteFile(m_file.Get(), data, chunk, &written, nullptr) || written == 0) {
            throw ArchiveError(ErrorCode::WriteFailed, "cannot write a file");
        }
        data += written;
        size -= written;
    }
}

void Win32ExtractTarget::CloseFile(std::optional<std::uint64_t> modified)
{
    if (modified) {
        FILETIME time{static_cast<DWORD>(*modified), static_cast<DWORD>(*modified >> 32)};
        ::SetFileTime(m_file.Get(), nullptr, nullptr, &time);
    }
    m_file.Reset();
    m_filePath.clear();
}

void Win32ExtractTarget::DiscardFile() noexcept
{
    if (!m_file) {
        return;
    }
    m_file.Reset();
    ::DeleteFileW(m_filePath.c_str());
    m_filePath.clear();
}

}  // namespace standins::archive
