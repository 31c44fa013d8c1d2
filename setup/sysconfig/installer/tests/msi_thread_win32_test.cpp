#include "setup/sysconfig/installer/msi_thread_win32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/testing/installer_test_packages_win32.h"
#include "setup/sysconfig/installer/installer_bridge_win32.h"
#include "setup/sysconfig/installer/msi_api.h"
#include "setup/sysconfig/installer/package_edits_win32.h"
#include "setup/sysconfig/installer/system_queries_win32.h"
#include "setup/sysconfig/installer/thread_progress.h"
#include "setup/sysconfig/trace_log.h"

namespace setup::sysconfig::installer {
namespace {

using namespace testing;

constexpr const char* kFakeProduct = "{FA4E0000-1111-2222-3333-444455556666}";

// Windows Installer as far as the package database goes; the install calls are scripted, for
// what the test system's Windows Installer does not do (honour a cancel from the handler, report
// another running install, send error messages to the handler).
class ScriptedMsi final : public MsiLibrary
{
public:
    UINT MsiInstallProductA(LPCSTR packagePath, LPCSTR commandLine) override
    {
        commandLines.push_back(commandLine);
        return NextResult();
    }
    UINT MsiApplyPatchA(LPCSTR patchPackage, LPCSTR installPackage, INSTALLTYPE type,
                        LPCSTR commandLine) override
    {
        patchCommandLines.push_back(commandLine);
        return NextResult();
    }
    UINT MsiSourceListAddSourceA(LPCSTR product, LPCSTR userName, DWORD, LPCSTR source) override
    {
        sourceUsers.push_back(userName ? userName : "<none>");
        return ERROR_SUCCESS;
    }
    UINT MsiOpenPackageA(LPCSTR packagePath, MSIHANDLE* handle) override
    {
        *handle = MsiCreateRecord(0);  // any closable handle stands for the package
        return ERROR_SUCCESS;
    }
    UINT MsiSetPropertyA(MSIHANDLE, LPCSTR name, LPCSTR value) override
    {
        packageProperties.push_back(std::string(name) + "=" + value);
        return ERROR_SUCCESS;
    }
    UINT MsiDoActionA(MSIHANDLE, LPCSTR action) override
    {
        actions.push_back(action);
        return NextResult();
    }
    BOOL MsiGetMode(MSIHANDLE, MSIRUNMODE mode) override
    {
        return mode == MSIRUNMODE_REBOOTATEND && rebootAtEnd;
    }
    INSTALLSTATE MsiQueryProductStateA(LPCSTR product) override
    {
        if (onQuery)
            onQuery();
        return productState;
    }
    UINT MsiEnableLogA(DWORD mode, LPCSTR file, DWORD attributes) override
    {
        logCalls.push_back(std::to_string(mode) + " " + file + " " + std::to_string(attributes));
        return ERROR_SUCCESS;
    }
    INSTALLUILEVEL MsiSetInternalUI(INSTALLUILEVEL level, HWND*) override
    {
        uiLevel = level;
        return INSTALLUILEVEL_DEFAULT;
    }
    INSTALLUI_HANDLERA MsiSetExternalUIA(INSTALLUI_HANDLERA h, DWORD f, LPVOID c) override
    {
        handler = h;
        filter = f;
        context = c;
        return nullptr;
    }
    // A message from Windows Installer to the handler, with the handler's answer.
    int Send(std::uint32_t kind, const char* text) { return handler(context, kind << 24, text); }

