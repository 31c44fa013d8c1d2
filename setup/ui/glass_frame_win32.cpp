#include "setup/ui/glass_frame_win32.h"

namespace setup::ui {

namespace {

struct Margins
{
    int left;
    int right;
    int top;
    int bottom;
};

using CompositionEnabledProc = HRESULT(WINAPI*)(BOOL*);
using ExtendFrameProc = HRESULT(WINAPI*)(HWND, const Margins*);

// dwmapi.dll exists from Vista on only: found at run time, kept for the process.
struct Dwm
{
    CompositionEnabledProc compositionEnabled = nullptr;
    ExtendFrameProc extendFrame = nullptr;
};

const Dwm& DwmApi()
{
    static const Dwm dwm = [] {
        Dwm found;
        if (HMODULE library = ::LoadLibraryA("dwmapi.dll")) {
            found.compositionEnabled = reinterpret_cast<CompositionEnabledProc>(
                ::GetProcAddress(library, "DwmIsCompositionEnabled"));
            found.extendFrame = reinterpret_cast<ExtendFrameProc>(
                ::GetProcAddress(library, "DwmExtendFrameIntoClientArea"));
        }
        return found;
    }();
    return dwm;
}

}  // namespace

bool ApplyGlassFrame(HWND window, const TGlassFrame& glass)
{
    const Dwm& dwm = DwmApi();
    BOOL composition = FALSE;
    if (!dwm.compositionEnabled || !dwm.extendFrame ||
        FAILED(dwm.compositionEnabled(&composition)) || !composition)
        return false;
    Margins margins{0, 0, 0, 0};
    if (glass.enabled && glass.sheetOfGlass)
        margins = {-1, -1, -1, -1};
    else if (glass.enabled)
        margins = {glass.left, glass.right, glass.top, glass.bottom};
    const bool applied = SUCCEEDED(dwm.extendFrame(window, &margins));
    ::InvalidateRect(window, nullptr, TRUE);
    return applied;
}

}  // namespace setup::ui
