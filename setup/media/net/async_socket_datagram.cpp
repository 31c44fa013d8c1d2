// UDP on the socket: a "connected" datagram socket sends to Addr and Port, a listening one
// receives on its bound port; single datagrams go out and come in with their addresses.
#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_errors.h"

namespace net {

namespace {

constexpr int kDatagramEvents =
    kEventRead | kEventWrite | kEventAccept | kEventConnect | kEventClose;
constexpr std::uint32_t kBroadcastAddress = 0xFFFFFFFF;

}  // namespace

bool AsyncSocket::IsUdp() const
{
    return m_proto == "udp" || m_proto == "UDP" || m_proto == "17";
}

int AsyncSocket::LibrarySend(const char* data, int length)
{
    if (m_datagram)
        return m_library.sendto(m_handle, data, length, m_datagramAddress, m_datagramPort);
    return m_library.send(m_handle, data, length, sendUrgent);
}

void AsyncSocket::ConnectDatagram(std::uint32_t address, std::uint16_t port)
{
    std::uint16_t localPort = 0;
    std::uint32_t localAddress = 0;
    std::string failure;
    if (!ParsePort(m_localPort, localPort))
        return Fail("connect: WSocketResolvePort: Invalid Port.");
    if (!Resolve(m_localAddr, localAddress, failure))
        return Fail("connect: " + failure);
    m_blocks.clear();
    m_allSent = true;
    const SocketHandle handle = m_library.socket(false);
    if (handle == kInvalidSocket)
        return LibraryFailure(m_library.WSAGetLastError(), "Connect (socket)");
    m_handle = handle;
    m_closeFired = false;
    m_datagram = true;
    m_datagramAddress = address;
    m_datagramPort = port;
    ChangeState(SocketState::Opened);
    if (m_library.bind(handle, localAddress, localPort) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "Bind");
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

void AsyncSocket::ListenDatagram(std::uint32_t address, std::uint16_t port)
{
    m_blocks.clear();
    m_allSent = true;
    const SocketHandle handle = m_library.socket(false);
    if (handle == kInvalidSocket)
        return LibraryFailure(m_library.WSAGetLastError(), "socket");
    m_handle = handle;
    m_closeFired = false;
    m_datagram = true;
    ChangeState(SocketState::Opened);
    if (reuseAddr && m_library.setsockopt(handle, SocketOption::ReuseAddress, true) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "setsockopt(SO_REUSEADDR)");
    if (m_library.bind(handle, address, port) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "Bind");
    ChangeState(SocketState::Bound);
    if (m_window.SelectEvents(handle, kEventRead | kEventWrite | kEventAccept | kEventClose) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "WSAASyncSelect");
}

int AsyncSocket::SendDatagram(std::string_view bytes, const std::string& addr,
                              const std::string& port)
{
    std::uint32_t address = 0;
    std::uint16_t portNumber = 0;
    std::string failure;
    if (!ParsePort(port, portNumber)) {
        Fail("SendTo: WSocketResolvePort: Invalid Port.");
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