    std::vector<UINT> results{ERROR_SUCCESS};
    std::function<void(ScriptedMsi&)> duringInstall;
    std::function<void()> onQuery;
    INSTALLSTATE productState = INSTALLSTATE_UNKNOWN;
    std::vector<std::string> commandLines;
    std::vector<std::string> patchCommandLines;
    std::vector<std::string> sourceUsers;
    std::vector<std::string> logCalls;
    std::vector<std::string> packageProperties;
    std::vector<std::string> actions;
    bool rebootAtEnd = false;
    INSTALLUILEVEL uiLevel = INSTALLUILEVEL_NOCHANGE;
    INSTALLUI_HANDLERA handler = nullptr;
    DWORD filter = 0;
    LPVOID context = nullptr;

private:
    UINT NextResult()
    {
        if (duringInstall)
            duringInstall(*this);
        const UINT result = results[std::min(m_calls, results.size() - 1)];
        ++m_calls;
        return result;
    }
    std::size_t m_calls = 0;
};

class RecordingPrompt final : public IInstallerPrompt
{
public:
    int ShowMessage(std::uintptr_t owner, const std::string& text, const std::string& caption,
                    std::uint32_t flags, bool languageNeutral) override
    {
        boxes.push_back({owner, text, caption, flags, languageNeutral});
        return IDOK;
    }
    struct Box
    {
        std::uintptr_t owner;
        std::string text;
        std::string caption;
        std::uint32_t flags;
        bool languageNeutral;
    };
    std::vector<Box> boxes;
};

class FakeDialogs final : public IInstallerDialogRuntime
{
public:
    int CheckCancel() override { return 1; }
    std::string GetActiveDialogName() override { return activePage; }
    std::uintptr_t FindDialogWindow(const std::string& key) override
    {
        return key == "PROGRESS" ? 0x4321 : 0;
    }
    void SetWorkerBusy(bool busy) override { busyChanges.push_back(busy); }
    bool HasActivePage() override { return !activePage.empty(); }
    void StartInstallThread(bool start) override
    {
        if (start)
            StartMSIThread(*bridge);
    }
    std::string activePage;
    std::vector<bool> busyChanges;
    InstallerBridge* bridge = nullptr;
};

class MsiThreadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rtl::InitGuiThread());
        m_variables.Store().Update("TITLE", "Probe Setup");
        m_variables.Store().Update("SILENT", "FALSE");
        m_variables.Store().Update("ALLUSERS", "FALSE");
        m_folder = MakeTempFolder("thread");
        m_package = CopyPackage("probe_two_components", m_folder);
        m_dialogs.bridge = &m_bridge;
        m_bridge.settings.report = &m_report;
        m_bridge.settings.dataDir = m_folder;
        m_bridge.settings.prompt = &m_prompt;
        m_bridge.settings.dialogs = &m_dialogs;
        m_bridge.settings.sleep = [this](DWORD ms) {
            m_sleeps.push_back(ms);
            if (m_onSleep)
                m_onSleep();
        };
    }
    void TearDown() override
    {
        SetMsiApi(nullptr);
        rtl::DoneGuiThread();
        RemoveFolderTree(m_folder);
    }

    // As the installer layer does when it starts an install.
    void HandOverScriptValues()
    {
        ScriptValues& script = m_bridge.settings.script;
        script.silent = engine::TextToBool(m_variables.Get("SILENT"));
        script.title = m_variables.Get("TITLE");
        script.allUsers = m_variables.Get("ALLUSERS");
        script.disableRollback = m_variables.Get("TARQ_DISABLE_ROLLBACK");
        script.disableRestartManager = m_variables.Get("TARQ_DISABLE_VISTA_RESTART_MANAGER");
        script.expand = [this](std::string_view text) { return m_variables.Expand(text); };
    }

    int Run(bool install, bool advertise, const char* productCode = kFakeProduct,
            bool patch = false, const std::string& dialogFile = "")
    {
        HandOverScriptValues();
        return RunMSIThread(m_bridge, patch, m_package, dialogFile, m_variables.AsCommaText(),
                            m_properties, productCode, install, advertise, m_error,
                            m_folder + "target\\");
    }
    int RunFake(bool install = true, bool advertise = false)
    {
        SetMsiApi(&m_msi);
        return Run(install, advertise);
    }

    engine::ScriptVariables m_variables;
    engine::VariableWorkerReport m_report{m_variables.Store()};
    std::string m_folder;
    std::string m_package;
    std::string m_properties;
    std::string m_error;
    ScriptedMsi m_msi;
    RecordingPrompt m_prompt;
    FakeDialogs m_dialogs;
    std::vector<DWORD> m_sleeps;
    std::function<void()> m_onSleep;
    // Last: its thread ends before the fakes it calls go.
    InstallerBridge m_bridge;
};

