// A TCP client socket driven by the network events of its hidden window: connect, the receive
// loop, send blocks that leave in order as the library takes them, close and abort, and one
// routine for every library failure. The library and the window are interfaces, so the whole
// decision logic runs against a fake.
#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <optional>

#include "setup/media/net/line_buffer.h"
#include "setup/media/net/send_block.h"
#include "setup/media/net/socket_library.h"
#include "setup/media/net/socks_negotiation.h"

namespace net {

enum class SocketState
{
    InvalidState,
    Opened,
    Bound,
    Connecting,
    SocksConnected,
    Connected,
    Accepting,
    Listening,
    Closed
};

enum class LingerSetting
{
    Off,
    On,
    NotSet
};

enum class SendFlags
{
    Normal,
    Urgent  // out-of-band data
};

class SocketException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct SocketEvents
{
    std::function<void(int error)> dataAvailable, dataSent, sessionConnected, sessionClosed,
        sessionAvailable;
    std::function<void(int count)> sendData;
    std::function<void(SocketState from, SocketState to)> changeState;
    // When set, failures come here (the text in LastErrorText) instead of as a SocketException.
    std::function<void()> error;
    // An exception out of a handler of a network event; clearing canClose keeps the socket open.
    std::function<void(const std::exception& e, bool& canClose)> backgroundException;
    // The tunnel through a SOCKS server: its connection, its failure, its authentication.
    std::function<void(int error)> socksConnected;
    std::function<void(int code, const std::string& text)> socksError;
    std::function<void(SocksAuthState state)> socksAuthState;
    // In line mode, more than lineLimit bytes without a terminator; clearing clearData keeps them.
    std::function<void(std::size_t count, bool& clearData)> lineLimitExceeded;
    // A host or reverse lookup ended: DnsResult and DnsResultList hold what it found.
    std::function<void(int error)> dnsLookupDone;
};

class AsyncSocket
{
public:
    AsyncSocket(ISocketLibrary& library, ISocketWindow& window);
    ~AsyncSocket();
    AsyncSocket(const AsyncSocket&) = delete;
    AsyncSocket& operator=(const AsyncSocket&) = delete;

    SocketEvents events;
    bool noReceiveLoop = false;
    bool tcpNoDelay = false;
    LingerSetting linger = LingerSetting::On;
    int lingerTimeout = 0;
    // With a SOCKS server the connection goes through it; the owner sees it when the tunnel stands.
    std::string socksUsercode, socksPassword;
    bool socksAuthenticate = false;
    int listenBacklog = 5;
    bool reuseAddr = false;  // a listening UDP socket shares its port
    // Multicast: a listening UDP socket joins the group multiCastAddrStr on LocalAddr; a sending
    // one uses the TTL and, unless it is 0.0.0.0, LocalAddr as its interface.
    bool multiCast = false;
    std::string multiCastAddrStr;
    int multiCastIpTtl = 1;
    bool receiveAll = false;  // a raw listening socket sees every packet (SIO_RCVALL)
    int flushTimeout = 60;    // seconds Flush waits without any byte leaving
    // Line mode: data-available fires once per line (terminator included), Receive reads within it.
    std::string lineEnd = "\r\n";
    std::size_t lineLimit = 65536;  // 0: no limit
    bool lineEcho = false, lineEdit = false;

    // Allowed only while closed; values are trimmed.
    void SetAddr(std::string_view addr);
    void SetPort(std::string_view port);
    void SetProto(std::string_view proto);
    void SetLocalAddr(std::string_view addr);  // empty means 0.0.0.0
    void SetLocalPort(std::string_view port);
    const std::string& Addr() const { return m_addr; }
    const std::string& Port() const { return m_port; }
    const std::string& Proto() const { return m_proto; }
    // Allowed only while closed; trimmed. The level is "4", "4A" or "5" (stored in upper case).
    void SetSocksServer(std::string_view server);
    void SetSocksPort(std::string_view port);
    void SetSocksLevel(std::string_view level);
    const std::string& SocksServer() const { return m_socksServer; }
    const std::string& SocksPort() const { return m_socksPort; }
    const std::string& SocksLevel() const { return m_socksLevel; }

