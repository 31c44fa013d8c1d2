#include "setup/ui/shell_context_menu_win32.h"

#include <windows.h>

#include <shlobj.h>

#include "core/text_convert.h"
#include "setup/ui/send_to_win32.h"

namespace setup::ui {
namespace {

constexpr UINT kLastCommand = 0x7FFF;
constexpr const char* kTrackingMenuProperty = "SetupShellMenu";

class Win32ShellContextMenu final : public IShellContextMenu
{
public:
    Win32ShellContextMenu(IContextMenu* menu, HMENU popup) : m_menu(menu), m_popup(popup)
    {
        m_menu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(&m_menu2));
        m_menu->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(&m_menu3));
    }
    ~Win32ShellContextMenu() override
    {
        ::DestroyMenu(m_popup);
        if (m_menu3)
            m_menu3->Release();
        if (m_menu2)
            m_menu2->Release();
        m_menu->Release();
    }
    Win32ShellContextMenu(const Win32ShellContextMenu&) = delete;
    Win32ShellContextMenu& operator=(const Win32ShellContextMenu&) = delete;

    std::vector<ShellMenuCommand> Commands() override
    {
        std::vector<ShellMenuCommand> commands;
        Collect(m_popup, commands, 0);
        return commands;
    }

    int Track(std::uintptr_t owner, int x, int y,
              const std::function<void(const std::string&)>& hint) override
    {
        auto window = reinterpret_cast<HWND>(owner);
        m_hint = &hint;
        // The owner hears the menu's messages while it is open; they go on to the shell's menu.
        WNDPROC previous = nullptr;
        if (window) {
            ::SetPropA(window, kTrackingMenuProperty, this);
            previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
                window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RoutingProc)));
            m_previous = previous;
        }
        const int chosen = static_cast<int>(::TrackPopupMenu(
            m_popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window, nullptr));
        if (window) {
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            ::RemovePropA(window, kTrackingMenuProperty);
        }
        m_hint = nullptr;
        return chosen;
    }

    bool Invoke(int id) override
    {
        if (id < kFirstShellCommand)
            return false;
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof(info);
        info.lpVerb = MAKEINTRESOURCEA(id - kFirstShellCommand);
        info.nShow = SW_SHOWNORMAL;
        return SUCCEEDED(m_menu->InvokeCommand(&info));
    }

private:
    std::string CommandString(UINT offset, UINT kind)
    {
        char text[MAX_PATH] = {};
        if (FAILED(m_menu->GetCommandString(offset, kind, nullptr, text, sizeof(text))))
            return {};
        text[MAX_PATH - 1] = 0;
        return text;
    }

    void Collect(HMENU menu, std::vector<ShellMenuCommand>& commands, int depth)
    {
        const int count = ::GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            MENUITEMINFOA item{};
            item.cbSize = sizeof(item);
            item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
            item.dwTypeData = text;
            item.cch = sizeof(text) - 1;
            if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item))
                continue;
            // Submenus the shell fills late are read as they stand; a loop of them is not.
            if (item.hSubMenu && depth < 4) {
                Collect(item.hSubMenu, commands, depth + 1);
                continue;
            }
            if (item.fType & MFT_SEPARATOR || item.wID < static_cast<UINT>(kFirstShellCommand) ||
                item.wID > kLastCommand)
                continue;
            commands.push_back({static_cast<int>(item.wID), text,
                                CommandString(item.wID - kFirstShellCommand, GCS_VERBA)});
        }
    }

    static LRESULT CALLBACK RoutingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = static_cast<Win32ShellContextMenu*>(::GetPropA(window, kTrackingMenuProperty));
        if (!self)
            return ::DefWindowProcA(window, message, wParam, lParam);
        switch (message) {
            case WM_INITMENUPOPUP:
            case WM_DRAWITEM:
            case WM_MEASUREITEM:
            case WM_MENUCHAR: {
                LRESULT result = 0;
                if (self->m_menu3 &&
                    SUCCEEDED(self->m_menu3->HandleMenuMsg2(message, wParam, lParam, &result)))
                    return result;
                if (self->m_menu2 && message != WM_MENUCHAR &&
                    SUCCEEDED(self->m_menu2->HandleMenuMsg(message, wParam, lParam)))
                    return message == WM_INITMENUPOPUP ? 0 : TRUE;
                // A shell that cannot draw its Send To submenu leaves it to the control.
                if (!self->m_menu2 && !self->m_menu3 &&
                    self->m_sendTo.Handle(message, wParam, lParam, result))
                    return result;
                break;
            }
            case WM_MENUSELECT: {
                const UINT id = LOWORD(wParam);
                const bool command = !(HIWORD(wParam) & (MF_POPUP | MF_SEPARATOR)) &&
                                     id >= static_cast<UINT>(kFirstShellCommand) &&
                                     id <= kLastCommand;
                if (self->m_hint && *self->m_hint)
                    (*self->m_hint)(command ? self->CommandString(id - kFirstShellCommand,
                                                                  GCS_HELPTEXTA)
                                            : std::string());
                break;
            }
            default:
                break;
        }
        return ::CallWindowProcA(self->m_previous, window, message, wParam, lParam);
    }

    IContextMenu* m_menu;
    IContextMenu2* m_menu2 = nullptr;
    IContextMenu3* m_menu3 = nullptr;
    HMENU m_popup;
    WNDPROC m_previous = nullptr;
    SendToMenuMessages m_sendTo;
    const std::function<void(const std::string&)>* m_hint = nullptr;
};

}  // namespace

std::unique_ptr<IShellContextMenu> MakeShellContextMenu(IContextMenu* menu, bool canRename)
{
    if (!menu)
        return nullptr;
    HMENU popup = ::CreatePopupMenu();
    UINT flags = CMF_EXPLORE;
    if (canRename)
        flags |= CMF_CANRENAME;
    if (!popup || FAILED(menu->QueryContextMenu(popup, 0, kFirstShellCommand, kLastCommand, flags))) {
        if (popup)
            ::DestroyMenu(popup);
        menu->Release();
        return nullptr;
    }
    return std::make_unique<Win32ShellContextMenu>(menu, popup);
}

}  // namespace setup::ui
