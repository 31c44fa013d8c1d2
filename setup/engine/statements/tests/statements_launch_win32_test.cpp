// "Run Program", "Run Program As" and "Register Library" with a program and server libraries of
// the tests' own, each test in its own temporary folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/statements/launch_plan.h"
#include "setup/engine/statements/statements_launch_win32.h"
#include "setup/engine/statements/statements_registry_win32.h"
#include "setup/engine/statements/system_facts_win32.h"
#include "setup/engine/testing/statements_test_support.h"
#include "setup/engine/workers/worker_wait_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace setup::engine::testing {
namespace {

using testsupport::TestProgramFolder;

std::string CurrentFolder()
{
    char buffer[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryA(sizeof(buffer), buffer);
    return buffer;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The probe's record: its command line, folder and environment entries.
struct ProbeRecord
{
    std::string commandLine;
    std::string folder;
    unsigned long processId = 0;
    std::vector<std::string> environment;

    bool HasEntry(const std::string& entry) const
    {
        for (const std::string& line : environment) {
            if (line == entry)
                return true;
        }
        return false;
    }
};

ProbeRecord ReadRecord(const std::string& path)
{
    ProbeRecord record;
    std::istringstream lines(ReadFile(path));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("cmd=", 0) == 0)
            record.commandLine = line.substr(4);
        else if (line.rfind("cwd=", 0) == 0)
            record.folder = line.substr(4);
        else if (line.rfind("pid=", 0) == 0)
            record.processId = std::stoul(line.substr(4));
        else if (line.rfind("env=", 0) == 0)
            record.environment.push_back(line.substr(4));
    }
    return record;
}

class LaunchStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        ASSERT_TRUE(rtl::InitGuiThread());
        RegisterLaunchStatements(handlers,
                                 {Win32SystemStatementServices().wow64, &ProcessSystemFacts()});
        char temp[MAX_PATH + 1] = {};
        ::GetTempPathA(sizeof(temp), temp);
        m_folder = std::string(temp) + "launch_test_" + std::to_string(::GetCurrentProcessId()) +
                   "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        ::CreateDirectoryA(m_folder.c_str(), nullptr);
        m_record = m_folder + "record.txt";
        ::SetEnvironmentVariableA("LAUNCH_PROBE_RECORD", m_record.c_str());
        ::SetEnvironmentVariableA("REGISTER_PROBE_RECORD", m_record.c_str());
        SetVariable("PROGRESS", "0", "test");
        SetVariable("PROGRESSTEXT", "", "test");
        SetVariable("PROBE", ProbePath(), "test");
        m_startFolder = CurrentFolder();
    }
    void TearDown() override
    {
        ::SetCurrentDirectoryA(m_startFolder.c_str());
        ::SetEnvironmentVariableA("LAUNCH_PROBE_RECORD", nullptr);
        ::SetEnvironmentVariableA("REGISTER_PROBE_RECORD", nullptr);
        ::SetEnvironmentVariableA("LAUNCH_PROBE_MARKER", nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        rtl::DoneGuiThread();
        StatementTest::TearDown();
    }

    static std::string ProbePath() { return TestProgramFolder() + "setup_launch_probe.exe"; }

    // A copy of a file of the test build in a folder of this test.
    std::string CopyIntoFolder(const std::string& name, const std::string& subFolder)
    {
        const std::string folder = m_folder + subFolder + "\\";
        ::CreateDirectoryA(folder.c_str(), nullptr);
        const std::string target = folder + name;
        EXPECT_TRUE(::CopyFileA((TestProgramFolder() + name).c_str(), target.c_str(), FALSE))
            << name;
        return target;
    }

    bool WaitForRecord(DWORD timeoutMs = 20000)
    {
        for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
            if (Exists(m_record))
                return true;
            ::Sleep(50);
        }
        return false;
    }

    std::string m_folder;
    std::string m_record;
    std::string m_startFolder;
};

