#include "setup/engine/statements/statements_files.h"

#include <gtest/gtest.h>

#include <map>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/testing/fake_file_system.h"
#include "setup/engine/testing/statements_test_support.h"
#include "setup/engine/workers/worker_protocol.h"

namespace setup::engine::testing {
namespace {

class RecordingWow64 : public IWow64Services
{
public:
    std::vector<std::string> calls;
    bool IsWow64() override { return true; }
    bool DisableRedirection(void*& oldValue) override
    {
        calls.push_back("disable");
        oldValue = nullptr;
        return true;
    }
    bool RevertRedirection(void*) override
    {
        calls.push_back("revert");
        return true;
    }
};

class FakeFileFacts : public IFileFacts
{
public:
    std::map<std::string, std::uint32_t> attributes;
    std::map<std::string, FileVersion> versions;
    std::string tempFile;
    std::vector<std::string> tempRequests;

    std::optional<std::uint32_t> GetAttributes(const std::string& path) override
    {
        const auto found = attributes.find(path);
        if (found == attributes.end())
            return std::nullopt;
        return found->second;
    }
    FileVersion GetFileVersionParts(const std::string& path) override
    {
        const auto found = versions.find(path);
        return found == versions.end() ? FileVersion{} : found->second;
    }
    std::string CreateTempFile(const std::string& folder, const std::string& prefix) override
    {
        tempRequests.push_back(folder + "|" + prefix);
        return tempFile;
    }
};

FileVersion Version(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    return {true, a, b, c, d};
}

// The search on the calling thread, noting whether the engine's busy flag was up meanwhile.
class BusyNotingWorker : public IFindAllFilesWorker
{
public:
    std::vector<bool> busyDuringRun;
    const WorkerFlags* flags = nullptr;

    std::vector<std::string> Run(IFileSystemView& fs, const FindAllFilesRequest& request,
                                 const std::function<int()>& checkCancel) override
    {
        busyDuringRun.push_back(flags->busy);
        return m_inner.Run(fs, request, checkCancel);
    }

private:
    InlineFindAllFilesWorker m_inner;
};

class FileStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        engine.TargetPlatform = "x64";
        engine.process.tempDir = "C:\\Temp\\";
        services = {&wow64, &fs, &facts, &worker};
        worker.flags = &engine.Parts.Get<WorkerFlags>();
        RegisterFileStatements(handlers, services);
    }

    RecordingWow64 wow64;
    FakeFileSystem fs;
    FakeFileFacts facts;
    BusyNotingWorker worker;
    FileStatementServices services;
};

TEST_F(FileStatementTest, ExistenceOfFilesAndFolders)
{
    facts.attributes = {{"C:\\file.txt", kAttributeNormal},
                        {"C:\\folder", kAttributeDirectory},
                        {"C:\\ro", kAttributeReadOnly}};
    struct Case
    {
        const char* path;
        const char* testFile;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\file.txt", "TRUE", "TRUE"}, {"C:\\file.txt", "FALSE", "FALSE"},
        {"C:\\folder", "TRUE", "FALSE"},  {"C:\\folder", "", "TRUE"},
        {"C:\\missing", "TRUE", "FALSE"}, {"C:\\missing", "FALSE", "FALSE"},
        {"C:\\\\ro", "true", "TRUE"},     {"C:\\*.txt", "TRUE", "FALSE"},
    };
    for (const Case& c : cases) {
        Run({std::string("Does File/Folder Exist|$found$|") + c.path + "|" + c.testFile});
        EXPECT_EQ(GetVariable("FOUND"), c.expected) << c.path << " " << c.testFile;
    }
    EXPECT_EQ(wow64.calls.front(), "disable");
    EXPECT_EQ(wow64.calls.back(), "revert");
}

