#include "suite/recyclebin/dialog_painting_win32.h"

#include "core/unique_handle.h"

namespace trashwipe {

INT_PTR PaintDialogBackground(HWND dialog, HDC dc, HBRUSH brush, HBITMAP bitmap,
                              const BitmapPlace& place)
{
    RECT client;
    ::GetClientRect(dialog, &client);
    ::FillRect(dc, &client, brush);
    if (bitmap) {
        BITMAP info{};
        ::GetObjectW(bitmap, sizeof(info), &info);
        const POINT at = place({client.right, client.bottom}, {info.bmWidth, info.bmHeight});
        core::UniqueMemoryDc memory(::CreateCompatibleDC(dc));
        HGDIOBJ old = ::SelectObject(memory.Get(), bitmap);
        ::BitBlt(dc, at.x, at.y, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
        ::SelectObject(memory.Get(), old);
    }
    ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

}  // namespace trashwipe
