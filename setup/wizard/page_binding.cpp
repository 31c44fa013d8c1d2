#include "setup/wizard/page_binding.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "setup/engine/components/component_controls.h"
#include "setup/engine/components/statements_components.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/ui/containers.h"
#include "setup/ui/control_rules.h"
#include "setup/ui/file_controls.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/html_pane.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/flash/flash_frame.h"
#include "setup/ui/vista_glass.h"
#include "setup/ui/skin/bmp_button.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/wizard/component_lists.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/dialog_runtime.h"
#include "setup/wizard/image_list_pool.h"
#include "setup/wizard/page_decisions.h"
#include "setup/wizard/pool_template.h"

namespace setup::wizard {

namespace {

constexpr std::string_view kUndefinedMarker = "$TARQNX$";
constexpr std::string_view kMissingMovieText =
    "Add a movie.swf file to your project to display it here.";

constexpr int kFlashFailureMessage = 112;

// Plays the page's movie; the failure text when no player can be had.
void PlayMovie(DialogRuntime& runtime, ui::TFlashFrame& frame, const std::string& movie)
{
    const std::string failure = runtime.engine.Messages->Text(kFlashFailureMessage);
    ui::IFlashSystem* system = runtime.application.flashSystem;
    if (!system) {
        frame.SetCaption(failure);
        return;
    }
    const ui::FlashSource source{*system, runtime.dialogFolder + "flash.ocx", failure};
    ui::OpenFlashMovie(frame, source, movie);
    ui::PlayFlashMovie(frame);
}

std::string TextKey(const std::string& dialog, const std::string& control)
{
    return rtl::AnsiUpperCase(dialog + "." + control);
}

template <class Event>
void Attach(Event& event, TPoolTemplate& page, const char* handler)
{
    event = forms::PublishedHandler<Event>(page, handler);
}

template <class Event>
void Detach(Event& event)
{
    event = Event{};
}

// The components the binding visits: the page's own in creation order, then the page.
std::vector<forms::TComponent*> BoundComponents(TPoolTemplate& page)
{
    std::vector<forms::TComponent*> components;
    for (std::size_t i = 0; i < page.ComponentCount(); ++i)
        if (page.Component(i)->Name() != "cmpFormDesigner")
            components.push_back(page.Component(i));
    components.push_back(&page);
    return components;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    return text;
}

// Fills one page for one preparation.
class PageBinder
{
public:
    PageBinder(DialogRuntime& runtime, TPoolTemplate& page)
        : m_runtime(runtime), m_page(page), m_vars(runtime.engine.Variables),
          m_pageFile(page.Hint()), m_language(runtime.engine.SelectedLanguage)
    {
        m_nearestTarget = NearestExistingFolder(
            CollapseBackslashes(m_vars.ValueOf("$TARGETDIR$")),
            [&runtime](const std::string& folder) { return runtime.system.DirectoryExists(folder); });
    }

    void Visit(forms::TComponent& component);
    void RunInitialHandlers();

private:
    bool Bound(const ui::TControl& control) const
    {
        return !control.Hint().empty() && m_vars.ValueOrMarker(control.Hint()) != kUndefinedMarker;
    }
    std::string Value(const ui::TControl& control) const { return m_vars.ValueOf(control.Hint()); }
    std::string Template(const std::string& name, const std::string& current) const;
    void TextTemplate(ui::TControl& control);
    void ItemsTemplate(forms::TStrings& items, const std::string& name);
    void BindForm();
    void BindEdit(ui::TCustomEdit& edit, bool masked);
    void BindMemo(ui::TCustomMemo& memo, bool rich);
    void BindHtmlPane(ui::THtmlPane& pane);
    void TrackEndOfText(ui::TCustomMemo& memo, bool rich);
    void BindListBox(ui::TListBox& list);
    void BindCheckListBox(ui::TCheckListBox& list);
    void BindComboBox(ui::TComboBox& combo);
    void BindTreeView(ui::TTreeView& tree);
    void BindProgress(ui::TControl& control);
    std::string FindDocument(const std::vector<std::string>& names) const;
    // A bound folder control shows its variable's folder; with Tag 1 the target folder's.
    void BindFolder(ui::TControl& control, const std::string& boundFolder,
                    const std::string& tagFolder)
    {
        if (Bound(control))
            ShowFolderIn(control, boundFolder, m_runtime.system);
        if (control.Tag() == 1)
            ShowFolderIn(control, tagFolder, m_runtime.system);
    }