// The folder as the thread names it: its short form.
std::string Short(const std::string& folder)
{
    bool needsQuotes = false;
    return ShortFolder(folder, needsQuotes);
}

void RequestCancel(engine::ScriptVariables& variables)
{
    variables.Store().Update("TARQ_thCancelled", "TRUE");
}

TEST_F(MsiThreadTest, InstallsRepairsAndRemovesWithWindowsInstaller)
{
    const std::string target = m_folder + "target\\";
    m_bridge.properties.AddMSIProperty("INSTALLDIR", target);
    ASSERT_EQ(Run(true, false, kTwoComponentsProduct), 1) << m_error;
    EXPECT_TRUE(FileExists(target + "alpha.txt"));
    EXPECT_TRUE(FileExists(target + "beta.txt"));
    EXPECT_EQ(MsiApi().MsiQueryProductStateA(kTwoComponentsProduct), INSTALLSTATE_DEFAULT);
    EXPECT_TRUE(PackageCodeMatches(kTwoComponentsProduct, SummaryText(m_package, 9)));
    EXPECT_FALSE(
        PackageCodeMatches(kTwoComponentsProduct, "{00000000-0000-0000-0000-000000000000}"));
    // Windows Installer's own progress reached the thread-progress variables.
    EXPECT_NE(m_variables.Get("TARQ_thProgressText"), "Windows Installer");
    EXPECT_GT(std::stoll(m_variables.Get("TARQ_thMax")), 0);
    EXPECT_EQ(m_variables.Get("TARQ_thFinished"), "TRUE");
    EXPECT_EQ(m_dialogs.busyChanges, (std::vector<bool>{true, false}));

    ASSERT_TRUE(::DeleteFileA((target + "alpha.txt").c_str()));
    ASSERT_EQ(Run(true, false, kTwoComponentsProduct), 1) << m_error;
    EXPECT_TRUE(FileExists(target + "alpha.txt"));

    ASSERT_EQ(Run(false, false, kTwoComponentsProduct), 1) << m_error;
    EXPECT_FALSE(FileExists(target + "alpha.txt"));
    EXPECT_FALSE(FileExists(target + "beta.txt"));
    EXPECT_NE(MsiApi().MsiQueryProductStateA(kTwoComponentsProduct), INSTALLSTATE_DEFAULT);
    EXPECT_FALSE(FileExists(TempFolder() + kTwoComponentsProduct));
}

TEST_F(MsiThreadTest, AFailingLaunchConditionIsAFailureWithItsText)
{
    m_package = CopyPackage("probe_refused", m_folder);
    m_bridge.properties.AddMSIProperty("INSTALLDIR", m_folder + "target\\");
    EXPECT_EQ(Run(true, false, kRefusedProduct), -1);
    EXPECT_FALSE(m_error.empty());
    EXPECT_NE(m_error.back(), '.');
    EXPECT_NE(MsiApi().MsiQueryProductStateA(kRefusedProduct), INSTALLSTATE_DEFAULT);
    EXPECT_FALSE(FileExists(m_folder + "target\\alpha.txt"));
}

