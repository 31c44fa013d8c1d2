// UDP and raw sockets: a "connected" datagram socket sends to Addr and Port, a listening one
// receives on its bound port, joining a multicast group when asked; a raw socket listens with
// its protocol; single datagrams go out and come in with their addresses.
#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_errors.h"
#include "setup/media/net/socket_resolve.h"

namespace net {

namespace {

constexpr int kDatagramEvents =
    kEventRead | kEventWrite | kEventAccept | kEventConnect | kEventClose;
constexpr std::uint32_t kBroadcastAddress = 0xFFFFFFFF;

}  // namespace

int AsyncSocket::LibrarySend(const char* data, int length)
{
    if (m_datagram)
        return m_library.sendto(m_handle, data, length, m_datagramAddress, m_datagramPort);
    if (m_sendFlags != SendFlags::Normal && m_sendFlags != SendFlags::Urgent)
        throw SocketException("Invalid internal SendFlags");
    return m_library.send(m_handle, data, length, m_sendFlags == SendFlags::Urgent);
}

void AsyncSocket::ConnectDatagram(std::uint32_t address, std::uint16_t port)
{
    std::uint16_t localPort = 0;
    std::uint32_t localAddress = 0;
    std::string failure;
    if (!ResolvePortOf(m_localPort, localPort, failure))
        return Fail("connect: " + failure);
    if (!Resolve(m_localAddr, localAddress, failure))
        return Fail("connect: " + failure);
    if (!OpenHandle(SocketType::Datagram, kProtoUdp, "Connect (socket)"))
        return;
    const SocketHandle handle = m_handle;
    m_datagramAddress = address;
    m_datagramPort = port;
    if (m_library.bind(handle, localAddress, localPort) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "Bind");
    if (multiCastIpTtl != 1 && m_library.SetMulticastTtl(handle, multiCastIpTtl) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "setsockopt(IP_MULTICAST_TTL)");
    if (localAddress != 0 && m_library.SetMulticastInterface(handle, localAddress) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "setsockopt(IP_MULTICAST_IF)");
    if (address == kBroadcastAddress &&
        m_library.setsockopt(handle, SocketOption::Broadcast, true) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "setsockopt(SO_BROADCAST)");
    if (m_window.SelectEvents(handle, kDatagramEvents) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "WSAAsyncSelect");
    // Nothing to wait for: a datagram socket is usable at once.
    ChangeState(SocketState::Connected);
    if (events.sessionConnected)
        events.sessionConnected(0);
}

bool AsyncSocket::OpenHandle(SocketType type, int protocol, const char* function)
{
    m_blocks.clear();
    m_allSent = true;
    const SocketHandle handle = m_library.socket(type, protocol);
    if (handle == kInvalidSocket) {
        LibraryFailure(m_library.WSAGetLastError(), function);
        return false;
    }
    m_handle = handle;
    m_closeFired = false;
    m_datagram = type != SocketType::Stream;
    ChangeState(SocketState::Opened);
    return true;
}

void AsyncSocket::ListenDatagram(std::uint32_t address, std::uint16_t port, SocketType type,
                                 int protocol)
{
    if (!OpenHandle(type, protocol, "socket"))
        return;
    const SocketHandle handle = m_handle;
    if (type == SocketType::Datagram && reuseAddr &&
        m_library.setsockopt(handle, SocketOption::ReuseAddress, true) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "setsockopt(SO_REUSEADDR)");
    if (m_library.bind(handle, address, port) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "Bind");
    ChangeState(SocketState::Bound);
    if (type == SocketType::Datagram && multiCast) {
        std::uint32_t group = 0, interfaceAddress = 0;
        std::string failure;
        if (!Resolve(multiCastAddrStr, group, failure) ||
            !Resolve(m_localAddr, interfaceAddress, failure))
            return Fail("listen: " + failure);
        if (m_library.AddMembership(handle, group, interfaceAddress) != 0)
            return LibraryFailure(m_library.WSAGetLastError(), "setsockopt(IP_ADD_MEMBERSHIP)");
    }
    if (type == SocketType::Raw && receiveAll && m_library.ReceiveAll(handle) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "WSAIoctl(SIO_RCVALL)");
    if (m_window.SelectEvents(handle, kEventRead | kEventWrite | kEventAccept | kEventClose) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "WSAASyncSelect");
}

int AsyncSocket::SendDatagram(std::string_view bytes, const std::string& addr,
                              const std::string& port)
{
    std::uint32_t address = 0;
    std::uint16_t portNumber = 0;
    std::string failure;
    if (!ResolvePortOf(port, portNumber, failure)) {
        Fail("SendTo: " + failure);
        return -1;
    }
    if (!Resolve(addr, address, failure)) {
        Fail("SendTo: " + failure);
        return -1;
    }
    const int sent = m_library.sendto(m_handle, bytes.data(), static_cast<int>(bytes.size()),
                                      address, portNumber);
    if (sent < 0)
        m_lastError = m_library.WSAGetLastError();
    else if (events.sendData)
        events.sendData(sent);
    return sent;
}

int AsyncSocket::ReceiveDatagram(char* buffer, int length, std::string& fromAddr,
                                 std::string& fromPort)
{
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    const int count = m_library.recvfrom(m_handle, buffer, length, address, port);
    if (count < 0) {
        m_lastError = m_library.WSAGetLastError();
        return count;
    }
    m_readCount += count;
    fromAddr = FormatDottedAddress(address);
    fromPort = std::to_string(port);
    return count;
}

}  // namespace net
