#include "setup/media/net/socket_library_win32.h"

#include <winsock.h>

#include <mutex>
#include <string>

#include "core/unique_handle.h"
#include "setup/media/net/async_socket.h"

namespace net {

namespace {

constexpr const char* kLibraryName = "wsock32.dll";
constexpr const char* kRawLibraryName = "ws2_32.dll";
constexpr DWORD kReceiveAllControl = 0x98000001;  // SIO_RCVALL

std::recursive_mutex& LibraryLock()
{
    static std::recursive_mutex lock;
    return lock;
}

// Process-wide, as the library is: sockets 1.1 unless changed before the first call.
int g_requestedLow = 1;
int g_requestedHigh = 1;

std::uint16_t ToNetwork16(std::uint16_t value)
{
    return static_cast<std::uint16_t>((value >> 8) | (value << 8));
}

std::uint32_t ToNetwork32(std::uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

}  // namespace

struct WinsockLibrary::Bound
{
    core::UniqueModule module, rawModule;
    bool started = false;

    // The first call of the process loads and starts the library.
    void Load()
    {
        std::lock_guard<std::recursive_mutex> guard(LibraryLock());
        if (module)
            return;
        core::UniqueModule loaded(::LoadLibraryA(kLibraryName));
        if (!loaded) {
            throw SocketException(std::string("Unable to load ") + kLibraryName + " Error #" +
                                  std::to_string(::GetLastError()));
        }
        auto startup =
            reinterpret_cast<decltype(&::WSAStartup)>(::GetProcAddress(loaded.Get(), "WSAStartup"));
        if (startup == nullptr) {
            throw SocketException(std::string("Procedure WSAStartup not found in ") + kLibraryName +
                                  " Error #" + std::to_string(::GetLastError()));
        }
        WSADATA data{};
        const int error = startup(MAKEWORD(g_requestedLow, g_requestedHigh), &data);
        if (error != 0) {
            throw SocketException(std::string(kLibraryName) + ": WSAStartup error #" +
                                  std::to_string(error));
        }
        module = std::move(loaded);
        started = true;
    }

    // The function `name`, found at its first use.
    template <typename Function>
    Function Get(Function& slot, const char* name)
    {
        if (slot == nullptr) {
            Load();
            slot = reinterpret_cast<Function>(::GetProcAddress(module.Get(), name));
            if (slot == nullptr) {
                throw SocketException(std::string("Procedure ") + name + " not found in " +
                                      kLibraryName + " Error #" + std::to_string(::GetLastError()));
            }
        }
        return slot;
    }

    // WSAIoctl lives in ws2_32.dll, loaded only for it.
    using WsaIoctl = int(WINAPI*)(SOCKET, DWORD, void*, DWORD, void*, DWORD, DWORD*, void*, void*);
    WsaIoctl GetIoctl()
    {
        if (wsaIoctl != nullptr)
            return wsaIoctl;
        Load();
        std::lock_guard<std::recursive_mutex> guard(LibraryLock());
        if (!rawModule) {
            rawModule.Reset(::LoadLibraryA(kRawLibraryName));
            if (!rawModule) {
                throw SocketException(std::string("Unable to load ") + kRawLibraryName +
                                      " Error #" + std::to_string(::GetLastError()));
            }
        }
        wsaIoctl = reinterpret_cast<WsaIoctl>(::GetProcAddress(rawModule.Get(), "WSAIoctl"));
        if (wsaIoctl == nullptr) {
            throw SocketException(std::string("Procedure WSAIoctl not found in ") +
                                  kRawLibraryName + " Error #" + std::to_string(::GetLastError()));
        }
        return wsaIoctl;
    }
    WsaIoctl wsaIoctl = nullptr;

