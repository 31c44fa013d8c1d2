#include "setup/ui/menu_presenter_win32.h"

#include <vector>

#include "setup/forms/type_info.h"

namespace setup::ui {
namespace {

// Builds the system menu of the items; each chosen command is the item's place in `items`, +1.
HMENU BuildMenu(const TMenuItem& parent, std::vector<TMenuItem*>& items)
{
    HMENU menu = ::CreatePopupMenu();
    for (TMenuItem* item : parent.Items()) {
        if (!item->visible)
            continue;
        if (item->IsSeparator()) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::string text = item->caption;
        const std::string shortcut = forms::ShortCutToText(item->shortCut);
        if (!shortcut.empty())
            text += "\t" + shortcut;
        UINT flags =
            MF_STRING | (item->enabled ? 0 : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
        if (!item->Items().empty()) {
            ::AppendMenuA(menu, flags | MF_POPUP,
                          reinterpret_cast<UINT_PTR>(BuildMenu(*item, items)), text.c_str());
            continue;
        }
        items.push_back(item);
        ::AppendMenuA(menu, flags, items.size(), text.c_str());
        if (item->isDefault)
            ::SetMenuDefaultItem(menu, static_cast<UINT>(items.size()), FALSE);
    }
    return menu;
}

}  // namespace

TMenuItem* Win32MenuPresenter::Present(TPopupMenu& menu, int x, int y)
{
    std::vector<TMenuItem*> items;
    HMENU handle = BuildMenu(*menu.Items(), items);
    HWND owner = m_owner ? m_owner : ::GetActiveWindow();
    // A menu closes when its owner is not the foreground window.
    if (owner)
        ::SetForegroundWindow(owner);
    const auto chosen = static_cast<UINT>(::TrackPopupMenu(
        handle, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    ::DestroyMenu(handle);
    if (chosen == 0 || chosen > items.size())
        return nullptr;
    return items[chosen - 1];
}

}  // namespace setup::ui
