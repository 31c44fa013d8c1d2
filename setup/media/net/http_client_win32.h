// The HTTP client on the calling thread's message loop: the sockets library, the socket's hidden
// window and the client's own message-only window for its posted messages, and the synchronous
// request that runs the loop until the request is done.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "core/unique_handle.h"
#include "setup/media/net/http_client.h"
#include "setup/media/net/socket_window_win32.h"

namespace net {

class HttpClientWin32 : public IHttpMessagePoster
{
public:
    HttpClientWin32();
    HttpClient& Client() { return m_client; }

    void Post(HttpMessage message) override;

    // Starts the request and dispatches the thread's messages until it is done. A status of 400
    // and above, other than 401 and 407, raises HttpException with the reason and the status.
    // Gives up with HttpException code 0 after `timeoutMs` (0: never).
    // With multiThreaded the caller may be another thread than the creating one, whose message
    // loop then drives the request while the caller pumps its own messages and yields.
    void RequestSync(HttpRequestKind kind, DWORD timeoutMs = 0);
    bool multiThreaded = false;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;

    std::shared_ptr<WinsockLibrary> m_library = WinsockLibrary::Acquire();
    SocketWindow m_socketWindow{m_library};
    core::UniqueWindow m_window;
    HttpClient m_client{*m_library, m_socketWindow, *this};
    std::atomic<bool> m_done{false};
};

}  // namespace net
