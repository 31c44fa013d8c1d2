// The socket's hidden window: a message-only window of the class "XSocketWindowClass" that
// receives the library's network events and the socket's own posted messages, and hands them to
// the socket on the thread that created it.
#pragma once

#include <windows.h>

#include <winsock.h>

#include <functional>
#include <memory>

#include "core/unique_handle.h"
#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_library_win32.h"

namespace net {

constexpr UINT kMessageNetworkEvent = WM_USER + 1;   // 1025
constexpr UINT kMessageLookupDone = WM_USER + 2;     // 1026
constexpr UINT kMessageReverseDone = WM_USER + 3;    // 1027
constexpr UINT kMessageClose = WM_USER + 4;          // 1028
constexpr UINT kMessageFree = WM_USER + 5;           // 1029
constexpr UINT kMessageTestException = WM_USER + 6;  // 1030
constexpr UINT kMessageLineRescan = WM_USER + 20;    // 1044

class SocketWindow : public ISocketWindow
{
public:
    // Throws SocketException "Cannot create a hidden window for TWSocket".
    explicit SocketWindow(std::shared_ptr<WinsockLibrary> library);
    // The socket the window's messages go to, and what frees it when FreeLater asks.
    void Attach(AsyncSocket* socket, std::function<void()> free = {})
    {
        m_socket = socket;
        m_free = std::move(free);
    }
    HWND Handle() const { return m_window.Get(); }

    int SelectEvents(SocketHandle s, int events) override;
    void PostNetworkEvent(SocketHandle s, int events, int error) override;
    void PostClose() override;
    void PostLineRescan() override;
    void PumpMessages() override;
    void PostFree() override;
    LookupHandle StartHostLookup(const std::string& host, int& error) override;
    LookupHandle StartReverseLookup(std::uint32_t address, int& error) override;
    int CancelLookup(LookupHandle lookup) override;
    std::uint64_t TickCount() override { return ::GetTickCount64(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;

    LookupAnswer ReadLookupAnswer(bool reverse) const;

    std::shared_ptr<WinsockLibrary> m_library;
    core::UniqueWindow m_window;
    AsyncSocket* m_socket = nullptr;
    std::function<void()> m_free;
    // Where the library writes the answer (a hostent and what it points to).
    alignas(8) char m_lookupBuffer[MAXGETHOSTSTRUCT] = {};
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
