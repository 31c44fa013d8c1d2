#include "tests/support/scratch_folder_win32.h"

#include "core/text_convert.h"
#include "core/unique_handle.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {
namespace {

void RemoveTree(const std::wstring& path)
{
    for (const std::wstring& name : FolderNames(path)) {
        const std::wstring child = path + L"\\" + name;
        if (FolderExists(child)) {
            RemoveTree(child);
        } else {
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(child.c_str());
        }
    }
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder()
{
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"scratch_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
             std::to_wstring(counter++);
    RemoveTree(m_path);
    if (!::CreateDirectoryW(m_path.c_str(), nullptr)) {
        throw std::runtime_error("cannot create a scratch folder");
    }
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(m_path);
}

std::string ScratchFolder::NarrowPath() const
{
    return core::WideToAnsi(m_path) + "\\";
}

std::string ScratchFolder::Make(const std::string& relative) const
{
    std::string path = NarrowPath();
    for (std::size_t start = 0; start <= relative.size();) {
        const std::size_t end = std::min(relative.find('\\', start), relative.size());
        path += relative.substr(start, end - start);
        ::CreateDirectoryA(path.c_str(), nullptr);
        path += '\\';
        start = end + 1;
    }
    path.pop_back();
    return path;
}

std::string ScratchFolder::Write(const std::string& relative, const std::string& bytes) const
{
    const std::string path = NarrowPath() + relative;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string ScratchFolder::Read(const std::string& relative) const
{
    std::ifstream in(NarrowPath() + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path)
{
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    if (!file) {
        throw std::runtime_error("cannot open a file to read");
    }
    std::vector<std::uint8_t> bytes(::GetFileSize(file.Get(), nullptr));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
        throw std::runtime_error("cannot read a file");
    }
    return bytes;
}

void WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        (!bytes.empty() && !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr))) {
        throw std::runtime_error("cannot write a file");
    }
}

std::vector<std::wstring> FolderNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    core::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) {
        return names;
    }
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(find.Get(), &data));
    return names;
}

std::string TestProgramFolder()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program = path;
    return program.substr(0, program.find_last_of('\\') + 1);
}

}  // namespace testsupport
