#include "setup/wizard/dialog_pool.h"

#include <algorithm>
#include <iterator>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/string_list.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/flash/flash_frame.h"
#include "setup/ui/vista_glass.h"
#include "setup/wizard/dialog_runtime.h"
#include "setup/wizard/image_list_pool.h"
#include "setup/wizard/pool_template.h"
#include "setup/wizard/progress/progress_page_cycle.h"
#include "setup/wizard/progress/progress_runtime.h"

namespace setup::wizard {

namespace {

constexpr unsigned kVerticalScroll = 0x0115;  // WM_VSCROLL
constexpr unsigned kMouseWheel = 0x020A;      // WM_MOUSEWHEEL
constexpr unsigned kKeyDown = 0x0100;         // WM_KEYDOWN
constexpr unsigned kKeyUp = 0x0101;           // WM_KEYUP

std::string WithBackslash(std::string folder)
{
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::uintptr_t WindowOf(const ui::TWinControl& control)
{
    return control.Peer() ? control.Peer()->Handle() : 0;
}

// Keyboard scrolling and a text that fits mark a licence read as much as the scroll bar does.
void WatchEndOfText(DialogRuntime& runtime, TPoolTemplate& page)
{
    for (ui::TCustomMemo* memo : {page.trackedMemo.control, page.trackedRichEdit.control}) {
        if (!memo || memo->MaxLength() == kReadToEndMark)
            continue;
        memo->HandleNeeded();
        runtime.system.WatchMemo(*memo, [&page, memo](unsigned message) {
            if (message == kVerticalScroll || message == kMouseWheel || message == kKeyDown ||
                message == kKeyUp)
                page.CheckEndOfText(*memo);
        });
        page.CheckEndOfText(*memo);
    }
}

void ShowPage(DialogRuntime& runtime, TPoolTemplate& page)
{
    if (runtime.minimizedToTray) {
        runtime.deferredDialog = &page;
        return;
    }
    runtime.deferredDialog = nullptr;
    page.Show();
    if (page.HandleAllocated())
        page.SetFocus();
    runtime.foregroundDialog = &page;
    runtime.application.ProcessMessages();
}

void HidePage(DialogRuntime& runtime, TPoolTemplate& page)
{
    page.canClose = true;
    page.Hide();
    runtime.foregroundDialog = nullptr;
    if (runtime.activeDialog && runtime.activeDialog != &page)
        runtime.activeDialog->Hide();
    if (runtime.releasedDialog && runtime.releasedDialog != &page)
        runtime.releasedDialog->Hide();
    runtime.application.ProcessMessages();
}

void ForgetPage(DialogRuntime& runtime, TPoolTemplate& page)
{
    if (runtime.activeDialog == &page)
        runtime.activeDialog = nullptr;
    runtime.activeDialogName.clear();
    runtime.placement.lastLeft = page.Left();
    runtime.placement.lastTop = page.Top();
}

void BringPageUp(DialogRuntime& runtime, TPoolTemplate& page, bool wasVisible)
{
    page.canClose = false;
    ShowPage(runtime, page);
    if (!wasVisible && !IsGlassActive(runtime, page))
        page.SetDoubleBuffered(true);
    if (runtime.activeDialog && runtime.activeDialog != &page) {
        TPoolTemplate& previous = *runtime.activeDialog;
        previous.canClose = true;
        previous.Hide();
        if (runtime.releasedDialog && runtime.releasedDialog != &page)
            runtime.releasedDialog->Hide();
        runtime.application.ProcessMessages();
    }
    runtime.activeDialog = &page;
    ShowPage(runtime, page);
}

}  // namespace

DialogRuntime::DialogRuntime(engine::EngineState& engineState, ui::TApplication& app,
                             IPageSystem& pageSystem)
    : engine(engineState), application(app), system(pageSystem)
{
    ui::RegisterPageClasses(pageClasses);
}

DialogRuntime::~DialogRuntime()
{
    FreeDialogPool(*this);
}

bool& DialogRuntime::CancelFlag()
{
    return engine.Parts.Get<engine::WorkerFlags>().cancelled;
}

IProgressPage* DialogRuntime::FindPage(const std::string& key)
{
    return FindDialog(*this, key);
}

CurrentFolderScope::CurrentFolderScope(IPageSystem& system, const std::string& folder)
    : m_system(system), m_remembered(system.CurrentDirectory())
{
    if (!folder.empty())
        system.SetCurrentDirectory(folder);
}

CurrentFolderScope::~CurrentFolderScope()
{
    try {
        if (!m_remembered.empty() && m_system.DirectoryExists(m_remembered))
            m_system.SetCurrentDirectory(m_remembered);
    } catch (...) {
        // A folder that went away stays left.
    }
}

void InitDialogPool(DialogRuntime& runtime, const std::string& supportFolder)
{
    FreeDialogPool(runtime);
    runtime.dialogFolder = supportFolder;
    runtime.htmlBaseFolder = WithBackslash(supportFolder);
    runtime.placement = PagePlacement{};
    runtime.imageListPool = std::make_unique<TImageListPool>(runtime);
    runtime.activeDialogName.clear();
    runtime.CancelFlag() = false;
}

TPoolTemplate& LoadDialog(DialogRuntime& runtime, const std::string& key,
                          const std::string& pageFile)
{
    const std::string upperKey = rtl::AnsiUpperCase(key);
    auto entry = std::find_if(runtime.pool.begin(), runtime.pool.end(),
                              [&](const auto& item) { return item.first == upperKey; });
    if (entry == runtime.pool.end()) {
        runtime.pool.emplace_back(upperKey, nullptr);
        entry = std::prev(runtime.pool.end());
    } else if (entry->second) {
        TPoolTemplate* old = entry->second.get();
        old->Hide();
        for (TPoolTemplate** reference : {&runtime.activeDialog, &runtime.releasedDialog,
                                          &runtime.foregroundDialog, &runtime.deferredDialog})
            if (*reference == old)
                *reference = nullptr;
        entry->second.reset();
        runtime.application.ProcessMessages();
    }
    const std::size_t index = static_cast<std::size_t>(entry - runtime.pool.begin());
    auto page = std::make_unique<TPoolTemplate>(runtime, pageFile);
    rtl::TStringList rules;
    for (std::string& line : runtime.system.ReadLines(pageFile + ".qbrf"))
        rules.Add(std::move(line));
    page->controlRules = rules.CommaText();
    runtime.pool[index].second = std::move(page);
    return *runtime.pool[index].second;
}

TPoolTemplate* FindDialog(const DialogRuntime& runtime, const std::string& key)
{
    const std::string upperKey = rtl::AnsiUpperCase(key);
    for (const auto& [name, page] : runtime.pool)
        if (name == upperKey)
            return page.get();
    return nullptr;
}

ShownDialog ShowDialog(DialogRuntime& runtime, const std::string& key, bool modal,
                       bool startInstaller)
{
    ShownDialog shown;
    runtime.CancelFlag() = false;
    CurrentFolderScope folder(runtime.system, runtime.dialogFolder);
    runtime.activeDialogName = key;
    if (runtime.engine.Variables.SilentMode) {
        if (startInstaller && runtime.progress)
            runtime.progress->Installer().RunToEnd();
        shown.result = 6;
        return shown;
    }
    TPoolTemplate* page = FindDialog(runtime, key);
    if (!page)
        throw rtl::Exception("Dialog " + key + " was not loaded");
    const bool wasVisible = page->Visible();
    const PagePosition position =
        PlacePage(runtime.placement, page->Width(), page->Height(), runtime.system.ScreenWidth(),
                  runtime.system.ScreenHeight());
    // The pool places its pages itself.
    page->SetPosition(ui::TPosition::poDesigned);
    page->SetBounds(position.left, position.top, page->Width(), page->Height());
    runtime.CancelFlag() = false;
    if (page->HandleAllocated()) {
        // A page shown again while still up gets its new window shown too.
        if (wasVisible)
            page->Hide();
        page->RecreateWnd();
    }
    if (modal) {
        if (startInstaller)
            page->Cycle().SetInstallMode(true);
        page->resultCode = -1;
        BringPageUp(runtime, *page, wasVisible);
        if (!IsGlassActive(runtime, *page))
            page->SetDoubleBuffered(false);
        WatchEndOfText(runtime, *page);
        while (page->resultCode == -1 && !runtime.engine.Variables.SilentMode &&
               !runtime.application.Terminated())
            runtime.application.HandleMessage();
        // The next page of this size goes where the user left this one.
        if (const auto moved = runtime.system.WindowPosition(*page))
            page->SetBounds(moved->left, moved->top, page->Width(), page->Height());
        shown.result = page->resultCode;
        if (shown.result == 8)
            shown.resultText = page->resultText;
        runtime.activeDialogName.clear();
    } else {
        BringPageUp(runtime, *page, wasVisible);
        if (!IsGlassActive(runtime, *page))
            page->SetDoubleBuffered(false);
        WatchEndOfText(runtime, *page);
        shown.window = WindowOf(*page);
    }
    runtime.placement.lastLeft = page->Left();
    runtime.placement.lastTop = page->Top();
    return shown;
}

void HideDialog(DialogRuntime& runtime, const std::string& key)
{
    if (TPoolTemplate* active = FindDialog(runtime, runtime.activeDialogName)) {
        HidePage(runtime, *active);
        ForgetPage(runtime, *active);
    } else if (runtime.activeDialog) {
        TPoolTemplate& page = *runtime.activeDialog;
        HidePage(runtime, page);
        ForgetPage(runtime, page);
    }
    if (TPoolTemplate* page = FindDialog(runtime, key)) {
        HidePage(runtime, *page);
        ForgetPage(runtime, *page);
    }
}

void FreeDialogPool(DialogRuntime& runtime)
{
    runtime.activeDialog = nullptr;
    runtime.releasedDialog = nullptr;
    runtime.foregroundDialog = nullptr;
    runtime.deferredDialog = nullptr;
    for (auto& entry : runtime.pool)
        entry.second.reset();
    runtime.pool.clear();
    runtime.imageListPool.reset();
    runtime.dialogTexts.clear();
}

void AttachProgress(DialogRuntime& runtime, ProgressRuntime* progress)
{
    runtime.progress = progress;
    for (auto& entry : runtime.pool)
        if (entry.second)
            entry.second->DropCycle();
}

bool IsGlassActive(DialogRuntime& runtime, ui::TCustomForm& form)
{
    if (runtime.system.WindowsMajorVersion() < 6 || form.Tag() == 1)
        return false;
    for (std::size_t i = 0; i < form.ComponentCount(); ++i)
        if (auto* glass = dynamic_cast<ui::TVistaGlass*>(form.Component(i)); glass && glass->GlassEnabled())
            return true;
    return false;
}

}  // namespace setup::wizard