    decltype(&::WSACleanup) wsaCleanup = nullptr;
    decltype(&::WSAGetLastError) wsaGetLastError = nullptr;
    decltype(&::WSAAsyncSelect) wsaAsyncSelect = nullptr;
    decltype(&::socket) socket = nullptr;
    decltype(&::connect) connect = nullptr;
    decltype(&::bind) bind = nullptr;
    decltype(&::listen) listen = nullptr;
    decltype(&::accept) accept = nullptr;
    decltype(&::getsockname) getsockname = nullptr;
    decltype(&::getpeername) getpeername = nullptr;
    decltype(&::send) send = nullptr;
    decltype(&::recv) recv = nullptr;
    decltype(&::sendto) sendto = nullptr;
    decltype(&::recvfrom) recvfrom = nullptr;
    decltype(&::closesocket) closesocket = nullptr;
    decltype(&::shutdown) shutdown = nullptr;
    decltype(&::setsockopt) setsockopt = nullptr;
    decltype(&::getsockopt) getsockopt = nullptr;
    decltype(&::ioctlsocket) ioctlsocket = nullptr;
    decltype(&::gethostbyname) gethostbyname = nullptr;
    decltype(&::getservbyname) getservbyname = nullptr;
    decltype(&::getprotobyname) getprotobyname = nullptr;
    decltype(&::gethostname) gethostname = nullptr;
    decltype(&::WSAAsyncGetHostByName) wsaAsyncGetHostByName = nullptr;
    decltype(&::WSAAsyncGetHostByAddr) wsaAsyncGetHostByAddr = nullptr;
    decltype(&::WSACancelAsyncRequest) wsaCancelAsyncRequest = nullptr;
};

std::shared_ptr<WinsockLibrary> WinsockLibrary::Acquire()
{
    static std::weak_ptr<WinsockLibrary> current;
    std::lock_guard<std::recursive_mutex> guard(LibraryLock());
    if (auto library = current.lock())
        return library;
    std::shared_ptr<WinsockLibrary> library(new WinsockLibrary());
    current = library;
    return library;
}

WinsockLibrary::WinsockLibrary() : m_bound(std::make_unique<Bound>()) {}

bool WinsockLibrary::SetRequestedVersion(int low, int high)
{
    std::lock_guard<std::recursive_mutex> guard(LibraryLock());
    if (m_bound->module)
        return false;
    g_requestedLow = low;
    g_requestedHigh = high;
    return true;
}

int WinsockLibrary::RequestedVersionLow() const
{
    std::lock_guard<std::recursive_mutex> guard(LibraryLock());
    return g_requestedLow;
}

int WinsockLibrary::RequestedVersionHigh() const
{
    std::lock_guard<std::recursive_mutex> guard(LibraryLock());
    return g_requestedHigh;
}

WinsockLibrary::~WinsockLibrary()
{
    if (m_bound->started && m_bound->wsaCleanup == nullptr) {
        m_bound->wsaCleanup = reinterpret_cast<decltype(&::WSACleanup)>(
            ::GetProcAddress(m_bound->module.Get(), "WSACleanup"));
    }
    if (m_bound->started && m_bound->wsaCleanup != nullptr)
        m_bound->wsaCleanup();
}

SocketHandle WinsockLibrary::socket(SocketType type, int protocol)
{
    const int kind = type == SocketType::Stream     ? SOCK_STREAM
                     : type == SocketType::Datagram ? SOCK_DGRAM
                                                    : SOCK_RAW;
    const SOCKET s = m_bound->Get(m_bound->socket, "socket")(AF_INET, kind, protocol);
    return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
}

int WinsockLibrary::connect(SocketHandle s, std::uint32_t address, std::uint16_t port)
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = ToNetwork16(port);
    target.sin_addr.s_addr = ToNetwork32(address);
    return m_bound->Get(m_bound->connect, "connect")(
        static_cast<SOCKET>(s), reinterpret_cast<const sockaddr*>(&target), sizeof target);
}

int WinsockLibrary::bind(SocketHandle s, std::uint32_t address, std::uint16_t port)
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = ToNetwork16(port);
    local.sin_addr.s_addr = ToNetwork32(address);
    return m_bound->Get(m_bound->bind, "bind")(
        static_cast<SOCKET>(s), reinterpret_cast<const sockaddr*>(&local), sizeof local);
}

int WinsockLibrary::listen(SocketHandle s, int backlog)
{
    return m_bound->Get(m_bound->listen, "listen")(static_cast<SOCKET>(s), backlog);
}

namespace {

// Byte swapping is its own inverse: the same helpers bring network order back.
void FromAddress(const sockaddr_in& from, std::uint32_t& address, std::uint16_t& port)
{
    address = ToNetwork32(from.sin_addr.s_addr);
    port = ToNetwork16(from.sin_port);
}

}  // namespace

SocketHandle WinsockLibrary::accept(SocketHandle s, std::uint32_t& address, std::uint16_t& port)
{
    sockaddr_in peer{};
    int length = sizeof peer;
    const SOCKET accepted = m_bound->Get(m_bound->accept, "accept")(
        static_cast<SOCKET>(s), reinterpret_cast<sockaddr*>(&peer), &length);
    if (accepted == INVALID_SOCKET)
        return kInvalidSocket;
    FromAddress(peer, address, port);
    return static_cast<SocketHandle>(accepted);
}

