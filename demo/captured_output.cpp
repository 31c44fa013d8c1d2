#include "demo/captured_output.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace demo {

CapturedOutput::CapturedOutput()
{
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t path[MAX_PATH + 1] = {};
    if (!::GetTempPathW(MAX_PATH, folder) || !::GetTempFileNameW(folder, L"out", 0, path))
        return;
    // The libraries write through the same C runtime as the demo, so moving descriptor 1 moves
    // their output too; both sides flush at the switch so no line lands on the wrong side.
    std::fflush(stdout);
    const int file = ::_wopen(path, _O_WRONLY | _O_TRUNC | _O_BINARY);
    if (file < 0)
        return;
    m_savedOutput = ::_dup(1);
    ::_dup2(file, 1);
    ::_close(file);
    m_path = path;
}

CapturedOutput::~CapturedOutput()
{
    Stop();
}

std::vector<std::string> CapturedOutput::Stop()
{
    std::vector<std::string> lines;
    if (m_savedOutput < 0)
        return lines;
    std::fflush(stdout);
    ::_dup2(m_savedOutput, 1);
    ::_close(m_savedOutput);
    m_savedOutput = -1;
    {
        std::ifstream file(std::filesystem::path(m_path), std::ios::binary);
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
    }
    ::DeleteFileW(m_path.c_str());
    return lines;
}

void PrintLibraryLines(const char* library, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        std::printf("  %-30s %s\n", (std::string(library) + " printed").c_str(), line.c_str());
}

}  // namespace demo
