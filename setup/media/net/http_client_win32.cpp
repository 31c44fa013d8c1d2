#include "setup/media/net/http_client_win32.h"

#include <mutex>

namespace net {

namespace {

constexpr wchar_t kClassName[] = L"HttpClientWindowClass";
constexpr UINT kMessageRequestDone = WM_USER + 1;  // 1025
constexpr UINT kMessageSetReady = WM_USER + 2;     // 1026
constexpr UINT kMessageRestart = WM_USER + 3;      // 1027

std::mutex& ClassLock()
{
    static std::mutex lock;
    return lock;
}

}  // namespace

HttpClientWin32::HttpClientWin32()
{
    m_socketWindow.Attach(&m_client.Socket());
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    {
        std::lock_guard<std::mutex> guard(ClassLock());
        WNDCLASSW existing{};
        if (!::GetClassInfoW(instance, kClassName, &existing)) {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = &HttpClientWin32::WindowProc;
            windowClass.hInstance = instance;
            windowClass.lpszClassName = kClassName;
            windowClass.cbWndExtra = sizeof(LONG_PTR);
            ::RegisterClassW(&windowClass);
        }
    }
    m_window.Reset(::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     instance, nullptr));
    if (!m_window)
        throw HttpException("Cannot create a hidden window for THttpCli", 0);
    ::SetWindowLongPtrW(m_window.Get(), 0, reinterpret_cast<LONG_PTR>(this));
}

void HttpClientWin32::Post(HttpMessage message)
{
    const UINT number = message == HttpMessage::RequestDone ? kMessageRequestDone
                        : message == HttpMessage::SetReady  ? kMessageSetReady
                                                            : kMessageRestart;
    ::PostMessageW(m_window.Get(), number, 0, 0);
}

void HttpClientWin32::RequestSync(HttpRequestKind kind, DWORD timeoutMs)
{
    m_done = false;
    m_client.RequestAsync(kind);
    const DWORD start = ::GetTickCount();
    while (!m_done) {
        if (timeoutMs != 0 && ::GetTickCount() - start > timeoutMs) {
            m_client.AbortRequest();
            throw HttpException("HTTP request timed out", 0);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    const int status = m_client.ResponseStatus();
    if (status > 399 && status != 401 && status != 407)
        throw HttpException(m_client.ResponseReason(), status);
}

LRESULT CALLBACK HttpClientWin32::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) noexcept
{
    auto* self = reinterpret_cast<HttpClientWin32*>(::GetWindowLongPtrW(window, 0));
    if (self == nullptr || message < kMessageRequestDone || message > kMessageRestart)
        return ::DefWindowProcW(window, message, wParam, lParam);
    try {
        if (message == kMessageRequestDone) {
            self->m_done = true;
            self->m_client.HandleMessage(HttpMessage::RequestDone);
        } else {
            self->m_client.HandleMessage(message == kMessageSetReady ? HttpMessage::SetReady
                                                                     : HttpMessage::Restart);
        }
    } catch (...) {
        // An exception from the client's handlers ends the wait; nothing leaves the procedure.
        self->m_done = true;
    }
    return 0;
}

}  // namespace net
