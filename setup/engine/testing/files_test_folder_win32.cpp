#include "setup/engine/testing/files_test_folder_win32.h"

#include <atomic>
#include <fstream>
#include <sstream>

#include "setup/engine/system/file_system_win32.h"
#include "setup/engine/system/folder_walk.h"

namespace setup::engine::testing {

ScratchFolder::ScratchFolder()
{
    static std::atomic<int> s_next{0};
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "files_test_" + std::to_string(::GetCurrentProcessId()) + "_" +
             std::to_string(s_next++) + "\\";
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    DeleteFolderTree(Win32FileSystem(), m_path, true);
    ::RemoveDirectoryA(m_path.c_str());
}

std::string ScratchFolder::Make(const std::string& relative) const
{
    std::string path = m_path;
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
    const std::string path = m_path + relative;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string ScratchFolder::Read(const std::string& relative) const
{
    std::ifstream in(m_path + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TestProgramFolder()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

}  // namespace setup::engine::testing
