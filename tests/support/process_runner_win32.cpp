#include "tests/support/process_runner_win32.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "core/unique_handle.h"

namespace testsupport {

namespace {

// The text control of a message box.
constexpr int kMessageTextId = 0xFFFF;

struct Watch
{
    DWORD processId = 0;
    std::mutex lock;
    std::vector<std::string> boxes;
    std::set<HWND> answered;  // a box posted its answer may still be listed a moment
};

std::string WindowText(HWND window)
{
    char text[2048] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK AnswerMessageBox(HWND window, LPARAM parameter)
{
    auto* watch = reinterpret_cast<Watch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (owner != watch->processId || std::string(className) != "#32770" ||
        !::IsWindowVisible(window))
        return TRUE;
    // A message box has its text control and a default button; other dialogs are left alone.
    const HWND text = ::GetDlgItem(window, kMessageTextId);
    if (!text)
        return TRUE;
    {
        std::lock_guard guard(watch->lock);
        if (!watch->answered.insert(window).second)
            return TRUE;
        watch->boxes.push_back(WindowText(window) + "|" + WindowText(text));
    }
    // IDOK and IDCANCEL both end a box that has only one button.
    const HWND ok = ::GetDlgItem(window, IDOK);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(ok ? IDOK : IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(ok));
    return TRUE;
}

// Sets environment variables of this process for as long as it lives (the child inherits them)
// and puts the old values back.
class EnvironmentOverride
{
public:
    explicit EnvironmentOverride(const std::vector<std::pair<std::string, std::string>>& values)
    {
        for (const auto& [name, value] : values) {
            char old[32768];
            const DWORD length = ::GetEnvironmentVariableA(name.c_str(), old, sizeof old);
            m_old.emplace_back(name, length == 0 || length >= sizeof old
                                         ? std::optional<std::string>()
                                         : std::optional<std::string>(old));
            ::SetEnvironmentVariableA(name.c_str(), value.c_str());
        }
    }
    ~EnvironmentOverride()
    {
        for (const auto& [name, value] : m_old)
            ::SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_old;
};

}  // namespace

struct RunningProcess::State
{
    ProcessOptions options;
    core::UniqueProcess process;
    core::UniqueThread mainThread;
    Watch watch;
    std::atomic<bool> done{false};
    std::thread watcher;
    bool started = false;
};

RunningProcess::RunningProcess(const std::string& program, const ProcessOptions& options)
    : m_state(std::make_unique<State>())
{
    State& state = *m_state;
    state.options = options;
    std::string commandLine = "\"" + program + "\"";
    if (!options.arguments.empty())
        commandLine += " " + options.arguments;
    const EnvironmentOverride environment(options.environment);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        // The test sees only "not started"; the log keeps the reason.
        std::fprintf(stderr, "CreateProcess failed for %s: error %lu\n", program.c_str(),
                     ::GetLastError());
        return;
    }
    state.started = true;
    state.process.Reset(info.hProcess);
    state.mainThread.Reset(info.hThread);
    state.watch.processId = info.dwProcessId;
    state.watcher = std::thread([&state] {
        while (!state.done) {
            ::EnumWindows(AnswerMessageBox, reinterpret_cast<LPARAM>(&state.watch));
            // A box answered stays listed until it closes; give it time to go.
            ::Sleep(150);
        }
    });
}

RunningProcess::~RunningProcess()
{
    if (m_state->started && m_state->watcher.joinable())
        Wait();
}

ProcessResult RunningProcess::Wait()
{
    State& state = *m_state;
    ProcessResult result;
    if (!state.started) {
        result.exitCode = 0xFFFFFFFF;
        return result;
    }
    result.started = true;
    if (::WaitForSingleObject(state.process.Get(), state.options.timeoutMs) == WAIT_TIMEOUT) {
        result.timedOut = true;
        ::TerminateProcess(state.process.Get(), 0xDEAD);
        ::WaitForSingleObject(state.process.Get(), INFINITE);
    }
    state.done = true;
    if (state.watcher.joinable())
        state.watcher.join();
    DWORD exitCode = 0;
    ::GetExitCodeProcess(state.process.Get(), &exitCode);
    result.exitCode = exitCode;
    {
        std::lock_guard guard(state.watch.lock);
        result.messageBoxes = state.watch.boxes;
    }
    if (!state.options.traceFile.empty())
        result.trace = ReadUtf16Lines(state.options.traceFile);
    return result;
}

ProcessResult RunProcess(const std::string& program, const ProcessOptions& options)
{
    return RunningProcess(program, options).Wait();
}

std::vector<std::string> ReadUtf16Lines(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::wstring text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (!text.empty() && text.front() == 0xFEFF)
        text.erase(0, 1);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = text.substr(start, end - start);
        const int size = ::WideCharToMultiByte(
            CP_ACP, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
        std::string ansi(static_cast<size_t>(size), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, line.c_str(), static_cast<int>(line.size()), ansi.data(),
                              size, nullptr, nullptr);
        lines.push_back(std::move(ansi));
        start = end + 2;
    }
    return lines;
}

std::uint32_t RunRegsvr32(const std::wstring& arguments)
{
    std::wstring command = L"regsvr32.exe /s " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return ~0u;
    core::UniqueProcess owner(process.hProcess);
    core::UniqueThread thread(process.hThread);
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = ~0u;
    ::GetExitCodeProcess(process.hProcess, &code);
    return code;
}

}  // namespace testsupport
