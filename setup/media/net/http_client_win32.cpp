#include "setup/media/net/http_client_win32.h"

#include <optional>

#include "setup/media/net/message_window_win32.h"

namespace net {

namespace {

constexpr wchar_t kClassName[] = L"HttpClientWindowClass";
constexpr UINT kMessageRequestDone = WM_USER + 1;  // 1025
constexpr UINT kMessageSetReady = WM_USER + 2;     // 1026
constexpr UINT kMessageRestart = WM_USER + 3;      // 1027

}  // namespace

HttpClientWin32::HttpClientWin32()
{
    m_socketWindow.Attach(&m_client.Socket());
    m_window = CreateMessageWindow(kClassName, &HttpClientWin32::WindowProc, this);
    if (!m_window)
        throw HttpException("Cannot create a hidden window for THttpCli", 0);
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
    std::optional<WPARAM> quit;
    while (!m_done) {
        if (timeoutMs != 0 && ::GetTickCount() - start > timeoutMs) {
            m_client.AbortRequest();
            throw HttpException("HTTP request timed out", 0);
        }
        if (multiThreaded) {
            m_socketWindow.PumpMessages();
            ::Sleep(0);
            continue;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The application is ending: the request goes with it, the quit stays for the
                // application's own loop.
                if (!quit)
                    m_client.AbortRequest();
                quit = message.wParam;
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    if (quit)
        ::PostQuitMessage(static_cast<int>(*quit));
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
            // Done only once the client has taken the answer in: a waiter on another thread reads
            // the response as soon as it sees the flag.
            self->m_client.HandleMessage(HttpMessage::RequestDone);
            self->m_done = true;
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