TEST_F(MsiThreadTest, ResultsCancelsAndRetries)
{
    const std::string generalFailure = m_bridge.settings.generalFailureText;
    struct Case
    {
        const char* name;
        std::vector<UINT> results;
        std::function<void(ScriptedMsi&)> duringInstall;
        bool cancelWhileWaiting;
        int result;
        std::string errorText;
        std::size_t installCalls;
    };
    const auto cancelAndAsk = [this](ScriptedMsi& msi) {
        RequestCancel(m_variables);
        EXPECT_EQ(msi.Send(4, "info"), IDCANCEL);
    };
    const std::vector<Case> cases = {
        {"success", {0}, nullptr, false, 1, "", 1},
        {"restart required", {3010}, nullptr, false, 2, "", 1},
        {"restart initiated", {1641}, nullptr, false, 2, "", 1},
        {"busy, then success", {1618, 1618, 0}, nullptr, false, 1, "", 3},
        {"cancel honoured", {1602}, cancelAndAsk, false, 0, "", 1},
        {"cancel not honoured: installed after all", {0}, cancelAndAsk, false, 1, "", 1},
        {"cancel not honoured, restart needed", {3010}, cancelAndAsk, false, 2, "", 1},
        {"cancel while another install runs", {1618}, nullptr, true, 0, "", 1},
        {"error message text when the code has none",
         {0x20000001},
         [](ScriptedMsi& msi) { msi.Send(1, "Custom action failed."); },
         false,
         -1,
         "Custom action failed",
         1},
        {"fatal exit text",
         {0x20000001},
         [](ScriptedMsi& msi) { msi.Send(0, "Stopped."); },
         false,
         -1,
         "Stopped",
         1},
        {"no text at all", {0x20000001}, nullptr, false, -1, generalFailure, 1},
    };
    for (const auto& c : cases) {
        m_msi = ScriptedMsi();
        m_msi.results = c.results;
        m_msi.duringInstall = c.duringInstall;
        m_sleeps.clear();
        m_onSleep = c.cancelWhileWaiting
                        ? std::function<void()>([this] { RequestCancel(m_variables); })
                        : nullptr;
        m_variables.Store().Update("SILENT", "TRUE");
        EXPECT_EQ(RunFake(), c.result) << c.name;
        EXPECT_EQ(m_error, c.errorText) << c.name;
        EXPECT_EQ(m_msi.commandLines.size(), c.installCalls) << c.name;
        const std::size_t busy = std::count(c.results.begin(), c.results.end(), 1618u);
        EXPECT_EQ(m_sleeps, std::vector<DWORD>(busy, 3141)) << c.name;
    }
}

TEST_F(MsiThreadTest, FailureCodesCarryTheSystemText)
{
    m_msi.results = {1603};
    EXPECT_EQ(RunFake(), -1);
    EXPECT_EQ(m_error, TrimSystemText(SystemErrorText(1603)));
    EXPECT_FALSE(m_error.empty());
    EXPECT_NE(m_error.back(), '.');
}

TEST_F(MsiThreadTest, BusyRetryShowsAGrowingRowOfDots)
{
    m_msi.results = {1618, 1618, 1618, 1618, 0};
    std::vector<std::string> texts;
    m_onSleep = [&] { texts.push_back(m_variables.Get("TARQ_thProgressText")); };
    EXPECT_EQ(RunFake(), 1);
    EXPECT_EQ(texts, (std::vector<std::string>{"Windows Installer.", "Windows Installer..",
                                               "Windows Installer...", "Windows Installer."}));
}

TEST_F(MsiThreadTest, ACancelBeforeTheStartSkipsWindowsInstaller)
{
    std::string handoffSeen;
    m_msi.onQuery = [&] {
        handoffSeen = ReadFileBytes(TempFolder() + kFakeProduct);
        RequestCancel(m_variables);
    };
    EXPECT_EQ(RunFake(), 0);
    EXPECT_TRUE(m_msi.commandLines.empty());
    EXPECT_EQ(m_msi.handler, nullptr);
    EXPECT_FALSE(handoffSeen.empty());
    EXPECT_FALSE(FileExists(TempFolder() + kFakeProduct));
    EXPECT_EQ(m_variables.Get("TARQ_thFinished"), "TRUE");
}

TEST_F(MsiThreadTest, AnExceptionInsideTheThreadEndsTheRunAsAFailure)
{
    for (const char* silent : {"FALSE", "TRUE"}) {
        m_variables.Store().Update("SILENT", silent);
        m_msi.onQuery = [] {
            throw rtl::Exception("Function not found: msi.dll.MsiQueryProductStateA");
        };
        EXPECT_EQ(RunFake(), -1) << silent;
        EXPECT_EQ(m_error, "Function not found: msi.dll.MsiQueryProductStateA") << silent;
        EXPECT_FALSE(FileExists(TempFolder() + kFakeProduct)) << silent;
    }
}

