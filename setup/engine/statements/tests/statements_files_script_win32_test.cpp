// The file, text-file and process statements as the interpreter runs them from a compiled script.
#include <gtest/gtest.h>

#include <windows.h>

#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/statements/statements_text_files.h"
#include "setup/engine/testing/interpreter_test_support.h"
#include "tests/support/scratch_folder_win32.h"

namespace setup::engine::testing {
namespace {

using testsupport::ScratchFolder;
using testsupport::TestProgramFolder;

class FileScriptTest : public InterpreterTest
{
protected:
    void SetUp() override
    {
        InterpreterTest::SetUp();
        ASSERT_TRUE(rtl::InitGuiThread());
    }
    void TearDown() override
    {
        CloseOpenTextFile(engine);
        rtl::DoneGuiThread();
        InterpreterTest::TearDown();
    }
    ScratchFolder scratch;
};

TEST_F(FileScriptTest, StatementsRunFromAScript)
{
    const std::string dir = scratch.NarrowPath();
    const std::string bin = TestProgramFolder();
    char program[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string programName = std::string(program).substr(bin.size());
    Run({"Write to Text File|" + dir + "list.txt|two|FALSE",
         "Write to Text File|" + dir + "list.txt|one|TRUE",
         "Read from Text File|" + dir + "list.txt|LINE|END", "Record|$LINE$ $END$",
         "Find All Files|" + dir + "*.txt|FALSE|FALSE|$FOUND$", "Record|$FOUND$",
         "Check Process|" + programName + "|RUN", "Check Service|NoSuchServiceHere||SERVICE",
         "Get File Version|" + bin + "setup_version_fixture.dll|VERSION",
         "Record|$RUN$ $SERVICE$ $VERSION$", "Delete Files Recursive|" + dir + "*.txt",
         "Does File/Folder Exist|GONE|" + dir + "list.txt|TRUE", "Record|$GONE$"});
    EXPECT_TRUE(host.errors.empty()) << host.errors.front();
    EXPECT_EQ(recorded, (std::vector<std::string>{"one FALSE", dir + "list.txt",
                                                  "TRUE NOTINSTALLED 1.2.3.4", "FALSE"}));
}

TEST_F(FileScriptTest, AMalformedVersionTextEndsTheRunAsAFailingStatement)
{
    Run({"Check File Version|NEWER|" + TestProgramFolder() + "setup_version_fixture.dll|FALSE||a.1",
         "Record|not reached"});
    EXPECT_TRUE(recorded.empty());
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_NE(host.errors[0].find("'a' is not a valid integer value"), std::string::npos)
        << host.errors[0];
}

}  // namespace
}  // namespace setup::engine::testing
