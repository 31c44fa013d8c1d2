// What the suite's libraries print to standard output themselves (the shred engine's timing
// lines, trace lines), caught while a call runs so the demo can show it beside its own results
// instead of between them.
#pragma once

#include <string>
#include <vector>

namespace demo {

class CapturedOutput
{
public:
    // Standard output goes into a temporary file from here on.
    CapturedOutput();
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // Gives standard output back and returns the lines printed meanwhile.
    std::vector<std::string> Stop();

private:
    int m_savedOutput = -1;
    std::wstring m_path;
};

// Shows a library's own lines, marked as its.
void PrintLibraryLines(const char* library, const std::vector<std::string>& lines);

}  // namespace demo
