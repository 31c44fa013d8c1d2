// Runs a program of the build from a test and reports what it did: the full 32-bit exit code,
// the message boxes it showed (each answered with its default button) and its trace file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ProcessOptions
{
    std::string arguments;        // appended to the quoted program path
    std::string traceFile;        // read back (UTF-16LE lines) after the run when not empty
    unsigned timeoutMs = 120000;  // the process is ended with 0xDEAD after this
    // Environment variables set or replaced for the process (TMP, for a private temp folder).
    std::vector<std::pair<std::string, std::string>> environment;
};

struct ProcessResult
{
    std::uint32_t exitCode = 0;
    bool started = false;
    bool timedOut = false;
    // "caption|text" of every message box the process showed, in order.
    std::vector<std::string> messageBoxes;
    std::vector<std::string> trace;  // trace lines without their line ends
};

// A started process, answered and watched until Wait; lets a test run several at once.
class RunningProcess
{
public:
    RunningProcess(const std::string& program, const ProcessOptions& options);
    ~RunningProcess();
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;
    ProcessResult Wait();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

ProcessResult RunProcess(const std::string& program, const ProcessOptions& options);

// Runs regsvr32 silently with these arguments (the library's quoted path, "/u" first to
// unregister) and gives its exit code; ~0 when it could not be started.
std::uint32_t RunRegsvr32(const std::wstring& arguments);

// The lines of a UTF-16LE text file (an optional byte-order mark skipped), as ANSI text.
std::vector<std::string> ReadUtf16Lines(const std::string& path);

}  // namespace testsupport