int WinsockLibrary::sendto(SocketHandle s, const char* data, int length, std::uint32_t address,
                           std::uint16_t port)
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = ToNetwork16(port);
    target.sin_addr.s_addr = ToNetwork32(address);
    return m_bound->Get(m_bound->sendto, "sendto")(static_cast<SOCKET>(s), data, length, 0,
                                                   reinterpret_cast<const sockaddr*>(&target),
                                                   sizeof target);
}

int WinsockLibrary::recvfrom(SocketHandle s, char* buffer, int length, std::uint32_t& address,
                             std::uint16_t& port)
{
    sockaddr_in from{};
    int size = sizeof from;
    const int result = m_bound->Get(m_bound->recvfrom, "recvfrom")(
        static_cast<SOCKET>(s), buffer, length, 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (result >= 0)
        FromAddress(from, address, port);
    return result;
}

int WinsockLibrary::getsockname(SocketHandle s, std::uint32_t& address, std::uint16_t& port)
{
    sockaddr_in local{};
    int length = sizeof local;
    const int result = m_bound->Get(m_bound->getsockname, "getsockname")(
        static_cast<SOCKET>(s), reinterpret_cast<sockaddr*>(&local), &length);
    if (result == 0)
        FromAddress(local, address, port);
    return result;
}

int WinsockLibrary::getpeername(SocketHandle s, std::uint32_t& address, std::uint16_t& port)
{
    sockaddr_in peer{};
    int length = sizeof peer;
    const int result = m_bound->Get(m_bound->getpeername, "getpeername")(
        static_cast<SOCKET>(s), reinterpret_cast<sockaddr*>(&peer), &length);
    if (result == 0)
        FromAddress(peer, address, port);
    return result;
}

int WinsockLibrary::send(SocketHandle s, const char* data, int length, bool urgent)
{
    return m_bound->Get(m_bound->send, "send")(static_cast<SOCKET>(s), data, length,
                                               urgent ? MSG_OOB : 0);
}

int WinsockLibrary::recv(SocketHandle s, char* buffer, int length)
{
    return m_bound->Get(m_bound->recv, "recv")(static_cast<SOCKET>(s), buffer, length, 0);
}

int WinsockLibrary::closesocket(SocketHandle s)
{
    return m_bound->Get(m_bound->closesocket, "closesocket")(static_cast<SOCKET>(s));
}

int WinsockLibrary::shutdown(SocketHandle s, int how)
{
    return m_bound->Get(m_bound->shutdown, "shutdown")(static_cast<SOCKET>(s), how);
}

int WinsockLibrary::setsockopt(SocketHandle s, SocketOption option, bool on)
{
    const BOOL value = on ? TRUE : FALSE;
    int level = SOL_SOCKET, name = SO_REUSEADDR;
    if (option == SocketOption::NoDelay)
        level = IPPROTO_TCP, name = TCP_NODELAY;
    else if (option == SocketOption::KeepAlive)
        name = SO_KEEPALIVE;
    else if (option == SocketOption::Broadcast)
        name = SO_BROADCAST;
    return m_bound->Get(m_bound->setsockopt, "setsockopt")(
        static_cast<SOCKET>(s), level, name, reinterpret_cast<const char*>(&value), sizeof value);
}

int WinsockLibrary::SetLinger(SocketHandle s, bool on, int seconds)
{
    linger value{};
    value.l_onoff = on ? 1 : 0;
    value.l_linger = static_cast<u_short>(seconds);
    return m_bound->Get(m_bound->setsockopt, "setsockopt")(
        static_cast<SOCKET>(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value),
        sizeof value);
}

int WinsockLibrary::GetSendBufferSize(SocketHandle s, int& size)
{
    int length = sizeof size;
    return m_bound->Get(m_bound->getsockopt, "getsockopt")(
        static_cast<SOCKET>(s), SOL_SOCKET, SO_SNDBUF, reinterpret_cast<char*>(&size), &length);
}

int WinsockLibrary::ioctlsocket(SocketHandle s, unsigned long& waiting)
{
    u_long count = 0;
    const int result =
        m_bound->Get(m_bound->ioctlsocket, "ioctlsocket")(static_cast<SOCKET>(s), FIONREAD, &count);
    waiting = count;
    return result;
}

int WinsockLibrary::WSAGetLastError()
{
    return m_bound->Get(m_bound->wsaGetLastError, "WSAGetLastError")();
}

bool WinsockLibrary::gethostbyname(const std::string& name, std::uint32_t& address, int& error)
{
    const hostent* host = m_bound->Get(m_bound->gethostbyname, "gethostbyname")(name.c_str());
    if (host == nullptr || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr ||
        host->h_length != 4) {
        error = WSAGetLastError();
        return false;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(host->h_addr_list[0]);
    address =
        static_cast<std::uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
    return true;
}

int WinsockLibrary::WSAAsyncSelect(SocketHandle s, HWND window, UINT message, int events)
{
    return m_bound->Get(m_bound->wsaAsyncSelect, "WSAAsyncSelect")(static_cast<SOCKET>(s), window,
                                                                   message, events);
}

bool WinsockLibrary::getservbyname(const std::string& name, const std::string& proto,
                                   std::uint16_t& port, int& error)
{
    const servent* service = m_bound->Get(m_bound->getservbyname, "getservbyname")(
        name.c_str(), proto.empty() ? nullptr : proto.c_str());
    if (service == nullptr) {
        error = WSAGetLastError();
        return false;
    }
    port = ToNetwork16(static_cast<std::uint16_t>(service->s_port));
    return true;
}

bool WinsockLibrary::getprotobyname(const std::string& name, int& number, int& error)
{
    const protoent* protocol =
        m_bound->Get(m_bound->getprotobyname, "getprotobyname")(name.c_str());
    if (protocol == nullptr) {
        error = WSAGetLastError();
        return false;
    }
    number = protocol->p_proto;
    return true;
}

int WinsockLibrary::gethostname(std::string& name)
{
    char buffer[65] = {};
    const int result = m_bound->Get(m_bound->gethostname, "gethostname")(buffer, 64);
    if (result == 0)
        name = buffer;
    return result;
}

namespace {

template <typename Option>
int SetIpOption(decltype(&::setsockopt) setsockopt, SocketHandle s, int name, const Option& value)
{
    return setsockopt(static_cast<SOCKET>(s), IPPROTO_IP, name,
                      reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

// wsock32.dll takes the option numbers of sockets 1.1 (winsock.h), not those of ws2_32.
int WinsockLibrary::SetMulticastTtl(SocketHandle s, int ttl)
{
    return SetIpOption(m_bound->Get(m_bound->setsockopt, "setsockopt"), s, IP_MULTICAST_TTL, ttl);
}

int WinsockLibrary::SetMulticastInterface(SocketHandle s, std::uint32_t address)
{
    in_addr value{};
    value.s_addr = ToNetwork32(address);
    return SetIpOption(m_bound->Get(m_bound->setsockopt, "setsockopt"), s, IP_MULTICAST_IF, value);
}

int WinsockLibrary::AddMembership(SocketHandle s, std::uint32_t group,
                                  std::uint32_t interfaceAddress)
{
    ip_mreq request{};
    request.imr_multiaddr.s_addr = ToNetwork32(group);
    request.imr_interface.s_addr = ToNetwork32(interfaceAddress);
    return SetIpOption(m_bound->Get(m_bound->setsockopt, "setsockopt"), s, IP_ADD_MEMBERSHIP,
                       request);
}

int WinsockLibrary::ReceiveAll(SocketHandle s)
{
    DWORD on = 1, returned = 0;
    return m_bound->GetIoctl()(static_cast<SOCKET>(s), kReceiveAllControl, &on, sizeof on, nullptr,
                               0, &returned, nullptr, nullptr);
}

LookupHandle WinsockLibrary::WSAAsyncGetHostByName(HWND window, UINT message,
                                                   const std::string& name, char* buffer,
                                                   int length, int& error)
{
    const HANDLE lookup = m_bound->Get(m_bound->wsaAsyncGetHostByName, "WSAAsyncGetHostByName")(
        window, message, name.c_str(), buffer, length);
    error = lookup == nullptr ? WSAGetLastError() : 0;
    return reinterpret_cast<LookupHandle>(lookup);
}

LookupHandle WinsockLibrary::WSAAsyncGetHostByAddr(HWND window, UINT message, std::uint32_t address,
                                                   char* buffer, int length, int& error)
{
    const std::uint32_t networkOrder = ToNetwork32(address);
    const HANDLE lookup = m_bound->Get(m_bound->wsaAsyncGetHostByAddr, "WSAAsyncGetHostByAddr")(
        window, message, reinterpret_cast<const char*>(&networkOrder), sizeof networkOrder, AF_INET,
        buffer, length);
    error = lookup == nullptr ? WSAGetLastError() : 0;
    return reinterpret_cast<LookupHandle>(lookup);
}

int WinsockLibrary::WSACancelAsyncRequest(LookupHandle lookup)
{
    const int result = m_bound->Get(m_bound->wsaCancelAsyncRequest,
                                    "WSACancelAsyncRequest")(reinterpret_cast<HANDLE>(lookup));
    return result == 0 ? 0 : WSAGetLastError();
}

}  // namespace net