    void Connect();
    // Listens on Addr and Port: TCP fires OnSessionAvailable for each waiting connection, UDP
    // receives datagrams.
    void Listen();
    // The waiting connection's handle, to hand to Dup of another socket; kInvalidSocket on failure.
    SocketHandle Accept();
    // Takes over an accepted connection, which is connected from then on.
    void Dup(SocketHandle handle);
    // Dotted address and decimal port, or "error" when the socket has no peer or is not bound.
    std::string PeerAddr();
    std::string PeerPort();
    std::string BoundAddr();
    std::string BoundPort();
    void Close();
    void Abort();
    void CloseLater();
    // Switching while bytes are buffered asks the window for a rescan of them.
    void SetLineMode(bool on);
    bool LineMode() const { return m_lineMode; }
    void Pause() { m_paused = true; }
    void Resume() { m_paused = false; }
    // Ends the sending (0: receiving, 1: sending, 2: both) side without closing the handle.
    void Shutdown(int how);
    // Asks the window to have the owner free the socket once the current message is done.
    void FreeLater() { m_window.PostFree(); }

    // Only Normal and Urgent: another value (an integer cast in) is refused.
    void SetSendFlags(SendFlags flags);
    SendFlags GetSendFlags() const { return m_sendFlags; }
    // The sockets version to ask for: process-wide, and fixed once the library has started.
    void SetReqVerLow(int low);
    void SetReqVerHigh(int high);
    int ReqVerLow() const { return m_library.RequestedVersionLow(); }
    int ReqVerHigh() const { return m_library.RequestedVersionHigh(); }

    // Dotted addresses are answered at once; names and reverse lookups later, on the window.
    void DnsLookup(const std::string& host);
    void ReverseDnsLookup(const std::string& address);
    void CancelLookup();
    const std::string& DnsResult() const { return m_dnsResult; }
    const std::vector<std::string>& DnsResultList() const { return m_dnsResultList; }
    std::string GetLocalHostName();

    // Queues the bytes and gives the library what it takes now; the count taken, or -1. A UDP
    // socket sends each piece as a datagram to Addr and Port.
    int Send(std::string_view bytes);
    // One datagram to the given place, or one received with where it came from; -1 with LastError.
    int SendDatagram(std::string_view bytes, const std::string& addr, const std::string& port);
    int ReceiveDatagram(char* buffer, int length, std::string& fromAddr, std::string& fromPort);
    // The text and then lineEnd; the text's length + 2, or 0 for an empty text (nothing is sent).
    int SendTextLine(std::string_view text);
    bool AllSent() const { return m_allSent; }
    // Sends until nothing is left queued, dispatching the thread's messages between tries.
    void Flush();
    // The library's answer: bytes read, 0 at the end, -1 with LastError set.
    // In line mode at most the rest of the current line; outside it, buffered bytes come first.
    int Receive(char* buffer, int length);
    unsigned long BytesWaiting();
    // In line mode the rest of the current line; else what is buffered and waiting.
    unsigned long RcvdCount();
    // What is waiting (255 bytes when nothing is reported) as a text.
    std::string ReceiveText();

    // Message handlers of the hidden window.
    void HandleNetworkEvent(SocketHandle handle, int events, int error);
    void HandleCloseMessage() { Close(); }
    void HandleLineRescan();
    void HandleLookupDone(LookupHandle lookup, int error, const LookupAnswer& answer);
    // Exercises the background-exception path: "Test exception in WSocket".
    void HandleTestException();