TEST_F(MsiThreadTest, CommandLineForEachKindOfRun)
{
    const std::string cacheRoot = m_folder + "cache\\";
    m_bridge.settings.cacheId = "{CACE0000-0000-0000-0000-000000000000}";
    m_bridge.settings.cacheRoot = [cacheRoot](bool) { return cacheRoot; };
    struct Case
    {
        const char* name;
        bool install;
        bool advertise;
        INSTALLSTATE state;
        bool advertisedBefore;
        const char* prefix;
    };
    const std::vector<Case> cases = {
        {"install", true, false, INSTALLSTATE_UNKNOWN, false, "ADDLOCAL=ALL ALLUSERS=\"\" ARP"},
        {"advertise", false, true, INSTALLSTATE_UNKNOWN, false, "ADVERTISE=ALL ALLUSERS=\"\" ARP"},
        {"repair", true, false, INSTALLSTATE_DEFAULT, false,
         "REINSTALL=ALL REINSTALLMODE=vomus ALLUSERS=\"\" ARP"},
        {"after an advertisement", true, false, INSTALLSTATE_DEFAULT, true,
         "ADDLOCAL=ALL ADVERTISE=\"\" ALLUSERS=\"\" ARP"},
        {"advertise again", false, true, INSTALLSTATE_DEFAULT, true,
         "REINSTALL=ALL REINSTALLMODE=vomus ALLUSERS=\"\" ARP"},
        {"remove", false, false, INSTALLSTATE_DEFAULT, false,
         "REMOVE=ALL ALLUSERS=\"\" ALLUSERS=\"\" REMOVE=ALL SRCDIR="},
    };
    for (const auto& c : cases) {
        RemoveFolderTree(cacheRoot);
        if (c.advertisedBefore) {
            ::CreateDirectoryA(cacheRoot.c_str(), nullptr);
            ::CreateDirectoryA((cacheRoot + m_bridge.settings.cacheId).c_str(), nullptr);
            ::CreateDirectoryA((cacheRoot + m_bridge.settings.cacheId + "\\__ad").c_str(), nullptr);
        }
        m_msi = ScriptedMsi();
        m_msi.productState = c.state;
        EXPECT_EQ(RunFake(c.install, c.advertise), 1) << c.name;
        ASSERT_EQ(m_msi.commandLines.size(), 1u) << c.name;
        const std::string& line = m_msi.commandLines[0];
        EXPECT_EQ(line.rfind(c.prefix, 0), 0u) << c.name << ": " << line;
        EXPECT_EQ(line.substr(line.size() - 9), "REBOOT=R ") << c.name;
        const std::string folder = Short(m_folder);
        EXPECT_NE(line.find("SRCDIR=" + folder + " SOURCELIST=" + folder + ";" + folder +
                            " MEDIAPACKAGEPATH="),
                  std::string::npos)
            << c.name << ": " << line;
    }
    EXPECT_EQ(m_msi.uiLevel, static_cast<INSTALLUILEVEL>(0x102));
    EXPECT_EQ(m_msi.filter, 0x7FDFu);
    // The handler's context is the run's message state, whose callback publishes into the
    // run's report.
    EXPECT_EQ(m_msi.context, &m_bridge.handler);
    ASSERT_TRUE(m_bridge.handler.publish);
    m_bridge.handler.publish("Copying", 5, 10, 0);
    EXPECT_EQ(m_variables.Get("TARQ_thProgressText"), "Copying");
}

TEST_F(MsiThreadTest, PatchRunsOnceWithItsSourceRegisteredTwice)
{
    const std::string patch = m_folder + "probe.msp";
    ASSERT_TRUE(::CopyFileA(m_package.c_str(), patch.c_str(), FALSE));
    m_bridge.settings.patchSourceDir = m_folder;
    m_msi.results = {1618};
    SetMsiApi(&m_msi);
    HandOverScriptValues();
    EXPECT_EQ(RunMSIThread(m_bridge, true, patch, "", m_variables.AsCommaText(), "", kFakeProduct,
                           false, false, m_error, ""),
              -1);
    EXPECT_TRUE(m_msi.commandLines.empty());
    ASSERT_EQ(m_msi.patchCommandLines.size(), 1u);
    EXPECT_EQ(m_msi.patchCommandLines[0], "ADDLOCAL=ALL ALLUSERS=\"\" SRCDIR=" + Short(m_folder) +
                                              " SRCDIREX=" + Short(m_folder) + " ");
    ASSERT_EQ(m_msi.sourceUsers.size(), 2u);
    EXPECT_EQ(m_msi.sourceUsers[0], "<none>");
    EXPECT_NE(m_msi.sourceUsers[1].find('\\'), std::string::npos) << m_msi.sourceUsers[1];
    EXPECT_TRUE(m_sleeps.empty());
}

