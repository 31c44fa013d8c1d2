// TPoolTemplate: the form behind every wizard page. It loads the page file through a form
// designer, publishes the handlers the binding attaches to the page's controls (results by Tag,
// values into the variable named in a control's Hint), refuses to close while shown and keeps
// its one-second poll timer, whose ticks drive the page's progress cycle.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "setup/forms/class_info.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/form.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/timer.h"
#include "setup/wizard/progress/progress_page.h"
#include "setup/wizard/progress/progress_page_cycle.h"

namespace setup::wizard {

struct DialogRuntime;
class IPageSystem;

// The memo (or rich edit) whose end-of-text mark a page keeps.
struct TrackedMemo
{
    std::string name;
    ui::TCustomMemo* control = nullptr;
};

class TPoolTemplate : public ui::TForm, public IProgressPage
{
public:
    FORMS_CLASS_INFO()
    // Loads the page file (a binary form file with its resource header); raises when it cannot be
    // read.
    TPoolTemplate(DialogRuntime& runtime, const std::string& pageFile);
    ~TPoolTemplate() override;

    DialogRuntime& Runtime() const { return m_runtime; }
    bool CloseQuery() override;

    // The page as the progress display drives it.
    ui::TForm& Form() override { return *this; }
    ui::TTimer& PollTimer() override { return *timer1; }
    // Made with the run's progress display on first use; raises when the run has none.
    ProgressPageCycle& Cycle() override;
    void AttachClickHandler(ui::TControl& control, PageClickHandler handler) override;
    void RefreshCaption(ui::TControl& control) override;
    void ApplyControlRules() override { ApplyRules(); }
    void SetResultCode(int code) override { resultCode = code; }
    std::uintptr_t WindowHandle() override;
    // The cycle goes with the progress display it was made with.
    void DropCycle() { m_cycle.reset(); }
    bool InstallerStarted() const { return m_cycle && m_cycle->InstallerStarted(); }

    // Results by Tag: 1 next, 2 back, 3 cancel (asked), 4 browse, 5 named result, 6 custom folder.
    void Label1Click(forms::TObject* sender) { ResultClick(sender); }
    void Button1Click(forms::TObject* sender) { ResultClick(sender); }
    void BitBtn1Click(forms::TObject* sender) { ResultClick(sender); }
    void SpeedButton1Click(forms::TObject* sender) { ResultClick(sender); }
    void Image1Click(forms::TObject* sender) { ResultClick(sender); }
    void SkBmpButton1Click(forms::TObject* sender) { ResultClick(sender); }
    void Shape1MouseUp(forms::TObject* sender, ui::TMouseButton, ui::TShiftState, int, int)
    {
        ResultClick(sender);
    }

    // Values into the variable the control's Hint names.
    void Edit1Change(forms::TObject* sender);
    void MaskEdit1Change(forms::TObject* sender);
    void MaskEdit1KeyUp(forms::TObject* sender, std::uint16_t& key, ui::TShiftState shift);
    void CheckBox1Click(forms::TObject* sender);
    void RadioButton1Click(forms::TObject* sender);
    void ListBox1Click(forms::TObject* sender);
    void ComboBox1Click(forms::TObject* sender);
    void ComboBox1Change(forms::TObject* sender);
    void TrackBar1Change(forms::TObject* sender);
    void CheckListBox1Click(forms::TObject* sender);
    void CheckListBox1ClickCheck(forms::TObject* sender);
    void TreeView1Change(forms::TObject* sender, ui::TTreeNode* node);
    // The component pop-up: a release on the selected node's icon, or the context-menu key.
    void TreeView1MouseUp(forms::TObject* sender, ui::TMouseButton button, ui::TShiftState shift,
                          int x, int y);
    void TreeView1KeyUp(forms::TObject* sender, std::uint16_t& key, ui::TShiftState shift);
    void FileListBox1Change(forms::TObject* sender);
    void DirectoryListBox1Change(forms::TObject* sender);
    void DriveComboBox1Change(forms::TObject* sender);
    void Memo1Change(forms::TObject* sender);
    void RichEdit1Change(forms::TObject* sender);
    void Timer1Timer(forms::TObject* sender);
    void htmlLite1HotSpotClick(forms::TObject* sender, const std::string& link, bool& handled);
    // A document's refresh: its target beside the pages is loaded after the delay.
    void htmlLite1MetaRefresh(forms::TObject* sender, std::int32_t delay, const std::string& url);
    void MetaTimerTimer(forms::TObject* sender);
    void FormShow(forms::TObject* sender);

    // The target-folder edits (Tag 2) follow a folder the user chose.
    void ApplyBrowsedFolder(const std::string& folder);
    // The variable named after the control takes the folder with a trailing "\".
    void SetCustomDirectory(const std::string& folder, const std::string& controlName);
    // Controls with Tag 100 read their variable again.
    void RefreshBoundControls();
    // Checks the tracked memo's scroll state and marks its text read at the end.
    void CheckEndOfText(ui::TCustomMemo& memo);
    void ApplyRules();
    // A link clicked on an HTML pane: sounds and programs of local links are played and started,
    // mail and web links go to the shell; false leaves the link to the viewer. `expand` resolves
    // a local link against the pane's document.
    bool HotSpotClick(const std::string& link,
                      const std::function<std::string(const std::string&)>& expand);

    // Page result: -1 while a modal page waits.
    std::int32_t resultCode = -1;
    std::string resultText;
    std::string controlRules;
    bool canClose = true;
    std::string selectedComponent;
    TrackedMemo trackedMemo;
    TrackedMemo trackedRichEdit;
    ui::TTimer* timer1 = nullptr;
    ui::TTimer* metaTimer = nullptr;

private:
    void ResultClick(forms::TObject* sender);
    // Writes the value into the Hint's variable; nothing without a Hint.
    void WriteHint(forms::TObject* sender, const std::string& value, const char* context);
    // A folder control's choice into its variable; with Tag 1 the target edits follow it.
    void FolderChosen(forms::TObject* sender, const std::string& value, const std::string& folder,
                      const char* context);
    // The control's text into its variable, then the rules.
    void WriteText(forms::TObject* sender, const char* context);
    void FocusNextInTabOrder(ui::TWinControl& control);
    // The selected node when it stands for a component the user may choose.
    ui::TTreeNode* ChoosableSelection(ui::TTreeView& tree) const;
    void ShowComponentMenu(ui::TTreeView& tree, ui::TTreeNode& node, ui::TPoint at);

    DialogRuntime& m_runtime;
    ui::TFormDesigner* m_designer = nullptr;
    std::unique_ptr<ProgressPageCycle> m_cycle;
};

// A file list, folder list or drive list shows the folder (or the file's folder, or the drive) of
// the path when it exists; other controls stay as they are.
void ShowFolderIn(ui::TControl& control, const std::string& path, IPageSystem& system);

// The information labels (static texts, Tag 2 to 6) from the selected component and the sizes.
void UpdateInfoLabels(TPoolTemplate& page);

}  // namespace setup::wizard
