#include "setup/engine/script/script_check.h"

#include <gtest/gtest.h>

#include "setup/engine/script/variables.h"

namespace {

using namespace setup::engine;
namespace rtl = setup::rtl;

struct Statement
{
    std::string command;
    std::vector<std::string> params;
    bool commentedOut = false;
};

struct CheckResult
{
    int index;
    std::string message;
    std::vector<std::string> performed;
};

CheckResult Check(const std::vector<Statement>& statements, ScriptVariables& variables)
{
    THashedStringList commands, keys, flags;
    std::vector<THashedStringList> pools(1);
    for (size_t i = 0; i < statements.size(); ++i) {
        const std::string key = "{KEY-" + std::to_string(i) + "}";
        commands.Add(statements[i].command);
        keys.Add(key);
        flags.Add(statements[i].commentedOut ? "C" : "");
        pools[0].Add(key);
        for (const auto& param : statements[i].params)
            pools[0].Add(param);
    }
    CheckResult result;
    rtl::TStringList performed;
    result.index =
        CompileScript(variables, commands, keys, flags, result.message, pools, performed);
    result.performed = performed.Items();
    return result;
}

CheckResult Check(const std::vector<Statement>& statements)
{
    ScriptVariables variables;
    return Check(statements, variables);
}

Statement Commented(Statement s)
{
    s.commentedOut = true;
    return s;
}

TEST(CheckScript, ReportsTheFirstOffendingStatement)
{
    struct Case
    {
        const char* name;
        std::vector<Statement> script;
        int index;
        std::string message;
    };
    const Case cases[] = {
        {"empty", {}, -1, "Script compiled successfully"},
        {"if without end",
         {{"If", {"$A$", "=", "x"}}},
         kEndImbalanceIndex,
         "Insufficient END statements"},
        {"extra end", {{"End", {}}}, kEndImbalanceIndex, "Too many END statements"},
        {"commented end does not balance",
         {{"Wizard Loop", {}}, Commented({"End", {}})},
         kEndImbalanceIndex,
         "Insufficient END statements"},
        {"label inside if",
         {{"If", {"TITLE", "=", "x"}}, {"Label", {"here"}}, {"End", {}}},
         1,
         "LABEL statements cannot be nested inside loops/conditionals"},
        {"commented label inside if still counts as a duplicate",
         {{"Label", {"Here"}},
          {"If", {"TITLE", "=", "x"}},
          Commented({"Label", {"HERE"}}),
          {"End", {}}},
         2,
         "LABEL re-defined: HERE"},
        {"goto undefined label", {{"GoTo Label", {"Nowhere"}}}, 0, "LABEL undefined: Nowhere"},
        {"goto later label",
         {{"GoTo Label", {"end"}}, {"Label", {"End"}}},
         -1,
         "Script compiled successfully"},
        {"convert path before definition",
         {{"Convert Path", {"RESULT"}}, {"Set Variable", {"RESULT", "x"}}},
         0,
         "Variable not defined: RESULT"},
        {"convert path of a persisted variable",
         {{"Convert Path", {"$RESULT$"}}, {"Set Variable", {"RESULT$TARQ$TARQ$TRUE", "x"}}},
         -1,
         "Script compiled successfully"},
        {"persist marker must be followed by exactly TRUE",
         {{"Convert Path", {"RESULT"}}, {"Set Variable", {"RESULT$TARQ$TARQ$true", "x"}}},
         0,
         "Variable not defined: RESULT"},
        {"result variable between dollars",
         {{"Get Temporary File", {"$TMP$"}}, {"Extract Path", {"tmp"}}},
         -1,
         "Script compiled successfully"},
        {"names the interpreter defines at run time",
         {{"If", {"GPOPATH", "=", "$TARQ_thProgress$"}},
          {"Convert Path", {"LOADOLDDATA"}},
          {"End", {}}},
         -1,
         "Script compiled successfully"},
        {"if against a literal",
         {{"If", {"TITLE", "=", "literal"}}, {"End", {}}},
         -1,
         "Script compiled successfully"},
        {"if against an undefined reference",
         {{"If", {"TITLE", "=", "$NOPE$"}}, {"End", {}}},
         0,
         "Variable not defined: $NOPE$"},
        {"if with both undefined names the third",
         {{"If", {"MISSING", "=", "$NOPE$"}}, {"End", {}}},
         0,
         "Variable not defined: $NOPE$"},
        {"if without a variable", {{"If", {"", "=", "x"}}, {"End", {}}}, 0, "Variable required"},
        {"messagebox inside a wizard loop",
         {{"Wizard Loop", {}},
          {"Display Dialog", {"Welcome", "RES", "", ""}},
          {"MessageBox", {"t", "m", "", "", "R"}},
          {"End", {}}},
         2,
         "Statements other than DISPLAY DIALOG not allowed inside WIZARD LOOP"},
        {"commented statement inside a wizard loop",
         {{"Wizard Loop", {}},
          Commented({"MessageBox", {}}),
          {"Comment", {}},
          {"Ignore", {}},
          {"End", {}},
          {"MessageBox", {"t", "m", "", "", "R"}}},
         -1,
         "Script compiled successfully"},
        {"dialog without a name",
         {{"Display Dialog", {"", "RES"}}},
         0,
         "Dialog name not specified"},
        {"dialog with an undefined fourth parameter",
         {{"Display Dialog", {"Welcome", "RES", "", "$NOPE$"}}},
         0,
         "Variable not defined: $NOPE$"},
        {"web media block with an illegal name",
         {{"Web Media Block", {"dir\\na*me", "http://127.0.0.1/a"}}},
         0,
         "Web Media Block name must be a legal file name"},
        {"web media block with an illegal name and no URL names the URL",
         {{"Web Media Block", {"na?me", ""}}},
         0,
         "Web Media Block must have at least one download URL"},
        {"evaluate expression with bad syntax",
         {{"Evaluate Expression", {"$TITLE$ == \"x\"", "R"}}},
         0,
         "Syntax error in expression. Please review the help topic \"Evaluate Expression\" for "
         "the correct syntax."},
        {"evaluate expression with references",
         {{"Evaluate Expression", {"$TITLE$ = \"x\"", "R"}}, {"Convert Case", {"R"}}},
         -1,
         "Script compiled successfully"},
        {"find all files needs a variable",
         {{"Find All Files", {"C:\\", "*.*", "TRUE", ""}}},
         0,
         "Variable required"},
        {"delete files needs a mode",
         {{"Delete Files", {"C:\\x", "*.tmp", "FALSE", "0"}}},
         0,
         "At least one delete mode must be selected"},
        {"install files needs a target",
         {{"Install Files", {"WEB1", "a.txt", ""}}},
         0,
         "A target folder must be specified for files that are being installed.\rThe value "
         "$TARGETDIR$ represents the destination folder chosen by the user."},
        {"names defined by earlier statements",
         {{"Parse String", {"a,b", ",", "LEFT", "RIGHT"}},
          {"Run Program As", {"", "", "", "", "", "", "", "EXIT"}},
          {"Replace String", {"right"}},
          {"Convert Path", {"EXIT"}},
          {"Convert Path", {"LEFT"}}},
         -1,
         "Script compiled successfully"},
    };
    for (const auto& c : cases) {
        const CheckResult result = Check(c.script);
        EXPECT_EQ(result.index, c.index) << c.name;
        EXPECT_EQ(result.message, c.message) << c.name;
    }
}

TEST(CheckScript, PreparesPerformedStatementListAndTheStore)
{
    ScriptVariables variables;
    const CheckResult result = Check({{"Write Registry", {}},
                                      {"Set Variable", {"MINE", "1"}},
                                      Commented({"Create Folder", {}}),
                                      {"Delete Files", {"C:\\x", "*.tmp", "TRUE", "FALSE"}}},
                                     variables);
    ASSERT_EQ(result.index, -1);
    EXPECT_EQ(result.performed, (std::vector<std::string>{"FALSE", "SKIP", "SKIP", "FALSE"}));
    EXPECT_TRUE(variables.Exists("MINE"));
    EXPECT_TRUE(variables.Exists("SUPPORTDIR"));
    EXPECT_TRUE(variables.Exists("PROGRESSMODE"));
}

TEST(IsLegalFileName, ChecksOnlyTheFileNamePart)
{
    const std::pair<const char*, bool> cases[] = {
        {"media1", true}, {"C:\\dir\\media.7z", true}, {"", true},      {"a/b", false},
        {"a*b", false},   {"dir\\a?b", false},         {"a\"b", false}, {"x:<y", false},
        {"a|b", false},   {"c:\\a*b\\ok", true},
    };
    for (const auto& [text, legal] : cases)
        EXPECT_EQ(IsLegalFileName(text), legal) << text;
}

}  // namespace
