#include "setup/ui/inspector/inspector_system_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "setup/ui/common_controls.h"
#include "setup/ui/form.h"
#include "setup/ui/gdi_canvas_win32.h"
#include "setup/ui/inspector/editor_models.h"
#include "setup/ui/window_peer_win32.h"

namespace setup::ui {
namespace {

// "Text|*.ext|..." as the dialogs want it: pairs separated by zero characters.
std::string DialogFilter(const std::string& filter)
{
    std::string result = filter;
    std::replace(result.begin(), result.end(), '|', '\0');
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

bool FileDialog(const std::string& filter, std::string& path, bool save)
{
    char buffer[MAX_PATH] = {};
    const std::string filters = DialogFilter(filter);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = ::GetActiveWindow();
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    if (!(save ? ::GetSaveFileNameA(&dialog) : ::GetOpenFileNameA(&dialog)))
        return false;
    path = buffer;
    return true;
}

TTreeNode* NodeOfItem(HWND tree, HTREEITEM item)
{
    if (!item)
        return nullptr;
    TVITEMA data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)))
        return nullptr;
    return reinterpret_cast<TTreeNode*>(data.lParam);
}

// A pointer drawn where the dragged node would land: at the top of the mark before the target,
// in its middle as a child, at its bottom after it.
void DrawDropMark(HDC dc, const RECT& mark, DropPosition position)
{
    const int tipY = position == DropPosition::Before  ? mark.top + 3
                     : position == DropPosition::After ? mark.bottom - 4
                                                       : (mark.top + mark.bottom) / 2;
    const POINT arrow[] = {{mark.left, tipY}, {mark.left + 7, tipY - 5}, {mark.left + 7, tipY + 5}};
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::Polygon(dc, arrow, 3);
    ::MoveToEx(dc, mark.left + 7, tipY, nullptr);
    ::LineTo(dc, mark.right - 1, tipY);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
}

}  // namespace

void Win32InspectorSystem::Beep()
{
    ::MessageBeep(MB_OK);
}

bool Win32InspectorSystem::PickFont(TFont& font)
{
    LOGFONTA log{};
    log.lfHeight = font.Height();
    log.lfCharSet = static_cast<BYTE>(font.Charset());
    log.lfWeight = font.Style().Has(fsBold) ? FW_BOLD : FW_NORMAL;
    log.lfItalic = font.Style().Has(fsItalic);
    log.lfUnderline = font.Style().Has(fsUnderline);
    log.lfStrikeOut = font.Style().Has(fsStrikeOut);
    std::strncpy(log.lfFaceName, font.Name().c_str(), LF_FACESIZE - 1);
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = ::GetActiveWindow();
    dialog.lpLogFont = &log;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    dialog.rgbColors = ToColorRef(font.Color());
    if (!::ChooseFontA(&dialog))
        return false;
    font.SetName(log.lfFaceName);
    font.SetHeight(log.lfHeight);
    font.SetCharset(TFontCharset(log.lfCharSet));
    TFontStyles style;
    if (log.lfWeight >= FW_BOLD)
        style.Include(fsBold);
    if (log.lfItalic)
        style.Include(fsItalic);
    if (log.lfUnderline)
        style.Include(fsUnderline);
    if (log.lfStrikeOut)
        style.Include(fsStrikeOut);
    font.SetStyle(style);
    font.SetColor(TColor(static_cast<std::int32_t>(dialog.rgbColors)));
    return true;
}

bool Win32InspectorSystem::PickColor(TColor& color)
{
    static COLORREF custom[16] = {};
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = ::GetActiveWindow();
    dialog.rgbResult = ToColorRef(color);
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!::ChooseColorA(&dialog))
        return false;
    color = TColor(static_cast<std::int32_t>(dialog.rgbResult));
    return true;
}

bool Win32InspectorSystem::OpenPictureFile(const std::string& filter, std::string& path)
{
    return FileDialog(filter, path, false);
}

bool Win32InspectorSystem::SavePictureFile(const std::string& filter, std::string& path)
{
    return FileDialog(filter, path, true);
}

int Win32InspectorSystem::RunModal(TCustomForm& form)
{
    // A form outside an application has no loop to run in: nothing is shown.
    if (!form.Application())
        return mrCancel;
    return form.ShowModal();
}

