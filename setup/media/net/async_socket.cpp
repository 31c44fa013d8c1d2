#include "setup/media/net/async_socket.h"

#include <algorithm>

#include "setup/media/net/socket_errors.h"
#include "setup/media/net/socket_resolve.h"

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

bool ParsePort(std::string_view text, std::uint16_t& port)
{
    if (text.size() >= 32)
        return false;
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    unsigned value = 0;
    std::size_t count = 0;
    while (count < text.size() && text[count] >= '0' && text[count] <= '9' && value <= 65535)
        value = value * 10 + static_cast<unsigned>(text[count++] - '0');
    if (count == 0 || value > 65535)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

std::string FormatDottedAddress(std::uint32_t address)
{
    return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 0xFF) + "." +
           std::to_string(address >> 8 & 0xFF) + "." + std::to_string(address & 0xFF);
}

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
    CancelLookup();
    if (m_handle != kInvalidSocket)
        InternalClose(false, 0);
}

void AsyncSocket::SetDefaults()
{
    m_addr.clear();
    m_port.clear();
    m_proto = "tcp";
    m_localAddr = "0.0.0.0";
    m_localPort = "0";
}

void AsyncSocket::SetAddr(std::string_view addr)
{
    SetWhileClosed(m_addr, addr, "Cannot change Addr if not closed");
}

void AsyncSocket::SetPort(std::string_view port)
{
    SetWhileClosed(m_port, port, "Cannot change Port if not closed");
}

void AsyncSocket::SetProto(std::string_view proto)
{
    SetWhileClosed(m_proto, proto, "Cannot change Proto if not closed");
}

void AsyncSocket::SetLocalAddr(std::string_view addr)
{
    SetWhileClosed(m_localAddr, addr, "Cannot change LocalAddr if not closed");
    if (m_localAddr.empty())
        m_localAddr = "0.0.0.0";
}

void AsyncSocket::SetWhileClosed(std::string& field, std::string_view value, const char* refusal)
{
    if (m_state != SocketState::Closed)
        return Fail(refusal);
    field = Trimmed(value);
}

void AsyncSocket::SetLocalPort(std::string_view port)
{
    SetWhileClosed(m_localPort, port, "Cannot change LocalPort if not closed");
}

void AsyncSocket::SetSocksServer(std::string_view server)
{
    SetWhileClosed(m_socksServer, server, "Can't change socks server if not closed");
}

void AsyncSocket::SetSocksPort(std::string_view port)
{
    SetWhileClosed(m_socksPort, port, "Can't change socks port if not closed");
}

void AsyncSocket::SetSocksLevel(std::string_view level)
{
    if (m_state != SocketState::Closed)
        return Fail("Can't change socks level if not closed");
    const std::string trimmed = Trimmed(level);
    if (trimmed != "4" && trimmed != "4A" && trimmed != "4a" && trimmed != "5")
        return Fail("Invalid socks level. Must be 4, 4A or 5.");
    m_socksLevel = trimmed == "4a" ? "4A" : trimmed;
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
    if (!IsTcp() && !m_socksServer.empty())
        return Fail("tcp is the only protocol supported thru socks server");
    if (!IsTcp() && !IsUdp())
        return Fail("connect: only tcp and udp are built");

    std::uint16_t port = 0;
    std::uint32_t address = 0;
    std::string failure;
    if (!ResolvePortOf(m_port, port, failure))
        return Fail("connect: " + failure);
    m_socks.reset();
    if (!m_socksServer.empty()) {
        SocksSettings socks;
        socks.level = m_socksLevel;
        socks.usercode = socksUsercode;
        socks.password = socksPassword;
        socks.authenticate = socksAuthenticate;
        socks.host = m_addr;
        socks.port = port;
        if (socks.level.starts_with("4") && socks.level != "4A") {
            // SOCKS 4 carries an address: the requested host is resolved here.
            if (Resolve(m_addr, address, failure)) {
                socks.address = std::array<std::uint8_t, 4>{
                    static_cast<std::uint8_t>(address >> 24),
                    static_cast<std::uint8_t>(address >> 16),
                    static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address)};
            } else {
                socks.resolveFailure = failure;
            }
        }
        if (!ResolvePortOf(m_socksPort, port, failure))
            return Fail("connect: " + failure);
        if (!Resolve(m_socksServer, address, failure))
            return Fail("connect: " + failure);
        m_socks.emplace(std::move(socks));
    } else if (!Resolve(m_addr, address, failure)) {
        return Fail("connect: " + failure);
    }
    if (IsUdp())
        return ConnectDatagram(address, port);

    m_blocks.clear();
    m_allSent = true;
    const SocketHandle handle = m_library.socket(SocketType::Stream, kProtoTcp);
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
    if (m_localPort != "0" || m_localAddr != "0.0.0.0") {
        std::uint16_t localPort = 0;
        std::uint32_t localAddress = 0;
        if (!ResolvePortOf(m_localPort, localPort, failure))
            return Fail("connect: " + failure);
        if (!Resolve(m_localAddr, localAddress, failure))
            return Fail("connect: " + failure);
        if (m_library.bind(handle, localAddress, localPort) != 0)
            return LibraryFailure(m_library.WSAGetLastError(), "Bind");
    }
    if (m_window.SelectEvents(handle, kAllEvents) != 0)
        return LibraryFailure(m_library.WSAGetLastError(), "WSAAsyncSelect");
    if (m_library.connect(handle, address, port) != 0) {
        const int error = m_library.WSAGetLastError();
        if (error != kWsaWouldBlock)
            return LibraryFailure(error, "Connect");
    }
    ChangeState(SocketState::Connecting);
}