    DialogRuntime& m_runtime;
    TPoolTemplate& m_page;
    engine::ScriptVariables& m_vars;
    std::string m_pageFile;
    std::string m_language;
    std::string m_nearestTarget;
    std::vector<ui::TTreeView*> m_trees;
    std::vector<ui::TCheckListBox*> m_checkLists;
    std::vector<forms::TComponent*> m_selectors;  // trees and check lists, in visiting order
};

std::string PageBinder::Template(const std::string& name, const std::string& current) const
{
    RecordDialogText(m_runtime, m_pageFile, name, current);
    if (!m_language.empty())
        return m_vars.Expand(GetTranslatedDialogText(m_runtime, m_pageFile, name));
    return m_vars.Expand(GetDialogText(m_runtime, m_pageFile, name));
}

void PageBinder::TextTemplate(ui::TControl& control)
{
    control.SetCaption(Template(control.Name(), control.Caption()));
}

void PageBinder::ItemsTemplate(forms::TStrings& items, const std::string& name)
{
    items.SetText(Template(name, items.Text()));
    for (std::size_t i = items.Count(); i-- > 0;)
        if (items[i].empty())
            items.Delete(i);
}

void PageBinder::BindForm()
{
    std::string caption = Template(m_pageFile, m_page.Caption());
    const bool logo = rtl::AnsiUpperCase(m_vars.Get("TARQLOGO")) == "TRUE";
    m_page.SetCaption(ApplyCaptionSuffix(caption, engine::GetWizardCaptionSuffix(), logo));
}

void PageBinder::BindEdit(ui::TCustomEdit& edit, bool masked)
{
    if (masked) {
        Attach(edit.onChange, m_page, "MaskEdit1Change");
        Attach(edit.onKeyUp, m_page, "MaskEdit1KeyUp");
    } else {
        Attach(edit.onChange, m_page, "Edit1Change");
    }
    RecordDialogText(m_runtime, m_pageFile, edit.Name(), edit.Text());
    edit.SetText(m_language.empty()
                     ? GetDialogText(m_runtime, m_pageFile, edit.Name())
                     : GetTranslatedDialogText(m_runtime, m_pageFile, edit.Name()));
    if (Bound(edit))
        edit.SetText(masked ? Value(edit) : CollapseBackslashes(Value(edit)));
    if (!edit.Text().empty())
        return;
    static const char* const kPlaceholders[] = {"$STARTMENU$", "$TARGETDIR$", "$USERNAME$",
                                                "$USERCOMPANY$"};
    std::string text;
    if (edit.Tag() >= 1 && edit.Tag() <= 4)
        text = kPlaceholders[edit.Tag() - 1];
    text = m_vars.Expand(text);
    edit.SetText(masked ? text : CollapseBackslashes(text));
}

std::string PageBinder::FindDocument(const std::vector<std::string>& names) const
{
    for (const std::string& name : names)
        if (m_runtime.system.FileExists(m_runtime.dialogFolder + name))
            return m_runtime.dialogFolder + name;
    return {};
}

void PageBinder::BindMemo(ui::TCustomMemo& memo, bool rich)
{
    if (!memo.Hint().empty())
        Attach(memo.onChange, m_page, rich ? "RichEdit1Change" : "Memo1Change");
    RecordDialogText(m_runtime, m_pageFile, memo.Name(), memo.Lines()->Text());
    memo.Lines()->SetText(GetDialogText(m_runtime, m_pageFile, memo.Name()));
    memo.SetReadOnly(memo.Hint().empty());
    if (Bound(memo))
        memo.Lines()->SetText(engine::DecodeNewlines(CollapseBackslashes(Value(memo))));
    else
        memo.Lines()->SetText(engine::DecodeNewlines(m_vars.Expand(memo.Lines()->Text())));
    if (memo.Tag() == 1 || memo.Tag() == 2) {
        if (memo.MaxLength() < kDocumentMaxLength)
            memo.SetMaxLength(kDocumentMaxLength);
        const std::string document =
            FindDocument(DefaultDocumentNames(rich, memo.Tag(), m_language));
        memo.Lines()->SetText(document.empty()
                                  ? MissingDocumentText(rich, memo.Tag(), m_language)
                                  : JoinLines(m_runtime.system.ReadLines(document)));
    }
    TrackEndOfText(memo, rich);
}

void PageBinder::BindHtmlPane(ui::THtmlPane& pane)
{
    Attach(pane.onHotSpotClick, m_page, "htmlLite1HotSpotClick");
    Attach(pane.onMetaRefresh, m_page, "htmlLite1MetaRefresh");
    if (pane.Tag() != 1)
        return;
    const std::string index = FindDocument(IndexPageNames(m_language));
    try {
        if (!index.empty()) {
            pane.LoadFromFile(index);
            return;
        }
    } catch (const std::exception&) {
        // A page that cannot be read shows the hint instead.
    }
    pane.LoadTextFromString(std::string(kMissingIndexText));
}

void PageBinder::TrackEndOfText(ui::TCustomMemo& memo, bool rich)
{
    TrackedMemo& tracked = rich ? m_page.trackedRichEdit : m_page.trackedMemo;
    if (!memo.ReadOnly() || tracked.control)
        return;
    tracked.name = memo.Name();
    tracked.control = &memo;
    if (memo.ScrollBars() != ui::ssVertical && memo.ScrollBars() != ui::ssBoth)
        memo.SetMaxLength(kReadToEndMark);
}

void PageBinder::BindListBox(ui::TListBox& list)
{
    Attach(list.onClick, m_page, "ListBox1Click");
    ItemsTemplate(*list.Items(), list.Name());
    if (!Bound(list))
        return;
    const std::string value = Value(list);
    for (std::size_t i = 0; i < list.Items()->Count(); ++i)
        if (rtl::AnsiSameText((*list.Items())[i], value)) {
            list.SetItemIndex(static_cast<std::int32_t>(i));
            return;
        }
}

void PageBinder::BindCheckListBox(ui::TCheckListBox& list)
{
    Attach(list.onClick, m_page, "CheckListBox1Click");
    if (list.Tag() == 1 || !list.Hint().empty())
        Attach(list.onClickCheck, m_page, "CheckListBox1ClickCheck");
    ItemsTemplate(*list.Items(), list.Name());
    if (Bound(list)) {
        forms::TStrings lines;
        lines.SetText(Value(list));
        for (std::size_t line = 0; line < lines.Count(); ++line)
            for (std::size_t i = 0; i < list.Items()->Count(); ++i)
                if (rtl::AnsiSameText((*list.Items())[i], lines[line]))
                    list.SetChecked(i, true);
    }
    if (list.Tag() == 1) {
        CheckListAdapter adapter(list);
        engine::FillComponentCheckList(engine::RunComponentModel(m_runtime.engine), adapter);
    }
    m_selectors.push_back(&list);
}

void PageBinder::BindComboBox(ui::TComboBox& combo)
{
    Attach(combo.onChange, m_page, "ComboBox1Change");
    if (!combo.Hint().empty())
        Attach(combo.onClick, m_page, "ComboBox1Click");
    ItemsTemplate(*combo.Items(), combo.Name());
    if (!Bound(combo))
        return;
    const std::string value = Value(combo);
    if (combo.Style() != ui::csDropDownList) {
        combo.SetText(value);
        return;
    }
    combo.SetItemIndex(-1);
    for (std::size_t i = 0; i < combo.Items()->Count(); ++i)
        if (rtl::AnsiSameText((*combo.Items())[i], value)) {
            combo.SetItemIndex(static_cast<std::int32_t>(i));
            return;
        }
}

void PageBinder::BindTreeView(ui::TTreeView& tree)
{
    Attach(tree.onChange, m_page, "TreeView1Change");
    tree.readOnly = true;
    for (ui::TTreeNode* node : tree.Items()->All())
        node->SetText(m_vars.Expand(node->Text()));
    if (tree.Tag() == 1) {
        Attach(tree.onMouseUp, m_page, "TreeView1MouseUp");
        Attach(tree.onKeyUp, m_page, "TreeView1KeyUp");
        if (m_runtime.imageListPool)
            tree.images = m_runtime.imageListPool->imageList;
        TreeViewAdapter adapter(tree);
        engine::FillComponentTree(engine::RunComponentModel(m_runtime.engine), adapter);
        for (ui::TTreeNode* node : tree.Items()->All())
            node->expanded = true;
        if (!tree.Items()->Roots().empty())
            tree.SetSelected(tree.Items()->Roots().front().get());
    }
    m_selectors.push_back(&tree);
}

void PageBinder::BindProgress(ui::TControl& control)
{
    if (control.Tag() != 1)
        return;
    if (auto* bar = dynamic_cast<ui::TProgressBar*>(&control)) {
        const std::string value = m_vars.ValueOf("$PROGRESS$");
        if (!value.empty())
            bar->SetPosition(ClampProgressPercent(value));
    } else if (auto* gauge = dynamic_cast<ui::TGauge*>(&control)) {
        if (m_vars.Exists("PROGRESS"))
            gauge->SetProgress(ClampProgressPercent(m_vars.ValueOf("$PROGRESS$")));
    }
}

void PageBinder::Visit(forms::TComponent& component)
{
    if (&component == &m_page) {
        BindForm();
        return;
    }
    auto* control = dynamic_cast<ui::TControl*>(&component);
    if (!control)
        return;
    if (auto* label = dynamic_cast<ui::TLabel*>(control)) {
        Attach(label->onClick, m_page, "Label1Click");
        TextTemplate(*label);
    }
    if (dynamic_cast<ui::TCustomPanel*>(control) || dynamic_cast<ui::TGroupBox*>(control) ||
        dynamic_cast<ui::TTabSheet*>(control))
        TextTemplate(*control);
    if (auto* text = dynamic_cast<ui::TStaticText*>(control)) {
        TextTemplate(*text);
        if (text->Tag() == 1)
            text->SetCaption(m_vars.ValueOf("$PROGRESSTEXT$"));
    }
    if (dynamic_cast<ui::TProgressBar*>(control) || dynamic_cast<ui::TGauge*>(control))
        BindProgress(*control);
    if (auto* bar = dynamic_cast<ui::TTrackBar*>(control)) {
        Attach(bar->onChange, m_page, "TrackBar1Change");
        if (Bound(*bar)) {
            const std::string value = Value(*bar);
            char* end = nullptr;
            const long position = std::strtol(value.c_str(), &end, 10);
            if (!value.empty() && *end == '\0')
                bar->SetPosition(static_cast<std::int32_t>(position));
        }
    }
    if (dynamic_cast<ui::TButton*>(control) || dynamic_cast<ui::skin::TSkBmpButton*>(control)) {
        Attach(control->onClick, m_page, "Button1Click");
        TextTemplate(*control);
    }
    if (dynamic_cast<ui::TSpeedButton*>(control)) {
        Attach(control->onClick, m_page, "SpeedButton1Click");
        TextTemplate(*control);
    }
    if (dynamic_cast<ui::TBitBtn*>(control))
        Attach(control->onClick, m_page, "BitBtn1Click");
    if (dynamic_cast<ui::TImage*>(control))
        Attach(control->onClick, m_page, "Image1Click");
    if (auto* shape = dynamic_cast<ui::TShape*>(control))
        Attach(shape->onMouseUp, m_page, "Shape1MouseUp");
    if (auto* memo = dynamic_cast<ui::TMemo*>(control))
        BindMemo(*memo, false);
    if (auto* rich = dynamic_cast<ui::TRichEdit*>(control))
        BindMemo(*rich, true);
    if (auto* box = dynamic_cast<ui::skin::TSkCustomGlyphButton*>(control)) {
        const bool radio = dynamic_cast<ui::skin::TSkRadioButton*>(box) != nullptr;
        Attach(box->onClick, m_page, radio ? "RadioButton1Click" : "CheckBox1Click");
        if (Bound(*box)) {
            const std::string value = rtl::AnsiUpperCase(Value(*box));
            box->SetChecked(value == "TRUE" || value == "-1");
        }
        TextTemplate(*box);
    }
    if (auto* list = dynamic_cast<ui::TListBox*>(control))
        BindListBox(*list);
    if (auto* pane = dynamic_cast<ui::THtmlPane*>(control))
        BindHtmlPane(*pane);
    if (auto* flash = dynamic_cast<ui::TFlashFrame*>(control); flash && flash->Tag() == 1) {
        const std::string movie =
            FindDocument({"movie." + m_language + ".swf", std::string("movie.swf")});
        if (movie.empty())
            flash->SetCaption(std::string(kMissingMovieText));
        else
            PlayMovie(m_runtime, *flash, movie);
    }
    if (auto* files = dynamic_cast<ui::TFileListBox*>(control)) {
        Attach(files->onChange, m_page, "FileListBox1Change");
        BindFolder(*files, engine::ExtractFilePath(Value(*files)), m_nearestTarget);
    }
    if (auto* folders = dynamic_cast<ui::TDirectoryListBox*>(control)) {
        Attach(folders->onChange, m_page, "DirectoryListBox1Change");
        const bool nearestExists =
            !m_nearestTarget.empty() && m_runtime.system.DirectoryExists(m_nearestTarget);
        BindFolder(*folders, Value(*folders),
                   nearestExists ? m_nearestTarget : engine::ExtractFilePath(m_nearestTarget));
    }
    if (auto* drives = dynamic_cast<ui::TDriveComboBox*>(control)) {
        Attach(drives->onChange, m_page, "DriveComboBox1Change");
        BindFolder(*drives, Value(*drives), m_nearestTarget);
    }
    if (auto* tree = dynamic_cast<ui::TTreeView*>(control))
        BindTreeView(*tree);
    if (auto* list = dynamic_cast<ui::TCheckListBox*>(control))
        BindCheckListBox(*list);
    if (auto* combo = dynamic_cast<ui::TComboBox*>(control))
        BindComboBox(*combo);
    if (auto* edit = dynamic_cast<ui::TEdit*>(control))
        BindEdit(*edit, false);
    if (auto* edit = dynamic_cast<ui::TMaskEdit*>(control))
        BindEdit(*edit, true);
}

void PageBinder::RunInitialHandlers()
{
    for (forms::TComponent* component : m_selectors) {
        if (auto* tree = dynamic_cast<ui::TTreeView*>(component)) {
            m_page.TreeView1Change(tree, tree->Selected());
        } else if (auto* list = dynamic_cast<ui::TCheckListBox*>(component)) {
            m_page.CheckListBox1Click(list);
            if (list->Tag() == 1 || !list->Hint().empty())
                m_page.CheckListBox1ClickCheck(list);
        }
    }
}

}  // namespace

void RecordDialogText(DialogRuntime& runtime, const std::string& dialog,
                      const std::string& control, const std::string& text)
{
    runtime.dialogTexts.try_emplace(TextKey(dialog, control), text);
}

std::string GetDialogText(const DialogRuntime& runtime, const std::string& dialog,
                          const std::string& control)
{
    const auto found = runtime.dialogTexts.find(TextKey(dialog, control));
    return found == runtime.dialogTexts.end() ? std::string() : found->second;
}

std::string GetTranslatedDialogText(const DialogRuntime& runtime, const std::string& dialog,
                                    const std::string& control)
{
    const engine::TranslationTables& tables = runtime.engine.Translations;
    const std::size_t count = std::min({tables.TranslationMap.Count(),
                                        tables.TitleTranslation.Count(),
                                        tables.TranslationTexts.Count()});
    for (std::size_t i = 0; i < count; ++i)
        if (rtl::AnsiSameText(tables.TranslationMap[i], dialog) &&
            rtl::AnsiSameText(tables.TitleTranslation[i], control))
            return tables.TranslationTexts[i];
    return GetDialogText(runtime, dialog, control);
}

void RefreshCaption(DialogRuntime& runtime, ui::TControl& control, const std::string& dialog)
{
    const std::string text =
        runtime.engine.Variables.Expand(GetDialogText(runtime, dialog, control.Name()));
    if (control.Caption() != text)
        control.SetCaption(text);
}

void PrepareDialog(DialogRuntime& runtime, const std::string& key)
{
    TPoolTemplate* page = FindDialog(runtime, key);
    if (!page)
        return;
    PageBinder binder(runtime, *page);
    {
        BindingScope binding(runtime);
        for (forms::TComponent* component : BoundComponents(*page))
            binder.Visit(*component);
        UpdateInfoLabels(*page);
        page->ApplyRules();
    }
    binder.RunInitialHandlers();
}

void ReleaseDialog(DialogRuntime& runtime, const std::string& key)
{
    TPoolTemplate* page = FindDialog(runtime, key);
    if (!page)
        return;
    runtime.releasedDialog = page;
    BindingScope binding(runtime);
    for (forms::TComponent* component : BoundComponents(*page)) {
        auto* control = dynamic_cast<ui::TControl*>(component);
        if (!control || component == page)
            continue;
        if (dynamic_cast<ui::TLabel*>(control) || dynamic_cast<ui::TGroupBox*>(control) ||
            dynamic_cast<ui::TButton*>(control) || dynamic_cast<ui::skin::TSkBmpButton*>(control) ||
            dynamic_cast<ui::TSpeedButton*>(control) || dynamic_cast<ui::TImage*>(control) ||
            dynamic_cast<ui::skin::TSkCustomGlyphButton*>(control) ||
            dynamic_cast<ui::TCustomListBox*>(control))
            Detach(control->onClick);
        if (auto* shape = dynamic_cast<ui::TShape*>(control))
            Detach(shape->onMouseUp);
        if (auto* edit = dynamic_cast<ui::TCustomEdit*>(control)) {
            Detach(edit->onChange);
            if (dynamic_cast<ui::TMaskEdit*>(control))
                Detach(edit->onKeyUp);
        }
        if (auto* bar = dynamic_cast<ui::TTrackBar*>(control))
            Detach(bar->onChange);
        if (auto* pane = dynamic_cast<ui::THtmlPane*>(control)) {
            Detach(pane->onHotSpotClick);
            Detach(pane->onMetaRefresh);
        }
        if (auto* files = dynamic_cast<ui::TFileListBox*>(control))
            Detach(files->onChange);
        if (auto* folders = dynamic_cast<ui::TDirectoryListBox*>(control))
            Detach(folders->onChange);
        if (auto* combo = dynamic_cast<ui::TCustomComboBox*>(control))
            Detach(combo->onChange);
        if (auto* list = dynamic_cast<ui::TCheckListBox*>(control))
            Detach(list->onClickCheck);
        if (auto* tree = dynamic_cast<ui::TTreeView*>(control)) {
            Detach(tree->onChange);
            tree->readOnly = true;
        }
        if (auto* flash = dynamic_cast<ui::TFlashFrame*>(control))
            ui::CloseFlashMovie(*flash);
    }
    for (TrackedMemo* tracked : {&page->trackedMemo, &page->trackedRichEdit}) {
        if (tracked->control)
            runtime.system.UnwatchMemo(*tracked->control);
        *tracked = TrackedMemo{};
    }
    UpdateInfoLabels(*page);
    page->ApplyRules();
}

}  // namespace setup::wizard
