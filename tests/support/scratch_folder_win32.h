// A fresh folder below the temporary folder for one test, removed with everything in it when the
// test ends.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace standins::archive::testing {

class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }  // no trailing backslash
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

private:
    std::wstring m_path;
};

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
// Names in a folder, "." and ".." left out.
std::vector<std::wstring> FolderNames(const std::wstring& folder);

}  // namespace standins::archive::testing
