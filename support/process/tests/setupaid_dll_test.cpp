// The process helpers through the library's exports, against processes the test starts itself and
// an App Paths entry in a scratch copy of HKEY_LOCAL_MACHINE.
#include "core/unique_handle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring BesideTest(const wchar_t* fileName)
{
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + fileName;
}

class SetupaidDll : public ::testing::Test
{
protected:
    using ByName = int(WINAPI*)(const char*);
    using Gently = BOOL(WINAPI*)(int);
    using Outlook = int(__cdecl*)();

    void SetUp() override
    {
        m_module.Reset(::LoadLibraryW(BesideTest(L"Setupaid.dll").c_str()));
        ASSERT_TRUE(m_module);
        m_exitProgram =
            reinterpret_cast<ByName>(::GetProcAddress(m_module.Get(), "VNTExitProgram"));
        m_nrInstances =
            reinterpret_cast<ByName>(::GetProcAddress(m_module.Get(), "VNTNrInstances"));
        m_gently =
            reinterpret_cast<Gently>(::GetProcAddress(m_module.Get(), "VNTExitProgramGently"));
        m_outlook =
            reinterpret_cast<Outlook>(::GetProcAddress(m_module.Get(), "VNTOutlookVersion"));
        ASSERT_TRUE(m_exitProgram && m_nrInstances && m_gently && m_outlook);
    }

    void TearDown() override
    {
        for (core::UniqueProcess& p : m_started) {
            if (::WaitForSingleObject(p.Get(), 0) == WAIT_TIMEOUT)
                ::TerminateProcess(p.Get(), 99);
        }
    }

    HANDLE StartSleeper(const wchar_t* mode)
    {
        std::wstring commandLine = L"\"" + BesideTest(L"setupaid_sleeper.exe") + L"\" " + mode;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info))
            return nullptr;
        core::UniqueThread thread(info.hThread);
        m_started.emplace_back(info.hProcess);
        return info.hProcess;
    }

    static DWORD ExitCodeAfterEnd(HANDLE process)
    {
        if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = 0;
        ::GetExitCodeProcess(process, &code);
        return code;
    }

    core::UniqueModule m_module;
    ByName m_exitProgram = nullptr;
    ByName m_nrInstances = nullptr;
    Gently m_gently = nullptr;
    Outlook m_outlook = nullptr;
    std::vector<core::UniqueProcess> m_started;
};

TEST_F(SetupaidDll, ExportsSitAtTheirOrdinals)
{
    const char* names[] = {"VNTExitProgram", "VNTNrInstances", "VNTExitProgramGently",
                           "VNTOutlookVersion"};
    for (int ordinal = 1; ordinal <= 4; ++ordinal)
        EXPECT_EQ(::GetProcAddress(m_module.Get(), MAKEINTRESOURCEA(ordinal)),
                  ::GetProcAddress(m_module.Get(), names[ordinal - 1]));
}

TEST_F(SetupaidDll, CountsAndEndsTwoSleepersByNameInAnyCase)
{
    EXPECT_EQ(m_nrInstances("setupaid_sleeper.exe"), 0);
    EXPECT_EQ(m_exitProgram("setupaid_sleeper.exe"), 1);  // nothing to end is success
    HANDLE first = StartSleeper(L"sleep");
    HANDLE second = StartSleeper(L"sleep");
    ASSERT_TRUE(first && second);

    EXPECT_EQ(m_nrInstances("setupaid_sleeper.exe"), 2);
    EXPECT_EQ(m_nrInstances("SETUPAID_Sleeper.EXE"), 2);
    EXPECT_EQ(m_nrInstances("setupaid_sleeper"), 0);
    EXPECT_EQ(m_nrInstances(nullptr), -1);

    EXPECT_EQ(m_exitProgram("SetupAid_Sleeper.exe"), 1);
    EXPECT_EQ(ExitCodeAfterEnd(first), 1u);
    EXPECT_EQ(ExitCodeAfterEnd(second), 1u);
    EXPECT_EQ(m_nrInstances("setupaid_sleeper.exe"), 0);
}

TEST_F(SetupaidDll, GentleExitWithoutTheWindowFailsAndPostsNothing)
{
    ASSERT_EQ(::FindWindowW(L"Vontar Mailvane", nullptr), nullptr);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_FALSE(m_gently(0));
    EXPECT_FALSE(::PeekMessageW(&message, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

// Needs an X display for the top-level window; CTest runs it a second time with the session's one.
TEST_F(SetupaidDll, GentleExitClosesTheMailWindow)
{
    if (::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0)
        GTEST_SKIP() << "no display for a top-level window";
    HANDLE sleeper = StartSleeper(L"window");
    ASSERT_TRUE(sleeper);
    HWND window = nullptr;
    for (int i = 0; i < 300 && !window; ++i) {
        if (::WaitForSingleObject(sleeper, 100) == WAIT_OBJECT_0)
            GTEST_SKIP() << "no display for a top-level window";
        window = ::FindWindowW(L"Vontar Mailvane", nullptr);
    }
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(m_gently(12345));
    EXPECT_EQ(ExitCodeAfterEnd(sleeper), 7u);
}

class SetupaidOutlook : public SetupaidDll
{
protected:
    void SetUp() override
    {
        SetupaidDll::SetUp();
        m_scratchName = L"Software\\SetupaidTests\\" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_scratchName.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, m_scratch.Put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_scratch.Get()), ERROR_SUCCESS);
    }

    void TearDown() override
    {
        ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        m_scratch.Reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_scratchName.c_str());
        SetupaidDll::TearDown();
    }

    // Writes the App Paths entry; a null path leaves the key without a default value.
    void RegisterOutlook(const std::wstring* path)
    {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE");
        core::UniqueKey key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                                    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\"
                                    L"OUTLOOK.EXE",
                                    0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr),
                  ERROR_SUCCESS);
        if (path) {
            ASSERT_EQ(::RegSetValueExW(key.Get(), nullptr, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(path->c_str()),
                                       static_cast<DWORD>((path->size() + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
    }

    std::wstring m_scratchName;
    core::UniqueKey m_scratch;
};

TEST_F(SetupaidOutlook, ReadsTheMajorVersionOfTheRegisteredExecutable)
{
    EXPECT_EQ(m_outlook(), -1);  // no App Paths entry at all

    const std::wstring fixture = BesideTest(L"setupaid_version_fixture.dll");
    const std::wstring noVersion = BesideTest(L"setupaid_sleeper.exe");
    const std::wstring missingFile = BesideTest(L"no_such_outlook.exe");
    const std::wstring tooLong = L"C:\\" + std::wstring(257, L'x');  // 260 characters: 522 bytes
    struct Case
    {
        const std::wstring* path;
        int expected;
    };
    const Case cases[] = {
        {&fixture, 12}, {&noVersion, -1}, {&missingFile, -1}, {&tooLong, -1}, {nullptr, -1},
    };
    for (const Case& c : cases) {
        RegisterOutlook(c.path);
        EXPECT_EQ(m_outlook(), c.expected) << (c.path ? c.path->size() : 0);
    }
}

}  // namespace
