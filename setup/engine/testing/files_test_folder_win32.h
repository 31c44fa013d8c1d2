// A scratch folder of the test's own under the temporary folder, removed with its contents when
// the test ends.
#pragma once

#include <windows.h>

#include <string>

namespace setup::engine::testing {

class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // With a trailing '\'.
    const std::string& Path() const { return m_path; }
    std::string Make(const std::string& relative) const;  // a folder with its parents
    std::string Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;

private:
    std::string m_path;
};

// The folder of the running test program, with a trailing '\'.
std::string TestProgramFolder();

}  // namespace setup::engine::testing
