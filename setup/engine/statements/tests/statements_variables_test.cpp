#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/statements/statements_variables.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

class RecordingProgress : public IProgressRedraw
{
public:
    void RedrawProgress(const std::string& text, std::int32_t position) override
    {
        redraws.emplace_back(text, position);
    }
    std::vector<std::pair<std::string, std::int32_t>> redraws;
};

class VariableStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        m_codePage = rtl::AsciiCodePage();
        m_codePage.upper[0xE4] = 0xC4;
        RegisterVariableStatements(handlers, {&progress, &m_codePage});
    }
    RecordingProgress progress;

private:
    rtl::CodePageFacts m_codePage;
};

TEST_F(VariableStatementTest, SetVariablePersistMarkerVariants)
{
    struct Case
    {
        const char* first;
        const char* name;
        bool persisted;
    };
    const Case cases[] = {
        {"NAME$TARQ$TARQ$TRUE", "NAME", true},
        {"NAME$TARQ$TARQ$FALSE", "NAME", false},
        {"NAME$TARQ$TARQ$true", "NAME", false},  // the flag is compared exactly
        {"NAME$TARQ$TARQ$", "NAME", false},
        {"$Quoted$$TARQ$TARQ$TRUE", "QUOTED", true},
        {"plain", "PLAIN", false},
    };
    for (const Case& c : cases) {
        PersistedVariables.Clear();
        ClearVariables();
        SetVariable("V", "value", "test");
        Run({std::string("Set Variable|") + c.first + "|[$V$]"});
        EXPECT_EQ(GetVariable(c.name), "[value]") << c.first;
        EXPECT_EQ(PersistedVariables.Count(), c.persisted ? 1u : 0u) << c.first;
    }
    // Persisting twice, in another letter case, lists the name once.
    PersistedVariables.Clear();
    Run({"Set Variable|KEEP$TARQ$TARQ$TRUE|1", "Set Variable|keep$TARQ$TARQ$TRUE|2"});
    EXPECT_EQ(PersistedVariables.Count(), 1u);
    EXPECT_EQ(GetVariable("KEEP"), "2");
    EXPECT_TRUE(progress.redraws.empty());
}

TEST_F(VariableStatementTest, ProgressVariablesRedrawThePageAndANonNumberShowsAsZero)
{
    Run({"Set Variable|PROGRESSTEXT|Copying", "Set Variable|$progress$|40",
         "Set Variable|PROGRESS|forty", "Set Variable|PROGRESS|"});
    const std::vector<std::pair<std::string, std::int32_t>> expected = {
        {"Copying", 0}, {"Copying", 40}, {"Copying", 0}, {"Copying", 0}};
    EXPECT_EQ(progress.redraws, expected);
    EXPECT_EQ(GetVariable("PROGRESS"), "");
}

TEST_F(VariableStatementTest, LocalizationVariableTranslatesUnderItsOwnKey)
{
    SetVariable("WHO", "World", "test");
    Run({"Localization Variable|$greeting$|Hello $WHO$"});
    EXPECT_EQ(GetVariable("GREETING"), "Hello World");

    engine.SelectedLanguage = "DE";
    engine.Translations.TitleTranslation.Add("TOOLWORK$GREETING$TOOLWORK");
    engine.Translations.TranslationTexts.Add("Hallo $WHO$");
    Run({"Localization Variable|GREETING|Hello $WHO$"});
    EXPECT_EQ(GetVariable("GREETING"), "Hallo World");
}

TEST_F(VariableStatementTest, ReplaceStringFlags)
{
    struct Case
    {
        const char* ignoreCase;
        const char* all;
        const char* result;
    };
    const Case cases[] = {
        {"FALSE", "FALSE", "a-B-x-b"},
        {"FALSE", "TRUE", "a-B-x-x"},
        {"TRUE", "FALSE", "a-x-b-b"},
        {"-1", "true", "a-x-x-x"},
    };
    for (const Case& c : cases) {
        SetVariable("TEXT", "a-B-b-b", "test");
        SetVariable("FIND", "b", "test");
        Run({std::string("Replace String|$TEXT$|$FIND$|x|") + c.ignoreCase + "|" + c.all});
        EXPECT_EQ(GetVariable("TEXT"), c.result) << c.ignoreCase << " " << c.all;
    }
    // Line breaks in the texts match the stored "$NEWLINE$" form.
    SetVariable("TEXT", "one$NEWLINE$two", "test");
    SetVariable("BREAK", "\r\n", "test");
    Run({"Replace String|TEXT|$BREAK$|, |FALSE|TRUE"});
    EXPECT_EQ(GetVariable("TEXT"), "one, two");
    // An empty pattern leaves the value alone.
    Run({"Replace String|TEXT||x|FALSE|TRUE"});
    EXPECT_EQ(GetVariable("TEXT"), "one, two");
}

