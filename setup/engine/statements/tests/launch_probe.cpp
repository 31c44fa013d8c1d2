// A program of the launch tests' own: records its command line, current folder, process id and
// environment
// in the file named by LAUNCH_PROBE_RECORD and ends with a chosen exit code. Arguments
// "exit=N" and "sleep=MS" choose the code and a pause before it ends; LAUNCH_PROBE_EXIT does the
// same for starts that pass no arguments of ours.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string EnvironmentValue(const char* name)
{
    char buffer[1024] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

int NumberAfter(const std::string& commandLine, const char* key, int fallback)
{
    const std::size_t at = commandLine.find(key);
    if (at == std::string::npos)
        return fallback;
    return std::atoi(commandLine.c_str() + at + std::char_traits<char>::length(key));
}

#pragma push_macro("GetEnvironmentStrings")
#undef GetEnvironmentStrings
std::string EnvironmentLines()
{
    std::string lines;
    char* block = ::GetEnvironmentStrings();
    if (block == nullptr)
        return lines;
    for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1)
        lines += std::string("env=") + entry + "\n";
    ::FreeEnvironmentStringsA(block);
    return lines;
}
#pragma pop_macro("GetEnvironmentStrings")

void WriteRecord(const std::string& path, const std::string& text)
{
    // Written beside and renamed, so a test polling for the file never reads half of it.
    const std::string partial = path + ".partial";
    const HANDLE file = ::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    ::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int main()
{
    const std::string commandLine = ::GetCommandLineA();
    char folder[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryA(sizeof(folder), folder);
    const std::string record = EnvironmentValue("LAUNCH_PROBE_RECORD");
    if (!record.empty())
        WriteRecord(record, "cmd=" + commandLine + "\ncwd=" + folder +
                                "\npid=" + std::to_string(::GetCurrentProcessId()) + "\n" +
                                EnvironmentLines());
    const int sleep = NumberAfter(commandLine, "sleep=", 0);
    if (sleep > 0)
        ::Sleep(static_cast<DWORD>(sleep));
    const std::string exitText = EnvironmentValue("LAUNCH_PROBE_EXIT");
    return NumberAfter(commandLine, "exit=", exitText.empty() ? 0 : std::atoi(exitText.c_str()));
}
