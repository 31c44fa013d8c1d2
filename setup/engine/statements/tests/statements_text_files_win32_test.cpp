#include "setup/engine/statements/statements_text_files_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "setup/engine/statements/statements_registry_win32.h"
#include "setup/engine/testing/statements_test_support.h"
#include "tests/support/scratch_folder_win32.h"

namespace setup::engine::testing {
namespace {

using testsupport::ScratchFolder;

class Win32TextFileStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        CloseOpenTextFile(engine);
        RegisterTextFileStatements(
            handlers, Win32TextFileStatementServices(*Win32SystemStatementServices().wow64));
        SetVariable("DIR", scratch.NarrowPath(), "test");
    }
    void TearDown() override
    {
        CloseOpenTextFile(engine);
        StatementTest::TearDown();
    }
    std::pair<std::string, std::string> Read(const std::string& name)
    {
        Run({"Read from Text File|$DIR$" + name + "|LINE|END"});
        return {GetVariable("LINE"), GetVariable("END")};
    }

    ScratchFolder scratch;
};

using Step = std::pair<std::string, std::string>;

std::string Utf16Le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST_F(Win32TextFileStatementTest, ReadWriteSequencesKeepEachFileItsForm)
{
    struct Case
    {
        const char* name;
        std::string before;
        std::string after;  // after one line appended and one put first
    };
    const Case cases[] = {
        {"crlf.txt", "one\r\ntwo\r\n", "first\r\none\r\ntwo\r\nlast\r\n"},
        {"lf.txt", "one\ntwo", "first\none\ntwo\nlast"},
        {"utf16.txt", Utf16Le(u"one\r\ntwo\r\n"), Utf16Le(u"first\r\none\r\ntwo\r\nlast\r\n")},
    };
    for (const Case& c : cases) {
        scratch.Write(c.name, c.before);
        EXPECT_EQ(Read(c.name), (Step{"one", "FALSE"})) << c.name;
        Run({std::string("Write to Text File|$DIR$") + c.name + "|last|FALSE"});
        // The write closed the file: reading starts again.
        EXPECT_EQ(Read(c.name), (Step{"one", "FALSE"})) << c.name;
        Run({std::string("Write to Text File|$DIR$") + c.name + "|first|TRUE"});
        EXPECT_EQ(scratch.Read(c.name), c.after) << c.name;
        const std::vector<Step> expected = {
            {"first", "FALSE"}, {"one", "FALSE"}, {"two", "FALSE"}, {"last", "TRUE"}};
        for (const Step& step : expected)
            EXPECT_EQ(Read(c.name), step) << c.name;
    }
}

TEST_F(Win32TextFileStatementTest, ReadAllAndFilesThatAreNotThere)
{
    scratch.Write("abc.txt", "a\r\nb\r\nc");
    Run({"Read from Text File|#READALL\\$DIR$abc.txt|ALL|END"});
    EXPECT_EQ(GetVariable("ALL"), "a$NEWLINE$b$NEWLINE$c");
    EXPECT_EQ(GetVariable("END"), "TRUE");
    SetVariable("LINE", "kept", "test");
    EXPECT_EQ(Read("missing.txt"), (Step{"kept", "TRUE"}));
    EXPECT_EQ(Read("nofolder\\missing.txt"), (Step{"kept", "TRUE"}));
    Run({"Write to Text File|$DIR$created.txt|only|TRUE"});
    EXPECT_EQ(scratch.Read("created.txt"), "only\r\n");
}

TEST_F(Win32TextFileStatementTest, AReadOnlyFileBecomesWritable)
{
    const std::string path = scratch.Write("ro.txt", "a\r\n");
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    Run({"Write to Text File|$DIR$ro.txt|b|FALSE"});
    EXPECT_EQ(scratch.Read("ro.txt"), "a\r\nb\r\n");
}

TEST_F(Win32TextFileStatementTest, IniValues)
{
    scratch.Write("a.ini", "[Main]\r\nName=Value\r\nEmpty=\r\n[Other]\r\nName=Second\r\n");
    struct Case
    {
        const char* file;
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"a.ini", "Main", "Name", "Value"},   {"a.ini", "main", "NAME", "Value"},
        {"a.ini", "Other", "Name", "Second"}, {"a.ini", "Main", "Empty", ""},
        {"a.ini", "Main", "Missing", ""},     {"a.ini", "None", "Name", ""},
        {"b.ini", "Main", "Name", ""},        {"a.ini", "Main", "", ""},
    };
    for (const Case& c : cases) {
        SetVariable("V", "old", "test");
        Run({std::string("Get INI File Settings|V|$DIR$") + c.file + "|" + c.section + "|" +
             c.key});
        EXPECT_EQ(GetVariable("V"), c.expected) << c.file << " " << c.section << " " << c.key;
    }
}

}  // namespace
}  // namespace setup::engine::testing
