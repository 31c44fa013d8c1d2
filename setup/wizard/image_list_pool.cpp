#include "setup/wizard/image_list_pool.h"

#include "setup/engine/components/statements_components.h"
#include "setup/forms/class_builder.h"
#include "setup/wizard/component_images.h"
#include "setup/wizard/component_marks.h"
#include "setup/wizard/dialog_runtime.h"
#include "setup/wizard/pool_template.h"

namespace setup::wizard {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

// The language strings of the menu's visible commands.
constexpr int kInstallOnlyMessage = 113;
constexpr int kInstallEntireMessage = 114;
constexpr int kUnavailableMessage = 115;

std::size_t Slot(WatchedWorker worker)
{
    return static_cast<std::size_t>(worker);
}

}  // namespace

const ClassInfo& TImageListPool::StaticClass()
{
    using P = TImageListPool;
    static const ClassInfo info =
        ClassBuilder<P>("TImageListPool", &ui::TForm::StaticClass())
            .Method("InstallComponentOnly1Click", &P::InstallComponentOnly1Click)
            .Method("InstallComponentwithSubComponents1Click",
                    &P::InstallComponentwithSubComponents1Click)
            .Method("DoNotInstallComponentorSubComponents1Click",
                    &P::DoNotInstallComponentorSubComponents1Click)
            .Method("DoNotInstallComponentOnly1Click", &P::DoNotInstallComponentOnly1Click)
            .Method("thxTimerTimer", &P::thxTimerTimer)
            .Method("thyTimerTimer", &P::thyTimerTimer)
            .Method("thzTimerTimer", &P::thzTimerTimer)
            .Build();
    return info;
}

TImageListPool::TImageListPool(DialogRuntime& runtime) : ui::TForm(nullptr), m_runtime(runtime)
{
    SetName("ImageListPool");
    // Never shown, so never the application's main form: it only needs the timers and menus.
    SetApplication(&runtime.application);

    imageList = new ui::TImageList(this);
    imageList->SetName("ImageList");
    imageList->SetWidth(kComponentImageWidth);
    imageList->SetHeight(kComponentImageHeight);
    for (htmlview::PixelImage& image : ComponentImages())
        imageList->AddImage(std::move(image));
    popup = new ui::TPopupMenu(this);
    popup->SetName("Popup");
    popup->images = imageList;

    const engine::SetupMessages& messages = *runtime.engine.Messages;
    const auto text = [&messages](int n) { return messages.Text(n); };
    struct ItemLayout
    {
        ui::TMenuItem** item;
        const char* name;
        std::string caption;
        int image;
        bool visible;
        const char* handler;
    };
    const ItemLayout layout[] = {
        {&installComponentOnly, "InstallComponentOnly1", text(kInstallOnlyMessage), 4, true,
         "InstallComponentOnly1Click"},
        {&installWithSubComponents, "InstallComponentwithSubComponents1",
         text(kInstallEntireMessage), 5, true, "InstallComponentwithSubComponents1Click"},
        {&separator, "N1", "-", -1, true, nullptr},
        {&entireFeatureUnavailable, "Entirefeaturewillbeunavailable1", text(kUnavailableMessage),
         2, true, "DoNotInstallComponentorSubComponents1Click"},
        {&doNotInstallComponentOnly, "DoNotInstallComponentOnly1",
         "Do Not Install Component &Only", 2, false, "DoNotInstallComponentOnly1Click"},
        {&doNotInstallWithSubComponents, "DoNotInstallComponentorSubComponents1",
         "Do &Not Install Component or Sub Components", 3, false,
         "DoNotInstallComponentorSubComponents1Click"},
    };
    for (const ItemLayout& entry : layout) {
        auto* item = new ui::TMenuItem(this);
        item->SetName(entry.name);
        item->caption = entry.caption;
        item->imageIndex = entry.image;
        item->visible = entry.visible;
        if (entry.handler)
            item->onClick = forms::PublishedHandler<forms::TNotifyEvent>(*this, entry.handler);
        popup->Items()->Add(item);
        *entry.item = item;
    }

    const char* timers[][2] = {{"thxTimer", "thxTimerTimer"},
                               {"thyTimer", "thyTimerTimer"},
                               {"thzTimer", "thzTimerTimer"}};
    for (std::size_t i = 0; i < m_watchdogs.size(); ++i) {
        auto* timer = new ui::TTimer(this);
        timer->SetName(timers[i][0]);
        timer->SetEnabled(false);
        timer->SetInterval(kWatchdogInterval);
        timer->SetOnTimer(forms::PublishedHandler<forms::TNotifyEvent>(*this, timers[i][1]));
        m_watchdogs[i] = timer;
    }
}

TImageListPool::~TImageListPool()
{
    for (ui::TTimer* timer : m_watchdogs)
        timer->SetEnabled(false);
}

void TImageListPool::ShowComponentMenu(TPoolTemplate& page, ui::TTreeView& tree,
                                       ui::TTreeNode& node, int x, int y, IComponentMarks* marks)
{
    ModelComponentMarks model(engine::RunComponentModel(m_runtime.engine));
    m_popupPage = &page;
    m_popupTree = &tree;
    m_popupNode = &node;
    m_marks = marks ? marks : &model;
    popup->Popup(x, y);
    m_marks = nullptr;
}

void TImageListPool::Mark(bool withSubTree, bool install)
{
    if (!m_popupNode || !m_marks)
        return;
    MarkComponentNode(*m_popupNode, withSubTree, install, *m_marks);
    if (install)
        MarkAncestorsInstalled(*m_popupNode, *m_marks);
    if (m_popupTree)
        m_popupTree->Changed(ui::Aspect::Nodes);
    if (m_popupPage)
        UpdateInfoLabels(*m_popupPage);
}

void TImageListPool::InstallComponentOnly1Click(forms::TObject*)
{
    Mark(false, true);
}

void TImageListPool::InstallComponentwithSubComponents1Click(forms::TObject*)
{
    Mark(true, true);
}

void TImageListPool::DoNotInstallComponentorSubComponents1Click(forms::TObject*)
{
    Mark(true, false);
}

void TImageListPool::DoNotInstallComponentOnly1Click(forms::TObject*)
{
    Mark(false, false);
}

void TImageListPool::ArmWatchdog(WatchedWorker worker, std::function<void()> expired)
{
    m_expired[Slot(worker)] = std::move(expired);
    m_watchdogs[Slot(worker)]->SetEnabled(true);
}

void TImageListPool::DisarmWatchdog(WatchedWorker worker)
{
    m_watchdogs[Slot(worker)]->SetEnabled(false);
    m_expired[Slot(worker)] = nullptr;
}

ui::TTimer& TImageListPool::WatchdogTimer(WatchedWorker worker) const
{
    return *m_watchdogs[Slot(worker)];
}

void TImageListPool::WatchdogFired(WatchedWorker worker)
{
    m_watchdogs[Slot(worker)]->SetEnabled(false);
    // Taken out first: the hook may arm the watchdog again.
    std::function<void()> expired = std::move(m_expired[Slot(worker)]);
    m_expired[Slot(worker)] = nullptr;
    if (expired)
        expired();
}

void TImageListPool::thxTimerTimer(forms::TObject*)
{
    WatchdogFired(WatchedWorker::Extraction);
}

void TImageListPool::thyTimerTimer(forms::TObject*)
{
    WatchdogFired(WatchedWorker::Download);
}

void TImageListPool::thzTimerTimer(forms::TObject*)
{
    WatchdogFired(WatchedWorker::Copy);
}

}  // namespace setup::wizard
