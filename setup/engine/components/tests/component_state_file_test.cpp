#include "setup/engine/components/component_state_file.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/statements/statements_variables.h"
#include "setup/engine/testing/memory_state_file_store.h"
#include "setup/engine/testing/variable_names.h"

namespace setup::engine {
namespace {

using testing::MemoryStateFileStore;

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

constexpr const char* kPath = "C:\\Cache\\setup.dat";

class ComponentStateFileTest : public ::testing::Test, protected testing::VariableNames
{
protected:
    ScriptVariables& RunVariables() override { return m_variables; }
    // Between a save and a load: nothing of the run's variables left.
    void Reset()
    {
        ClearVariables();
        PersistedVariables.Clear();
    }

    void FillModelAndVariables()
    {
        model.ComponentNames = {std::string(kPredefinedComponent), "Main", "Docs\\Pdf"};
        model.ComponentStates = {"TRUE", "TRUE", "FALSE"};
        model.DeletedComponents = {"Docs\\Pdf"};
        model.HiddenComponents = {"Docs"};
        model.ChoiceLockedComponents = {"Main"};
        model.ComponentTable = {std::string(kPredefinedComponent), "100", "Main", "2048"};
        SetVariable("TARGETDIR", "C:\\Program Files\\Product\\", "test");
        SetVariable("ALLUSERS", "TRUE", "test");
        SetVariable("STARTMENU", "Product", "test");
        SetVariable("OVERRIDECACHE", "", "test");
        SetVariable("SERIAL", "12-34", "test");
        SetVariable("NOTES", "one\r\ntwo", "test");
        PersistedVariables = {"SERIAL", "NOTES"};
    }

    std::string Save(bool fullWrite, bool omitCacheFolder = false)
    {
        ComponentStateSave options;
        options.fullWrite = fullWrite;
        options.omitCacheFolder = omitCacheFolder;
        options.dataDir = "C:\\Data Folder";
        options.targetPlatform = "x64";
        SaveComponentState(store, model, m_variables, kPath, options);
        return store.files.count(kPath) ? store.files[kPath] : "<missing>";
    }
    void Load(bool merge, bool skipSizes = false)
    {
        ComponentStateLoad options;
        options.merge = merge;
        options.skipSizes = skipSizes;
        LoadComponentState(store, model, m_variables, kPath, options, platform);
    }

