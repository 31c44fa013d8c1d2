// The server side of the socket: listening, accepting a waiting connection, taking over an
// accepted handle, and the names of both ends.
#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_errors.h"
#include "setup/media/net/socket_resolve.h"

namespace net {

namespace {

constexpr int kServerEvents = kEventRead | kEventWrite | kEventAccept | kEventClose;
constexpr int kConnectionEvents = kEventRead | kEventWrite | kEventClose;
constexpr const char* kNoName = "error";

}  // namespace

void AsyncSocket::FailWithCode(int code, const std::string& text)
{
    m_lastError = code;
    Fail(text);
}

namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (c != lower[i])
            return false;
    }
    return true;
}

}  // namespace

bool AsyncSocket::IsTcp() const
{
    return EqualsIgnoringCase(m_proto, "tcp") || m_proto == "6";
}

bool AsyncSocket::IsUdp() const
{
    return EqualsIgnoringCase(m_proto, "udp") || m_proto == "17";
}

bool AsyncSocket::IsRaw() const
{
    return m_proto.size() > 4 && EqualsIgnoringCase(std::string_view(m_proto).substr(0, 4), "raw_");
}

void AsyncSocket::Listen()
{
    if (!m_socksServer.empty())
        return Fail("Listening is not supported thru socks server");
    if (m_port.empty())
        return FailWithCode(kWsaInvalidArgument, "listen: port not assigned");
    if (m_proto.empty())
        return FailWithCode(kWsaInvalidArgument, "listen: protocol not assigned");
    if (m_addr.empty())
        return FailWithCode(kWsaInvalidArgument, "listen: address not assigned");
    // "raw_" and a protocol name: a raw socket of that protocol.
    const bool raw = IsRaw();
    int protocol = 0;
    const Resolved proto = ResolveProto(m_library, raw ? m_proto.substr(4) : m_proto, protocol);
    if (!proto.ok)
        return Fail("listen: " + proto.failure);
    std::uint16_t port = 0;
    std::uint32_t address = 0;
    std::string failure;
    if (!ResolvePortOf(m_port, port, failure))
        return Fail("listen: " + failure);
    if (!Resolve(m_addr, address, failure))
        return Fail("listen: " + failure);
    if (raw)
        return ListenDatagram(address, port, SocketType::Raw, protocol);
    if (IsUdp())
        return ListenDatagram(address, port, SocketType::Datagram, protocol);

    // Opened first, so a failed bind leaves a socket that Close releases.
    if (!OpenHandle(SocketType::Stream, protocol, "socket"))
        return;
    const SocketHandle handle = m_handle;
    if (m_library.bind(handle, address, port) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "Bind");
    ChangeState(SocketState::Bound);
    if (m_library.listen(handle, listenBacklog) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "Listen");
    ChangeState(SocketState::Listening);
    if (m_window.SelectEvents(handle, kServerEvents) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "WSAASyncSelect");
}

SocketHandle AsyncSocket::Accept()
{
    if (m_state != SocketState::Listening) {
        FailWithCode(kWsaInvalidArgument, "not a listening socket");
        return kInvalidSocket;
    }
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    const SocketHandle accepted = m_library.accept(m_handle, address, port);
    if (accepted == kInvalidSocket)
        LibraryFailure(m_library.WSAGetLastError(), "Accept");
    return accepted;
}

void AsyncSocket::Dup(SocketHandle handle)
{
    if (handle == kInvalidSocket || handle == 0)
        return LibraryFailure(kWsaInvalidArgument, "Dup");
    if (m_handle != kInvalidSocket && m_state != SocketState::Closed) {
        const SocketHandle current = m_handle;
        m_handle = kInvalidSocket;
        ChangeState(SocketState::Closed);
        if (m_library.closesocket(current) != 0)
            return LibraryFailure(m_library.WSAGetLastError(), "Dup (closesocket)");
    }
    m_handle = handle;
    m_closeFired = false;
    m_blocks.clear();
    m_allSent = true;
    m_socks.reset();
    int sendBuffer = 0;
    if (m_library.GetSendBufferSize(handle, sendBuffer) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "getsockopt(SO_SNDBUF)");
    ApplyLinger();
    if (m_window.SelectEvents(handle, kConnectionEvents) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "WSAAsyncSelect");
    ChangeState(SocketState::Connected);
}

std::string AsyncSocket::NameText(bool peer, bool wantPort)
{
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    const int result = peer ? m_library.getpeername(m_handle, address, port)
                            : m_library.getsockname(m_handle, address, port);
    if (result != 0) {
        LibraryFailure(m_library.WSAGetLastError(),
                       peer ? (wantPort ? "GetPeerPort" : "GetPeerAddr") : "getsockname");
        return kNoName;
    }
    return wantPort ? std::to_string(port) : FormatDottedAddress(address);
}

std::string AsyncSocket::PeerAddr()
{
    return m_state == SocketState::Connected ? NameText(true, false) : kNoName;
}

std::string AsyncSocket::PeerPort()
{
    return m_state == SocketState::Connected ? NameText(true, true) : kNoName;
}

std::string AsyncSocket::BoundAddr()
{
    const bool bound = m_state == SocketState::Bound || m_state == SocketState::Connected ||
                       m_state == SocketState::Listening;
    return bound ? NameText(false, false) : kNoName;
}

std::string AsyncSocket::BoundPort()
{
    const bool bound = m_state == SocketState::Bound || m_state == SocketState::Connected ||
                       m_state == SocketState::Listening;
    return bound ? NameText(false, true) : kNoName;
}

}  // namespace net