TEST_F(LaunchStatementTest, RunProgramExitCodesWaitedAndNotWaited)
{
    const std::string programFolder = FolderOf(ProbePath());
    struct Case
    {
        const char* arguments;
        const char* wait;
        const char* code;
    };
    const Case cases[] = {
        {"exit=3", "TRUE", "3"},
        {"exit=0", "true", "0"},
        {"exit=300", "TRUE", "300"},  // beyond a byte: Windows parents see all of it
        {"exit=4 sleep=4000", "FALSE", "259"},
    };
    for (const Case& c : cases) {
        ::DeleteFileA(m_record.c_str());
        Run({std::string("Run Program|$PROBE$|TRUE|") + c.arguments + "|" + c.wait + "|CODE"});
        EXPECT_EQ(GetVariable("CODE"), c.code) << c.arguments;
        EXPECT_EQ(CurrentFolder(), m_startFolder);
        EXPECT_FALSE(engine.Parts.Get<WorkerFlags>().busy);
        ASSERT_TRUE(WaitForRecord()) << c.arguments;
        const ProbeRecord record = ReadRecord(m_record);
        EXPECT_NE(record.commandLine.find(c.arguments), std::string::npos) << record.commandLine;
        // The program starts in its own folder.
        EXPECT_EQ(FolderOf(record.folder + "\\"), programFolder);
    }
}

TEST_F(LaunchStatementTest, SilentRunsWaitForTheWorkerWithoutAMessageLoop)
{
    SilentMode = true;
    Run({"Run Program|$PROBE$|TRUE|exit=12|TRUE|CODE",
         "Run Program As|$PROBE$||exit=13|1||||ASCODE|TRUE|"});
    EXPECT_EQ(GetVariable("CODE"), "12");
    EXPECT_EQ(GetVariable("ASCODE"), "13");
    EXPECT_FALSE(engine.Parts.Get<WorkerFlags>().busy);
}

TEST_F(LaunchStatementTest, LaunchedProgramsLeaveNoHandlesBehind)
{
    // An ended process stays openable while anyone still holds a handle to it.
    const std::string lines[] = {"Run Program|$PROBE$|TRUE|exit=0|TRUE|CODE",
                                 "Run Program As|$PROBE$||exit=0|1||||CODE|TRUE|",
                                 "Run Program As|$PROBE$||exit=0|1|$TARQ_UAC$|||CODE|TRUE|"};
    for (const std::string& line : lines) {
        ::DeleteFileA(m_record.c_str());
        Run({line});
        const ProbeRecord record = ReadRecord(m_record);
        ASSERT_NE(record.processId, 0u) << line;
        bool gone = false;
        for (int attempt = 0; attempt < 40 && !gone; ++attempt) {
            const core::UniqueProcess process(
                ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(record.processId)));
            gone = !process;
            if (!gone)
                ::Sleep(50);
        }
        EXPECT_TRUE(gone) << line;
    }
}

TEST_F(LaunchStatementTest, RunProgramOfAMissingFile)
{
    Run({"Run Program|" + m_folder + "absent.exe|FALSE||TRUE|CODE",
         "Run Program|" + m_folder + "absent.exe|FALSE||TRUE|"});
    EXPECT_EQ(GetVariable("CODE"), "-1");
    EXPECT_EQ(CurrentFolder(), m_startFolder);
}

TEST_F(LaunchStatementTest, AProgressThatIsNoNumberFailsTheStatement)
{
    SetVariable("PROGRESS", "half", "test");
    EXPECT_THROW(Run({"Run Program|$PROBE$|TRUE|exit=1 sleep=300|TRUE|CODE"}), rtl::EConvertError);
    EXPECT_EQ(CurrentFolder(), m_startFolder);
    EXPECT_FALSE(engine.Parts.Get<WorkerFlags>().busy);
    SetVariable("PROGRESS", "40", "test");
    SetVariable("PROGRESSTEXT", "Installing", "test");
    Run({"Run Program|$PROBE$|TRUE|exit=1|TRUE|CODE"});
    EXPECT_EQ(GetVariable("TARQ_thProgress"), "40");
    EXPECT_EQ(GetVariable("TARQ_thProgressText"), "Installing");
}

