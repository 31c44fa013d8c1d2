#include "setup/engine/statements/statements_files_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/statements/statements_registry_win32.h"
#include "setup/engine/testing/fake_file_system.h"
#include "setup/engine/testing/statements_test_support.h"
#include "tests/support/scratch_folder_win32.h"

namespace setup::engine::testing {
namespace {

using testsupport::ScratchFolder;
using testsupport::TestProgramFolder;

class Win32FileStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        ASSERT_TRUE(rtl::InitGuiThread());
        RegisterFileStatements(handlers,
                               Win32FileStatementServices(*Win32SystemStatementServices().wow64));
        SetVariable("DIR", ExcludeTrailing(scratch.NarrowPath()), "test");
        SetVariable("BIN", ExcludeTrailing(TestProgramFolder()), "test");
    }
    void TearDown() override
    {
        rtl::DoneGuiThread();
        StatementTest::TearDown();
    }
    static std::string ExcludeTrailing(const std::string& path)
    {
        return path.substr(0, path.size() - 1);
    }

    ScratchFolder scratch;
};

TEST_F(Win32FileStatementTest, VersionsFromLibrariesWithAndWithoutAResource)
{
    Run({"Get File Version|$BIN$\\setup_version_fixture.dll|VERSIONED",
         "Get File Version|$BIN$\\setup_plain_fixture.dll|$PLAIN$",
         "Get File Version|$BIN$\\missing.dll|MISSING"});
    EXPECT_EQ(GetVariable("VERSIONED"), "1.2.3.4");  // the fixed information, not the text
    EXPECT_EQ(GetVariable("PLAIN"), "0.0.0.0");
    EXPECT_EQ(GetVariable("MISSING"), "0.0.0.0");

    struct Case
    {
        const char* a;
        const char* againstFile;
        const char* b;
        const char* expected;
    };
    const Case cases[] = {
        {"setup_version_fixture", "FALSE", "1.2.3.4", "FALSE"},
        {"setup_version_fixture", "FALSE", "1.2.3", "TRUE"},
        {"setup_version_fixture", "FALSE", "1.2.4", "FALSE"},
        {"setup_version_fixture", "TRUE", "$BIN$\\setup_plain_fixture.dll", "TRUE"},
        {"setup_plain_fixture", "TRUE", "$BIN$\\setup_version_fixture.dll", "FALSE"},
        {"setup_plain_fixture", "FALSE", "0.0.0.1", "FALSE"},
    };
    for (const Case& c : cases) {
        const bool file = std::string(c.againstFile) == "TRUE";
        Run({std::string("Check File Version|NEWER|$BIN$\\") + c.a + ".dll|" + c.againstFile + "|" +
             (file ? c.b : "") + "|" + (file ? "" : c.b)});
        EXPECT_EQ(GetVariable("NEWER"), c.expected) << c.a << " vs " << c.b;
    }
}

TEST_F(Win32FileStatementTest, ExistenceAndTemporaryFiles)
{
    scratch.Make("folder");
    scratch.Write("file.txt", "x");
    struct Case
    {
        const char* path;
        const char* testFile;
        const char* expected;
    };
    const Case cases[] = {
        {"file.txt", "TRUE", "TRUE"}, {"file.txt", "FALSE", "FALSE"}, {"folder", "TRUE", "FALSE"},
        {"folder", "FALSE", "TRUE"},  {"none", "TRUE", "FALSE"},      {"*.txt", "TRUE", "FALSE"},
    };
    for (const Case& c : cases) {
        Run({std::string("Does File/Folder Exist|FOUND|$DIR$\\") + c.path + "|" + c.testFile});
        EXPECT_EQ(GetVariable("FOUND"), c.expected) << c.path << " " << c.testFile;
    }

    engine.process.tempDir = scratch.NarrowPath();
    Run({"Get Temporary File|$first$", "Get Temporary File|SECOND"});
    const std::string first = GetVariable("FIRST");
    EXPECT_EQ(first.rfind(scratch.NarrowPath() + "qbr", 0), 0u) << first;
    EXPECT_EQ(first.substr(first.size() - 4), ".tmp");
    EXPECT_EQ(scratch.Read(first.substr(scratch.NarrowPath().size())), "");
    EXPECT_NE(first, GetVariable("SECOND"));

    engine.process.tempDir = scratch.NarrowPath() + "missing\\";
    Run({"Get Temporary File|FIRST"});
    EXPECT_EQ(GetVariable("FIRST"), "");
}