TEST_F(MsiThreadTest, RemovalOnWindows9xSetsPackagePropertiesAndRunsInstall)
{
    m_bridge.settings.windowsNT = false;
    m_msi.results = {1618, 0};
    m_msi.rebootAtEnd = true;
    EXPECT_EQ(RunFake(false, false), 2);
    EXPECT_TRUE(m_msi.commandLines.empty());
    EXPECT_EQ(m_msi.actions, (std::vector<std::string>{"INSTALL", "INSTALL"}));
    const std::string folder = Short(m_folder);
    const std::string media = folder.substr(2, folder.find_last_of('\\', folder.size() - 2) - 1);
    EXPECT_EQ(m_msi.packageProperties,
              (std::vector<std::string>{"ALLUSERS=", "REMOVE=ALL", "SRCDIR=" + folder,
                                        "SOURCELIST=" + folder + ";" + folder,
                                        "MEDIAPACKAGEPATH=" + media, "REBOOT=R"}));
}

TEST_F(MsiThreadTest, TemporaryPackagesOfTheProductAreForgotten)
{
    const char* keyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\TempPackages";
    HKEY raw = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &raw, nullptr),
              ERROR_SUCCESS);
    core::UniqueKey key(raw);
    const std::string upper = "{FA4E0000-1111-2222-3333-444455556666}";
    const std::vector<std::string> names = {"C:\\a\\" + upper + ".msi", "other.msi",
                                            "C:\\b\\" + upper,
                                            "lower{fa4e0000-1111-2222-3333-444455556666}"};
    for (const auto& name : names)
        ::RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    ClearTempPackages("{fa4e0000-1111-2222-3333-444455556666}");
    std::vector<std::string> left;
    for (const auto& name : names)
        if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS)
            left.push_back(name);
    EXPECT_EQ(left, (std::vector<std::string>{"other.msi", names[3]}));
    for (const auto& name : left)
        ::RegDeleteValueA(key.Get(), name.c_str());
}

TEST_F(MsiThreadTest, HandsPropertiesToTheCustomActionsByteForByte)
{
    m_variables.Store().Update("CUSTOM", "C:\\\\x\\\\y");
    m_properties = rtl::ToCommaText({"PROPA", "value a", "PROPB", "$TITLE$"});
    std::string seen;
    m_msi.duringInstall = [&](ScriptedMsi&) { seen = ReadFileBytes(TempFolder() + kFakeProduct); };
    const auto variables = rtl::FromCommaText(m_variables.AsCommaText());
    ASSERT_EQ(RunFake(), 1);
    const std::string folder = Short(m_folder);
    const std::string media = folder.substr(2, folder.find_last_of('\\', folder.size() - 2) - 1);
    std::string expected = "SourceDir\r\n" + folder + "\r\n$ex\r\nMEDIAPACKAGEPATH\r\n" + media +
                           "\r\n$ex\r\nPROPA\r\nvalue a\r\n$ex\r\nPROPB\r\nProbe Setup\r\n$ex\r\n";
    // Variables in the store's order, Windows Installer's own (ALLUSERS) left out.
    for (std::size_t i = 0; i + 1 < variables.size(); i += 2) {
        if (variables[i] == "ALLUSERS")
            continue;
        const std::string value = variables[i] == "CUSTOM" ? "C:\\x\\y" : variables[i + 1];
        expected += variables[i] + "\r\n" + value + "\r\n$ex\r\n";
    }
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(FileExists(TempFolder() + kFakeProduct));
}

