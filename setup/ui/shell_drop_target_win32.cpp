#include "setup/ui/shell_drop_target_win32.h"

#include <oleidl.h>

#include <memory>

#include "core/com_object_win32.h"
#include "setup/ui/control.h"
#include "setup/ui/shell_drop.h"

namespace setup::ui {
namespace {

constexpr const char* kRegisteredProperty = "SetupShellDropTarget";

class ControlDropTarget final : public core::ComObject<IDropTarget>
{
public:
    ControlDropTarget(HWND window, IShellNamespace& shell, IDropSite& site, DropHitTest hitTest)
        : ComObject(IID_IDropTarget),
          m_window(window),
          m_site(site),
          m_drop(shell, site),
          m_hitTest(std::move(hitTest))
    {
        UINT hoverTime = 400;
        UINT hoverWidth = 2;
        UINT hoverHeight = 2;
        ::SystemParametersInfoA(SPI_GETMOUSEHOVERTIME, 0, &hoverTime, 0);
        ::SystemParametersInfoA(SPI_GETMOUSEHOVERWIDTH, 0, &hoverWidth, 0);
        ::SystemParametersInfoA(SPI_GETMOUSEHOVERHEIGHT, 0, &hoverHeight, 0);
        m_hover = HoverWatch(static_cast<int>(hoverWidth), static_cast<int>(hoverHeight),
                             hoverTime);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at,
                                        DWORD* effect) override
    {
        if (!data || !effect)
            return E_INVALIDARG;
        data->AddRef();
        m_object = data;
        m_data = std::make_unique<Win32DragData>(*data);
        m_hover.Reset();
        *effect = m_drop.Enter(*m_data, keys, HitAt(at), {at.x, at.y}, *effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        const std::intptr_t hit = HitAt(at);
        *effect = m_drop.Over(keys, hit, {at.x, at.y}, *effect);
        const DWORD now = ::GetTickCount();
        POINT client{at.x, at.y};
        ::ScreenToClient(m_window, &client);
        if (m_hover.Rested({client.x, client.y}, now))
            m_site.RestedOn(hit);
        if (Scroll(client, now))
            *effect |= kDropScroll;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        m_drop.Leave();
        Forget(m_object);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at,
                                   DWORD* effect) override
    {
        if (!data || !effect)
            return E_INVALIDARG;
        Win32DragData dropped(*data);
        HCURSOR old = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        *effect = m_drop.Drop(dropped, keys, HitAt(at), {at.x, at.y}, *effect);
        ::SetCursor(old);
        Forget(m_object);
        return S_OK;
    }

private:
    static void Forget(IDataObject*& object)
    {
        if (object)
            object->Release();
        object = nullptr;
    }
    std::intptr_t HitAt(POINTL at) const
    {
        POINT client{at.x, at.y};
        ::ScreenToClient(m_window, &client);
        return m_hitTest(client);
    }
    // Scrolls a step where the scroll bars have room; true when the window may scroll.
    bool Scroll(POINT client, DWORD now)
    {
        RECT area{};
        ::GetClientRect(m_window, &area);
        const ScrollStep step =
            m_scroller.Step({client.x, client.y}, {area.left, area.top, area.right, area.bottom},
                            now);
        bool scrolled = false;
        const auto scroll = [&](int bar, UINT message, int direction) {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_ALL;
            if (!direction || !::GetScrollInfo(m_window, bar, &info) ||
                info.nMax - info.nMin < static_cast<int>(info.nPage))
                return;
            ::SendMessageA(m_window, message, direction < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            scrolled = true;
        };
        scroll(SB_HORZ, WM_HSCROLL, step.columns);
        scroll(SB_VERT, WM_VSCROLL, step.lines);
        return scrolled;
    }

    HWND m_window;
    IDropSite& m_site;
    ShellDrop m_drop;
    DropHitTest m_hitTest;
    IDataObject* m_object = nullptr;
    std::unique_ptr<Win32DragData> m_data;
    AutoScroller m_scroller;
    HoverWatch m_hover;
};

}  // namespace

void RegisterShellDropTarget(HWND window, TWinControl& control, DropHitTest hitTest)
{
    auto* site = dynamic_cast<IDropSite*>(&control);
    IShellNamespace* shell = NamespaceOf(control);
    if (!site || !shell || !site->AcceptsDrops() || ::GetPropA(window, kRegisteredProperty))
        return;
    auto* target = new ControlDropTarget(window, *shell, *site, std::move(hitTest));
    if (SUCCEEDED(::RegisterDragDrop(window, target)))
        ::SetPropA(window, kRegisteredProperty, reinterpret_cast<HANDLE>(1));
    target->Release();
}

void RevokeShellDropTarget(HWND window)
{
    if (::RemovePropA(window, kRegisteredProperty))
        ::RevokeDragDrop(window);
}

}  // namespace setup::ui