bool Win32InspectorSystem::DragTreeNode(TTreeView& tree, TTreeNode* dragged,
                                        TTreeNode*& target, DropPosition& position)
{
    HWND window = WindowOf(tree);
    if (!window || !dragged)
        return false;
    target = nullptr;
    RECT mark{};
    bool marked = false;
    const auto eraseMark = [&] {
        if (marked) {
            ::InvalidateRect(window, &mark, TRUE);
            ::UpdateWindow(window);
            marked = false;
        }
    };
    // The node under the cursor, its drop position and mark; near an edge the tree scrolls.
    const auto track = [&](POINT at) {
        TVHITTESTINFO hit{};
        hit.pt = at;
        auto item = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(window, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        // The item goes in where the rectangle comes back.
        RECT text{};
        std::memcpy(&text, &item, sizeof item);
        if (!item || !::SendMessageA(window, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)))
            item = nullptr;
        TTreeNode* node = NodeOfItem(window, item);
        if (node && at.x < text.left - 2 && !node->Children().empty() &&
            !(::SendMessageA(window, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                             TVIS_EXPANDED) &
              TVIS_EXPANDED))
            ::SendMessageA(window, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        eraseMark();
        ::SendMessageA(window, TVM_SELECTITEM, TVGN_DROPHILITE,
                       reinterpret_cast<LPARAM>(node && node != dragged ? item : nullptr));
        target = node && node != dragged ? node : nullptr;
        if (!target)
            return;
        position = DropPositionAt(at.y, text.top, text.bottom);
        const TRect r = DropMarkRect({text.left, text.top, text.right, text.bottom}, position);
        mark = {r.left, r.top, r.right, r.bottom};
        ::UpdateWindow(window);
        HDC dc = ::GetDC(window);
        DrawDropMark(dc, mark, position);
        ::ReleaseDC(window, dc);
        marked = true;
    };
    const auto scrollNearEdge = [&](POINT at) {
        RECT client{};
        ::GetClientRect(window, &client);
        bool scrolled = false;
        const auto scroll = [&](int bar, UINT message, int direction) {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_ALL;
            if (direction == 0 || !::GetScrollInfo(window, bar, &info))
                return;
            const int last = info.nMax - std::max<int>(static_cast<int>(info.nPage) - 1, 0);
            if ((direction < 0 && info.nPos > info.nMin) || (direction > 0 && info.nPos < last)) {
                ::SendMessageA(window, message, direction < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
                scrolled = true;
            }
        };
        scroll(SB_VERT, WM_VSCROLL, DragScrollDirection(at.y, client.bottom));
        scroll(SB_HORZ, WM_HSCROLL, DragScrollDirection(at.x, client.right));
        if (scrolled) {
            eraseMark();
            ::UpdateWindow(window);
            ::Sleep(50);
        }
        return scrolled;
    };

    ::SetCapture(window);
    bool dropped = false;
    POINT last{-1, -1};
    for (;;) {
        MSG message;
        if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (::GetCapture() != window)
                break;
            POINT at{};
            ::GetCursorPos(&at);
            ::ScreenToClient(window, &at);
            if (scrollNearEdge(at))
                track(at);
            else
                ::WaitMessage();
            continue;
        }
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (message.message == WM_MOUSEMOVE && message.hwnd == window) {
            const POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
            if (at.x != last.x || at.y != last.y)
                track(at);
            last = at;
            continue;
        }
        if (message.message == WM_LBUTTONUP && message.hwnd == window) {
            track({GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)});
            dropped = target != nullptr;
            break;
        }
        if ((message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) ||
            message.message == WM_RBUTTONDOWN || message.message == WM_CANCELMODE)
            break;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
        if (::GetCapture() != window)
            break;
    }
    if (::GetCapture() == window)
        ::ReleaseCapture();
    eraseMark();
    ::SendMessageA(window, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
    return dropped;
}

int Win32InspectorSystem::ScrollBarWidth() const
{
    return ::GetSystemMetrics(SM_CXVSCROLL);
}

int Win32InspectorSystem::WheelScrollLines() const
{
    UINT lines = 3;
    if (!::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        lines = 3;
    // "One page a notch" comes as the largest number; the grid keeps it to a page.
    return lines > 1000 ? 1000 : static_cast<int>(lines);
}

}  // namespace setup::ui
