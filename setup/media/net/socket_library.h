// The sockets library's functions the socket layer calls, one member per bound function, in
// portable types. The Win32 table binds them from wsock32.dll at run time; tests use a fake that
// injects would-block, partial sends, resets and late events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

enum class SocketType
{
    Stream,
    Datagram,
    Raw
};

// An address lookup the library answers later with a message to the socket's window.
using LookupHandle = std::uintptr_t;

class ISocketLibrary
{
public:
    virtual ~ISocketLibrary() = default;
    // The protocol is the number the protocol database gives (6 tcp, 17 udp, ...).
    virtual SocketHandle socket(SocketType type, int protocol) = 0;
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
    // The service and protocol databases: false with the error when the name is unknown.
    virtual bool getservbyname(const std::string& name, const std::string& proto,
                               std::uint16_t& port, int& error) = 0;
    virtual bool getprotobyname(const std::string& name, int& number, int& error) = 0;
    virtual int gethostname(std::string& name) = 0;  // at most 64 bytes
    // Multicast: the TTL (IP_MULTICAST_TTL), the sending interface (IP_MULTICAST_IF) and joining
    // a group on an interface (IP_ADD_MEMBERSHIP).
    virtual int SetMulticastTtl(SocketHandle s, int ttl) = 0;
    virtual int SetMulticastInterface(SocketHandle s, std::uint32_t address) = 0;
    virtual int AddMembership(SocketHandle s, std::uint32_t group,
                              std::uint32_t interfaceAddress) = 0;
    // WSAIoctl(SIO_RCVALL) of ws2_32: a raw socket receives every packet of its interface.
    virtual int ReceiveAll(SocketHandle s) = 0;
    // The sockets version asked for when the library starts (low and high byte); refused (false)
    // once it has started.
    virtual bool SetRequestedVersion(int low, int high) = 0;
    virtual int RequestedVersionLow() const = 0;
    virtual int RequestedVersionHigh() const = 0;
};

// What a host lookup found: every address of a name, or the name of an address.
struct LookupAnswer
{
    std::vector<std::string> addresses;
    std::string hostName;
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
    // The free the socket's owner is asked for once the current message is done.
    virtual void PostFree() = 0;
    // WSAAsyncGetHostByName and WSAAsyncGetHostByAddr towards this window: a handle, or 0 with the
    // error; the answer comes back through AsyncSocket::HandleLookupDone.
    virtual LookupHandle StartHostLookup(const std::string& host, int& error) = 0;
    virtual LookupHandle StartReverseLookup(std::uint32_t address, int& error) = 0;
    virtual int CancelLookup(LookupHandle lookup) = 0;  // WSACancelAsyncRequest; 0 or the error
    // Milliseconds of a steady clock, for Flush's time-out.
    virtual std::uint64_t TickCount() = 0;
};

}  // namespace net