    ScriptVariables m_variables;
    rtl::TStringList& PersistedVariables = m_variables.PersistedVariables;
    MemoryStateFileStore store;
    ComponentModel model;
    std::string platform = "Win32";
};

const std::vector<std::string> kFullFile = {
    "TARQ-PREDEF-COMPONENT",
    "Main",
    "Docs\\Pdf",
    "$",
    "TRUE",
    "TRUE",
    "FALSE",
    "$",
    "Docs\\Pdf",
    "$",
    "Docs",
    "$",
    "Main",
    "$",
    "TARQ-PREDEF-COMPONENT",
    "100",
    "Main",
    "2048",
    "$",
    "C:\\Program Files\\Product\\",
    "TRUE",
    "Product",
    "SHORT(C:\\Data Folder)",
    "SERIAL",
    "12-34",
    "NOTES",
    "one$NEWLINE$two",
    "TARQ64WOW",
    "x64",
    "OVERRIDECACHE",
    "",
};

TEST_F(ComponentStateFileTest, FullWriteLaysOutEveryRowInOrder)
{
    FillModelAndVariables();
    EXPECT_EQ(Save(true), Lines(kFullFile));
    const std::string temporary = std::string(kPath) + ".dat";
    EXPECT_EQ(store.actions, (std::vector<std::string>{
                                 "write " + temporary,
                                 std::string("replace ") + kPath + " by " + temporary,
                             }));
}

TEST_F(ComponentStateFileTest, RoundTripRestoresTheModelTheFoldersAndTheVariables)
{
    FillModelAndVariables();
    Save(true);
    const ComponentModel saved = model;
    model = ComponentModel();
    Reset();

    Load(false);
    EXPECT_EQ(model.ComponentNames, saved.ComponentNames);
    EXPECT_EQ(model.ComponentStates, saved.ComponentStates);
    EXPECT_EQ(model.DeletedComponents, saved.DeletedComponents);
    EXPECT_EQ(model.HiddenComponents, saved.HiddenComponents);
    EXPECT_EQ(model.ChoiceLockedComponents, saved.ChoiceLockedComponents);
    EXPECT_EQ(model.ComponentTable, saved.ComponentTable);
    EXPECT_EQ(model.EarlierDataDir, "SHORT(C:\\Data Folder)");
    EXPECT_EQ(platform, "x64");
    EXPECT_EQ(GetVariable("TARGETDIR"), "C:\\Program Files\\Product\\");
    EXPECT_EQ(GetVariable("ALLUSERS"), "TRUE");
    EXPECT_EQ(GetVariable("STARTMENU"), "Product");
    EXPECT_EQ(GetVariable("SERIAL"), "12-34");
    EXPECT_EQ(GetVariable("NOTES"), "one$NEWLINE$two");  // markers stay until a statement decodes
    EXPECT_FALSE(VariableExists("TARQ64WOW"));
    EXPECT_EQ(PersistedVariables.Items(),
              (std::vector<std::string>{"SERIAL", "NOTES", "OVERRIDECACHE"}));

    // Saving again does not grow the file by the names the load added.
    Save(true);
    Load(false);
    EXPECT_EQ(PersistedVariables.Count(), 3u);
}

TEST_F(ComponentStateFileTest, OmittingTheCacheFolderLeavesAnEmptyEarlierDataFolder)
{
    FillModelAndVariables();
    model.EarlierDataDir = "C:\\Old";
    Save(true, true);
    model.ClearComponents();
    Load(false);
    EXPECT_EQ(model.EarlierDataDir, "");
}

TEST_F(ComponentStateFileTest, LoadedSizesComeAfterTheTablesOwnAndSkippedOnRequest)
{
    store.files[kPath] = Lines({"A", "$", "TRUE", "$", "$", "$", "$", "A", "999", "$"});
    model.ComponentTable = {"A", "5"};
    Load(false, true);
    EXPECT_EQ(model.ComponentTable.Items(), (std::vector<std::string>{"A", "5"}));
    Load(false);
    EXPECT_EQ(model.ComponentTable.Items(), (std::vector<std::string>{"A", "5", "A", "999"}));
    EXPECT_EQ(model.GetComponentSize("A"), 5);
}

TEST_F(ComponentStateFileTest, UpdateModeKeepsTheStoredHeadAndRewritesTheVariables)
{
    // An earlier run's file, LF line ends, with a persisted variable and rows after it.
    store.files[kPath] =
        "Old\n$\nFALSE\n$\n$\nOld\n$\n$\nOld\n7\n$\nD:\\Old\\\nFALSE\nOld Menu\nD:\\OLDDATA\n"
        "GONE\nvalue\nTARQ64WOW\nWin32\nOVERRIDECACHE\nX:\\\nextra\n";
    FillModelAndVariables();
    SetVariable("OVERRIDECACHE", "E:\\Cache\\", "test");

    EXPECT_EQ(Save(false), Lines({"Old",
                                  "$",
                                  "FALSE",
                                  "$",
                                  "$",
                                  "Old",
                                  "$",
                                  "$",
                                  "Old",
                                  "7",
                                  "$",
                                  "D:\\Old\\",
                                  "FALSE",
                                  "Old Menu",
                                  "D:\\OLDDATA",
                                  "SERIAL",
                                  "12-34",
                                  "NOTES",
                                  "one$NEWLINE$two",
                                  "TARQ64WOW",
                                  "x64",
                                  "OVERRIDECACHE",
                                  "E:\\Cache\\"}));
    const std::string temporary = std::string(kPath) + ".dat";
    EXPECT_EQ(store.actions, (std::vector<std::string>{
                                 "write " + temporary,
                                 std::string("replace ") + kPath + " by " + temporary,
                             }));
    EXPECT_EQ(store.files.count(temporary), 0u);
}

TEST_F(ComponentStateFileTest, UpdateModeLeavesAMissingFileMissing)
{
    FillModelAndVariables();
    EXPECT_EQ(Save(false), "<missing>");
    EXPECT_TRUE(store.actions.empty());
}

TEST_F(ComponentStateFileTest, AFailedReplaceKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    const std::string old = Lines({"A", "$", "TRUE", "$", "$", "$", "$", "$", "T", "1", "M", "D"});
    FillModelAndVariables();
    for (const bool fullWrite : {false, true}) {
        store.files = {{kPath, old}};
        store.failReplace = true;
        EXPECT_THROW(Save(fullWrite), rtl::EInOutError);
        EXPECT_EQ(store.files[kPath], old);
        EXPECT_EQ(store.files.size(), 1u);
        EXPECT_EQ(store.actions.back(), std::string("remove ") + kPath + ".dat");
    }
}

TEST_F(ComponentStateFileTest, UpdateModeOverADamagedHeadWritesTheCurrentState)
{
    FillModelAndVariables();
    const struct
    {
        const char* name;
        std::vector<std::string> old;
    } cases[] = {
        {"cut in the lists", {"Old", "$", "FALSE"}},
        {"cut in the folder rows", {"O", "$", "TRUE", "$", "$", "$", "$", "O", "1", "$", "D:\\"}},
    };
    for (const auto& c : cases) {
        store.files[kPath] = Lines(c.old);
        EXPECT_EQ(Save(false), Lines(kFullFile)) << c.name;
    }
}

TEST_F(ComponentStateFileTest, MergeAppliesStatesToKnownComponentsAndReplacesTheMarks)
{
    model.ComponentNames = {"A", "B", "C", "b"};
    model.ComponentStates = {"TRUE", "TRUE", "FALSE", "TRUE"};
    model.HiddenComponents = {"X"};
    model.DeletedComponents = {"C"};
    model.ChoiceLockedComponents = {"A"};
    model.ComponentTable = {"A", "1"};
    model.EarlierDataDir = "C:\\Kept";
    store.files[kPath] =
        Lines({"B",     "Z",    "$",        "FALSE",     "TRUE", "$",      "$", "Y",
               "$",     "$",    "B",        "5",         "Z",    "6",      "$", "D:\\New\\",
               "FALSE", "Menu", "D:\\DATA", "TARQ64WOW", "ia64", "SERIAL", "99"});
    Load(true);
    EXPECT_EQ(model.ComponentNames.Items(), (std::vector<std::string>{"A", "B", "C", "b"}));
    EXPECT_EQ(model.ComponentStates.Items(),
              (std::vector<std::string>{"TRUE", "FALSE", "FALSE", "FALSE"}));
    EXPECT_EQ(model.HiddenComponents.Items(), std::vector<std::string>{"Y"});
    EXPECT_EQ(model.DeletedComponents.Count(), 0u);
    EXPECT_EQ(model.ChoiceLockedComponents.Count(), 0u);
    EXPECT_EQ(model.ComponentTable.Items(), (std::vector<std::string>{"A", "1"}));
    EXPECT_EQ(model.EarlierDataDir, "C:\\Kept");
    EXPECT_EQ(GetVariable("TARGETDIR"), "D:\\New\\");
    EXPECT_EQ(GetVariable("SERIAL"), "99");
    EXPECT_EQ(platform, "ia64");
}

TEST_F(ComponentStateFileTest, ATruncatedFileLoadsWhatItHolds)
{
    const std::vector<std::string> truncated = {"A", "B", "$", "TRUE", "FALSE", "$", "A", "$", "H"};
    store.files[kPath] = Lines(truncated);
    SetVariable("TARGETDIR", "C:\\Unchanged\\", "test");

    Load(false);
    EXPECT_EQ(model.ComponentNames.Items(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(model.ComponentStates.Items(), (std::vector<std::string>{"TRUE", "FALSE"}));
    EXPECT_EQ(model.DeletedComponents.Items(), std::vector<std::string>{"A"});
    EXPECT_EQ(model.HiddenComponents.Items(), std::vector<std::string>{"H"});
    EXPECT_EQ(GetVariable("TARGETDIR"), "C:\\Unchanged\\");

    // Merged: the marks the file reached are replaced, the rest stay.
    ComponentModel merged;
    merged.ComponentNames = {"B"};
    merged.ComponentStates = {"TRUE"};
    merged.ChoiceLockedComponents = {"B"};
    merged.DeletedComponents = {"B"};
    model = merged;
    Load(true);
    EXPECT_EQ(model.ComponentStates.Items(), std::vector<std::string>{"FALSE"});
    EXPECT_EQ(model.DeletedComponents.Items(), std::vector<std::string>{"A"});
    EXPECT_EQ(model.HiddenComponents.Items(), std::vector<std::string>{"H"});
    EXPECT_EQ(model.ChoiceLockedComponents.Items(), std::vector<std::string>{"B"});
}

TEST_F(ComponentStateFileTest, AFileWithMoreNamesThanStatesLeavesTheRestWithoutState)
{
    store.files[kPath] = Lines({"A", "B", "$", "TRUE", "$", "$", "$", "$", "$"});
    Load(false);
    model.DefineComponent("B", "", true);
    model.DefineComponent("C", "", false);
    EXPECT_EQ(model.ComponentStates.Items(), (std::vector<std::string>{"TRUE", "TRUE", "FALSE"}));
}

TEST_F(ComponentStateFileTest, AMissingFileLoadsNothing)
{
    SetVariable("TARGETDIR", "C:\\Unchanged\\", "test");
    Load(false);
    Load(true);
    EXPECT_EQ(model.ComponentNames.Count(), 0u);
    EXPECT_EQ(GetVariable("TARGETDIR"), "C:\\Unchanged\\");
    EXPECT_EQ(platform, "Win32");
}

}  // namespace
}  // namespace setup::engine
