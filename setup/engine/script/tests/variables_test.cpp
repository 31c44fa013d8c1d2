#include "setup/engine/script/variables.h"

#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/testing/variable_names.h"

namespace setup::engine {
namespace {

class VariablesTest : public ::testing::Test, protected testing::VariableNames
{
protected:
    ScriptVariables& RunVariables() override { return m_variables; }

    ScriptVariables m_variables;
    TVariableManager& Variables = m_variables.Store();
    std::atomic<bool>& SilentMode = m_variables.SilentMode;
    rtl::TStringList& CommandLineOverrides = m_variables.CommandLineOverrides;

    void Define(std::initializer_list<std::pair<const char*, const char*>> values)
    {
        for (const auto& [name, value] : values)
            SetVariable(name, value, "Initialization");
    }
};

TEST_F(VariablesTest, ExpandsReferences)
{
    Define({{"A", "x$B$y"},
            {"B", "1"},
            {"EMPTY", ""},
            {"Y", "2"},
            {"SELF", "<$SELF$>"},
            {"M1", "a$M2$"},
            {"M2", "b$M1$"},
            {"TWICE", "$B$-$B$"},
            {"DEEP", "[$A$]"},
            {"LOOP", "$LOOP$$LOOP$"},
            {"SPLIT", "$B"}});
    struct Case
    {
        std::string text, expected;
    };
    const Case cases[] = {
        {"no references", "no references"},
        {"$A$", "x1y"},
        {"$a$", "x1y"},  // names ignore letter case
        {"[$DEEP$]", "[[x1y]]"},
        {"$X$Y$", "$X2"},  // undefined X: its closing '$' opens Y
        {"$X$ $B$", "$X$ 1"},
        {"$$", "$$"},
        {"$", "$"},
        {"a$b", "a$b"},
        {"$$B$", "$1"},
        {"<$EMPTY$>", "<>"},
        {"$B$$B$", "11"},
        {"$TWICE$", "1-1"},
        {"$SELF$", "<$SELF$>"},  // not expanded again inside its own value
        {"$M1$", "ab$M1$"},      // nor through another variable
        {"$LOOP$", "$LOOP$$LOOP$"},
        {"$SPLIT$$", "1"},  // a reference built from a value and the text after it
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandVariables(c.text), c.expected) << c.text;
}

TEST_F(VariablesTest, ExpansionIsBoundedForMultiplyingChains)
{
    // Each level doubles the text: without a bound 2^30 replacements.
    for (int i = 0; i < 30; ++i)
        SetVariable("L" + std::to_string(i),
                    "$L" + std::to_string(i + 1) + "$$L" + std::to_string(i + 1) + "$",
                    "Initialization");
    const std::string result = ExpandVariables("$L0$");
    EXPECT_NE(result.find("$L"), std::string::npos);
    EXPECT_LT(result.size(), 1000000u);
}

TEST_F(VariablesTest, ExpansionEndsForRandomReferenceGraphs)
{
    std::mt19937 random(5);
    const std::string pieces[] = {"$A$", "$B$", "$C$", "$D$", "$", "x", "$$", "A", "$A"};
    const auto randomText = [&] {
        std::string text;
        for (int i = random() % 5; i > 0; --i)
            text += pieces[random() % std::size(pieces)];
        return text;
    };
    for (int round = 0; round < 2000; ++round) {
        ClearVariables();
        for (const char* name : {"A", "B", "C", "D"}) {
            if (random() % 4 != 0)
                SetVariable(name, randomText(), "Initialization");
        }
        const std::string text = randomText();
        const std::string expanded = ExpandVariables(text);
        ASSERT_LT(expanded.size(), 100000u) << text;
        ExpandVariablesQuoted(text);
    }
}

TEST_F(VariablesTest, ExpandsQuoted)
{
    Define({{"A", "x y"}, {"B", "say \"hi\""}, {"C", "$A$"}});
    EXPECT_EQ(ExpandVariablesQuoted("$A$ = $U$"), "\"x y\" = $U$");
    EXPECT_EQ(ExpandVariablesQuoted("$B$"), "\"say \"hi\"\"");
    EXPECT_EQ(ExpandVariablesQuoted("$C$"), "\"\"x y\"\"");
}

TEST_F(VariablesTest, GetsAndSetsByName)
{
    SetVariable("", "ignored", "Initialization");
    EXPECT_FALSE(VariableExists(""));
    EXPECT_EQ(GetVariable("NOPE"), "");
    EXPECT_EQ(GetVariableValueOrMarker("NOPE"), "$TARQNX$");
    EXPECT_EQ(GetVariableValueOrMarker("$NOPE$"), "$TARQNX$");
    Define({{"DIR", "C:\\$SUB$"}, {"SUB", "x"}, {"EMPTY", ""}});
    EXPECT_EQ(GetVariable("DIR"), "C:\\$SUB$");  // no expansion
    EXPECT_EQ(GetVariableValue("$DIR$"), "C:\\x");
    EXPECT_EQ(GetVariableValue("dir"), "C:\\x");
    EXPECT_EQ(GetVariableValueOrMarker("EMPTY"), "");
    EXPECT_TRUE(VariableExists("empty"));
}

TEST_F(VariablesTest, StripsDollars)
{
    const std::pair<std::string, std::string> cases[] = {
        {"$NAME$", "NAME"}, {"NAME", ""}, {"$NAME", ""}, {"NAME$", ""},   {"$A$B$", ""},
        {"$$", ""},         {"$", ""},    {"", ""},      {"$ A $", " A "}};
    for (const auto& [text, name] : cases)
        EXPECT_EQ(StripDollars(text), name) << text;
}

TEST_F(VariablesTest, SilentModeKeepsCommandLineValues)
{
    CommandLineOverrides = {"TARGET", "C:\\X", "OTHER", "target"};
    struct Case
    {
        bool silent;
        std::string name, context, expected;
    };
    const Case cases[] = {
        {true, "TARGET", "Set Variable Action", "C:\\X"},
        {true, "target", "Set Variable Action", "C:\\X"},
        {true, "TARGET", "Inject Override Command Line", "D:\\Y"},
        {false, "TARGET", "Set Variable Action", "D:\\Y"},
        {true, "C:\\X", "Set Variable Action", "D:\\Y"},  // a value entry is not a name
    };
    for (const Case& c : cases) {
        ClearVariables();
        SilentMode = c.silent;
        SetVariable(c.name, "C:\\X", kInjectOverrideContext);
        SetVariable(c.name, "D:\\Y", c.context);
        EXPECT_EQ(GetVariable(c.name), c.expected) << c.silent << " " << c.name << " " << c.context;
    }
    SilentMode = true;
    AssignVariable("OTHER", "v", "Display Dialog");  // OTHER is a name entry as well
    EXPECT_FALSE(VariableExists("OTHER"));
    SetVariable("FRESH", "v", "Display Dialog");
    EXPECT_EQ(GetVariable("FRESH"), "v");
}

TEST_F(VariablesTest, CommaTextCarriesTheWholeStore)
{
    Define({{"A", "1"}, {"B", "x y"}});
    EXPECT_EQ(GetVariablesAsCommaText(), "A,1,B,\"x y\"");
    rtl::TStringList list;
    EXPECT_EQ(Variables.GetList(list), 4u);

    SetVariablesFromCommaText("C,3,\"D\",\"a,b\",ODD");
    EXPECT_FALSE(VariableExists("A"));
    EXPECT_FALSE(VariableExists("ODD"));
    EXPECT_EQ(GetVariable("C"), "3");
    EXPECT_EQ(GetVariable("D"), "a,b");
    SetVariablesFromCommaText("");
    EXPECT_EQ(GetVariablesAsCommaText(), "");
}

TEST_F(VariablesTest, TextHelpers)
{
    Define({{"DIR", "temp"}, {"UNC", "\\\\srv"}});
    const std::pair<std::string, std::string> paths[] = {
        {"C:\\\\$DIR$\\\\x", "C:\\temp\\x"},
        {"\\\\server\\share\\\\dir", "\\\\server\\share\\dir"},
        {"$UNC$\\\\share", "\\\\srv\\share"},
        {"a\\\\\\\\b", "a\\\\b"},  // four become two
        {"\\\\\\x", "\\\\\\x"},
        {"C:\\x\\", "C:\\x\\"},
        {"", ""},
    };
    for (const auto& [text, expected] : paths)
        EXPECT_EQ(NormalizePath(text), expected) << text;

    EXPECT_EQ(DecodeNewlines("a$NEWLINE$b$newline$c"), "a\r\nb\r\nc");
    EXPECT_EQ(EncodeNewlines("a\r\nb\nc\r\n"), "a$NEWLINE$b\nc$NEWLINE$");

    const std::pair<std::string, bool> bools[] = {{"true", true}, {"True", true},  {"TRUE", true},
                                                  {"-1", true},   {"1", false},    {"YES", false},
                                                  {"", false},    {" TRUE", false}};
    for (const auto& [text, value] : bools)
        EXPECT_EQ(TextToBool(text), value) << text;
    EXPECT_EQ(BoolToText(true), "TRUE");
    EXPECT_EQ(BoolToText(false), "FALSE");
}

TEST_F(VariablesTest, ReadsVersionFields)
{
    struct Case
    {
        std::string version;
        std::vector<std::int32_t> fields;
        std::string rest;
    };
    const Case cases[] = {
        {"5.1", {5, 1, 0, 0}, ""},        {"7.0.5730.11", {7, 0, 5730, 11}, ""},
        {"1.2.3.4.5", {1, 2, 3, 4}, "5"}, {"abc", {0, 0, 0, 0}, ""},
        {"", {0, 0, 0, 0}, ""},
    };
    for (const Case& c : cases) {
        std::string text = c.version;
        std::vector<std::int32_t> fields;
        for (int i = 0; i < 4; ++i)
            fields.push_back(NextVersionField(text));
        EXPECT_EQ(fields, c.fields) << c.version;
        EXPECT_EQ(text, c.rest) << c.version;
    }
    std::string bad = "x.1";
    EXPECT_THROW(NextVersionField(bad), rtl::EConvertError);
}

TEST_F(VariablesTest, WorkersAndReadersShareTheStore)
{
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([this, t] {
            for (int i = 0; i < 500; ++i) {
                SetVariable("T" + std::to_string(t) + "_" + std::to_string(i), "v",
                            "Set Variable Action");
                SetVariable("TARQ_thProgress", std::to_string(i), "Set Variable Action");
                ExpandVariables("$TARQ_thProgress$ $T0_1$");
                GetVariablesAsCommaText();
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    rtl::TStringList list;
    EXPECT_EQ(Variables.GetList(list), 2u * (4 * 500 + 1));
}

}  // namespace
}  // namespace setup::engine