TEST_F(MsiThreadTest, MessageBoxesBelongToTheActivePageUnlessSilent)
{
    m_dialogs.activePage = "PROGRESS";
    m_msi.duringInstall = [](ScriptedMsi& msi) {
        EXPECT_EQ(msi.Send(1, "Disk error"), IDOK);
        EXPECT_EQ(msi.Send(2, "Careful"), IDOK);
    };
    ASSERT_EQ(RunFake(), 1);
    ASSERT_EQ(m_prompt.boxes.size(), 2u);
    EXPECT_EQ(m_prompt.boxes[0].owner, 0x4321u);
    EXPECT_EQ(m_prompt.boxes[0].text, "Error\r\rDisk error");
    EXPECT_EQ(m_prompt.boxes[0].caption, "Probe Setup");
    EXPECT_TRUE(m_prompt.boxes[0].languageNeutral);
    EXPECT_EQ(m_prompt.boxes[1].text, "Warning\r\rCareful");

    m_prompt.boxes.clear();
    m_variables.Store().Update("SILENT", "TRUE");
    ASSERT_EQ(RunFake(), 1);
    EXPECT_TRUE(m_prompt.boxes.empty());
}

TEST_F(MsiThreadTest, TraceLogGetsTheHeaderBlockAndWindowsInstallersLog)
{
    const std::string log = m_folder + "logs\\setup.log";
    m_bridge.settings.traceLogPath = log;
    const bool firstWrite = ProcessTraceLog().FirstWritePending();
    ::CreateDirectoryA((m_folder + "logs").c_str(), nullptr);
    {
        std::ofstream old(log, std::ios::binary);
        old << "stale content";
    }
    ASSERT_EQ(RunFake(), 1);
    ASSERT_EQ(m_msi.logCalls.size(), 1u);
    EXPECT_EQ(m_msi.logCalls[0], "16351 " + log + " 3");
    const std::string bytes = ReadFileBytes(log);
    const std::string header = std::string("=\0=\0=\0 \0P\0r\0o\0b\0e\0", 18);
    if (firstWrite) {
        EXPECT_EQ(bytes.substr(0, header.size()), header);
    }
    EXPECT_NE(bytes.find(header), std::string::npos);
    const std::string guid = std::string("*\0*\0*\0 \0G\0U\0I\0D\0 \0*\0*\0*\0\r\0\n\0", 28);
    EXPECT_NE(bytes.find(guid), std::string::npos);

    m_bridge.settings.traceLogPath.clear();
    m_msi.logCalls.clear();
    ASSERT_EQ(RunFake(), 1);
    EXPECT_TRUE(m_msi.logCalls.empty());
}

TEST_F(MsiThreadTest, RunsInTheProgressDialogsFolder)
{
    const std::string pageFolder = m_folder + "pages";
    ::CreateDirectoryA(pageFolder.c_str(), nullptr);
    char before[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof(before), before);
    std::string during;
    m_msi.duringInstall = [&](ScriptedMsi&) {
        char buffer[MAX_PATH] = {};
        ::GetCurrentDirectoryA(sizeof(buffer), buffer);
        during = buffer;
    };
    SetMsiApi(&m_msi);
    ASSERT_EQ(Run(true, false, kFakeProduct, false, pageFolder + "\\progress.dfm"), 1);
    EXPECT_EQ(during, pageFolder);
    char after[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof(after), after);
    EXPECT_STREQ(after, before);
}

TEST_F(MsiThreadTest, TheProgressPageRunsTheThreadItStarts)
{
    std::string error;
    EXPECT_THROW(
        {
            try {
                RunMSIThreadOnProgressPage(m_bridge, error);
            } catch (const rtl::Exception& e) {
                EXPECT_STREQ(e.what(),
                             "A progress dialog must be displayed before changes are applied");
                throw;
            }
        },
        rtl::Exception);

    m_dialogs.activePage = "PROGRESS";
    m_bridge.parameters = MsiRunParameters();
    m_bridge.parameters.packagePath = m_package;
    m_bridge.parameters.productCode = kFakeProduct;
    m_bridge.parameters.dataFolder = m_folder;
    m_variables.Store().Update("TARQ_thCancelled", "FALSE");
    m_msi.results = {3010};
    SetMsiApi(&m_msi);
    HandOverScriptValues();
    EXPECT_EQ(RunMSIThreadOnProgressPage(m_bridge, error), 2);
    EXPECT_EQ(m_msi.commandLines.size(), 1u);
    m_bridge.thread.reset();
}

}  // namespace
}  // namespace setup::sysconfig::installer