TEST_F(Win32FileStatementTest, FindAllFilesOnItsWorkerThread)
{
    // One folder and one matching file per folder: the order does not depend on the directory.
    scratch.Make("My Data\\S\\T");
    scratch.Write("My Data\\S\\T\\a b.txt", "");
    scratch.Write("My Data\\S\\c.doc", "");
    scratch.Write("My Data\\top.txt", "");
    const std::string root = scratch.NarrowPath() + "My Data\\";
    Run({"Find All Files|$DIR$\\My Data\\*.txt|TRUE|TRUE|ALL",
         "Find All Files|$DIR$\\My Data\\*.txt|FALSE|FALSE|$OWN$",
         "Find All Files|$DIR$\\Missing\\*.*|TRUE|TRUE|NONE"});
    EXPECT_EQ(GetVariable("ALL"), "\"" + root + "S\\T\\a b.txt\"|\"" + root + "S\\T\"|\"" + root +
                                      "S\"|\"" + root + "top.txt\"");
    EXPECT_EQ(GetVariable("OWN"), "\"" + root + "top.txt\"");
    EXPECT_EQ(GetVariable("NONE"), "");
    // The worker published its last file as the progress text.
    EXPECT_EQ(GetVariable("TARQ_thProgressText"), root + "top.txt");
}

// Blocks the search in one folder until the user's cancel has been seen by the wait.
class CancelHost : public FakeStatementHost
{
public:
    std::atomic<int> checks{0};
    std::atomic<bool> cancel{false};
    int CheckCancel() override
    {
        ++checks;
        return cancel ? -1 : 1;
    }
};

class BlockingFileSystem : public FakeFileSystem
{
public:
    explicit BlockingFileSystem(CancelHost& host) : m_host(host) {}
    std::vector<FileEntry> List(const std::string& pattern) override
    {
        if (pattern.starts_with("C:\\X\\b\\") && !m_blocked.exchange(true)) {
            m_host.cancel = true;
            const int before = m_host.checks;
            rtl::WakeMainThread();
            for (int i = 0; i < 500 && m_host.checks == before; ++i)
                ::Sleep(10);
            ::Sleep(100);  // the wait asks the thread to stop right after the check
        }
        return FakeFileSystem::List(pattern);
    }

private:
    CancelHost& m_host;
    std::atomic<bool> m_blocked{false};
};

TEST(FindAllFilesWorker, ACancelDuringTheSearchKeepsThePartialList)
{
    ASSERT_TRUE(rtl::InitGuiThread());
    CancelHost host;
    BlockingFileSystem fs(host);
    fs.AddFolder("C:");
    fs.AddFolder("C:\\X");
    for (const char* name : {"a", "b", "c"}) {
        fs.AddFolder(std::string("C:\\X\\") + name);
        fs.AddFile(std::string("C:\\X\\") + name + "\\f.txt");
    }
    SearchProgress progress;
    ScriptVariables variables;
    const std::vector<std::string> found =
        Win32FindAllFilesWorker().Run(fs, {"C:\\X\\*.*", true, false, &progress, &variables},
                                      [&host] { return host.CheckCancel(); });
    // b's own file is found before the stop is noticed; c is never searched.
    EXPECT_EQ(found, (std::vector<std::string>{"C:\\X\\a\\f.txt", "C:\\X\\b\\f.txt"}));
    rtl::DoneGuiThread();
}

TEST_F(Win32FileStatementTest, RecursiveDeleteEmptiesNestedFoldersAndKeepsTheRoot)
{
    scratch.Make("X\\A\\B\\C");
    scratch.Make("X\\Keep");
    const std::string readOnly = scratch.Write("X\\A\\B\\ro.tmp", "r");
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    scratch.Write("X\\top.tmp", "t");
    scratch.Write("X\\Keep\\kept.doc", "k");
    Run({"Delete Files Recursive|$DIR$\\\\X\\*.tmp"});
    Run({"Find All Files|$DIR$\\X\\*.*|TRUE|TRUE|LEFT"});
    const std::string x = scratch.NarrowPath() + "X\\";
    EXPECT_EQ(GetVariable("LEFT"), x + "Keep\\kept.doc|" + x + "Keep");
    Run({"Delete Files Recursive|$DIR$\\X\\*.*", "Find All Files|$DIR$\\X\\*.*|TRUE|TRUE|LEFT",
         "Does File/Folder Exist|ROOT|$DIR$\\X|FALSE"});
    EXPECT_EQ(GetVariable("LEFT"), "");
    EXPECT_EQ(GetVariable("ROOT"), "TRUE");
}

}  // namespace
}  // namespace setup::engine::testing
