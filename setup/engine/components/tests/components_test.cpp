#include "setup/engine/components/components.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/testing/variable_names.h"

namespace setup::engine {
namespace {

class FakeDiskSpace : public IDiskSpace
{
public:
    std::map<std::string, std::int64_t> volumes;  // root -> bytes; others fail
    std::vector<std::string> asked;

    std::optional<std::int64_t> AvailableBytes(const std::string& root) override
    {
        asked.push_back(root);
        const auto found = volumes.find(root);
        if (found == volumes.end())
            return std::nullopt;
        return found->second;
    }
};

class ComponentModelTest : public ::testing::Test, protected testing::VariableNames
{
protected:
    ScriptVariables& RunVariables() override { return m_variables; }

    ScriptVariables m_variables;
    FakeDiskSpace disk;
    ComponentModel model{&disk};
    SetupMessages messages;
};

TEST(FormatSize, ScalesGroupsAndNamesTheUnit)
{
    const SetupMessages messages;
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const struct
    {
        std::int64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 bytes"},
        {999, "999 bytes"},
        {1023, "1,023 bytes"},
        {1048575, "1,048,575 bytes"},
        {1048576, "1,024 KB"},
        {1073741823, "1,048,575 KB"},
        {1073741824, "1,024 MB"},
        {kMax, "8,796,093,022,207 MB"},
        // Negative counts are never scaled.
        {-1, "-1 bytes"},
        {-5000, "-5,000 bytes"},
        {-2000000000, "-2,000,000,000 bytes"},
        {kMin, "-9,223,372,036,854,775,808 bytes"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatSize(c.bytes, messages), c.text) << c.bytes;
}

TEST(FormatSize, TakesTheUnitWordsFromTheLanguageStrings)
{
    SetupMessages messages;
    messages.Set(6, "Byte");
    messages.Set(7, "kB");
    messages.Set(8, "MiB");
    EXPECT_EQ(FormatSize(12, messages), "12 Byte");
    EXPECT_EQ(FormatSize(2097152, messages), "2,048 kB");
    EXPECT_EQ(FormatSize(2147483648, messages), "2,048 MiB");
}

TEST_F(ComponentModelTest, DefiningTwiceKeepsTheStateRestoresADeletedOneAndReplacesTheText)
{
    model.DefineComponent("Main", "first", true);
    model.DeletedComponents.Add("MAIN");
    model.DefineComponent("main", "second", false);

    EXPECT_EQ(model.ComponentNames.Items(), std::vector<std::string>{"Main"});
    EXPECT_EQ(model.ComponentStates.Items(), std::vector<std::string>{"TRUE"});
    EXPECT_EQ(model.GetComponentDescription("MAIN"), "second");
    EXPECT_EQ(model.DeletedComponents.Count(), 0u);
    EXPECT_EQ(model.ComponentTable.Items(), (std::vector<std::string>{"Main", "0"}));
    EXPECT_TRUE(model.GetComponentState("Main"));
}

TEST_F(ComponentModelTest, ADefinitionFillsOnlyAnEmptyState)
{
    // States as a loaded state file leaves them: one empty, one given.
    model.ComponentNames = {"A", "B"};
    model.ComponentStates = {"", "FALSE"};
    model.ComponentTable = {"B", "77"};
    model.DefineComponent("A", "", true);
    model.DefineComponent("B", "b", true);
    model.DefineComponent("C", "c", false);

    EXPECT_EQ(model.ComponentStates.Items(), (std::vector<std::string>{"TRUE", "FALSE", "FALSE"}));
    // Descriptions are padded up to the index they are stored at.
    EXPECT_EQ(model.ComponentDescriptions.Items(), (std::vector<std::string>{"", "b", "c"}));
    // A size the table holds stays.
    EXPECT_EQ(model.ComponentTable.Items(),
              (std::vector<std::string>{"B", "77", "A", "0", "C", "0"}));
}

TEST_F(ComponentModelTest, StatesCountAsSelectedByTheEngineRule)
{
    model.ComponentNames = {"T", "t", "M", "F", "E", "D", "S"};
    model.ComponentStates = {"TRUE", "true", "-1", "FALSE", "", "TRUE"};  // "S" has no state
    model.DeletedComponents = {"d"};
    const struct
    {
        const char* name;
        bool selected;
    } cases[] = {{"T", true},  {"M", true},  {"F", false},     {"E", false},
                 {"D", false}, {"S", false}, {"Absent", false}};
    for (const auto& c : cases)
        EXPECT_EQ(model.GetComponentState(c.name), c.selected) << c.name;

    // A state written past the stored ones fills the gap.
    model.SetComponentSelected(6, true);
    EXPECT_TRUE(model.GetComponentState("S"));
    model.SetComponentSelected(7, true);  // no such component
    EXPECT_EQ(model.ComponentStates.Count(), 7u);
}

TEST_F(ComponentModelTest, HiddenAndLockedMarksReachSubComponents)
{
    model.HiddenComponents = {"Tools", "Docs\\Manual"};
    model.ChoiceLockedComponents = {"core"};
    const struct
    {
        const char* name;
        bool hidden;
        bool hiddenOrParent;
        bool lockedListed;
        bool locked;
    } cases[] = {
        {"Tools", true, true, false, false},
        {"tools\\Extra\\Deep", false, true, false, false},
        {"Toolset", false, false, false, false},
        {"Docs", false, false, false, false},
        {"Docs\\Manual\\Pdf", false, true, false, false},
        {"Core", false, false, true, true},
        {"Core\\Engine", false, false, false, true},
        {"CoreX", false, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(model.IsComponentHidden(c.name), c.hidden) << c.name;
        EXPECT_EQ(model.IsComponentOrParentHidden(c.name), c.hiddenOrParent) << c.name;
        EXPECT_EQ(model.IsInChoiceLockedList(c.name), c.lockedListed) << c.name;
        EXPECT_EQ(model.IsComponentChoiceLocked(c.name), c.locked) << c.name;
    }
}

TEST_F(ComponentModelTest, SizesComeFromTheLineAfterTheFirstMatch)
{
    model.ComponentTable = {"Main", "2048", "MAIN", "1", "Odd", "not a number", "Last"};
    const struct
    {
        const char* name;
        std::int64_t size;
    } cases[] = {{"main", 2048}, {"MAIN", 2048}, {"Odd", 0}, {"Last", 0}, {"Absent", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(model.GetComponentSize(c.name), c.size) << c.name;
    EXPECT_EQ(model.GetComponentSizeText("Main", messages), "2,048 bytes");
}

TEST_F(ComponentModelTest, RequiredSpaceIsNetOfTheInstalledSelection)
{
    model.ComponentTable = {std::string(kPredefinedComponent), "1000", "A", "300", "B", "50"};
    model.DefineComponent(kPredefinedComponent, "", true);
    model.DefineComponent("A", "", true);
    model.DefineComponent("B", "", true);
    model.DeletedComponents = {"b"};
    EXPECT_EQ(model.GetRequiredSpace(), 1300);

    // Maintenance: everything was installed, then the user deselects A.
    model.InstalledComponentSize = 1350;
    model.SetComponentState("A", false);
    EXPECT_EQ(model.GetRequiredSpace(), -350);
    EXPECT_EQ(model.GetRequiredSpaceText(messages), "-350 bytes");
}

TEST_F(ComponentModelTest, FreeSpaceIsAskedOfTheTargetFoldersVolume)
{
    disk.volumes = {{"D:\\", 5000}, {"\\\\server\\share\\", 7000}};
    model.ComponentTable = {"A", "1200"};
    model.DefineComponent("A", "", true);
    const struct
    {
        const char* targetDir;
        std::int64_t free;
        std::int64_t remaining;
    } cases[] = {
        {"", -1, -1201},
        {"D:\\Programs\\Product\\", 5000, 3800},
        {"\\\\server\\share\\Product", 7000, 5800},
        {"E:\\", 0, -1200},           // the query fails
        {"Product\\Here", 0, -1200},  // names no volume
    };
    for (const auto& c : cases) {
        SetVariable("TARGETDIR", c.targetDir, "test");
        EXPECT_EQ(model.GetFreeSpace(m_variables), c.free) << c.targetDir;
        EXPECT_EQ(model.GetRemainingSpace(m_variables), c.remaining) << c.targetDir;
    }
    EXPECT_EQ(disk.asked, (std::vector<std::string>{"D:\\", "D:\\", "\\\\server\\share\\",
                                                    "\\\\server\\share\\", "E:\\", "E:\\"}));
}

TEST(VolumeRootOf, DriveOrServerAndShare)
{
    const struct
    {
        const char* path;
        const char* root;
    } cases[] = {
        {"C:\\Program Files\\X", "C:\\"},
        {"c:", "c:\\"},
        {"\\\\srv\\share", "\\\\srv\\share\\"},
        {"\\\\srv\\share\\dir\\x", "\\\\srv\\share\\"},
        {"\\\\srv", ""},
        {"\\\\srv\\", ""},
        {"\\\\\\share", ""},
        {"relative\\dir", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VolumeRootOf(c.path), c.root) << c.path;
}

TEST(LastCharPos, IsOneBasedAndZeroWhenAbsent)
{
    EXPECT_EQ(LastCharPos('\\', "Software\\Vendor\\Key"), 16);
    EXPECT_EQ(LastCharPos('\\', "Key"), 0);
    EXPECT_EQ(LastCharPos('\\', "\\"), 1);
    EXPECT_EQ(LastCharPos('\\', ""), 0);
}

TEST_F(ComponentModelTest, ClearingKeepsTheSizeTable)
{
    model.ComponentTable = {"A", "5"};
    model.DefineComponent("A", "text", true);
    model.DeletedComponents.Add("A");
    model.HiddenComponents.Add("A");
    model.ChoiceLockedComponents.Add("A");
    model.ClearComponents();
    EXPECT_EQ(model.ComponentNames.Count() + model.ComponentStates.Count() +
                  model.ComponentDescriptions.Count() + model.DeletedComponents.Count() +
                  model.HiddenComponents.Count() + model.ChoiceLockedComponents.Count(),
              0u);
    EXPECT_EQ(model.ComponentTable.Items(), (std::vector<std::string>{"A", "5"}));
}

}  // namespace
}  // namespace setup::engine
