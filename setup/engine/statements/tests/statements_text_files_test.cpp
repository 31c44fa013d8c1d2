#include "setup/engine/statements/statements_text_files.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "setup/engine/testing/latin1_codec.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

class NoWow64 : public IWow64Services
{
public:
    bool IsWow64() override { return false; }
    bool DisableRedirection(void*&) override { return true; }
    bool RevertRedirection(void*) override { return true; }
};

// Files by exact path; a path in `locked` exists but cannot be read or written.
class FakeTextFiles : public ITextFileSystem
{
public:
    std::map<std::string, std::string> files;
    std::set<std::string> locked;
    std::vector<std::string> iniCalls;
    std::vector<std::string> writes;  // "write <path>" or "append <path>"
    int reads = 0;

    TextFileRead ReadFile(const std::string& path) override
    {
        ++reads;
        if (locked.count(path))
            return {true, false, {}};
        const auto found = files.find(path);
        if (found == files.end())
            return {};
        return {true, true, found->second};
    }
    bool WriteFile(const std::string& path, const std::string& bytes) override
    {
        writes.push_back("write " + path);
        if (locked.count(path))
            return false;
        files[path] = bytes;
        return true;
    }
    bool AppendFile(const std::string& path, const std::string& bytes) override
    {
        writes.push_back("append " + path);
        if (locked.count(path) || !files.count(path))
            return false;
        files[path] += bytes;
        return true;
    }
    std::string ReadIniValue(const std::string& file, const std::string& section,
                             const std::string& key) override
    {
        iniCalls.push_back(file + "|" + section + "|" + key);
        return section == "Main" && key == "Name" ? "Value" : "";
    }
    IAnsiCodec& Codec() override { return m_codec; }

private:
    Latin1Codec m_codec;
};

class TextFileStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        CloseOpenTextFile(engine);
        RegisterTextFileStatements(handlers, {&wow64, &files});
    }
    void TearDown() override
    {
        CloseOpenTextFile(engine);
        StatementTest::TearDown();
    }
    // One read of the path: the line and end variables after it.
    std::pair<std::string, std::string> Read(const std::string& path)
    {
        Run({"Read from Text File|" + path + "|LINE|END"});
        return {GetVariable("LINE"), GetVariable("END")};
    }

    NoWow64 wow64;
    FakeTextFiles files;
};

using Step = std::pair<std::string, std::string>;

TEST_F(TextFileStatementTest, ReadsLineByLineAndStartsAgainAfterTheEnd)
{
    files.files["C:\\t.txt"] = "one\r\ntwo\nthree\r\n";
    const std::vector<Step> expected = {
        {"one", "FALSE"}, {"two", "FALSE"}, {"three", "TRUE"}, {"one", "FALSE"}};
    for (const Step& step : expected)
        EXPECT_EQ(Read("C:\\t.txt"), step);
    EXPECT_EQ(OpenTextFilePath(engine), "C:\\t.txt");
    // The same file under another letter case is the open one; another file closes it.
    EXPECT_EQ(Read("c:\\T.TXT"), (Step{"two", "FALSE"}));
    files.files["C:\\other.txt"] = "x";
    EXPECT_EQ(Read("C:\\other.txt"), (Step{"x", "TRUE"}));
    EXPECT_EQ(OpenTextFilePath(engine), "");
    EXPECT_EQ(Read("C:\\t.txt"), (Step{"one", "FALSE"}));
}

TEST_F(TextFileStatementTest, EmptyMissingAndLockedFilesEndAtOnce)
{
    files.files["C:\\empty.txt"] = "";
    files.locked.insert("C:\\locked.txt");
    for (const char* path : {"C:\\empty.txt", "C:\\missing.txt", "C:\\locked.txt"}) {
        SetVariable("LINE", "kept", "test");
        SetVariable("END", "FALSE", "test");
        EXPECT_EQ(Read(path), (Step{"kept", "TRUE"})) << path;
        EXPECT_EQ(OpenTextFilePath(engine), "") << path;
    }
    // Without an end variable only the line variable is made.
    Run({"Read from Text File|C:\\missing.txt|$other$|"});
    EXPECT_TRUE(VariableExists("OTHER"));
}

