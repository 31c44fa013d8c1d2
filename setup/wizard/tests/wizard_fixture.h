// The wizard tests' fixture: page files written from text forms with their rules files, a fake
// system (folders, answers, scroll states) and a runtime over a recording window factory and a
// scripted message loop.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/ui/application.h"
#include "setup/ui/tests/recording_fakes.h"
#include "setup/wizard/dialog_runtime.h"

namespace setup::wizard::testing {

// Writes the text form as a page file "<folder>/<name>.dfm" and its rule lines beside it;
// returns the page file's path.
std::string WritePageFile(const std::filesystem::path& folder, const std::string& name,
                          const std::string& formText, const std::vector<std::string>& rules);

class FakePageSystem final : public IPageSystem
{
public:
    bool DirectoryExists(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    std::string CurrentDirectory() override { return current; }
    void SetCurrentDirectory(const std::string& path) override { current = path; }
    std::vector<std::string> ReadLines(const std::string& path) override;
    int ScreenWidth() override { return 1024; }
    int ScreenHeight() override { return 768; }
    int WindowsMajorVersion() override { return 6; }
    bool AskYesNo(TPoolTemplate&, const std::string& text, const std::string&) override
    {
        questions.push_back(text);
        return answerYes;
    }
    std::optional<std::string> BrowseForFolder(TPoolTemplate&) override { return browsed; }
    void PlaySoundFile(const std::string& path) override { actions.push_back("sound " + path); }
    void StartProgram(const std::string& program, const std::string& parameters) override
    {
        actions.push_back("start " + QuotedCommandLine(program, parameters));
    }
    void OpenWithShell(const std::string& target) override { actions.push_back("open " + target); }
    void WatchMemo(ui::TCustomMemo& memo, std::function<void(unsigned)> handled) override
    {
        watched[&memo] = std::move(handled);
    }
    void UnwatchMemo(ui::TCustomMemo& memo) override { watched.erase(&memo); }
    std::optional<ScrollState> VerticalScroll(ui::TCustomMemo& memo) override;
    std::optional<PagePosition> WindowPosition(ui::TCustomForm&) override { return moved; }
    bool IsOnNodeIcon(ui::TTreeView&, int x, int y) override { return x < iconRight; }
    ui::TPoint CursorPosition() override { return cursor; }
    std::optional<ui::TPoint> NodeTextCorner(ui::TTreeView&, ui::TTreeNode&) override
    {
        return textCorner;
    }

    std::set<std::string> folders;  // existing folders, compared without a trailing "\"
    std::string current = "C:\\start";
    bool answerYes = true;
    std::optional<std::string> browsed;
    std::vector<std::string> questions;
    std::vector<std::string> actions;
    std::map<ui::TCustomMemo*, std::function<void(unsigned)>> watched;
    std::map<ui::TCustomMemo*, ScrollState> scroll;
    std::optional<PagePosition> moved;  // where the user dragged the page on screen
    int iconRight = 16;                  // points left of it lie on a node's icon
    ui::TPoint cursor{300, 200};
    std::optional<ui::TPoint> textCorner = ui::TPoint{120, 80};
};

// A run with pages: the engine state, the fake system and an application whose windows are
// recorded and whose message loop runs scripted steps.
struct WizardRun
{
    WizardRun();
    ~WizardRun();
    std::filesystem::path folder;  // the support folder, removed again at the end
    engine::EngineState engine;
    FakePageSystem system;
    ui::testing::RecordingPeerFactory peers;
    ui::testing::ScriptedLoop loop;
    ui::TApplication application;
    DialogRuntime runtime;
};

}  // namespace setup::wizard::testing