bool AsyncSocket::Resolve(const std::string& host, std::uint32_t& address, std::string& failure)
{
    Resolved result = ResolveHost(m_library, host, address);
    failure = std::move(result.failure);
    return result.ok;
}

bool AsyncSocket::ResolvePortOf(const std::string& text, std::uint16_t& port, std::string& failure)
{
    Resolved result = ResolvePort(m_library, text, IsUdp() ? "udp" : "tcp", port);
    failure = std::move(result.failure);
    return result.ok;
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
    m_datagram = false;
    m_socks.reset();
    m_tunnelData.clear();
    m_lines.Clear();
    m_lineRemaining = 0;
    ChangeState(SocketState::Closed);
    SetDefaults();
}

void AsyncSocket::Close()
{
    InternalClose(true, 0);
}

void AsyncSocket::Abort()
{
    CancelLookup();
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

void AsyncSocket::Shutdown(int how)
{
    if (m_handle != kInvalidSocket && m_library.shutdown(m_handle, how) != 0)
        LibraryFailure(m_library.WSAGetLastError(), "Shutdown");
}

void AsyncSocket::SetSendFlags(SendFlags flags)
{
    if (flags != SendFlags::Normal && flags != SendFlags::Urgent)
        return Fail("Invalid SendFlags");
    m_sendFlags = flags;
}

void AsyncSocket::SetReqVerLow(int low)
{
    if (!m_library.SetRequestedVersion(low, m_library.RequestedVersionHigh()))
        Fail("SetReqVerLow: WinSock version can't be changed now");
}

void AsyncSocket::SetReqVerHigh(int high)
{
    if (!m_library.SetRequestedVersion(m_library.RequestedVersionLow(), high))
        Fail("SetReqVerHigh: WinSock version can't be changed now");
}

std::string AsyncSocket::ReceiveText()
{
    unsigned long count = RcvdCount();
    if (count == 0)
        count = 255;
    std::string text(count, '\0');
    const int read = Receive(text.data(), static_cast<int>(count));
    text.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    return text;
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

void AsyncSocket::Flush()
{
    // A peer that takes nothing for flushTimeout seconds would otherwise hold the caller forever.
    const std::uint64_t limit = static_cast<std::uint64_t>(std::max(flushTimeout, 0)) * 1000;
    std::uint64_t lastProgress = m_window.TickCount();
    std::size_t pending = PendingBytes();
    while (m_handle != kInvalidSocket && !m_allSent) {
        TryToSend();
        if (m_allSent || m_handle == kInvalidSocket)
            break;
        const std::uint64_t now = m_window.TickCount();
        if (const std::size_t left = PendingBytes(); left != pending) {
            pending = left;
            lastProgress = now;
        } else if (now - lastProgress >= limit) {
            return FailWithCode(kWsaTimedOut, "Flush: nothing sent for " +
                                                  std::to_string(flushTimeout) + " seconds");
        }
        m_window.PumpMessages();
    }
}

std::size_t AsyncSocket::PendingBytes() const
{
    std::size_t pending = 0;
    for (const SendBlock& block : m_blocks)
        pending += block.Peek().size();
    return pending;
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
        const int sent = LibrarySend(pending.data(), static_cast<int>(pending.size()));
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

int AsyncSocket::RawReceive(char* buffer, int length)
{
    if (!m_tunnelData.empty() && length > 0) {
        const std::size_t take = std::min(m_tunnelData.size(), static_cast<std::size_t>(length));
        m_tunnelData.copy(buffer, take);
        m_tunnelData.erase(0, take);
        m_readCount += static_cast<long long>(take);
        return static_cast<int>(take);
    }
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
        waiting = 0;
    return waiting + static_cast<unsigned long>(m_tunnelData.size());
}

void AsyncSocket::ConnectEvent(int error)
{
    if (m_state == SocketState::Connected || m_state == SocketState::SocksConnected)
        return;
    if (m_socks && error == 0) {
        // The owner hears of the connection only when the tunnel stands.
        ChangeState(SocketState::SocksConnected);
        if (events.socksConnected)
            events.socksConnected(0);
        ApplySocksStep(m_socks->Start());
        return;
    }
    m_socks.reset();
    ChangeState(SocketState::Connected);
    if (events.sessionConnected)
        events.sessionConnected(error);
    if (error != 0 && m_state != SocketState::Closed)
        InternalClose(false, error);
}

void AsyncSocket::SocksReceive()
{
    char buffer[512];
    const int count = m_library.recv(m_handle, buffer, sizeof buffer);
    if (count < 0) {
        const int error = m_library.WSAGetLastError();
        if (error == kWsaWouldBlock)
            return;
        SocksNegotiation::Step step;
        step.outcome = SocksNegotiation::Outcome::Failed;
        step.code = error;
        step.text = "data receive error";
        ApplySocksStep(step);
        return;
    }
    if (count > 0)
        ApplySocksStep(
            m_socks->Received(std::string_view(buffer, static_cast<std::size_t>(count))));
}

void AsyncSocket::ApplySocksStep(const SocksNegotiation::Step& step)
{
    for (const SocksAuthState state : step.authStates) {
        if (events.socksAuthState)
            events.socksAuthState(state);
    }
    if (step.outcome == SocksNegotiation::Outcome::Failed) {
        // The owner never sees a half-open tunnel.
        m_socks.reset();
        if (events.socksError)
            events.socksError(step.code, step.text);
        if (events.sessionConnected)
            events.sessionConnected(step.code);
        if (m_state != SocketState::Closed)
            InternalClose(false, step.code);
        return;
    }
    if (!step.send.empty())
        Send(step.send);
    if (step.outcome == SocksNegotiation::Outcome::Tunnel && m_handle != kInvalidSocket) {
        m_socks.reset();
        m_tunnelData = step.leftover;
        ChangeState(SocketState::Connected);
        if (events.sessionConnected)
            events.sessionConnected(0);
        if (!m_tunnelData.empty() && m_handle != kInvalidSocket)
            ReceiveLoop(false);
    }
}

void AsyncSocket::ReceiveLoop(bool always)
{
    for (;;) {
        m_lastError = 0;
        const long long before = m_readCount;
        if (events.dataAvailable || LineModeActive()) {
            TriggerDataAvailable(0);
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

void AsyncSocket::RunHandler(const std::function<void()>& handler)
{
    try {
        handler();
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

void AsyncSocket::HandleTestException()
{
    RunHandler([] { throw SocketException("Test exception in WSocket"); });
}

void AsyncSocket::HandleNetworkEvent(SocketHandle handle, int eventBits, int error)
{
    if (handle != m_handle || m_paused)
        return;
    RunHandler([&] {
        if (eventBits & kEventConnect)
            ConnectEvent(error);
        if ((eventBits & kEventRead) && m_handle == handle) {
            ConnectEvent(error);
            if (m_handle == handle && m_socks)
                SocksReceive();
            else if (m_handle == handle)
                ReceiveLoop(false);
        }
        if ((eventBits & kEventWrite) && m_handle == handle) {
            TryToSend();
            if (m_allSent && events.dataSent)
                events.dataSent(error);
        }
        if ((eventBits & kEventAccept) && m_handle == handle && events.sessionAvailable)
            events.sessionAvailable(error);
        if ((eventBits & kEventClose) && m_handle == handle && m_state != SocketState::Connecting) {
            if (m_socks && m_socks->Authenticating() && events.socksAuthState)
                events.socksAuthState(SocksAuthState::Failure);
            if (!m_socks)
                ReceiveLoop(true);
            DeliverLastLine(error);
            FireSessionClosed(error);
            if (m_state != SocketState::Closed)
                InternalClose(false, error);
        }
    });
}

}  // namespace net
