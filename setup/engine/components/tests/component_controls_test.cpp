#include "setup/engine/components/component_controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup::engine {
namespace {

// Records every node as "parent text > text image data" (parent text empty for a root).
class RecordingTree : public IComponentTreeView
{
public:
    std::vector<std::string> nodes;
    int clears = 0;

    void ClearNodes() override
    {
        ++clears;
        nodes.clear();
        m_texts.clear();
    }
    NodeId AddNode(std::optional<NodeId> parent, const std::string& text, int imageIndex,
                   std::intptr_t data) override
    {
        const std::string parentText = parent ? m_texts.at(*parent) : std::string();
        nodes.push_back(parentText + " > " + text + " " + std::to_string(imageIndex) + " " +
                        std::to_string(data));
        m_texts.push_back(text);
        return m_texts.size() - 1;
    }

private:
    std::vector<std::string> m_texts;
};

class FakeCheckList : public IComponentCheckList
{
public:
    struct Item
    {
        std::string text;
        bool checked;
    };
    std::vector<Item> items;

    void ClearItems() override { items.clear(); }
    void AddItem(const std::string& text, bool checked) override
    {
        items.push_back({text, checked});
    }
    std::size_t ItemCount() const override { return items.size(); }
    std::string ItemText(std::size_t index) const override { return items[index].text; }
    bool IsChecked(std::size_t index) const override { return items[index].checked; }
    void SetChecked(std::size_t index, bool checked) override { items[index].checked = checked; }
};

ComponentModel ModelOf(const std::vector<std::pair<std::string, std::string>>& components)
{
    ComponentModel model;
    for (const auto& [name, state] : components) {
        model.ComponentNames.Add(name);
        model.ComponentStates.Add(state);
    }
    return model;
}

TEST(FillComponentTree, BuildsFolderNodesAndSkipsWhatIsNotShown)
{
    ComponentModel model = ModelOf({
        {std::string(kPredefinedComponent), "TRUE"},
        {"Docs\\Manual", "TRUE"},
        {"Main", "true"},  // only exactly "TRUE" shows as ticked
        {"docs", "TRUE"},  // lands on the folder node made for Docs\Manual
        {"Extras\\Skins", "TRUE"},
        {"Old", "TRUE"},
        {"Tools\\Main", "FALSE"},
        {"Docs\\Manual\\Pdf", "FALSE"},
    });
    model.HiddenComponents = {"EXTRAS"};
    model.DeletedComponents = {"old"};

    RecordingTree tree;
    FillComponentTree(model, tree);
    EXPECT_EQ(tree.clears, 1);
    EXPECT_EQ(tree.nodes, (std::vector<std::string>{
                              " > Docs 1 4",
                              "Docs > Manual 1 2",
                              " > Main 0 3",
                              " > Tools -1 0",
                              "Tools > Main 0 7",
                              "Manual > Pdf 0 8",
                          }));
}

TEST(FillComponentTree, ATopLevelNameDoesNotLandOnANestedNodeOfTheSameName)
{
    ComponentModel model = ModelOf({{"Tools\\Docs", "TRUE"}, {"Docs", "FALSE"}});
    RecordingTree tree;
    FillComponentTree(model, tree);
    EXPECT_EQ(tree.nodes,
              (std::vector<std::string>{" > Tools -1 0", "Tools > Docs 1 1", " > Docs 0 2"}));
}

TEST(FillComponentCheckList, ListsTopLevelComponentsTickedWhenExactlyTrue)
{
    ComponentModel model = ModelOf({
        {std::string(kPredefinedComponent), "TRUE"},
        {"Main", "TRUE"},
        {"Docs", "-1"},
        {"Docs\\Manual", "TRUE"},
        {"Hidden", "TRUE"},
        {"Gone", "TRUE"},
        {"Child", "FALSE"},
    });
    model.HiddenComponents = {"hidden", "Child\\X"};
    model.DeletedComponents = {"GONE"};
    FakeCheckList list;
    list.items = {{"stale", true}};
    FillComponentCheckList(model, list);
    ASSERT_EQ(list.items.size(), 3u);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"Main", true}, {"Docs", false}, {"Child", false}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.items[i].text, expected[i].first);
        EXPECT_EQ(list.items[i].checked, expected[i].second) << expected[i].first;
    }
}

TEST(ReadComponentCheckList, AnItemCoversItsComponentAndSubComponentsOnly)
{
    ComponentModel model = ModelOf({
        {"Documentation", "FALSE"},
        {"Doc", "TRUE"},
        {"Doc\\Sub", "TRUE"},
        {"Doctor", "TRUE"},
    });
    FakeCheckList list;
    // "Documentation" comes first so that a prefix match of "Doc" would overwrite it.
    list.items = {{"Documentation", true}, {"doc", false}, {"Doctor", true}};
    ReadComponentCheckList(model, list);
    EXPECT_EQ(model.ComponentStates.Items(),
              (std::vector<std::string>{"TRUE", "FALSE", "FALSE", "TRUE"}));
    EXPECT_TRUE(list.items[0].checked);
    EXPECT_FALSE(list.items[1].checked);
    EXPECT_TRUE(list.items[2].checked);
}

TEST(ReadComponentCheckList, LockedComponentsKeepTheirStateAndTheMarkSpringsBack)
{
    const struct
    {
        const char* name;
        std::vector<std::string> locked;
        std::vector<std::string> states;  // Main, Main\Core, Main\Extra after ticking "Main"
        bool mark;
    } cases[] = {
        {"nothing locked", {}, {"TRUE", "TRUE", "TRUE"}, true},
        {"the last sub-component", {"Main\\Extra"}, {"TRUE", "TRUE", "FALSE"}, false},
        {"the first sub-component", {"Main\\Core"}, {"TRUE", "FALSE", "TRUE"}, true},
        {"the item's own component", {"MAIN"}, {"FALSE", "FALSE", "FALSE"}, false},
    };
    for (const auto& c : cases) {
        ComponentModel model =
            ModelOf({{"Main", "FALSE"}, {"Main\\Core", "FALSE"}, {"Main\\Extra", "FALSE"}});
        for (const std::string& name : c.locked)
            model.ChoiceLockedComponents.Add(name);
        FakeCheckList list;
        list.items = {{"Main", true}};
        ReadComponentCheckList(model, list);
        EXPECT_EQ(model.ComponentStates.Items(), c.states) << c.name;
        EXPECT_EQ(list.items[0].checked, c.mark) << c.name;
    }
}

}  // namespace
}  // namespace setup::engine
