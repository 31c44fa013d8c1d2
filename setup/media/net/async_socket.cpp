#include "setup/media/net/async_socket.h"

#include "setup/media/net/socket_errors.h"

namespace net {

namespace {

constexpr int kAllEvents = kEventRead | kEventWrite | kEventAccept | kEventConnect | kEventClose;
constexpr int kShutdownSend = 1;

std::string Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

bool IsClosingError(int code)
{
    return code == kWsaInvalidArgument || code == kWsaNotSocket || code == kWsaConnectionAborted ||
           code == kWsaConnectionReset || code == kWsaNotConnected;
}

}  // namespace

bool ParseDottedAddress(std::string_view text, std::uint32_t& address)
{
    const std::string trimmed = Trimmed(text);
    std::uint32_t value = 0;
    int parts = 0;
    std::size_t at = 0;
    while (parts < 4) {
        std::size_t digits = 0;
        unsigned part = 0;
        while (at < trimmed.size() && trimmed[at] >= '0' && trimmed[at] <= '9' && digits < 4) {
            part = part * 10 + static_cast<unsigned>(trimmed[at] - '0');
            ++at, ++digits;
        }
        if (digits == 0 || part > 255)
            return false;
        value = value << 8 | part;
        if (++parts < 4) {
            if (at >= trimmed.size() || trimmed[at] != '.')
                return false;
            ++at;
        }
    }
    if (at != trimmed.size())
        return false;
    address = value;
    return true;
}

AsyncSocket::AsyncSocket(ISocketLibrary& library, ISocketWindow& window)
    : m_library(library), m_window(window)
{
    SetDefaults();
}

AsyncSocket::~AsyncSocket()
{
    m_destroying = true;
    events.error = [] {};  // nothing may escape the destructor
    if (m_handle != kInvalidSocket)
        InternalClose(false, 0);
}

void AsyncSocket::SetDefaults()
{
    m_addr.clear();
    m_port.clear();
    m_proto = "tcp";
}

void AsyncSocket::SetAddr(std::string_view addr)
{
    if (m_state != SocketState::Closed)
        return Fail("Cannot change Addr if not closed");
    m_addr = Trimmed(addr);
}

void AsyncSocket::SetPort(std::string_view port)
{
    if (m_state != SocketState::Closed)
        return Fail("Cannot change Port if not closed");
    m_port = Trimmed(port);
}

void AsyncSocket::SetProto(std::string_view proto)
{
    if (m_state != SocketState::Closed)
        return Fail("Cannot change Proto if not closed");
    m_proto = Trimmed(proto);
}

void AsyncSocket::Fail(const std::string& text)
{
    m_lastErrorText = text;
    if (events.error)
        events.error();
    else
        throw SocketException(text);
}

void AsyncSocket::FireSessionClosed(int error)
{
    if (m_closeFired || m_destroying)
        return;
    m_closeFired = true;
    if (events.sessionClosed)
        events.sessionClosed(error);
}

void AsyncSocket::LibraryFailure(int code, const std::string& function)
{
    m_lastError = code;
    if (code == kWsaConnectionReset || code == kWsaNotConnected) {
        // The connection is gone: the handle is closed at once.
        const bool wasOpen = m_state != SocketState::Closed;
        if (m_handle != kInvalidSocket) {
            m_library.closesocket(m_handle);
            m_handle = kInvalidSocket;
        }
        if (wasOpen)
            FireSessionClosed(code);
        ChangeState(SocketState::Closed);
    }
    Fail(SocketErrorMessage(code, function));
}

void AsyncSocket::ChangeState(SocketState state)
{
    const SocketState old = m_state;
    m_state = state;
    if (old != state && events.changeState)
        events.changeState(old, state);
}

void AsyncSocket::ApplyLinger()
{
    if (linger == LingerSetting::NotSet)
        return;
    if (m_handle == kInvalidSocket)
        return Fail("Cannot set linger option at this time");
    if (m_library.SetLinger(m_handle, linger == LingerSetting::On, lingerTimeout) != 0)
        LibraryFailure(m_library.WSAGetLastError(), "setsockopt(SO_LINGER)");
}

void AsyncSocket::Connect()
{
    if (m_handle != kInvalidSocket && m_state != SocketState::Closed)
        return Fail("Connect: Socket already in use");
    if (m_port.empty())
        return Fail("Connect: No Port Specified");
    if (m_addr.empty())
        return Fail("Connect: No IP Address Specified");
    if (m_proto.empty())
        return Fail("Connect: No Protocol Specified");
    if (m_proto != "tcp" && m_proto != "TCP" && m_proto != "6")
        return Fail("connect: only tcp is built");

    std::uint16_t port = 0;
    {
        std::string_view digits = m_port;
        while (!digits.empty() && digits.front() == ' ')
            digits.remove_prefix(1);
        unsigned value = 0;
        std::size_t count = 0;
        while (count < digits.size() && digits[count] >= '0' && digits[count] <= '9' &&
               value <= 65535)
            value = value * 10 + static_cast<unsigned>(digits[count++] - '0');
        if (count == 0 || value > 65535 || m_port.size() >= 32)
            return Fail("connect: WSocketResolvePort: Invalid Port.");
        port = static_cast<std::uint16_t>(value);
    }
    std::uint32_t address = 0;
    if (m_addr.size() > 256)
        return Fail("connect: WSocketResolveHost: '" + m_addr + "' Invalid Hostname.");
    if (!ParseDottedAddress(m_addr, address)) {
        int error = 0;
        if (!m_library.gethostbyname(m_addr, address, error)) {
            return Fail("connect: WSocketResolveHost: Cannot convert host address '" + m_addr +
                        "', Error #" + std::to_string(error));
        }
    }

    m_blocks.clear();
    m_allSent = true;
    const SocketHandle handle = m_library.socket(true);
    if (handle == kInvalidSocket)
        return LibraryFailure(m_library.WSAGetLastError(), "Connect (socket)");
    m_handle = handle;
    m_closeFired = false;
    int sendBuffer = 0;
    if (m_library.GetSendBufferSize(handle, sendBuffer) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "getsockopt(SO_SNDBUF)");
    ChangeState(SocketState::Opened);
    if (m_state != SocketState::Opened)
        return LibraryFailure(kWsaInvalidArgument, "Connect (Invalid operation in OnChangeState)");
    if (m_library.setsockopt(handle, SocketOption::ReuseAddress, true) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "setsockopt(SO_REUSEADDR)");
    if (tcpNoDelay && m_library.setsockopt(handle, SocketOption::NoDelay, true) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "setsockopt(IPPROTO_TCP, TCP_NODELAY)");
    ApplyLinger();
    if (m_library.setsockopt(handle, SocketOption::KeepAlive, true) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "setsockopt(SO_KEEPALIVE)");
    if (m_window.SelectEvents(handle, kAllEvents) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "WSAAsyncSelect");
    if (m_library.connect(handle, address, port) != 0) {
        const int error = m_library.WSAGetLastError();
        if (error != kWsaWouldBlock)
            return LibraryFailure(error, "Connect");
    }
    ChangeState(SocketState::Connecting);
}

void AsyncSocket::InternalClose(bool shutdownFirst, int error)
{
    if (m_handle != kInvalidSocket && m_state != SocketState::Closed) {
        if (shutdownFirst)
            m_library.shutdown(m_handle, kShutdownSend);
        for (;;) {
            if (m_library.closesocket(m_handle) == 0)
                break;
            const int code = m_library.WSAGetLastError();
            if (code == kWsaWouldBlock) {
                m_window.PumpMessages();
                continue;
            }
            m_handle = kInvalidSocket;
            if (code != kWsaNotInitialised)
                LibraryFailure(code, "Disconnect (closesocket)");
            break;
        }
        m_handle = kInvalidSocket;
        ChangeState(SocketState::Closed);
        FireSessionClosed(error);
    }
    m_handle = kInvalidSocket;
    ChangeState(SocketState::Closed);
    SetDefaults();
}

void AsyncSocket::Close()
{
    InternalClose(true, 0);
}

void AsyncSocket::Abort()
{
    m_blocks.clear();
    m_allSent = true;
    if (m_handle != kInvalidSocket && m_state == SocketState::Connected) {
        // An abortive close: the peer sees a reset, nothing queued lingers.
        linger = LingerSetting::Off;
        ApplyLinger();
    }
    InternalClose(false, 0);
}

void AsyncSocket::CloseLater()
{
    m_window.PostClose();
}

int AsyncSocket::Send(std::string_view bytes)
{
    if (m_state != SocketState::Connected && m_state != SocketState::SocksConnected) {
        LibraryFailure(kWsaNotConnected, "Send");
        return -1;
    }
    const std::size_t count = bytes.size();
    while (!bytes.empty()) {
        if (m_blocks.empty() || m_blocks.back().Full())
            m_blocks.emplace_back();
        bytes.remove_prefix(m_blocks.back().Write(bytes));
    }
    m_allSent = false;
    TryToSend();
    if (m_allSent && m_handle != kInvalidSocket)
        m_window.PostNetworkEvent(m_handle, kEventWrite, 0);
    return static_cast<int>(count);
}

void AsyncSocket::TryToSend()
{
    if (m_handle == kInvalidSocket)
        return;
    while (!m_blocks.empty()) {
        const std::string_view pending = m_blocks.front().Peek();
        if (pending.empty()) {
            if (m_blocks.size() == 1)
                break;
            m_blocks.pop_front();
            continue;
        }
        const int sent =
            m_library.send(m_handle, pending.data(), static_cast<int>(pending.size()), false);
        if (sent < 0) {
            const int error = m_library.WSAGetLastError();
            if (error == kWsaWouldBlock)
                return;  // the next write event goes on
            if (IsClosingError(error)) {
                m_lastError = error;
                InternalClose(false, error);
                return;
            }
            return LibraryFailure(error, "TryToSend failed");
        }
        m_blocks.front().Remove(static_cast<std::size_t>(sent));
        if (events.sendData)
            events.sendData(sent);
    }
    m_allSent = true;
}

int AsyncSocket::Receive(char* buffer, int length)
{
    const int count = m_library.recv(m_handle, buffer, length);
    if (count < 0)
        m_lastError = m_library.WSAGetLastError();
    else
        m_readCount += count;
    return count;
}

unsigned long AsyncSocket::BytesWaiting()
{
    unsigned long waiting = 0;
    if (m_handle == kInvalidSocket || m_library.ioctlsocket(m_handle, waiting) != 0)
        return 0;
    return waiting;
}

void AsyncSocket::ConnectEvent(int error)
{
    if (m_state == SocketState::Connected)
        return;
    ChangeState(SocketState::Connected);
    if (events.sessionConnected)
        events.sessionConnected(error);
    if (error != 0 && m_state != SocketState::Closed)
        InternalClose(false, error);
}

void AsyncSocket::ReceiveLoop(bool always)
{
    for (;;) {
        m_lastError = 0;
        const long long before = m_readCount;
        if (events.dataAvailable) {
            events.dataAvailable(0);
        } else {
            char dropped[1024];
            if (Receive(dropped, sizeof dropped) < 0 && m_lastError == kWsaWouldBlock)
                break;
        }
        if ((noReceiveLoop && !always) || m_lastError != 0 || m_handle == kInvalidSocket)
            break;
        // A handler that reads nothing would otherwise spin here for as long as data wait.
        if (m_readCount == before || BytesWaiting() == 0)
            break;
    }
}

void AsyncSocket::HandleNetworkEvent(SocketHandle handle, int eventBits, int error)
{
    if (handle != m_handle || m_paused)
        return;
    try {
        if (eventBits & kEventConnect)
            ConnectEvent(error);
        if ((eventBits & kEventRead) && m_handle == handle) {
            ConnectEvent(error);
            if (m_handle == handle)
                ReceiveLoop(false);
        }
        if ((eventBits & kEventWrite) && m_handle == handle) {
            TryToSend();
            if (m_allSent && events.dataSent)
                events.dataSent(error);
        }
        if ((eventBits & kEventAccept) && m_handle == handle && events.sessionAvailable)
            events.sessionAvailable(error);
        if ((eventBits & kEventClose) && m_handle == handle &&
            m_state != SocketState::Connecting) {
            ReceiveLoop(true);
            FireSessionClosed(error);
            if (m_state != SocketState::Closed)
                InternalClose(false, error);
        }
    } catch (const std::exception& e) {
        bool canClose = true;
        if (events.backgroundException) {
            try {
                events.backgroundException(e, canClose);
            } catch (...) {
            }
        }
        if (canClose)
            Abort();
    }
}

}  // namespace net