TEST_F(LaunchStatementTest, ALightModeSetupRunsThisProgramCarryingTheFileAndPutsItBack)
{
    // The probe stands in for the setup program: the light setup is its image with the file after
    // it, started in the file's folder with the archive library beside it.
    engine.process.exeFile = ProbePath();
    const std::string file = m_folder + "light.exe";
    const std::string carried = "the script a light setup carries";
    std::ofstream(file, std::ios::binary) << carried;
    SetVariable("LIGHT", file, "test");
    Run({"Run Light Mode Setup|$LIGHT$|CODE|exit=7|TRUE"});
    EXPECT_EQ(GetVariable("CODE"), "7");
    ASSERT_TRUE(WaitForRecord());
    const ProbeRecord record = ReadRecord(m_record);
    EXPECT_NE(record.commandLine.find("light.exe\" exit=7"), std::string::npos)
        << record.commandLine;
    EXPECT_EQ(FolderOf(record.folder + "\\"), m_folder);
    // Put back as it was, the library gone again.
    EXPECT_EQ(ReadFile(file), carried);
    EXPECT_FALSE(Exists(file + ".nox"));
    EXPECT_FALSE(Exists(file + ".to"));
    EXPECT_FALSE(Exists(m_folder + "qbr.lib"));
    EXPECT_FALSE(engine.Parts.Get<WorkerFlags>().busy);

    // A file that cannot be read gives -1 and is left alone; so does a program that is no image.
    ::DeleteFileA(m_record.c_str());
    Run({"Run Light Mode Setup|" + m_folder + "absent.exe|CODE|exit=7|TRUE"});
    EXPECT_EQ(GetVariable("CODE"), "-1");
    EXPECT_FALSE(Exists(m_folder + "absent.exe"));
    engine.process.exeFile = file;
    Run({"Run Light Mode Setup|$LIGHT$|CODE|exit=7|TRUE"});
    EXPECT_EQ(GetVariable("CODE"), "-1");
    EXPECT_EQ(ReadFile(file), carried);
    EXPECT_FALSE(Exists(m_record));
}

TEST_F(LaunchStatementTest, RunProgramAsEnvironmentPassedOrInherited)
{
    ::SetEnvironmentVariableA("LAUNCH_PROBE_MARKER", "inherited");
    // Parameters: program, folder, arguments, show, user, password, domain, result, wait, env.
    Run({"Run Program As|$PROBE$||exit=6|1||||CODE|TRUE|"});
    EXPECT_EQ(GetVariable("CODE"), "6");
    ProbeRecord record = ReadRecord(m_record);
    EXPECT_TRUE(record.HasEntry("LAUNCH_PROBE_MARKER=inherited"));
    EXPECT_EQ(record.commandLine, "\"" + ProbePath() + "\" exit=6");

    ::DeleteFileA(m_record.c_str());
    // An empty line between the entries does not end the block early.
    SetVariable("ENV", "LAUNCH_PROBE_RECORD=" + m_record + "\r\n\r\nONLY_HERE=1", "test");
    Run({"Run Program As|$PROBE$||exit=2|9||||CODE|TRUE|$ENV$"});
    EXPECT_EQ(GetVariable("CODE"), "2");
    record = ReadRecord(m_record);
    EXPECT_TRUE(record.HasEntry("ONLY_HERE=1"));
    EXPECT_FALSE(record.HasEntry("LAUNCH_PROBE_MARKER=inherited"));
}

TEST_F(LaunchStatementTest, RunProgramAsWorkingFolderIsSetAndRestored)
{
    const std::string work = m_folder + "work";
    ::CreateDirectoryA(work.c_str(), nullptr);
    Run({"Run Program As|$PROBE$|" + work + "|exit=0|0||||CODE|TRUE|"});
    EXPECT_EQ(GetVariable("CODE"), "0");
    EXPECT_EQ(ReadRecord(m_record).folder, work);
    EXPECT_EQ(CurrentFolder(), m_startFolder);
}

TEST_F(LaunchStatementTest, RunProgramAsShellTokenUserFromASetupThatIsNotElevatedStartsDirectly)
{
    Run({"Run Program As|$PROBE$||exit=5|0|$TARQ_UAC$|||CODE|TRUE|"});
    EXPECT_EQ(GetVariable("CODE"), "5");
    EXPECT_TRUE(Exists(m_record));
}

