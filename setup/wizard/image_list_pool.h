// TImageListPool: the never-shown form that holds what the wizard pages share: the component
// tree's images, the component pop-up menu with its four marking commands, and the three
// watchdog timers that end a cancelled media worker which will not stop by itself. It lives from
// InitDialogPool to FreeDialogPool.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "setup/ui/common_controls.h"
#include "setup/ui/form.h"
#include "setup/ui/image_list.h"
#include "setup/ui/menus.h"
#include "setup/ui/timer.h"

namespace setup::wizard {

struct DialogRuntime;
class IComponentMarks;
class TPoolTemplate;

// The media workers a watchdog can end, each with its own timer.
enum class WatchedWorker
{
    Extraction,  // thxTimer
    Download,    // thyTimer
    Copy,        // thzTimer
};

inline constexpr std::uint32_t kWatchdogInterval = 15000;

class TImageListPool : public ui::TForm
{
public:
    FORMS_CLASS_INFO()
    explicit TImageListPool(DialogRuntime& runtime);
    ~TImageListPool() override;

    // The component menu's commands on the pop-up node.
    void InstallComponentOnly1Click(forms::TObject* sender);
    void InstallComponentwithSubComponents1Click(forms::TObject* sender);
    void DoNotInstallComponentorSubComponents1Click(forms::TObject* sender);
    void DoNotInstallComponentOnly1Click(forms::TObject* sender);
    void thxTimerTimer(forms::TObject* sender);
    void thyTimerTimer(forms::TObject* sender);
    void thzTimerTimer(forms::TObject* sender);

    // Shows the component menu for the node of the page's tree at a screen point; the command
    // chosen marks the node through `marks` (the run's component model when none is given).
    void ShowComponentMenu(TPoolTemplate& page, ui::TTreeView& tree, ui::TTreeNode& node, int x,
                           int y, IComponentMarks* marks = nullptr);
    ui::TTreeNode* PopupNode() const { return m_popupNode; }

    // Starts the worker's watchdog: once the interval passes without DisarmWatchdog, the timer
    // stops and `expired` runs on the GUI thread (it ends the worker and marks it finished).
    void ArmWatchdog(WatchedWorker worker, std::function<void()> expired);
    void DisarmWatchdog(WatchedWorker worker);
    ui::TTimer& WatchdogTimer(WatchedWorker worker) const;

    ui::TImageList* imageList = nullptr;
    ui::TPopupMenu* popup = nullptr;
    ui::TMenuItem* installComponentOnly = nullptr;
    ui::TMenuItem* installWithSubComponents = nullptr;
    ui::TMenuItem* separator = nullptr;
    ui::TMenuItem* entireFeatureUnavailable = nullptr;
    ui::TMenuItem* doNotInstallComponentOnly = nullptr;
    ui::TMenuItem* doNotInstallWithSubComponents = nullptr;
    // Tray and TrayEx, the notification-area icons, are held by `PoolTray`, which the setup program
    // keeps beside the pool. The task scheduler is no component here: each scheduled-task
    // statement opens its own.

private:
    void Mark(bool withSubTree, bool install);
    void WatchdogFired(WatchedWorker worker);

    DialogRuntime& m_runtime;
    TPoolTemplate* m_popupPage = nullptr;
    ui::TTreeView* m_popupTree = nullptr;
    ui::TTreeNode* m_popupNode = nullptr;
    IComponentMarks* m_marks = nullptr;
    std::array<ui::TTimer*, 3> m_watchdogs{};
    std::array<std::function<void()>, 3> m_expired;
};

}  // namespace setup::wizard
