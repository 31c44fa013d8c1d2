// A process of the tests' own that owns a notification-area-like toolbar: three buttons whose
// data points at a window handle and identifier in this process's memory, the second hidden.
// It runs until its window is closed.
#include <windows.h>

#include <commctrl.h>

namespace {

// What Explorer's buttons point at: the icon's window and identifier.
struct IconOwner
{
    HWND window;
    UINT id;
};

IconOwner g_owners[] = {
    {reinterpret_cast<HWND>(0x1111), 1},
    {reinterpret_cast<HWND>(0x2222), 2},
    {reinterpret_cast<HWND>(0x3333), 3},
};

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM first, LPARAM second)
{
    if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProcA(window, message, first, second);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSA type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.lpszClassName = "TrayToolbarHelper";
    ::RegisterClassA(&type);
    const HWND window = ::CreateWindowA("TrayToolbarHelper", "Tray toolbar helper",
                                        WS_OVERLAPPEDWINDOW, 200, 150, 300, 120, nullptr, nullptr,
                                        instance, nullptr);
    const HWND toolbar = ::CreateWindowA(TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT,
                                         0, 0, 0, 0, window, nullptr, instance, nullptr);
    ::SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
    TBBUTTON buttons[3] = {};
    for (int i = 0; i < 3; ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = TBSTATE_ENABLED | (i == 1 ? TBSTATE_HIDDEN : 0);
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].dwData = reinterpret_cast<DWORD_PTR>(&g_owners[i]);
    }
    ::SendMessageA(toolbar, TB_ADDBUTTONSA, 3, reinterpret_cast<LPARAM>(buttons));
    ::SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