TEST_F(VariableStatementTest, ConvertCaseUsesTheCodePageAndNormalises)
{
    SetVariable("PATH",
                "C:\\\\Dir\\\\\xE4"
                "bc",
                "test");
    Run({"Convert Case|PATH|TRUE"});
    EXPECT_EQ(GetVariable("PATH"),
              "C:\\DIR\\\xC4"
              "BC");
    Run({"Convert Case|$PATH$|FALSE"});
    EXPECT_EQ(GetVariable("PATH"),
              "c:\\dir\\\xE4"
              "bc");
}

TEST_F(VariableStatementTest, EvaluateExpressionQuotesValues)
{
    SetVariable("A", "x y", "test");
    Run({"Evaluate Expression|$A$ = \"x y\"|R1", "Evaluate Expression|$A$ = \"z\"|$r2$",
         "Evaluate Expression|$A$ = = (|R3"});
    EXPECT_EQ(GetVariable("R1"), "TRUE");
    EXPECT_EQ(GetVariable("R2"), "FALSE");
    EXPECT_EQ(GetVariable("R3"), "ERROR");
}

TEST_F(VariableStatementTest, ExtractPathPartsOfLocalAndUncPaths)
{
    struct Case
    {
        const char* path;
        const char* parts[8];
    };
    const Case cases[] = {
        {"C:\\A\\B\\name.ext",
         {"name.ext", "name", "ext", "C:\\A\\B\\", "C:\\A\\", "C:\\", "C:\\A\\B\\name.ext",
          "C:\\A\\B\\name.ext"}},
        {"\\\\server\\share\\dir\\file.tar.gz",
         {"file.tar.gz", "file.tar", "gz", "\\\\server\\share\\dir\\", "\\\\server\\share\\",
          "\\\\server\\share\\", "\\server\\share\\dir\\file.tar.gz",
          "\\\\server\\share\\dir\\file.tar.gz"}},
        {"C:\\\\Dir\\\\noext",
         {"noext", "noext", "", "C:\\Dir\\", "C:\\", "C:\\", "C:\\Dir\\noext", "C:\\Dir\\noext"}},
    };
    for (const Case& c : cases) {
        for (int part = 0; part < 8; ++part) {
            SetVariable("P", c.path, "test");
            Run({"Extract Path|P|" + std::to_string(part)});
            EXPECT_EQ(GetVariable("P"), c.parts[part]) << c.path << " part " << part;
        }
    }
    EXPECT_THROW(Run({"Extract Path|P|x"}), rtl::EConvertError);
}

TEST_F(VariableStatementTest, ParseStringModes)
{
    struct Case
    {
        const char* text;
        const char* delimiter;
        const char* mode;
        const char* trim;
        const char* ignoreCase;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"MsiExec.exe /I{X}", " ", "0", "FALSE", "FALSE", "MsiExec.exe", "/I{X}"},
        {"MsiExec.exe", " ", "0", "FALSE", "FALSE", "MsiExec.exe", ""},
        {"a::b::c", "::", "0", "FALSE", "FALSE", "a", "b::c"},
        {"abc", "", "0", "FALSE", "FALSE", "abc", ""},
        {"aXbxc", "x", "0", "FALSE", "TRUE", "a", "bxc"},
        {"aXbxc", "x", "0", "FALSE", "FALSE", "aXb", "c"},
        {"a::b::c", "::", "1", "FALSE", "FALSE", "a::b", "c"},
        {"abc", ";", "1", "FALSE", "FALSE", "", "abc"},
        {"aXbxc", "X", "1", "FALSE", "TRUE", "aXb", "c"},
        {"abcdef", "2", "2", "FALSE", "FALSE", "ab", "cdef"},
        {"abcdef", "0", "2", "FALSE", "FALSE", "", "abcdef"},
        {"abcdef", "9", "2", "FALSE", "FALSE", "abcdef", ""},
        {"abcdef", "x", "2", "FALSE", "FALSE", "", ""},
        {"abcdef", "2", "3", "FALSE", "FALSE", "abcd", "ef"},
        {"abcdef", "6", "3", "FALSE", "FALSE", "", ""},
        {"abcdef", "9", "3", "FALSE", "FALSE", "", "abcdef"},
        {"abc", "1", "7", "FALSE", "FALSE", "", ""},
        {" key = value ", "=", "0", "TRUE", "FALSE", "key", "value"},
        {" key = value ", "=", "0", "FALSE", "FALSE", " key ", " value "},
        {"C:\\\\A\\\\B", "\\", "1", "FALSE", "FALSE", "C:\\A", "B"},
    };
    for (const Case& c : cases) {
        SetVariable("TEXT", c.text, "test");
        SetVariable("DELIMITER", c.delimiter, "test");
        Run({std::string("Parse String|$TEXT$|$DELIMITER$|$one$|TWO|") + c.mode + "|" + c.trim +
             "|" + c.ignoreCase});
        EXPECT_EQ(GetVariable("ONE"), c.first) << c.text << " mode " << c.mode;
        EXPECT_EQ(GetVariable("TWO"), c.second) << c.text << " mode " << c.mode;
    }
    // Result variables may be left out.
    Run({"Parse String|a b| ||LAST|0|FALSE|FALSE"});
    EXPECT_EQ(GetVariable("LAST"), "b");
    EXPECT_THROW(Run({"Parse String|a b| |X|Y|zero|FALSE|FALSE"}), rtl::EConvertError);
}

