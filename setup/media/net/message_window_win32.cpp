#include "setup/media/net/message_window_win32.h"

#include <mutex>

namespace net {

core::UniqueWindow CreateMessageWindow(const wchar_t* className, WNDPROC procedure, void* owner)
{
    static std::mutex classLock;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    {
        std::lock_guard<std::mutex> guard(classLock);
        WNDCLASSW existing{};
        if (!::GetClassInfoW(instance, className, &existing)) {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = procedure;
            windowClass.hInstance = instance;
            windowClass.lpszClassName = className;
            windowClass.cbWndExtra = sizeof(LONG_PTR);
            ::RegisterClassW(&windowClass);
        }
    }
    core::UniqueWindow window(::CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                nullptr, instance, nullptr));
    if (window)
        ::SetWindowLongPtrW(window.Get(), 0, reinterpret_cast<LONG_PTR>(owner));
    return window;
}

}  // namespace net
