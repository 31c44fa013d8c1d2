// The state file and the free-space query against the real Windows calls.
#include "setup/engine/components/components_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/statements/statements_variables.h"
#include "setup/engine/system/file_utils_win32.h"
#include "setup/engine/testing/variable_names.h"

namespace setup::engine {
namespace {

// A scratch folder under the test's working folder (inside the build tree).
class ComponentsSystemTest : public ::testing::Test, protected testing::VariableNames
{
protected:
    void SetUp() override
    {
        char current[MAX_PATH];
        ::GetCurrentDirectoryA(MAX_PATH, current);
        m_root = IncludeBackslash(current) + "components_scratch_" +
                 std::to_string(::GetCurrentProcessId()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(::CreateDirectoryA(m_root.c_str(), nullptr));
    }
    void TearDown() override
    {
        DeleteFolderTree(m_root, true);
        ::RemoveDirectoryA(m_root.c_str());
    }
    ScriptVariables& RunVariables() override { return m_variables; }
    std::string Path(const std::string& name) const { return m_root + "\\" + name; }
    static std::string Content(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    IStateFileStore& store = SystemStateFileStore();
    std::string m_root;
    ScriptVariables m_variables;
    rtl::TStringList& PersistedVariables = m_variables.PersistedVariables;
};

TEST_F(ComponentsSystemTest, ReplaceMovesTheNewFileOverTheOldOneInOneStep)
{
    const std::string target = Path("state.dat");
    const std::string source = Path("state.dat.dat");
    store.WriteText(target, "old\r\n");
    store.WriteText(source, "new\r\n");
    EXPECT_TRUE(store.Exists(target));
    EXPECT_FALSE(store.Exists(m_root));  // a folder is not a state file

    store.Replace(source, target);
    EXPECT_EQ(store.ReadText(target), "new\r\n");
    EXPECT_FALSE(store.Exists(source));

    // Nothing to move: the target stays as it was.
    EXPECT_THROW(store.Replace(source, target), rtl::EInOutError);
    EXPECT_EQ(store.ReadText(target), "new\r\n");
    EXPECT_THROW(store.ReadText(source), rtl::EFOpenError);
}

TEST_F(ComponentsSystemTest, UpdateModeRewritesARealFile)
{
    const std::string path = Path("setup.dat");
    store.WriteText(path,
                    "A\r\n$\r\nTRUE\r\n$\r\n$\r\n$\r\n$\r\nA\r\n5\r\n$\r\nC:\\T\\\r\nTRUE\r\n"
                    "Menu\r\nDATA\r\nOLD\r\nx\r\n");
    SetVariable("SERIAL", "7", "test");
    PersistedVariables = {"SERIAL"};
    ComponentModel model;
    ComponentStateSave options;
    options.fullWrite = false;
    SaveComponentState(store, model, m_variables, path, options);
    EXPECT_EQ(Content(path),
              "A\r\n$\r\nTRUE\r\n$\r\n$\r\n$\r\n$\r\nA\r\n5\r\n$\r\nC:\\T\\\r\nTRUE\r\n"
              "Menu\r\nDATA\r\nSERIAL\r\n7\r\nTARQ64WOW\r\nWin32\r\nOVERRIDECACHE\r\n\r\n");
    EXPECT_FALSE(store.Exists(path + ".dat"));
}

TEST_F(ComponentsSystemTest, TheDataFolderIsWrittenInItsShortForm)
{
    const std::string folder = Path("A long data folder name");
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    const std::string shortForm = store.ShortPath(folder);
    EXPECT_FALSE(shortForm.empty());
    EXPECT_EQ(GetLongPath(shortForm), GetLongPath(folder));
}

TEST(ComponentsSystemDisk, FreeSpaceOfTheSystemDrive)
{
    const std::optional<std::int64_t> bytes = SystemDiskSpace().AvailableBytes("C:\\");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_GT(*bytes, 0);
}

}  // namespace
}  // namespace setup::engine
