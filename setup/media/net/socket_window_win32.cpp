#include "setup/media/net/socket_window_win32.h"

#include "setup/media/net/message_window_win32.h"

namespace net {

namespace {

constexpr wchar_t kClassName[] = L"XSocketWindowClass";

}  // namespace

SocketWindow::SocketWindow(std::shared_ptr<WinsockLibrary> library) : m_library(std::move(library))
{
    m_window = CreateMessageWindow(kClassName, &SocketWindow::WindowProc, this);
    if (!m_window)
        throw SocketException("Cannot create a hidden window for TWSocket");
}

int SocketWindow::SelectEvents(SocketHandle s, int events)
{
    return m_library->WSAAsyncSelect(s, m_window.Get(), kMessageNetworkEvent, events);
}

void SocketWindow::PostNetworkEvent(SocketHandle s, int events, int error)
{
    ::PostMessageW(m_window.Get(), kMessageNetworkEvent, static_cast<WPARAM>(s),
                   MAKELPARAM(events, error));
}

void SocketWindow::PostClose()
{
    ::PostMessageW(m_window.Get(), kMessageClose, 0, 0);
}

void SocketWindow::PostLineRescan()
{
    ::PostMessageW(m_window.Get(), kMessageLineRescan, 0, 0);
}

void SocketWindow::PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

LRESULT CALLBACK SocketWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) noexcept
{
    auto* self = reinterpret_cast<SocketWindow*>(::GetWindowLongPtrW(window, 0));
    if (self == nullptr || self->m_socket == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    try {
        switch (message) {
            case kMessageNetworkEvent:
                self->m_socket->HandleNetworkEvent(static_cast<SocketHandle>(wParam),
                                                   LOWORD(lParam), HIWORD(lParam));
                return 0;
            case kMessageClose:
                self->m_socket->HandleCloseMessage();
                return 0;
            case kMessageLineRescan:
                self->m_socket->HandleLineRescan();
                return 0;
            default:
                break;
        }
    } catch (...) {
        // Nothing leaves a window procedure; the socket already reported through its handler.
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace net
