#include "setup/wizard/pool_template.h"

#include <algorithm>
#include <filesystem>

#include "setup/engine/components/component_controls.h"
#include "setup/engine/components/statements_components.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/forms/class_builder.h"
#include "setup/ui/control_rules.h"
#include "setup/ui/file_controls.h"
#include "setup/ui/html_pane.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/skin/bmp_button.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/wizard/component_lists.h"
#include "setup/wizard/dialog_runtime.h"
#include "setup/wizard/image_list_pool.h"
#include "setup/wizard/page_binding.h"

namespace setup::wizard {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

constexpr std::uint32_t kAppWindowStyle = 0x40000;  // each page has its own taskbar button
constexpr std::uint16_t kContextMenuKey = 93;

std::string PageFileName(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

std::string PageFolder(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

}  // namespace

const ClassInfo& TPoolTemplate::StaticClass()
{
    using P = TPoolTemplate;
    static const ClassInfo info = ClassBuilder<P>("TPoolTemplate", &ui::TForm::StaticClass())
                                      .Method("FormShow", &P::FormShow)
                                      .Method("Timer1Timer", &P::Timer1Timer)
                                      .Method("Label1Click", &P::Label1Click)
                                      .Method("Button1Click", &P::Button1Click)
                                      .Method("BitBtn1Click", &P::BitBtn1Click)
                                      .Method("SpeedButton1Click", &P::SpeedButton1Click)
                                      .Method("Image1Click", &P::Image1Click)
                                      .Method("Shape1MouseUp", &P::Shape1MouseUp)
                                      .Method("SkBmpButton1Click", &P::SkBmpButton1Click)
                                      .Method("Edit1Change", &P::Edit1Change)
                                      .Method("MaskEdit1Change", &P::MaskEdit1Change)
                                      .Method("MaskEdit1KeyUp", &P::MaskEdit1KeyUp)
                                      .Method("CheckBox1Click", &P::CheckBox1Click)
                                      .Method("RadioButton1Click", &P::RadioButton1Click)
                                      .Method("ListBox1Click", &P::ListBox1Click)
                                      .Method("ComboBox1Click", &P::ComboBox1Click)
                                      .Method("ComboBox1Change", &P::ComboBox1Change)
                                      .Method("TrackBar1Change", &P::TrackBar1Change)
                                      .Method("CheckListBox1Click", &P::CheckListBox1Click)
                                      .Method("CheckListBox1ClickCheck",
                                              &P::CheckListBox1ClickCheck)
                                      .Method("TreeView1Change", &P::TreeView1Change)
                                      .Method("TreeView1MouseUp", &P::TreeView1MouseUp)
                                      .Method("TreeView1KeyUp", &P::TreeView1KeyUp)
                                      .Method("FileListBox1Change", &P::FileListBox1Change)
                                      .Method("DirectoryListBox1Change",
                                              &P::DirectoryListBox1Change)
                                      .Method("DriveComboBox1Change", &P::DriveComboBox1Change)
                                      .Method("RichEdit1Change", &P::RichEdit1Change)
                                      .Method("Memo1Change", &P::Memo1Change)
                                      .Method("htmlLite1HotSpotClick", &P::htmlLite1HotSpotClick)
                                      .Method("htmlLite1MetaRefresh", &P::htmlLite1MetaRefresh)
                                      .Method("MetaTimerTimer", &P::MetaTimerTimer)
                                      .Build();
    return info;
}

TPoolTemplate::TPoolTemplate(DialogRuntime& runtime, const std::string& pageFile)
    : ui::TForm(nullptr), m_runtime(runtime)
{
    SetName("PoolTemplate");
    SetCaption("PoolTemplate");
    SetBorderStyle(ui::TFormBorderStyle::bsDialog);
    SetClientWidth(462);
    SetClientHeight(181);
    SetPosition(ui::TPosition::poScreenCenter);
    SetExtraExStyle(kAppWindowStyle);
    runtime.application.AddForm(*this);
    m_designer = new ui::TFormDesigner(this);
    m_designer->SetName("Designer");
    m_designer->registry = &runtime.pageClasses;
    m_designer->clearBeforeLoad = false;
    {
        CurrentFolderScope folder(runtime.system, PageFolder(pageFile));
        m_designer->LoadFromFile(pageFile, ui::FormFileLayout::Binary);
    }
    metaTimer = new ui::TTimer(this);
    metaTimer->SetEnabled(false);
    metaTimer->SetOnTimer(forms::PublishedHandler<forms::TNotifyEvent>(*this, "MetaTimerTimer"));
    timer1 = new ui::TTimer(this);
    timer1->SetInterval(1000);
    timer1->SetOnTimer(forms::PublishedHandler<forms::TNotifyEvent>(*this, "Timer1Timer"));
    timer1->SetEnabled(true);
    onShow = forms::PublishedHandler<forms::TNotifyEvent>(*this, "FormShow");
    SetHint(PageFileName(pageFile));
}

TPoolTemplate::~TPoolTemplate()
{
    for (std::size_t i = 0; i < ComponentCount(); ++i)
        if (Component(i) == m_runtime.metaRefreshViewer)
            m_runtime.metaRefreshViewer = nullptr;
    if (trackedMemo.control)
        m_runtime.system.UnwatchMemo(*trackedMemo.control);
    if (trackedRichEdit.control)
        m_runtime.system.UnwatchMemo(*trackedRichEdit.control);
}

bool TPoolTemplate::CloseQuery()
{
    if (!canClose && m_runtime.foregroundDialog && m_runtime.foregroundDialog != this)
        m_runtime.foregroundDialog->Show();
    return canClose;
}

void TPoolTemplate::ApplyRules()
{
    ui::ApplyControlRules(*this, controlRules);
}

void TPoolTemplate::ResultClick(forms::TObject* sender)
{
    resultCode = -1;
    if (m_runtime.bindingInProgress)
        return;
    auto* control = dynamic_cast<ui::TControl*>(sender);
    if (!control)
        return;
    switch (control->Tag()) {
        case 1:
            resultCode = 6;
            break;
        case 2:
            resultCode = 7;
            break;
        case 3: {
            engine::EngineState& engine = m_runtime.engine;
            const std::string caption =
                engine::GetWizardCaption(engine.CaptionTitle, engine.CaptionSuffix);
            if (m_runtime.system.AskYesNo(*this, engine.Messages->Text(kCancelQuestionMessage),
                                          caption)) {
                m_runtime.CancelFlag() = true;
                control->SetEnabled(false);
                if (!InstallerStarted())
                    resultCode = 2;
            }
            break;
        }
        case 4:
            if (const auto folder = m_runtime.system.BrowseForFolder(*this))
                ApplyBrowsedFolder(*folder);
            break;
        case 5:
            resultCode = 8;
            resultText = control->Name();
            break;
        case 6:
            if (const auto folder = m_runtime.system.BrowseForFolder(*this))
                SetCustomDirectory(*folder, control->Name());
            break;
        default:
            break;
    }
    ApplyRules();
}

void TPoolTemplate::WriteHint(forms::TObject* sender, const std::string& value,
                              const char* context)
{
    const auto* control = dynamic_cast<const ui::TControl*>(sender);
    if (!control || control->Hint().empty())
        return;
    m_runtime.engine.Variables.Set(rtl::AnsiUpperCase(control->Hint()), value, context);
}

void TPoolTemplate::FocusNextInTabOrder(ui::TWinControl& control)
{
    for (ui::TControl* child : Controls()) {
        auto* windowed = dynamic_cast<ui::TWinControl*>(child);
        if (windowed && windowed->TabOrder() == control.TabOrder() + 1) {
            if (windowed->HandleAllocated())
                windowed->SetFocus();
            return;
        }
    }
}

void TPoolTemplate::Edit1Change(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    auto* edit = dynamic_cast<ui::TCustomEdit*>(sender);
    if (!edit)
        return;
    WriteHint(sender, edit->Text(), "Edit1Change");
    UpdateInfoLabels(*this);
    RefreshBoundControls();
    ApplyRules();
    if (edit->MaxLength() != 0 &&
        edit->Text().size() == static_cast<std::size_t>(edit->MaxLength()))
        FocusNextInTabOrder(*edit);
}

void TPoolTemplate::MaskEdit1Change(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    auto* edit = dynamic_cast<ui::TCustomEdit*>(sender);
    if (!edit)
        return;
    WriteHint(sender, edit->Text(), "MaskEdit1Change");
    UpdateInfoLabels(*this);
    RefreshBoundControls();
    ApplyRules();
}

void TPoolTemplate::MaskEdit1KeyUp(forms::TObject* sender, std::uint16_t&, ui::TShiftState)
{
    // Without a selection the caret sits at the end of what was typed: the field is full.
    auto* edit = dynamic_cast<ui::TCustomEdit*>(sender);
    if (edit && edit->MaxLength() != 0 &&
        edit->Text().size() >= static_cast<std::size_t>(edit->MaxLength()))
        FocusNextInTabOrder(*edit);
}

void TPoolTemplate::CheckBox1Click(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    if (auto* box = dynamic_cast<ui::skin::TSkCustomGlyphButton*>(sender))
        WriteHint(sender, box->Checked() ? "TRUE" : "FALSE", "CheckBox1Click");
    ApplyRules();
}

void TPoolTemplate::RadioButton1Click(forms::TObject*)
{
    if (m_runtime.bindingInProgress)
        return;
    for (std::size_t i = 0; i < ComponentCount(); ++i)
        if (auto* radio = dynamic_cast<ui::skin::TSkRadioButton*>(Component(i)))
            WriteHint(radio, radio->Checked() ? "TRUE" : "FALSE", "RadioButton1Click");
    ApplyRules();
}

void TPoolTemplate::ListBox1Click(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    auto* list = dynamic_cast<ui::TCustomListBox*>(sender);
    if (!list)
        return;
    std::string value;
    for (std::size_t i = 0; i < list->Items()->Count(); ++i)
        if (list->Selected(i))
            value += (*list->Items())[i] + "\r\n";
    WriteHint(sender, value, "ListBox1Click");
    ApplyRules();
}

void TPoolTemplate::WriteText(forms::TObject* sender, const char* context)
{
    if (m_runtime.bindingInProgress)
        return;
    if (auto* control = dynamic_cast<ui::TControl*>(sender))
        WriteHint(sender, control->Text(), context);
    ApplyRules();
}

void TPoolTemplate::ComboBox1Click(forms::TObject* sender)
{
    WriteText(sender, "ComboBox1Click");
}

void TPoolTemplate::ComboBox1Change(forms::TObject* sender)
{
    WriteText(sender, "ComboBox1Change");
}

void TPoolTemplate::TrackBar1Change(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    if (auto* bar = dynamic_cast<ui::TTrackBar*>(sender))
        WriteHint(sender, std::to_string(bar->Position()), "TrackBar1Change");
    ApplyRules();
}

void TPoolTemplate::CheckListBox1Click(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    auto* list = dynamic_cast<ui::TCheckListBox*>(sender);
    if (!list || list->ItemIndex() < 0)
        return;
    if (list->Tag() == 1) {
        selectedComponent = (*list->Items())[static_cast<std::size_t>(list->ItemIndex())];
        UpdateInfoLabels(*this);
    }
    ApplyRules();
}

void TPoolTemplate::CheckListBox1ClickCheck(forms::TObject* sender)
{
    auto* list = dynamic_cast<ui::TCheckListBox*>(sender);
    if (!list)
        return;
    if (list->Tag() == 1) {
        CheckListAdapter adapter(*list);
        engine::ReadComponentCheckList(engine::RunComponentModel(m_runtime.engine), adapter);
        UpdateInfoLabels(*this);
    } else {
        std::string value;
        for (std::size_t i = 0; i < list->Items()->Count(); ++i)
            if (list->Checked(i))
                value += (*list->Items())[i] + "\r\n";
        WriteHint(sender, value, "CheckListBox1ClickCheck");
    }
    ApplyRules();
}

void TPoolTemplate::TreeView1Change(forms::TObject* sender, ui::TTreeNode* node)
{
    if (m_runtime.bindingInProgress)
        return;
    auto* tree = dynamic_cast<ui::TTreeView*>(sender);
    if (!tree || !node)
        return;
    WriteHint(sender, node->Text(), "TreeView1Change");
    if (tree->Tag() == 1) {
        selectedComponent = node->Path('\\');
        UpdateInfoLabels(*this);
    }
    ApplyRules();
}

ui::TTreeNode* TPoolTemplate::ChoosableSelection(ui::TTreeView& tree) const
{
    ui::TTreeNode* node = tree.Selected();
    if (!node || node->data <= 0)
        return nullptr;
    const engine::ComponentModel& model = engine::RunComponentModel(m_runtime.engine);
    const auto index = static_cast<std::size_t>(node->data - 1);
    if (index >= model.ComponentNames.Count() ||
        model.IsComponentChoiceLocked(model.ComponentNames[index]))
        return nullptr;
    return node;
}

void TPoolTemplate::ShowComponentMenu(ui::TTreeView& tree, ui::TTreeNode& node, ui::TPoint at)
{
    if (!m_runtime.imageListPool)
        return;
    m_runtime.imageListPool->ShowComponentMenu(*this, tree, node, at.x, at.y);
    UpdateInfoLabels(*this);
    ApplyRules();
}

void TPoolTemplate::TreeView1MouseUp(forms::TObject* sender, ui::TMouseButton, ui::TShiftState,
                                     int x, int y)
{
    auto* tree = dynamic_cast<ui::TTreeView*>(sender);
    ui::TTreeNode* node = tree ? ChoosableSelection(*tree) : nullptr;
    if (node && m_runtime.system.IsOnNodeIcon(*tree, x, y))
        ShowComponentMenu(*tree, *node, m_runtime.system.CursorPosition());
}

void TPoolTemplate::TreeView1KeyUp(forms::TObject* sender, std::uint16_t& key, ui::TShiftState)
{
    auto* tree = dynamic_cast<ui::TTreeView*>(sender);
    ui::TTreeNode* node = tree && key == kContextMenuKey ? ChoosableSelection(*tree) : nullptr;
    if (!node)
        return;
    if (const auto corner = m_runtime.system.NodeTextCorner(*tree, *node))
        ShowComponentMenu(*tree, *node, *corner);
}

void TPoolTemplate::FolderChosen(forms::TObject* sender, const std::string& value,
                                 const std::string& folder, const char* context)
{
    WriteHint(sender, value, context);
    RefreshBoundControls();
    if (const auto* control = dynamic_cast<const ui::TControl*>(sender); control && control->Tag() == 1)
        ApplyBrowsedFolder(folder);
    ApplyRules();
}

void TPoolTemplate::FileListBox1Change(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    if (auto* list = dynamic_cast<ui::TFileListBox*>(sender))
        FolderChosen(sender, list->FileName(), engine::ExtractFilePath(list->FileName()),
                     "FileListBox1Change");
}

void TPoolTemplate::DirectoryListBox1Change(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    if (auto* list = dynamic_cast<ui::TDirectoryListBox*>(sender))
        FolderChosen(sender, list->Directory(), list->Directory(), "DirectoryListBox1Change");
}

void TPoolTemplate::DriveComboBox1Change(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    if (auto* drives = dynamic_cast<ui::TDriveComboBox*>(sender)) {
        const std::string root = std::string(1, drives->Drive()) + ":\\";
        FolderChosen(sender, root, root, "DriveComboBox1Change");
    }
}

void TPoolTemplate::Memo1Change(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    if (auto* memo = dynamic_cast<ui::TCustomMemo*>(sender))
        WriteHint(sender, engine::EncodeNewlines(memo->Text()), "Memo1Change");
    UpdateInfoLabels(*this);
    ApplyRules();
}

void TPoolTemplate::RichEdit1Change(forms::TObject* sender)
{
    if (m_runtime.bindingInProgress)
        return;
    if (auto* memo = dynamic_cast<ui::TCustomMemo*>(sender))
        WriteHint(sender, engine::EncodeNewlines(memo->Lines()->Text()), "RichEdit1Change");
    UpdateInfoLabels(*this);
    ApplyRules();
}

void TPoolTemplate::Timer1Timer(forms::TObject*)
{
    if (m_runtime.progress)
        Cycle().OnTimer();
}

ProgressPageCycle& TPoolTemplate::Cycle()
{
    if (!m_cycle) {
        if (!m_runtime.progress)
            throw rtl::Exception("The page " + Hint() + " has no progress display");
        m_cycle = std::make_unique<ProgressPageCycle>(*m_runtime.progress, *this);
    }
    return *m_cycle;
}

void TPoolTemplate::AttachClickHandler(ui::TControl& control, PageClickHandler handler)
{
    control.onClick = forms::PublishedHandler<forms::TNotifyEvent>(
        *this, handler == PageClickHandler::Label1Click ? "Label1Click" : "Button1Click");
}

void TPoolTemplate::RefreshCaption(ui::TControl& control)
{
    wizard::RefreshCaption(m_runtime, control, Hint());
}

std::uintptr_t TPoolTemplate::WindowHandle()
{
    return Peer() ? Peer()->Handle() : 0;
}

void TPoolTemplate::FormShow(forms::TObject*)
{
    engine::ScriptVariables& variables = m_runtime.engine.Variables;
    m_runtime.targetDirAtShow.clear();
    m_runtime.targetDirTail.clear();
    if (variables.Exists("TARGETDIR"))
        m_runtime.targetDirAtShow = variables.NormalizePath(variables.Get("TARGETDIR"));
    const std::string nearest = NearestExistingFolder(
        m_runtime.targetDirAtShow,
        [this](const std::string& folder) { return m_runtime.system.DirectoryExists(folder); });
    if (!nearest.empty())
        m_runtime.targetDirTail = TargetDirTail(m_runtime.targetDirAtShow, nearest);
}

void TPoolTemplate::ApplyBrowsedFolder(const std::string& folder)
{
    const std::string text =
        BrowsedFolderText(m_runtime.targetDirAtShow, m_runtime.targetDirTail, folder);
    for (std::size_t i = 0; i < ComponentCount(); ++i) {
        auto* edit = dynamic_cast<ui::TEdit*>(Component(i));
        if (!edit || edit->Tag() != 2)
            continue;
        {
            BindingScope binding(m_runtime);
            edit->SetText(text);
        }
        Edit1Change(edit);
    }
    UpdateInfoLabels(*this);
    ApplyRules();
}

void TPoolTemplate::SetCustomDirectory(const std::string& folder, const std::string& controlName)
{
    std::string value = folder;
    if (value.empty() || value.back() != '\\')
        value += '\\';
    m_runtime.engine.Variables.Set(rtl::AnsiUpperCase(controlName), value,
                                   "SetCustomDirectoryEditText");
    UpdateInfoLabels(*this);
    RefreshBoundControls();
    ApplyRules();
}

void TPoolTemplate::RefreshBoundControls()
{
    BindingScope binding(m_runtime);
    engine::ScriptVariables& variables = m_runtime.engine.Variables;
    for (std::size_t i = 0; i < ComponentCount(); ++i) {
        auto* control = dynamic_cast<ui::TControl*>(Component(i));
        if (!control || control->Tag() != 100)
            continue;
        const std::string value = variables.NormalizePath(variables.Get(control->Hint()));
        if (auto* edit = dynamic_cast<ui::TCustomEdit*>(control);
            edit && !dynamic_cast<ui::TCustomMemo*>(control))
            edit->SetText(value);
        else
            ShowFolderIn(*control, value, m_runtime.system);
    }
}

void TPoolTemplate::CheckEndOfText(ui::TCustomMemo& memo)
{
    if (memo.MaxLength() == kReadToEndMark)
        return;
    const std::optional<ScrollState> scroll = m_runtime.system.VerticalScroll(memo);
    if (!scroll || !IsScrolledToEnd(*scroll))
        return;
    memo.SetMaxLength(kReadToEndMark);
    ApplyRules();
}

void TPoolTemplate::htmlLite1HotSpotClick(forms::TObject* sender, const std::string& link,
                                          bool& handled)
{
    auto* pane = dynamic_cast<ui::THtmlPane*>(sender);
    handled = HotSpotClick(link, [pane](const std::string& reference) {
        return pane ? pane->ExpandReference(reference) : reference;
    });
}

void TPoolTemplate::htmlLite1MetaRefresh(forms::TObject* sender, std::int32_t delay,
                                         const std::string& url)
{
    auto* pane = dynamic_cast<ui::THtmlPane*>(sender);
    const std::string target = m_runtime.htmlBaseFolder + MetaRefreshUrlToPath(url);
    m_runtime.metaRefreshTarget = target;
    if (!pane || !m_runtime.system.FileExists(target))
        return;
    m_runtime.metaRefreshSource = pane->GetCurrentFile();
    m_runtime.metaRefreshViewer = pane;
    metaTimer->SetInterval(static_cast<std::uint32_t>(std::max(delay, 0)) * 1000u);
    metaTimer->SetEnabled(true);
}

void TPoolTemplate::MetaTimerTimer(forms::TObject*)
{
    metaTimer->SetEnabled(false);
    ui::THtmlPane* pane = m_runtime.metaRefreshViewer;
    // A refresh armed on a document the user has left since is dropped.
    if (!pane || pane->GetCurrentFile() != m_runtime.metaRefreshSource)
        return;
    try {
        pane->LoadFromFile(m_runtime.metaRefreshTarget);
    } catch (const htmlview::ViewerError&) {
        return;  // gone since it was armed
    }
    SetCaption(pane->GetDocumentTitle());
}

bool TPoolTemplate::HotSpotClick(const std::string& link,
                                 const std::function<std::string(const std::string&)>& expand)
{
    HotSpotAction action = ClassifyHotSpot(link);
    if (action.kind == HotSpotAction::OpenWithShell) {
        m_runtime.system.OpenWithShell(action.path);
        return true;
    }
    if (action.path.empty())
        return false;
    const std::string path = expand(action.path);
    switch (LocalLinkKind(path)) {
        case HotSpotAction::PlaySound:
            m_runtime.system.PlaySoundFile(path);
            return true;
        case HotSpotAction::StartProgram:
            m_runtime.system.StartProgram(path, action.parameters);
            return true;
        default:
            return false;
    }
}

void ShowFolderIn(ui::TControl& control, const std::string& path, IPageSystem& system)
{
    if (path.empty())
        return;
    if (auto* files = dynamic_cast<ui::TFileListBox*>(&control)) {
        if (system.DirectoryExists(path))
            files->SetDirectory(path);
        else if (system.FileExists(path))
            files->SetDirectory(engine::ExtractFilePath(path));
    } else if (auto* folders = dynamic_cast<ui::TDirectoryListBox*>(&control)) {
        if (system.DirectoryExists(path))
            folders->SetDirectory(path);
    } else if (auto* drives = dynamic_cast<ui::TDriveComboBox*>(&control)) {
        if (system.DirectoryExists(path.substr(0, 1) + ":\\"))
            drives->SetDrive(path[0]);
    }
}

void UpdateInfoLabels(TPoolTemplate& page)
{
    engine::EngineState& engine = page.Runtime().engine;
    for (std::size_t i = 0; i < page.ComponentCount(); ++i) {
        auto* label = dynamic_cast<ui::TStaticText*>(page.Component(i));
        if (!label || label->Tag() < 2 || label->Tag() > 6)
            continue;
        std::string text;
        try {
            const engine::ComponentModel& model = engine::RunComponentModel(engine);
            switch (label->Tag()) {
                case 2:
                    text = engine::DecodeNewlines(
                        model.GetComponentDescription(page.selectedComponent));
                    break;
                case 3:
                    text = model.GetComponentSizeText(page.selectedComponent, *engine.Messages);
                    break;
                case 4:
                    text = model.GetRequiredSpaceText(*engine.Messages);
                    break;
                case 5:
                    text = model.GetFreeSpaceText(engine.Variables, *engine.Messages);
                    break;
                default:
                    text = model.GetRemainingSpaceText(engine.Variables, *engine.Messages);
                    break;
            }
        } catch (const std::exception&) {
            text.clear();
        }
        label->SetCaption(text);
    }
}

}  // namespace setup::wizard
