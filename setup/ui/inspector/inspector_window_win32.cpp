#include "setup/ui/inspector/inspector_window_win32.h"

#include "setup/ui/inspector/inspector_grid.h"

namespace setup::ui {
namespace {

using inspector_layout::ScrollCode;

class InspectorGridWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl&) const override { return {nullptr, WS_VSCROLL, 0}; }

    void PushAll(HWND window, TWinControl& control) const override
    {
        Push(window, control, Aspect::Range);
    }

    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        if (aspect != Aspect::Range && aspect != Aspect::Position)
            return;
        const auto& grid = static_cast<const TCustomInspector&>(control);
        // A page as large as the range hides the bar.
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = grid.ItemCount() > 0 ? grid.ItemCount() - 1 : 0;
        info.nPage = static_cast<UINT>(grid.VisibleRowCount());
        info.nPos = grid.TopIndex();
        ::SetScrollInfo(window, SB_VERT, &info, TRUE);
    }

    bool OwnMessage(HWND window, TWinControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT& result) const override
    {
        // Only the grid's own bar; a child's scroll messages reach the child's binding.
        if (message != WM_VSCROLL || lParam != 0)
            return false;
        auto& grid = static_cast<TCustomInspector&>(control);
        result = 0;
        ScrollCode code;
        int thumb = 0;
        switch (LOWORD(wParam)) {
            case SB_LINEUP:
                code = ScrollCode::LineUp;
                break;
            case SB_LINEDOWN:
                code = ScrollCode::LineDown;
                break;
            case SB_PAGEUP:
                code = ScrollCode::PageUp;
                break;
            case SB_PAGEDOWN:
                code = ScrollCode::PageDown;
                break;
            case SB_TOP:
                code = ScrollCode::Top;
                break;
            case SB_BOTTOM:
                code = ScrollCode::Bottom;
                break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: {
                // The message's position has 16 bits; the bar's own has all of them.
                SCROLLINFO info{};
                info.cbSize = sizeof(info);
                info.fMask = SIF_TRACKPOS;
                ::GetScrollInfo(window, SB_VERT, &info);
                code = ScrollCode::Thumb;
                thumb = info.nTrackPos;
                break;
            }
            default:
                return true;
        }
        grid.ScrollFromWindow(code, thumb);
        return true;
    }
};

}  // namespace

const ControlBinding& InspectorGridBinding()
{
    static const InspectorGridWindow binding;
    return binding;
}

}  // namespace setup::ui
