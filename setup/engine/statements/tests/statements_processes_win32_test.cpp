#include "setup/engine/statements/statements_processes_win32.h"

#include "setup/engine/statements/statements_processes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "core/unique_handle.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

using core::UniqueServiceHandle;

class Win32ProcessStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        RegisterProcessStatements(handlers, Win32Processes());
    }
};

std::string OwnProgramPath()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

TEST_F(Win32ProcessStatementTest, FindsTheTestsOwnProcessByFileNameOnly)
{
    const std::string path = OwnProgramPath();
    std::string name = path.substr(path.find_last_of('\\') + 1);
    std::string upper = name;
    for (char& c : upper)
        c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    struct Case
    {
        std::string name;
        const char* expected;
    };
    const Case cases[] = {
        {name, "TRUE"},
        {upper, "TRUE"},
        {path, "FALSE"},
        {"no_such_program_here.exe", "FALSE"},
    };
    for (const Case& c : cases) {
        SetVariable("NAME", c.name, "test");
        Run({"Check Process|$NAME$|RUNNING"});
        EXPECT_EQ(GetVariable("RUNNING"), c.expected) << c.name;
    }
}

TEST_F(Win32ProcessStatementTest, ServiceStatesFromTheServiceManager)
{
    Run({"Check Service|NoSuchServiceHere||MISSING"});
    EXPECT_EQ(GetVariable("MISSING"), "NOTINSTALLED");

    const UniqueServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ASSERT_TRUE(manager);
    const std::string name = "FilesTestService" + std::to_string(::GetCurrentProcessId());
    const std::string command = "\"" + OwnProgramPath() + "\" --gtest_list_tests";
    const UniqueServiceHandle service(
        ::CreateServiceA(manager.Get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                         SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                         command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(service);
    SetVariable("SERVICE", name, "test");
    Run({"Check Service|$SERVICE$||STATE"});
    EXPECT_EQ(GetVariable("STATE"), "STOPPED");
    ::DeleteService(service.Get());

    // A system service reads as the service manager itself reports it (Wine starts and stops
    // the plug-and-play service on its own, so its state is read, not assumed).
    const UniqueServiceHandle plugPlay(
        ::OpenServiceA(manager.Get(), "PlugPlay", SERVICE_QUERY_STATUS));
    ASSERT_TRUE(plugPlay);
    SERVICE_STATUS status{};
    ASSERT_TRUE(::QueryServiceStatus(plugPlay.Get(), &status));
    Run({"Check Service|PlugPlay||PNP"});
    EXPECT_EQ(GetVariable("PNP"), ServiceStateWord(static_cast<int>(status.dwCurrentState)));
    EXPECT_NE(GetVariable("PNP"), "NOTINSTALLED");
}

LRESULT CALLBACK QuietWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// Counts the queued messages of one kind for a window, taking them off the queue.
int TakeMessages(HWND window, UINT message)
{
    int count = 0;
    MSG msg;
    while (::PeekMessageA(&msg, window, message, message, PM_REMOVE))
        ++count;
    return count;
}

TEST_F(Win32ProcessStatementTest, OnlyTheFirstOfTwoSameTitledWindowsIsAskedToClose)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = QuietWindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FilesTestWindow";
    ::RegisterClassA(&windowClass);
    const std::string title = "Files Test Window " + std::to_string(::GetCurrentProcessId());
    core::UniqueWindow back(::CreateWindowExA(0, "FilesTestWindow", title.c_str(),
                                              WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                              windowClass.hInstance, nullptr));
    if (!back)
        GTEST_SKIP() << "no display for top-level windows";
    core::UniqueWindow front(::CreateWindowExA(0, "FilesTestWindow", title.c_str(),
                                               WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                               nullptr, windowClass.hInstance, nullptr));
    ASSERT_TRUE(front);
    ::SetWindowPos(front.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TakeMessages(front.Get(), WM_CLOSE);
    TakeMessages(back.Get(), WM_CLOSE);

    SetVariable("TITLE", title, "test");
    Run({"Terminate Program|$TITLE$|FilesTest", "Terminate Program||"});
    EXPECT_EQ(TakeMessages(front.Get(), WM_CANCELMODE), kTerminatePasses);
    EXPECT_EQ(TakeMessages(front.Get(), WM_CLOSE), kTerminatePasses);
    EXPECT_EQ(TakeMessages(back.Get(), WM_CLOSE), 0);
    EXPECT_EQ(TakeMessages(back.Get(), WM_CANCELMODE), 0);

    // The class part is case-sensitive.
    Run({"Terminate Program|$TITLE$|filestest"});
    EXPECT_EQ(TakeMessages(front.Get(), WM_CLOSE), 0);
}

}  // namespace
}  // namespace setup::engine::testing
