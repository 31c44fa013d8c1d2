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

void SocketWindow::PostFree()
{
    ::PostMessageW(m_window.Get(), kMessageFree, 0, 0);
}

LookupHandle SocketWindow::StartHostLookup(const std::string& host, int& error)
{
    return m_library->WSAAsyncGetHostByName(m_window.Get(), kMessageLookupDone, host,
                                            m_lookupBuffer, sizeof m_lookupBuffer, error);
}

LookupHandle SocketWindow::StartReverseLookup(std::uint32_t address, int& error)
{
    return m_library->WSAAsyncGetHostByAddr(m_window.Get(), kMessageReverseDone, address,
                                            m_lookupBuffer, sizeof m_lookupBuffer, error);
}

int SocketWindow::CancelLookup(LookupHandle lookup)
{
    return m_library->WSACancelAsyncRequest(lookup);
}

LookupAnswer SocketWindow::ReadLookupAnswer(bool reverse) const
{
    LookupAnswer answer;
    const auto* host = reinterpret_cast<const hostent*>(m_lookupBuffer);
    if (reverse) {
        if (host->h_name != nullptr)
            answer.hostName = host->h_name;
        return answer;
    }
    if (host->h_length != 4 || host->h_addr_list == nullptr)
        return answer;
    for (char** entry = host->h_addr_list; *entry != nullptr; ++entry) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(*entry);
        answer.addresses.push_back(FormatDottedAddress(static_cast<std::uint32_t>(bytes[0]) << 24 |
                                                       bytes[1] << 16 | bytes[2] << 8 | bytes[3]));
    }
    return answer;
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
            case kMessageLookupDone:
            case kMessageReverseDone: {
                const int error = HIWORD(lParam);
                const LookupAnswer answer =
                    error == 0 ? self->ReadLookupAnswer(message == kMessageReverseDone)
                               : LookupAnswer{};
                self->m_socket->HandleLookupDone(static_cast<LookupHandle>(wParam), error, answer);
                return 0;
            }
            case kMessageFree:
                // The owner may destroy this window with the socket: nothing touches it after.
                if (self->m_free)
                    self->m_free();
                return 0;
            case kMessageTestException:
                self->m_socket->HandleTestException();
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