TEST_F(TextFileStatementTest, ReadAllJoinsTheRestOfTheFile)
{
    files.files["C:\\t.txt"] = "a\r\nb\r\nc\r\n";
    EXPECT_EQ(Read("#READALL\\C:\\t.txt"), (Step{"a$NEWLINE$b$NEWLINE$c", "TRUE"}));
    // After one line has been read the rest follows; the prefix is case-sensitive.
    EXPECT_EQ(Read("C:\\t.txt"), (Step{"a", "FALSE"}));
    EXPECT_EQ(Read("#READALL\\C:\\t.txt"), (Step{"b$NEWLINE$c", "TRUE"}));
    SetVariable("LINE", "kept", "test");
    EXPECT_EQ(Read("#readall\\C:\\t.txt"), (Step{"kept", "TRUE"}));
}

TEST_F(TextFileStatementTest, WritingTheOpenFileClosesItAndTheNextReadSeesTheLine)
{
    files.files["C:\\t.txt"] = "one\ntwo\n";
    EXPECT_EQ(Read("C:\\t.txt"), (Step{"one", "FALSE"}));
    SetVariable("WORD", "three", "test");
    Run({"Write to Text File|C:\\\\t.txt|$WORD$ $NEWLINE$|FALSE"});
    EXPECT_EQ(OpenTextFilePath(engine), "");
    EXPECT_EQ(files.files["C:\\t.txt"], "one\ntwo\nthree $NEWLINE$\n");
    EXPECT_EQ(Read("C:\\t.txt"), (Step{"one", "FALSE"}));
    Run({"Write to Text File|C:\\new.txt|first|TRUE", "Write to Text File|C:\\new.txt|zero|true"});
    EXPECT_EQ(files.files["C:\\new.txt"], "zero\r\nfirst\r\n");
    // Only a line at the end of a file with contents is appended; the others rewrite it.
    EXPECT_EQ(files.writes, (std::vector<std::string>{"append C:\\t.txt", "write C:\\new.txt",
                                                      "write C:\\new.txt"}));
}

TEST_F(TextFileStatementTest, AnUnreadableFileIsNotReplaced)
{
    files.locked.insert("C:\\locked.txt");
    Run({"Write to Text File|C:\\locked.txt|line|FALSE"});
    EXPECT_EQ(files.files.count("C:\\locked.txt"), 0u);
}

TEST_F(TextFileStatementTest, IniValuesAskWindowsOnlyWithSectionAndKey)
{
    struct Case
    {
        const char* section;
        const char* key;
        const char* expected;
        bool asked;
    };
    const Case cases[] = {
        {"Main", "Name", "Value", true},
        {"Main", "Other", "", true},
        {"Main", "", "", false},
        {"", "Name", "", false},
    };
    for (const Case& c : cases) {
        files.iniCalls.clear();
        SetVariable("V", "old", "test");
        Run({std::string("Get INI File Settings|$V$|C:\\\\a.ini|") + c.section + "|" + c.key});
        EXPECT_EQ(GetVariable("V"), c.expected) << c.section << "/" << c.key;
        EXPECT_EQ(files.iniCalls.size(), c.asked ? 1u : 0u) << c.section << "/" << c.key;
    }
    EXPECT_EQ(files.iniCalls, std::vector<std::string>{});
    Run({"Get INI File Settings|V|C:\\\\a.ini|Main|Name"});
    EXPECT_EQ(files.iniCalls, std::vector<std::string>{"C:\\a.ini|Main|Name"});
}

}  // namespace
}  // namespace setup::engine::testing
