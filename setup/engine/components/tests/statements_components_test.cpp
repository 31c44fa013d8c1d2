// The component statements as the interpreter runs them from a compiled script.
#include "setup/engine/components/statements_components.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "setup/engine/statements/statements_variables.h"
#include "setup/engine/testing/interpreter_test_support.h"
#include "setup/engine/testing/memory_state_file_store.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

class ComponentScriptTest : public InterpreterTest
{
protected:
    void SetUp() override
    {
        InterpreterTest::SetUp();
        RegisterComponentStatements(handlers, {&store, nullptr});
    }
    void TearDown() override
    {
        InterpreterTest::TearDown();
    }

    // Start-up hands the script's component section to the model.
    void RunWithSizes(std::vector<std::string> table, std::initializer_list<std::string> lines)
    {
        components.ComponentTable.Clear();
        for (std::string& line : table)
            components.ComponentTable.Add(std::move(line));
        Run(lines);
        EXPECT_TRUE(host.errors.empty()) << host.errors.front();
    }

    MemoryStateFileStore store;
    ComponentModel& components = RunComponentModel(engine);
};

TEST_F(ComponentScriptTest, TheRunStartsWithOnlyThePredefinedComponentSelected)
{
    components.DefineComponent("Left over", "", true);
    RunWithSizes({}, {"Get Component State|TARQ-PREDEF-COMPONENT|P",
                      "Get Component State|Left over|L", "Record|$P$ $L$"});
    EXPECT_EQ(recorded, std::vector<std::string>{"TRUE FALSE"});
    EXPECT_EQ(components.ComponentNames.Items(),
              std::vector<std::string>{std::string(kPredefinedComponent)});
}

TEST_F(ComponentScriptTest, DefineDeleteAndSelect)
{
    RunWithSizes({}, {
                         "Set Variable|NAME|Main",
                         "Define Component|$NAME$|TRUE|Main files of $NAME$",
                         "Define Component|Docs|false|Manuals",
                         "Get Component State|$NAME$|$S1$",
                         "Set Component State|main|FALSE",
                         "Get Component State|Main|S2",
                         "Define Component|Main|TRUE|Again",  // keeps FALSE
                         "Get Component State|Main|S3",
                         "Set Component State|Docs|-1",
                         "Delete Component|Docs",
                         "Get Component State|Docs|S4",
                         "Define Component|docs|FALSE|Back",  // restores, keeps TRUE
                         "Get Component State|Docs|S5",
                         "Get Component State|Nothing|s6",
                         "Delete Component|Nothing",
                         "Set Component State|Nothing|TRUE",
                         "Record|$S1$ $S2$ $S3$ $S4$ $S5$ $S6$",
                     });
    EXPECT_EQ(recorded, std::vector<std::string>{"TRUE FALSE FALSE FALSE TRUE FALSE"});
    EXPECT_EQ(components.GetComponentDescription("Main"), "Again");
    EXPECT_EQ(components.GetComponentDescription("Docs"), "Back");
    EXPECT_EQ(components.ComponentNames.Count(), 3u);
    EXPECT_EQ(components.DeletedComponents.Count(), 0u);
}

TEST_F(ComponentScriptTest, SpaceFiguresAndTheirChanges)
{
    RunWithSizes({"TARQ-PREDEF-COMPONENT", "1000", "Main", "2048", "Docs", "512"},
                 {
                     "Define Component|Main|TRUE|",
                     "Define Component|Docs|FALSE|",
                     "Define Component|Tools|TRUE|",
                     "Get Component Space|Main|MAIN",
                     "Get Component Space||REQUIRED",
                     "Set Component Space|MAIN|4096",
                     "Set Component Space|Tools|$10",  // the runtime's hexadecimal
                     "Set Component Space|Docs|lots",
                     "Set Component Space|Absent|5",
                     "Get Component Space||AFTER",
                     "Get Component Space|Absent|ABSENT",
                     "Record|$MAIN$ $REQUIRED$ $AFTER$ $ABSENT$",
                 });
    EXPECT_EQ(recorded, std::vector<std::string>{"2048 3048 5112 0"});
    EXPECT_EQ(components.ComponentTable.Items(),
              (std::vector<std::string>{"TARQ-PREDEF-COMPONENT", "1000", "Main", "4096", "Docs",
                                        "512", "Tools", "16"}));
}

