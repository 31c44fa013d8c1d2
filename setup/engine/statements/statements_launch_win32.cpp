#include "setup/engine/statements/statements_launch_win32.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/statements/launch_plan.h"
#include "setup/engine/statements/launch_win32.h"
#include "setup/engine/statements/light_setup.h"
#include "setup/engine/statements/register_server_win32.h"
#include "setup/engine/workers/worker_wait_win32.h"

namespace setup::engine {

namespace {

// A worker that starts one program and reports its exit code through the GUI thread.
class LaunchWorker : public rtl::TThread
{
public:
    bool WorkerFinished() const { return m_finished; }
    int ExitCode() const { return m_exitCode; }

protected:
    // Every derived destructor calls this first: the worker reads the derived members. A
    // statement that fails while waiting stops the wait this way; the program itself runs on.
    void StopAndWait()
    {
        m_stop = true;
        Terminate();
        WaitFor();
    }
    virtual int Launch() = 0;
    StopFlag Stop() const { return &m_stop; }

    void Execute() override
    {
        m_exitCode = Launch();
        Synchronize([this] { m_finished = true; });
        rtl::WakeMainThread();
    }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    int m_exitCode = kStillActive;
};

class TRunApp final : public LaunchWorker
{
public:
    TRunApp(std::string program, std::string arguments, bool hide, bool wait)
        : m_program(std::move(program)),
          m_arguments(std::move(arguments)),
          m_hide(hide),
          m_wait(wait)
    {}
    ~TRunApp() override { StopAndWait(); }

protected:
    int Launch() override
    {
        return RunProgram(m_program, m_arguments, FolderOf(m_program), !m_hide, m_wait, Stop());
    }

private:
    std::string m_program;
    std::string m_arguments;
    bool m_hide;
    bool m_wait;
};

struct RunAsParameters
{
    std::string program;
    std::string arguments;
    std::string user;
    std::string password;
    std::string domain;
    std::string environment;
    int showCode = 0;
    bool wait = false;
    bool vistaOrLater = false;
};

class TRunAs final : public LaunchWorker
{
public:
    explicit TRunAs(RunAsParameters parameters) : m_parameters(std::move(parameters)) {}
    ~TRunAs() override { StopAndWait(); }

protected:
    int Launch() override
    {
        StartRequest request;
        request.commandLine = QuotedCommandLine(m_parameters.program, m_parameters.arguments);
        request.environment = m_parameters.environment;
        request.showCode = m_parameters.showCode;
        request.wait = m_parameters.wait;
        request.stop = Stop();
        if (m_parameters.user == kShellTokenUser)
            return RunWithShellToken(request, m_parameters.vistaOrLater);
        return RunWithLogon(m_parameters.domain, m_parameters.user, m_parameters.password, request);
    }

private:
    RunAsParameters m_parameters;
};

// The started program inherits the current folder: it is set for the start and put back after.
class CurrentFolderScope
{
public:
    explicit CurrentFolderScope(const std::string& folder)
    {
        if (folder.empty())
            return;
        char buffer[MAX_PATH + 1] = {};
        const DWORD length = ::GetCurrentDirectoryA(sizeof(buffer), buffer);
        if (length > 0 && length < sizeof(buffer))
            m_remembered.assign(buffer, length);
        ::SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentFolderScope()
    {
        if (!m_remembered.empty())
            ::SetCurrentDirectoryA(m_remembered.c_str());
    }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::string m_remembered;
};

int RunWorker(ScriptVariables& variables, LaunchWorker& worker, WorkerFlags& flags)
{
    worker.Start();
    WaitWithScriptProgress(variables, worker, flags, [&worker] { return worker.WorkerFinished(); });
    return worker.ExitCode();
}

// Starts the program in its own folder and waits as the statement asks; its exit code.
int RunAppInItsFolder(StatementContext& statement, const std::string& program,
                      const std::string& arguments, bool hide, bool wait)
{
    // The worker ends before the folder is put back: when the wait is left by an error, its
    // start may still be under way and must not see, or restore, the wrong folder.
    const CurrentFolderScope folder(FolderOf(program));
    TRunApp worker(program, arguments, hide, wait);
    return RunWorker(statement.Vars(), worker, statement.Engine().Parts.Get<WorkerFlags>());
}

}  // namespace

void RunProgramStatement(StatementContext& statement, const LaunchServices& services)
{
    const FsRedirectionScope redirection(*services.wow64, statement.Engine().TargetPlatform);
    const ResultVariable result(statement, RawParam(statement, 5));
    const std::string program = NormalizedParam(statement, 1);
    const std::string arguments = ExpandedParam(statement, 3);
    const bool hide = TextToBool(ExpandedParam(statement, 2));
    const bool wait = TextToBool(ExpandedParam(statement, 4));
    result.Assign(std::to_string(RunAppInItsFolder(statement, program, arguments, hide, wait)));
}

void RunProgramAsStatement(StatementContext& statement, const LaunchServices& services)
{
    const FsRedirectionScope redirection(*services.wow64, statement.Engine().TargetPlatform);
    const ResultVariable result(statement, RawParam(statement, 8));
    RunAsParameters parameters;
    parameters.program = NormalizedParam(statement, 1);
    const std::string workingFolder = NormalizedParam(statement, 2);
    parameters.arguments = ExpandedParam(statement, 3);
    parameters.showCode = TextToInt32(ExpandedParam(statement, 4));
    parameters.user = ExpandedParam(statement, 5);
    parameters.password = ExpandedParam(statement, 6);
    parameters.domain = ExpandedParam(statement, 7);
    parameters.wait = TextToBool(ExpandedParam(statement, 9));
    parameters.environment = ExpandedParam(statement, 10);
    parameters.vistaOrLater = GetOsVersionInfo(*services.facts).major > 5;
    int exitCode = 0;
    {
        const CurrentFolderScope folder(workingFolder);
        TRunAs worker(std::move(parameters));
        exitCode =
            RunWorker(statement.Vars(), worker, statement.Engine().Parts.Get<WorkerFlags>());
    }
    result.Assign(std::to_string(exitCode));
}

void RegisterLibraryStatement(StatementContext& statement, const LaunchServices& services)
{
    const std::string& platform = statement.Engine().TargetPlatform;
    const FsRedirectionScope redirection(*services.wow64, platform);
    const TargetRegistryViewScope view(*services.wow64, statement.Engine());
    const bool registered =
        RegisterServerFile(NormalizedParam(statement, 1), TextToBool(ExpandedParam(statement, 2)));
    ResultVariable(statement, RawParam(statement, 3)).Assign(BoolToText(registered));
}

void RunLightModeSetupStatement(StatementContext& statement, const LaunchServices& services)
{
    const FsRedirectionScope redirection(*services.wow64, statement.Engine().TargetPlatform);
    const ResultVariable result(statement, RawParam(statement, 2));
    const std::string file = NormalizedParam(statement, 1);
    const std::string arguments = ExpandedParam(statement, 3);
    const bool wait = TextToBool(ExpandedParam(statement, 4));
    const std::string program = statement.Engine().process.exeFile;
    if (!BuildLightSetup(program, file)) {
        result.Assign("-1");
        return;
    }
    // The light setup opens its archives with the library beside it.
    const std::string library = FolderOf(file) + "qbr.lib";
    ::CopyFileA((FolderOf(program) + "qbr.lib").c_str(), library.c_str(), FALSE);
    // Put back also when the wait is left by an error.
    struct Restore
    {
        const std::string& file;
        const std::string& library;
        ~Restore()
        {
            ::DeleteFileA(library.c_str());
            RemoveLightSetup(file);
        }
    } restore{file, library};
    result.Assign(std::to_string(RunAppInItsFolder(statement, file, arguments, false, wait)));
}

void RegisterLaunchStatements(StatementHandlerTable& table, const LaunchServices& services)
{
    table.Register("Run Program",
                   [services](StatementContext& s) { RunProgramStatement(s, services); });
    table.Register("Run Program As",
                   [services](StatementContext& s) { RunProgramAsStatement(s, services); });
    table.Register("Run Light Mode Setup",
                   [services](StatementContext& s) { RunLightModeSetupStatement(s, services); });
    table.Register("Register Library",
                   [services](StatementContext& s) { RegisterLibraryStatement(s, services); });
}

}  // namespace setup::engine