TEST_F(FileStatementTest, VersionTextAndComparisonTable)
{
    facts.versions = {{"C:\\a.dll", Version(1, 2, 3, 4)}, {"C:\\b.dll", Version(1, 2, 3, 3)}};
    Run({"Get File Version|C:\\a.dll|$VA$", "Get File Version|C:\\none.dll|VN"});
    EXPECT_EQ(GetVariable("VA"), "1.2.3.4");
    EXPECT_EQ(GetVariable("VN"), "0.0.0.0");

    struct Case
    {
        const char* a;
        const char* againstFile;
        const char* b;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\a.dll", "FALSE", "1.2.3.4", "FALSE"},
        {"C:\\a.dll", "FALSE", "1.2.3", "TRUE"},
        {"C:\\a.dll", "FALSE", "1.2.3.5", "FALSE"},
        {"C:\\a.dll", "FALSE", "1.10", "FALSE"},
        {"C:\\a.dll", "FALSE", "1.2.3.4.9", "FALSE"},
        {"C:\\a.dll", "FALSE", "0.65535.65535.65535", "TRUE"},
        {"C:\\a.dll", "FALSE", "1.2.3.x", "TRUE"},  // the last field counts as 0
        {"C:\\a.dll", "FALSE", "", "TRUE"},
        {"C:\\a.dll", "FALSE", "70000", "FALSE"},
        {"C:\\none.dll", "FALSE", "0", "FALSE"},
        {"C:\\a.dll", "TRUE", "C:\\b.dll", "TRUE"},
        {"C:\\b.dll", "TRUE", "C:\\a.dll", "FALSE"},
        {"C:\\a.dll", "TRUE", "C:\\a.dll", "FALSE"},
        {"C:\\a.dll", "TRUE", "C:\\none.dll", "TRUE"},
    };
    for (const Case& c : cases) {
        const bool file = std::string(c.againstFile) == "TRUE";
        Run({std::string("Check File Version|NEWER|") + c.a + "|" + c.againstFile + "|" +
             (file ? c.b : "") + "|" + (file ? "" : c.b)});
        EXPECT_EQ(GetVariable("NEWER"), c.expected) << c.a << " vs " << c.b;
    }
}

TEST_F(FileStatementTest, AVersionFieldBeforeADotMustBeANumber)
{
    facts.versions = {{"C:\\a.dll", Version(1, 2, 3, 4)}};
    SetVariable("V", "1.x.3", "test");
    EXPECT_THROW(Run({"Check File Version|NEWER|C:\\a.dll|FALSE||$V$"}), rtl::EConvertError);
    EXPECT_EQ(wow64.calls.back(), "revert");
}

TEST_F(FileStatementTest, TemporaryFileInTheEngineTempFolderOrEmpty)
{
    SetVariable("TMP", "old", "test");
    facts.tempFile = "C:\\Temp\\qbr1A2B.tmp";
    Run({"Get Temporary File|$tmp$"});
    EXPECT_EQ(GetVariable("TMP"), "C:\\Temp\\qbr1A2B.tmp");
    facts.tempFile.clear();
    Run({"Get Temporary File|TMP"});
    EXPECT_EQ(GetVariable("TMP"), "");
    EXPECT_EQ(facts.tempRequests, (std::vector<std::string>{"C:\\Temp\\|qbr", "C:\\Temp\\|qbr"}));
}

TEST_F(FileStatementTest, FindAllFilesJoinsTheResultAndFlagsTheWait)
{
    fs.AddFolder("C:");
    fs.AddFolder("C:\\My Data");
    fs.AddFolder("C:\\My Data\\S");
    fs.AddFile("C:\\My Data\\S\\a.txt");
    fs.AddFile("C:\\My Data\\b.txt");
    SetVariable("ROOT", "C:\\My Data", "test");
    Run({"Find All Files|$ROOT$\\\\*.txt|TRUE|TRUE|$list$",
         "Find All Files|C:\\Missing\\*.*|TRUE|TRUE|NONE"});
    EXPECT_EQ(GetVariable("LIST"),
              "\"C:\\My Data\\S\\a.txt\"|\"C:\\My Data\\S\"|\"C:\\My Data\\b.txt\"");
    EXPECT_EQ(GetVariable("NONE"), "");
    EXPECT_EQ(worker.busyDuringRun, (std::vector<bool>{true, true}));
    EXPECT_FALSE(engine.Parts.Get<WorkerFlags>().busy);
    EXPECT_EQ(wow64.calls, (std::vector<std::string>{"disable", "revert", "disable", "revert"}));
}

TEST_F(FileStatementTest, ACancelledSearchStoresThePathsFoundSoFar)
{
    fs.AddFolder("C:");
    fs.AddFolder("C:\\X");
    for (const char* name : {"a", "b", "c"}) {
        fs.AddFolder(std::string("C:\\X\\") + name);
        fs.AddFile(std::string("C:\\X\\") + name + "\\f.txt");
    }
    host.cancelState = -1;
    Run({"Find All Files|C:\\X\\*.*|TRUE|FALSE|LIST"});
    EXPECT_EQ(GetVariable("LIST"), "C:\\X\\a\\f.txt");
}

TEST_F(FileStatementTest, RecursiveDeleteNormalisesItsPathOnly)
{
    fs.AddFolder("C:");
    fs.AddFolder("C:\\X");
    fs.AddFile("C:\\X\\a.tmp");
    fs.AddFile("C:\\X\\b.txt");
    Run({"Delete Files Recursive|C:\\\\X\\\\*.tmp"});
    EXPECT_FALSE(fs.Exists("C:\\X\\a.tmp"));
    EXPECT_TRUE(fs.Exists("C:\\X\\b.txt"));
    EXPECT_EQ(wow64.calls, (std::vector<std::string>{"disable", "revert"}));
}

}  // namespace
}  // namespace setup::engine::testing