TEST_F(VariableStatementTest, MathematicsOperationsAndEdgeValues)
{
    struct Case
    {
        const char* a;
        const char* b;
        int op;
        const char* result;
    };
    const Case cases[] = {
        {"2", "3", 0, "5"},
        {"9223372036854775807", "1", 0, "-9223372036854775808"},
        {"-9223372036854775808", "1", 1, "9223372036854775807"},
        {"4294967296", "4294967296", 2, "0"},
        {"7", "2", 3, "3"},
        {"-7", "2", 3, "-3"},
        {"-7", "2", 4, "-1"},
        {"7", "-2", 4, "1"},
        {"7", "0", 3, ""},
        {"7", "0", 4, ""},
        {"-9223372036854775808", "-1", 3, "-9223372036854775808"},
        {"-9223372036854775808", "-1", 4, "0"},
        {"12", "10", 5, "8"},
        {"12", "10", 6, "14"},
        {"12", "10", 7, "6"},
        {"1", "63", 8, "-9223372036854775808"},
        {"1", "64", 8, "0"},
        {"1", "127", 8, "0"},
        {"1", "257", 8, "2"},  // only the low eight bits count
        {"-1", "60", 9, "15"},
        {"-1", "64", 9, "0"},
        {"5", "x", 10, "-6"},
        {"A", "", 11, "65"},
        {"\xE4", "", 11, "228"},
        {"", "", 11, ""},
        {"321", "", 12, "A"},
        {"x", "1", 0, ""},
        {"1", "x", 0, ""},
        {"$10", "$10", 0, "32"},
        {"1", "1", 16, ""},
        {"1", "1", -1, ""},
    };
    for (const Case& c : cases) {
        SetVariable("A", c.a, "test");
        SetVariable("B", c.b, "test");
        SetVariable("R", "old", "test");
        Run({"Mathematics|$A$|$B$|" + std::to_string(c.op) + "|R"});
        EXPECT_EQ(GetVariable("R"), c.result) << c.a << " op " << c.op << " " << c.b;
    }
    Run({"Mathematics|1|2|x|R"});
    EXPECT_EQ(GetVariable("R"), "");
}

TEST_F(VariableStatementTest, MathematicsGenerator)
{
    // Unseeded, multiplier and increment are 0.
    Run({"Mathematics|10||15|R"});
    EXPECT_EQ(GetVariable("R"), "0");

    Run({"Mathematics|3|5|13|SEED", "Mathematics|7||14|STATE", "Mathematics|100||15|R1",
         "Mathematics|100||15|R2", "Mathematics|0||15|R3"});
    EXPECT_EQ(GetVariable("SEED"), "8");
    EXPECT_EQ(GetVariable("STATE"), "7");
    EXPECT_EQ(GetVariable("R1"), "26");  // 3 * 7 + 5
    EXPECT_EQ(GetVariable("R2"), "83");  // 3 * 26 + 5
    EXPECT_EQ(GetVariable("R3"), "");    // remainder by zero

    // 32-bit wrapping of the step, the state kept below 32767 with the sign of the step.
    Run({"Mathematics|2147483647|0|13|", "Mathematics|2||14|", "Mathematics|1000000||15|R"});
    EXPECT_EQ(GetVariable("R"), "-2");  // 2147483647 * 2 wraps to -2
    Run({"Mathematics|1000000||15|R"});
    EXPECT_EQ(GetVariable("R"), "2");  // 2147483647 * -2 wraps to 2
}

}  // namespace
}  // namespace setup::engine::testing
