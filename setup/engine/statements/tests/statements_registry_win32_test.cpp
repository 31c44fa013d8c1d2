#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

#include "core/unique_handle.h"
#include "setup/engine/statements/statements_convert_path_win32.h"
#include "setup/engine/statements/statements_registry_win32.h"
#include "setup/engine/system/file_utils_win32.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

// A scratch key under HKEY_CURRENT_USER, removed with everything below it at the end.
class Win32RegistryStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        m_path = "Software\\StatementsTest" + std::to_string(::GetCurrentProcessId());
        RegisterRegistryStatements(handlers, Win32SystemStatementServices());
        RegisterConvertPathStatement(handlers, *Win32SystemStatementServices().wow64);
        SetVariable("KEY", m_path, "test");
    }
    void TearDown() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
        StatementTest::TearDown();
    }

    core::UniqueKey Create(const std::string& subPath)
    {
        core::UniqueKey key;
        const std::string path = subPath.empty() ? m_path : m_path + "\\" + subPath;
        EXPECT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, key.Put(), nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    bool Exists(const std::string& subPath)
    {
        core::UniqueKey key;
        const std::string path = subPath.empty() ? m_path : m_path + "\\" + subPath;
        return ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Put()) ==
               ERROR_SUCCESS;
    }

    std::string m_path;
};

void SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size)
{
    ASSERT_EQ(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
}

TEST_F(Win32RegistryStatementTest, EveryValueTypeThroughBothReads)
{
    const core::UniqueKey key = Create("");
    const DWORD allBits = 0xFFFFFFFF;
    const DWORD answer = 42;
    const unsigned long long wide = 7;
    SetValue(key.Get(), "Text", REG_SZ, "hello", 6);
    SetValue(key.Get(), "Empty", REG_SZ, "", 1);
    SetValue(key.Get(), "Expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    SetValue(key.Get(), "Answer", REG_DWORD, &answer, 4);
    SetValue(key.Get(), "AllBits", REG_DWORD, &allBits, 4);
    SetValue(key.Get(), "Binary", REG_BINARY, "\x01\x02", 2);
    SetValue(key.Get(), "Multi", REG_MULTI_SZ, "a\0b\0", 5);
    SetValue(key.Get(), "Wide", REG_QWORD, &wide, 8);
    SetValue(key.Get(), "", REG_SZ, "default", 8);

    struct Case
    {
        const char* name;
        const char* read;
        const char* check;
    };
    const Case cases[] = {
        {"Text", "hello", "hello"},
        {"Empty", "", ""},
        {"Expand", "%TEMP%\\x", "%TEMP%\\x"},
        {"Answer", "42", "42"},
        {"AllBits", "-1", "-1"},
        {"Binary", "", "BINARY$VALUE"},
        {"Multi", "", "UNKNOWN$TYPE"},
        {"Wide", "", "UNKNOWN$TYPE"},
        {"", "default", "default"},
        {"Missing", "", "NO$VALUE"},
    };
    for (const Case& c : cases) {
        Run({std::string("Read Registry|READ|1|$KEY$|") + c.name,
             std::string("Check Registry|CHECK|1|\\$KEY$|") + c.name});
        EXPECT_EQ(GetVariable("READ"), c.read) << c.name;
        EXPECT_EQ(GetVariable("CHECK"), c.check) << c.name;
    }
    Run({"Check Registry|CHECK|1|$KEY$\\Missing|Text"});
    EXPECT_EQ(GetVariable("CHECK"), "NO$KEY");
    // Outside WOW64 a 64-bit target reads the same key.
    engine.TargetPlatform = "x64";
    Run({"Check Registry|CHECK|1|$KEY$|Answer"});
    EXPECT_EQ(GetVariable("CHECK"), "42");
}

TEST_F(Win32RegistryStatementTest, ValueAndTreeDeletion)
{
    const core::UniqueKey key = Create("");
    SetValue(key.Get(), "Gone", REG_SZ, "x", 2);
    SetValue(key.Get(), "Kept", REG_SZ, "y", 2);
    Create("A\\B\\C").Reset();
    Create("A\\D").Reset();

    Run({"Delete Registry|1|$KEY$|Gone|FALSE", "Delete Registry|1|$KEY$\\Absent|Kept|FALSE",
         "Delete Registry|7|$KEY$\\A|Kept|TRUE"});
    Run({"Check Registry|GONE|1|$KEY$|Gone", "Check Registry|KEPT|1|$KEY$|Kept"});
    EXPECT_EQ(GetVariable("GONE"), "NO$VALUE");
    EXPECT_EQ(GetVariable("KEPT"), "y");
    EXPECT_TRUE(Exists("A\\B\\C"));

    Run({"Delete Registry|1|$KEY$\\A|Kept|TRUE"});
    EXPECT_FALSE(Exists("A"));
    EXPECT_TRUE(Exists(""));
}

TEST_F(Win32RegistryStatementTest, DeleteRegistryKey64RemovesTheWholeSubTree)
{
    Create("T\\U\\V").Reset();
    Create("T\\W").Reset();
    EXPECT_TRUE(DeleteRegistryKey64(HKEY_CURRENT_USER, m_path + "\\T"));
    EXPECT_FALSE(Exists("T"));
    EXPECT_TRUE(Exists(""));
    EXPECT_FALSE(DeleteRegistryKey64(HKEY_CURRENT_USER, m_path + "\\T"));
    EXPECT_FALSE(DeleteRegistryKey64(HKEY_CURRENT_USER, "NoParentKey"));
    EXPECT_EQ(RegistryRootKey(5), nullptr);
}

TEST_F(Win32RegistryStatementTest, GetEnvironmentReadsTheProcessEnvironment)
{
    ASSERT_TRUE(::SetEnvironmentVariableA("STATEMENTS_TEST_VALUE", "abc"));
    ::SetEnvironmentVariableA("STATEMENTS_TEST_UNSET", nullptr);
    Run({"Get Environment|STATEMENTS_TEST_VALUE|$value$",
         "Get Environment|STATEMENTS_TEST_UNSET|UNSET", "Get Environment||ALL"});
    EXPECT_EQ(GetVariable("VALUE"), "abc");
    EXPECT_EQ(GetVariable("UNSET"), "%STATEMENTS_TEST_UNSET%");
    const std::string all = GetVariable("ALL");
    EXPECT_NE(all.find("STATEMENTS_TEST_VALUE=abc"), std::string::npos);
    EXPECT_EQ(all.find('\0'), std::string::npos);
    EXPECT_FALSE(all.ends_with("$NEWLINE$"));
    ::SetEnvironmentVariableA("STATEMENTS_TEST_VALUE", nullptr);
}

TEST_F(Win32RegistryStatementTest, ConvertPathShortAndLongForms)
{
    char temp[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, temp), 0u);
    const std::string longPath = std::string(temp) + "statements long file name.text";
    std::ofstream(longPath) << "x";
    SetVariable("P", longPath, "test");
    Run({"Convert Path|P|TRUE"});
    const std::string shortPath = GetVariable("P");
    EXPECT_EQ(shortPath, GetShortPath(longPath));
    Run({"Convert Path|$P$|FALSE"});
    EXPECT_EQ(GetVariable("P"), GetLongPath(longPath));
    ::DeleteFileA(longPath.c_str());
}

}  // namespace
}  // namespace setup::engine::testing