TEST_F(LaunchStatementTest, RunProgramAsAnUnknownUserIsRefusedByTheLogonStart)
{
    Run({"Run Program As|$PROBE$||exit=4|0|nobody-here|secret|HOME|CODE|TRUE|"});
    EXPECT_EQ(GetVariable("CODE"), std::to_string(kCreateProcessFailed));
    EXPECT_FALSE(Exists(m_record));
}

TEST_F(LaunchStatementTest, RunProgramAsFailures)
{
    EXPECT_THROW(Run({"Run Program As|$PROBE$||exit=0|normal||||CODE|TRUE|"}), rtl::EConvertError);
    Run({"Run Program As|" + m_folder + "absent.exe|||1||||CODE|TRUE|"});
    EXPECT_EQ(GetVariable("CODE"), std::to_string(kCreateProcessFailed));
    // Not waited for: the code of a running program.
    Run({"Run Program As|$PROBE$||exit=1 sleep=4000|1||||CODE|FALSE|"});
    EXPECT_EQ(GetVariable("CODE"), "259");
}

TEST_F(LaunchStatementTest, RegisterLibraryByKind)
{
    const std::string ok = CopyIntoFolder("setup_register_ok.dll", "libs");
    const std::string fails = CopyIntoFolder("setup_register_fails.dll", "libs");
    const std::string noEntry = CopyIntoFolder("setup_probe_plugin.dll", "libs");
    struct Case
    {
        std::string file;
        const char* registering;
        const char* result;
        const char* recorded;
    };
    const Case cases[] = {
        {ok, "TRUE", "TRUE", "register\n"},
        {ok, "FALSE", "TRUE", "unregister\n"},
        {fails, "TRUE", "FALSE", "register\n"},
        {noEntry, "TRUE", "FALSE", ""},
        {m_folder + "absent.dll", "TRUE", "FALSE", ""},
        {m_folder + "absent.tlb", "TRUE", "FALSE", ""},
        {m_folder + "absent.TLB", "FALSE", "FALSE", ""},
    };
    for (const Case& c : cases) {
        ::DeleteFileA(m_record.c_str());
        Run({"Register Library|" + c.file + "|" + c.registering + "|RESULT"});
        EXPECT_EQ(GetVariable("RESULT"), c.result) << c.file << " " << c.registering;
        EXPECT_EQ(ReadFile(m_record), c.recorded) << c.file;
        EXPECT_EQ(CurrentFolder(), m_startFolder);
    }
}

TEST_F(LaunchStatementTest, RegisterLibraryTypeLibraryBothWays)
{
    const std::string library = CopyIntoFolder("setup_register_probe.tlb", "type library");
    const char* key = "TypeLib\\{6B1F0C2E-4D3A-4E55-9A1B-2C3D4E5F6071}\\1.2";
    const auto registered = [key] {
        core::UniqueKey opened;
        return ::RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, opened.Put()) == ERROR_SUCCESS;
    };
    Run({"Register Library|" + library + "|TRUE|RESULT"});
    EXPECT_EQ(GetVariable("RESULT"), "TRUE");
    EXPECT_TRUE(registered());
    Run({"Register Library|" + library + "|FALSE|RESULT"});
    EXPECT_EQ(GetVariable("RESULT"), "TRUE");
    EXPECT_FALSE(registered());
}

TEST_F(LaunchStatementTest, RegisterServerProgramWithABlankInItsPath)
{
    const std::string program = CopyIntoFolder("setup_launch_probe.exe", "with blank");
    // A program named after the path's first word would be started without the quotes.
    CopyIntoFolder("setup_launch_probe.exe", "with");
    ::MoveFileA((m_folder + "with\\setup_launch_probe.exe").c_str(),
                (m_folder + "with.exe").c_str());
    Run({"Register Library|" + program + "|TRUE|RESULT"});
    EXPECT_EQ(GetVariable("RESULT"), "TRUE");
    ASSERT_TRUE(WaitForRecord());
    const ProbeRecord record = ReadRecord(m_record);
    EXPECT_EQ(record.commandLine, "\"" + program + "\" /regserver");
    EXPECT_EQ(CurrentFolder(), m_startFolder);
}

}  // namespace
}  // namespace setup::engine::testing
