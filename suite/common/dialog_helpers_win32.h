// What the suite's dialogs share: the dialog procedure that forwards to a dialog object, pictures
// set on static controls, centring on the owner and the bold dialog font.
#pragma once

#include <windows.h>

namespace suite {

// The dialog procedure of a dialog object handed over as the WM_INITDIALOG parameter; the object's
// `Handle` answers the messages and nothing thrown leaves it.
template <typename Dialog>
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_INITDIALOG)
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self)
        return FALSE;
    try {
        return self->Handle(dialog, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

// Gives a picture control its bitmap and deletes the one it held before; returns whether it held
// one.
inline bool SetPicture(HWND dialog, int id, HBITMAP bitmap)
{
    HBITMAP old = reinterpret_cast<HBITMAP>(::SendDlgItemMessageW(
        dialog, id, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (old && old != bitmap)
        ::DeleteObject(old);
    return old != nullptr;
}

// On the owner window, or on the work area without one.
inline void CenterOnOwner(HWND dialog)
{
    HWND owner = ::GetWindow(dialog, GW_OWNER);
    RECT area;
    if (owner)
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT own;
    ::GetWindowRect(dialog, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    ::SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
                   area.top + (area.bottom - area.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Bold "MS Shell Dlg" of the given height; the caller keeps it for the dialog's lifetime.
inline HFONT CreateBoldDialogFont(int height = 12)
{
    return ::CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                         L"MS Shell Dlg");
}

}  // namespace suite