    SocketState State() const { return m_state; }
    SocketHandle Handle() const { return m_handle; }
    int LastError() const { return m_lastError; }
    const std::string& LastErrorText() const { return m_lastErrorText; }
    long long ReadCount() const { return m_readCount; }

private:
    void SetDefaults();
    // Where a connection's settings change: only while closed, and trimmed.
    void SetWhileClosed(std::string& field, std::string_view value, const char* refusal);
    void ChangeState(SocketState state);
    void InternalClose(bool shutdownFirst, int error);
    void ApplyLinger();
    void ConnectEvent(int error);
    bool Resolve(const std::string& host, std::uint32_t& address, std::string& failure);
    bool ResolvePortOf(const std::string& text, std::uint16_t& port, std::string& failure);
    // Runs a handler of a window message: an exception goes to the background-exception handling.
    void RunHandler(const std::function<void()>& handler);
    void StartLookup(bool reverse, const std::string& text);
    void SocksReceive();
    void ApplySocksStep(const SocksNegotiation::Step& step);
    void ReceiveLoop(bool always);
    int RawReceive(char* buffer, int length);
    void TriggerDataAvailable(int error);
    bool LineModeActive() const { return m_lineMode && !lineEnd.empty() && !m_socks; }
    bool ReadIntoLines();
    bool DeliverLines(int error);
    void DeliverLine(std::size_t length, int error);
    int TakeBuffered(char* buffer, std::size_t length);
    void DeliverLastLine(int error);
    void TryToSend();
    std::size_t PendingBytes() const;
    void Fail(const std::string& text);
    void LibraryFailure(int code, const std::string& function);
    void FireSessionClosed(int error);
    void FailWithCode(int code, const std::string& text);
    bool IsTcp() const;
    bool IsUdp() const;
    bool IsRaw() const;
    void ConnectDatagram(std::uint32_t address, std::uint16_t port);
    // UDP and raw sockets listen alike: bound, with their multicast group or SIO_RCVALL.
    void ListenDatagram(std::uint32_t address, std::uint16_t port, SocketType type, int protocol);
    // A fresh handle, nothing queued, state Opened; false once the failure is reported.
    bool OpenHandle(SocketType type, int protocol, const char* function);
    int LibrarySend(const char* data, int length);
    std::string NameText(bool peer, bool wantPort);

    ISocketLibrary& m_library;
    ISocketWindow& m_window;
    SocketHandle m_handle = kInvalidSocket;
    SocketState m_state = SocketState::Closed;
    std::string m_addr, m_port, m_proto, m_localAddr, m_localPort;
    std::deque<SendBlock> m_blocks;
    bool m_allSent = true;
    bool m_paused = false;
    bool m_closeFired = false;
    bool m_destroying = false;
    int m_lastError = 0;
    std::string m_lastErrorText;
    long long m_readCount = 0;
    std::string m_socksServer, m_socksPort, m_socksLevel = "5";
    std::optional<SocksNegotiation> m_socks;
    std::string m_tunnelData;  // bytes that came with the server's last reply
    bool m_datagram = false;
    std::uint32_t m_datagramAddress = 0;  // where Send goes on a UDP socket
    std::uint16_t m_datagramPort = 0;
    bool m_lineMode = false;
    LineBuffer m_lines;
    std::size_t m_lineRemaining = 0;  // unread bytes of the line being handed out
    SendFlags m_sendFlags = SendFlags::Normal;
    LookupHandle m_lookup = 0;
    bool m_lookupStarting = false;  // an answer during the start call waits for its handle
    std::optional<std::pair<int, LookupAnswer>> m_earlyAnswer;
    std::string m_dnsResult;
    std::vector<std::string> m_dnsResultList;
};

// A dotted address of four decimal parts below 256 (spaces around allowed), in host byte order.
bool ParseDottedAddress(std::string_view text, std::uint32_t& address);
std::string FormatDottedAddress(std::uint32_t address);
// A port number: leading spaces skipped, digits up to the first other character.
bool ParsePort(std::string_view text, std::uint16_t& port);

}  // namespace net
