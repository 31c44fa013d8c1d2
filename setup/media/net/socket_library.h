// The sockets library's functions the socket layer calls, one member per bound function, in
// portable types. The Win32 table binds them from wsock32.dll at run time; tests use a fake that
// injects would-block, partial sends, resets and late events.
#pragma once

#include <cstdint>
#include <string>

namespace net {

using SocketHandle = std::uintptr_t;
constexpr SocketHandle kInvalidSocket = ~SocketHandle{0};
constexpr int kSocketError = -1;

// Network event bits as WSAAsyncSelect reports them.
constexpr int kEventRead = 1;
constexpr int kEventWrite = 2;
constexpr int kEventAccept = 8;
constexpr int kEventConnect = 16;
constexpr int kEventClose = 32;

// Socket options the layer sets.
enum class SocketOption
{
    ReuseAddress,
    NoDelay,
    KeepAlive,
    Broadcast
};

class ISocketLibrary
{
public:
    virtual ~ISocketLibrary() = default;
    virtual SocketHandle socket(bool stream) = 0;
    // Addresses in host byte order.
    virtual int connect(SocketHandle s, std::uint32_t address, std::uint16_t port) = 0;
    virtual int bind(SocketHandle s, std::uint32_t address, std::uint16_t port) = 0;
    virtual int listen(SocketHandle s, int backlog) = 0;
    // The new connection's handle and its peer, or kInvalidSocket.
    virtual SocketHandle accept(SocketHandle s, std::uint32_t& address, std::uint16_t& port) = 0;
    virtual int getsockname(SocketHandle s, std::uint32_t& address, std::uint16_t& port) = 0;
    virtual int getpeername(SocketHandle s, std::uint32_t& address, std::uint16_t& port) = 0;
    virtual int send(SocketHandle s, const char* data, int length, bool urgent) = 0;
    virtual int recv(SocketHandle s, char* buffer, int length) = 0;
    virtual int sendto(SocketHandle s, const char* data, int length, std::uint32_t address,
                       std::uint16_t port) = 0;
    virtual int recvfrom(SocketHandle s, char* buffer, int length, std::uint32_t& address,
                         std::uint16_t& port) = 0;
    virtual int closesocket(SocketHandle s) = 0;
    virtual int shutdown(SocketHandle s, int how) = 0;
    virtual int setsockopt(SocketHandle s, SocketOption option, bool on) = 0;
    virtual int SetLinger(SocketHandle s, bool on, int seconds) = 0;      // setsockopt(SO_LINGER)
    virtual int GetSendBufferSize(SocketHandle s, int& size) = 0;         // getsockopt(SO_SNDBUF)
    virtual int ioctlsocket(SocketHandle s, unsigned long& waiting) = 0;  // FIONREAD
    virtual int WSAGetLastError() = 0;
    // gethostbyname: the first address of a name, in host byte order; false with the error.
    virtual bool gethostbyname(const std::string& name, std::uint32_t& address, int& error) = 0;
};

// The socket's hidden window: where the library reports network events and where the socket posts
// messages to itself.
class ISocketWindow
{
public:
    virtual ~ISocketWindow() = default;
    // WSAAsyncSelect for this window.
    virtual int SelectEvents(SocketHandle s, int events) = 0;
    // A network event posted to the window, handled later on the message loop.
    virtual void PostNetworkEvent(SocketHandle s, int events, int error) = 0;
    // The close that CloseLater asks for.
    virtual void PostClose() = 0;
    // The rescan of buffered bytes after line mode was switched.
    virtual void PostLineRescan() = 0;
    // Dispatches the calling thread's waiting messages (between tries of a close that would block).
    virtual void PumpMessages() {}
};

}  // namespace net