TEST_F(ComponentScriptTest, ChoiceAndVisibilityMarks)
{
    RunWithSizes({}, {
                         "Define Component|Main|TRUE|",
                         "Define Component|Docs|TRUE|",
                         "Set Component Choice|Main|FALSE",
                         "Set Component Choice|MAIN|FALSE",    // listed once
                         "Set Component Choice|Absent|FALSE",  // no such component
                         "Set Component Visibility|Docs|FALSE",
                         "Set Component Visibility|docs|FALSE",
                         "Set Component Visibility|Main|FALSE",
                         "Set Component Visibility|MAIN|TRUE",
                     });
    EXPECT_EQ(components.ChoiceLockedComponents.Items(), std::vector<std::string>{"Main"});
    EXPECT_EQ(components.HiddenComponents.Items(), std::vector<std::string>{"Docs"});

    RunWithSizes({}, {"Define Component|Main|TRUE|", "Set Component Choice|Main|FALSE",
                      "Set Component Choice|main|TRUE"});
    EXPECT_EQ(components.ChoiceLockedComponents.Count(), 0u);
}

TEST_F(ComponentScriptTest, SavedSelectionsLoadBackAsAMerge)
{
    RunWithSizes({}, {
                         "Set Variable|FILE|C:\\Selections.dat",
                         "Define Component|Main|TRUE|",
                         "Define Component|Docs|FALSE|",
                         "Set Component Visibility|Docs|FALSE",
                         "Save Feature Selections|$FILE$",
                         "Set Component State|Main|FALSE",
                         "Set Component State|Docs|TRUE",
                         "Set Component Visibility|Docs|TRUE",
                         "Define Component|Extra|TRUE|",
                         "Load Feature Selections|$FILE$",
                         "Load Feature Selections|C:\\Missing.dat",
                         "Get Component State|Main|M",
                         "Get Component State|Docs|D",
                         "Get Component State|Extra|E",
                         "Record|$M$ $D$ $E$",
                     });
    EXPECT_EQ(recorded, std::vector<std::string>{"TRUE FALSE TRUE"});
    EXPECT_EQ(components.HiddenComponents.Items(), std::vector<std::string>{"Docs"});
    // Saved for the user: no cache folder row.
    const std::string saved = store.files.at("C:\\Selections.dat");
    EXPECT_NE(saved.find("\r\nTARQ64WOW\r\nWin32\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\n\r\nTARQ64WOW"), std::string::npos);
}

// The statements as the built-in table registers them, with the system's files.
class ComponentSystemScriptTest : public InterpreterTest
{
protected:
    void SetUp() override
    {
        InterpreterTest::SetUp();
        // The real "Set Variable", for its persist flag.
        RegisterVariableStatements(handlers, {});
        std::remove(kFile);
    }
    void TearDown() override
    {
        std::remove(kFile);
        InterpreterTest::TearDown();
    }

    static constexpr const char* kFile = "component_selections_test.dat";
};

TEST_F(ComponentSystemScriptTest, SelectionsSurviveARealFile)
{
    Run({"Define Component|Main|TRUE|", "Set Variable|KEEP$TARQ$TARQ$TRUE|kept",
         std::string("Save Feature Selections|") + kFile, "Set Component State|Main|FALSE",
         "Set Variable|KEEP|changed", std::string("Load Feature Selections|") + kFile,
         "Get Component State|Main|M", "Record|$M$ $KEEP$"});
    EXPECT_TRUE(host.errors.empty()) << host.errors.front();
    EXPECT_EQ(recorded, std::vector<std::string>{"TRUE kept"});
}

// The statements run directly with a translation language active.
class ComponentTranslationTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        RegisterComponentStatements(handlers, {nullptr, nullptr});
        engine.SelectedLanguage = "German";
        engine.Translations.TitleTranslation.Add(ScriptBuilder::KeyOf(0));
        engine.Translations.TitleTranslation.Add(ScriptBuilder::KeyOf(0));
        engine.Translations.TranslationTexts = {"Hauptteil $SUFFIX$", "Beschreibung"};
        engine.Translations.TranslationOriginal = {"Main", "Text"};
        SetVariable("SUFFIX", "X", "test");
    }

    ComponentModel& components = RunComponentModel(engine);
};

TEST_F(ComponentTranslationTest, ATranslatedNameTakesTheUntranslatedSize)
{
    components.ComponentTable = {"Main", "2048"};
    Run({"Define Component|Main|TRUE|Text"});
    EXPECT_EQ(components.ComponentNames.Items(), std::vector<std::string>{"Hauptteil X"});
    EXPECT_EQ(components.GetComponentDescription("Hauptteil X"), "Beschreibung");
    EXPECT_EQ(components.ComponentTable.Items(),
              (std::vector<std::string>{"Main", "2048", "Hauptteil X", "2048"}));
}

TEST_F(ComponentTranslationTest, ANameWithoutSizeGetsTheUsualZeroPair)
{
    Run({"Define Component|Main|TRUE|Text"});
    EXPECT_EQ(components.ComponentTable.Items(), (std::vector<std::string>{"Hauptteil X", "0"}));
}

}  // namespace
}  // namespace setup::engine::testing
