// The socket's hidden window: a message-only window of the class "XSocketWindowClass" that
// receives the library's network events and the socket's own posted messages, and hands them to
// the socket on the thread that created it.
#pragma once

#include <windows.h>

#include <memory>

#include "core/unique_handle.h"
#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_library_win32.h"

namespace net {

constexpr UINT kMessageNetworkEvent = WM_USER + 1;  // 1025
constexpr UINT kMessageClose = WM_USER + 4;         // 1028
constexpr UINT kMessageLineRescan = WM_USER + 20;   // 1044

class SocketWindow : public ISocketWindow
{
public:
    // Throws SocketException "Cannot create a hidden window for TWSocket".
    explicit SocketWindow(std::shared_ptr<WinsockLibrary> library);
    // The socket the window's messages go to.
    void Attach(AsyncSocket* socket) { m_socket = socket; }
    HWND Handle() const { return m_window.Get(); }

    int SelectEvents(SocketHandle s, int events) override;
    void PostNetworkEvent(SocketHandle s, int events, int error) override;
    void PostClose() override;
    void PostLineRescan() override;
    void PumpMessages() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;

    std::shared_ptr<WinsockLibrary> m_library;
    core::UniqueWindow m_window;
    AsyncSocket* m_socket = nullptr;
};

// A socket with its library and window, ready to use on the calling thread.
struct Win32Socket
{
    std::shared_ptr<WinsockLibrary> library = WinsockLibrary::Acquire();
    SocketWindow window{library};
    AsyncSocket socket{*library, window};

    Win32Socket() { window.Attach(&socket); }
};

}  // namespace net
