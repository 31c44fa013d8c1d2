// A fresh folder below the temporary folder for one test, removed with everything in it when the
// test ends; wide paths for the archive tests and narrow ones for the setup engine's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }  // no trailing backslash
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

    // The path in the ANSI code page, with a trailing '\'.
    std::string NarrowPath() const;
    // A folder with its parents; its path without a trailing '\'.
    std::string Make(const std::string& relative) const;
    std::string Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;

private:
    std::wstring m_path;
};

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
// Names in a folder, "." and ".." left out.
std::vector<std::wstring> FolderNames(const std::wstring& folder);

// The folder of the running test program, with a trailing '\'.
std::string TestProgramFolder();

}  // namespace testsupport
