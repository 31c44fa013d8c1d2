#include "setup/engine/workers/plugin_call_win32.h"

#include <atomic>
#include <cstring>
#include <vector>

#include "core/unique_handle.h"
#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/engine/workers/worker_wait_win32.h"

namespace setup::engine {
namespace {

// Room beyond the announced length, so a plug-in that writes a little more than it said does
// not write past the buffer; the text is never read past the buffer either.
constexpr size_t kResultSlack = 4096;

class TScriptThread final : public rtl::TThread
{
public:
    explicit TScriptThread(const PluginRequest& request) : m_request(request) {}
    ~TScriptThread() override
    {
        Terminate();
        WaitFor();
    }

    bool WorkerFinished() const { return m_finished; }
    const std::string& PluginResult() const { return m_result; }

    static BOOL WINAPI ScriptThreadProgress(int percent, const char* text) noexcept
    {
        TScriptThread* self = s_current;
        try {
            if (self && self->m_request.report)
                self->m_request.report->Progress(text ? text : "", percent, 100, 1);
        } catch (...) {
        }
        return self && self->Terminated() ? FALSE : TRUE;
    }

protected:
    void Execute() override
    {
        s_current = this;
        int reserved = 0;
        std::string result;
        const int length =
            CallPluginLibrary(m_request.owner, m_request.libraryPath, m_request.variables, result,
                              &reserved, &ScriptThreadProgress, m_request.parameters);
        m_result = length == -1 ? m_request.variables : result;
        s_current = nullptr;
        Synchronize([this] { m_finished = true; });
        rtl::WakeMainThread();
    }

private:
    static thread_local TScriptThread* s_current;

    PluginRequest m_request;
    std::string m_result;
    std::atomic<bool> m_finished{false};
};

thread_local TScriptThread* TScriptThread::s_current = nullptr;

}  // namespace

int CallPluginLibrary(HWND owner, const std::string& libraryPath, const std::string& variables,
                      std::string& result, int* reserved, PluginProgressCallback progress,
                      const std::string& parameters)
{
    core::UniqueModule library(::LoadLibraryA(libraryPath.c_str()));
    if (!library)
        return -1;
    const auto runTimeExecute =
        reinterpret_cast<RunTimeExecuteFunction>(::GetProcAddress(library.Get(), "RunTimeExecute"));
    if (!runTimeExecute)
        return -1;
    const int length =
        runTimeExecute(owner, variables.c_str(), parameters.c_str(), progress, reserved, nullptr);
    if (length < 0)
        return length == -1 ? -1 : length;
    std::vector<char> buffer(static_cast<size_t>(length) + 1 + kResultSlack, '\0');
    runTimeExecute(owner, variables.c_str(), parameters.c_str(), progress, reserved, buffer.data());
    result.assign(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
    return length;
}

std::string RunPluginCommand(const PluginRequest& request, WorkerFlags& flags,
                             const PluginWait& wait)
{
    TScriptThread thread(request);
    WorkerWaitOptions options;
    options.checkCancel = wait.checkCancel;
    options.silent = wait.silent;
    RunWorker(
        thread, flags, [&thread] { return thread.WorkerFinished(); }, options);
    return thread.PluginResult();
}

}  // namespace setup::engine
