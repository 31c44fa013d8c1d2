// The shared pool form with no display: the component menu's commands over a component tree
// (locked sub-trees kept, ancestors of an installed node installed), the menu reached from a
// page's component tree, and the workers' watchdogs firing once and only while armed.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/components/statements_components.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/std_controls.h"
#include "setup/wizard/component_marks.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/image_list_pool.h"
#include "setup/wizard/page_binding.h"
#include "setup/wizard/pool_template.h"
#include "setup/wizard/pool_watchdog.h"
#include "setup/wizard/tests/wizard_fixture.h"

namespace setup::wizard::testing {
namespace {

class FakeMarks final : public IComponentMarks
{
public:
    void SetSelected(int index, bool selected) override { states[index] = selected; }
    bool IsChoiceLocked(int index) const override { return locked.count(index) != 0; }
    std::map<int, bool> states;
    std::set<int> locked;
};

// Feature (0) with Locked (1) above Deep (2), and Parts (3) above Leaf (4); a folder node
// without a component above Loose (5).
struct ComponentTree
{
    ComponentTree()
    {
        ui::TTreeNodes& nodes = *tree.Items();
        feature = Node(nodes, nullptr, "Feature", 1);
        locked = Node(nodes, feature, "Locked", 2);
        deep = Node(nodes, locked, "Deep", 3);
        parts = Node(nodes, feature, "Parts", 4);
        leaf = Node(nodes, parts, "Leaf", 5);
        folder = Node(nodes, feature, "Folder", 0);
        loose = Node(nodes, folder, "Loose", 6);
    }
    static ui::TTreeNode* Node(ui::TTreeNodes& nodes, ui::TTreeNode* parent, const char* text,
                               std::intptr_t data)
    {
        ui::TTreeNode* node = nodes.AddChild(parent, text);
        node->data = data;
        node->SetImageIndex(-1);
        return node;
    }
    ui::TTreeView tree{nullptr};
    ui::TTreeNode* feature;
    ui::TTreeNode* locked;
    ui::TTreeNode* deep;
    ui::TTreeNode* parts;
    ui::TTreeNode* leaf;
    ui::TTreeNode* folder;
    ui::TTreeNode* loose;
};

TEST(ComponentMarks, EachCommandMarksWhatItNames)
{
    struct Case
    {
        const char* command;
        bool withSubTree;
        bool install;
        const char* node;
        std::map<int, bool> states;  // component index: selected
    };
    const Case cases[] = {
        // The locked child and everything below it keep their state; the folder node's
        // component-less children follow.
        {"entire feature unavailable", true, false, "feature",
         {{0, false}, {3, false}, {4, false}, {5, false}}},
        {"install with sub-components", true, true, "feature",
         {{0, true}, {3, true}, {4, true}, {5, true}}},
        // The leaf alone, and every ancestor installed with it.
        {"install only", false, true, "leaf", {{4, true}, {3, true}, {0, true}}},
        {"do not install only", false, false, "parts", {{3, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ComponentTree components;
        FakeMarks marks;
        marks.locked = {1};
        std::map<std::string, ui::TTreeNode*> byName = {{"feature", components.feature},
                                                         {"leaf", components.leaf},
                                                         {"parts", components.parts}};
        ui::TTreeNode& node = *byName.at(c.node);
        MarkComponentNode(node, c.withSubTree, c.install, marks);
        if (c.install)
            MarkAncestorsInstalled(node, marks);
        EXPECT_EQ(marks.states, c.states);
        EXPECT_EQ(components.locked->ImageIndex(), -1);
        EXPECT_EQ(components.deep->ImageIndex(), -1);
        EXPECT_EQ(components.folder->ImageIndex(), -1);  // no component, no image
        EXPECT_EQ(node.ImageIndex(), c.install ? kInstalledImage : kNotInstalledImage);
    }
}

// Chooses the named item of whatever menu shows.
class ChoosingPresenter final : public ui::IMenuPresenter
{
public:
    ui::TMenuItem* Present(ui::TPopupMenu& menu, int x, int y) override
    {
        shownAt.push_back({x, y});
        for (ui::TMenuItem* item : menu.Items()->Items())
            if (item->Name() == choice)
                return item;
        return nullptr;
    }
    std::string choice;
    std::vector<ui::TPoint> shownAt;
};

constexpr const char* kComponentPage = R"(object ComponentPage: TPoolTemplate
  ClientHeight = 200
  ClientWidth = 300
  object TreeView1: TTreeView
    Tag = 1
  end
  object Required: TStaticText
    Tag = 4
  end
end
)";

class ComponentMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine::ComponentModel& model = engine::RunComponentModel(run.engine);
        model.DefineComponent("Engine", "", true);
        model.DefineComponent("Engine\\Core", "", true);
        model.DefineComponent("Engine\\Extras", "", true);
        model.ChoiceLockedComponents.Add("Engine\\Core");
        page = &LoadDialog(run.runtime, "C", WritePageFile(run.folder, "Components",
                                                          kComponentPage, {}));
        PrepareDialog(run.runtime, "C");
        run.application.menuPresenter = &presenter;
        tree = dynamic_cast<ui::TTreeView*>(page->FindComponent("TreeView1"));
        ASSERT_NE(tree, nullptr);
    }
    ui::TTreeNode* NodeNamed(const std::string& text)
    {
        for (ui::TTreeNode* node : tree->Items()->All())
            if (node->Text() == text)
                return node;
        return nullptr;
    }
    bool Selected(const char* name)
    {
        return engine::RunComponentModel(run.engine).GetComponentState(name);
    }

    WizardRun run;
    ChoosingPresenter presenter;
    TPoolTemplate* page = nullptr;
    ui::TTreeView* tree = nullptr;
};

TEST_F(ComponentMenuTest, TheMenuCarriesTheLanguageCaptionsAndHidesTheOldCommands)
{
    run.engine.Messages->Set(115, "Gar nicht installieren");
    FreeDialogPool(run.runtime);
    InitDialogPool(run.runtime, run.folder.string() + "/");
    const TImageListPool& pool = *run.runtime.imageListPool;
    EXPECT_EQ(pool.entireFeatureUnavailable->caption, "Gar nicht installieren");
    EXPECT_EQ(pool.installComponentOnly->caption, "Will be &installed on local hard drive");
    std::vector<std::string> visible;
    for (const ui::TMenuItem* item : pool.popup->Items()->Items())
        if (item->visible)
            visible.push_back(item->Name());
    EXPECT_EQ(visible, (std::vector<std::string>{"InstallComponentOnly1",
                                                 "InstallComponentwithSubComponents1", "N1",
                                                 "Entirefeaturewillbeunavailable1"}));
    EXPECT_EQ(pool.imageList->Width(), 32);
    EXPECT_EQ(pool.imageList->Count(), 6);  // every image the tree and the menu name
}

TEST_F(ComponentMenuTest, AReleaseOnTheIconMarksTheFeatureButLeavesTheLockedPart)
{
    tree->SetSelected(NodeNamed("Engine"));
    presenter.choice = "Entirefeaturewillbeunavailable1";
    page->TreeView1MouseUp(tree, ui::mbRight, {}, 40, 5);  // beside the icon: no menu
    EXPECT_TRUE(presenter.shownAt.empty());

    page->TreeView1MouseUp(tree, ui::mbRight, {}, 5, 5);
    ASSERT_EQ(presenter.shownAt.size(), 1u);
    EXPECT_EQ(presenter.shownAt[0], run.system.cursor);
    EXPECT_FALSE(Selected("Engine"));
    EXPECT_FALSE(Selected("Engine\\Extras"));
    EXPECT_TRUE(Selected("Engine\\Core"));
    EXPECT_EQ(NodeNamed("Extras")->ImageIndex(), kNotInstalledImage);
    EXPECT_EQ(NodeNamed("Core")->ImageIndex(), kInstalledImage);
    // The page's information labels follow the new selection.
    auto* required = dynamic_cast<ui::TStaticText*>(page->FindComponent("Required"));
    EXPECT_EQ(required->Caption(),
              engine::RunComponentModel(run.engine).GetRequiredSpaceText(*run.engine.Messages));
}

TEST_F(ComponentMenuTest, TheContextKeyOpensTheMenuAtTheNodesText)
{
    engine::RunComponentModel(run.engine).SetComponentSelected(0, false);
    engine::RunComponentModel(run.engine).SetComponentSelected(2, false);
    tree->SetSelected(NodeNamed("Extras"));
    presenter.choice = "InstallComponentOnly1";
    std::uint16_t key = 'A';
    page->TreeView1KeyUp(tree, key, {});
    EXPECT_TRUE(presenter.shownAt.empty());

    key = 93;
    page->TreeView1KeyUp(tree, key, {});
    ASSERT_EQ(presenter.shownAt.size(), 1u);
    EXPECT_EQ(presenter.shownAt[0], *run.system.textCorner);
    EXPECT_TRUE(Selected("Engine\\Extras"));
    EXPECT_TRUE(Selected("Engine"));  // its feature comes with it
}

TEST_F(ComponentMenuTest, NoMenuForALockedComponentOrAFolderNode)
{
    tree->SetSelected(NodeNamed("Core"));
    page->TreeView1MouseUp(tree, ui::mbRight, {}, 5, 5);
    tree->SetSelected(nullptr);
    page->TreeView1MouseUp(tree, ui::mbRight, {}, 5, 5);
    EXPECT_TRUE(presenter.shownAt.empty());
}

// A dialog runtime whose timers tick when the test says.
class Watchdogs : public ::testing::Test
{
protected:
    engine::EngineState engine;
    FakePageSystem system;
    ui::testing::ScriptedLoop loop;
    ui::testing::ManualTimers timers;
    ui::TApplication application{loop, nullptr, &timers};
    DialogRuntime runtime{engine, application, system};
};

TEST_F(Watchdogs, FireOnceForTheArmedWorkerOnly)
{
    InitDialogPool(runtime, "C:\\support\\");
    TImageListPool& pool = *runtime.imageListPool;
    for (WatchedWorker worker :
         {WatchedWorker::Extraction, WatchedWorker::Download, WatchedWorker::Copy}) {
        EXPECT_FALSE(pool.WatchdogTimer(worker).Enabled());
        EXPECT_EQ(pool.WatchdogTimer(worker).Interval(), kWatchdogInterval);
    }

    std::vector<std::string> fired;
    pool.ArmWatchdog(WatchedWorker::Download, [&] { fired.push_back("download"); });
    pool.ArmWatchdog(WatchedWorker::Copy, [&] { fired.push_back("copy"); });
    pool.DisarmWatchdog(WatchedWorker::Copy);  // the copy ended in time
    EXPECT_EQ(timers.running.size(), 1u);
    timers.TickAll();
    timers.TickAll();
    EXPECT_EQ(fired, std::vector<std::string>{"download"});
    EXPECT_FALSE(pool.WatchdogTimer(WatchedWorker::Download).Enabled());
    EXPECT_TRUE(timers.running.empty());
}

class RecordingWatchdog final : public engine::IWorkerWatchdog
{
public:
    void Enable(engine::MediaWorkerKind, std::function<void()> end) override
    {
        enabled++;
        this->end = std::move(end);
    }
    void Disable(engine::MediaWorkerKind) override { disabled++; }
    int enabled = 0;
    int disabled = 0;
    std::function<void()> end;
};

// The media side's watchdog reaches the pool's timer for its kind, and the stand-in only while
// there is no pool.
TEST_F(Watchdogs, TheMediaWorkersUseThePoolTimersWhileThePoolExists)
{
    RecordingWatchdog withoutPool;
    PoolWorkerWatchdog watchdog(runtime, withoutPool);

    int ended = 0;
    watchdog.Enable(engine::MediaWorkerKind::Copy, [&] { ended++; });
    EXPECT_EQ(withoutPool.enabled, 1);

    InitDialogPool(runtime, "C:\\support\\");
    TImageListPool& pool = *runtime.imageListPool;
    const std::pair<engine::MediaWorkerKind, WatchedWorker> kinds[] = {
        {engine::MediaWorkerKind::Extraction, WatchedWorker::Extraction},
        {engine::MediaWorkerKind::Download, WatchedWorker::Download},
        {engine::MediaWorkerKind::Copy, WatchedWorker::Copy}};
    for (const auto& [kind, timer] : kinds) {
        watchdog.Enable(kind, [&] { ended++; });
        EXPECT_TRUE(pool.WatchdogTimer(timer).Enabled());
        watchdog.Disable(kind);
        EXPECT_FALSE(pool.WatchdogTimer(timer).Enabled());
    }
    EXPECT_EQ(withoutPool.enabled, 1);
    EXPECT_EQ(withoutPool.disabled, 3);

    watchdog.Enable(engine::MediaWorkerKind::Download, [&] { ended++; });
    timers.TickAll();
    EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace setup::wizard::testing
