// The sockets library bound at run time: wsock32.dll loaded by the first user of the process,
// started with the requested version, each function found by name at its first use, and cleaned up
// and unloaded when the last user lets go.
#pragma once

#include <windows.h>

#include <memory>

#include "setup/media/net/socket_library.h"

namespace net {

class WinsockLibrary : public ISocketLibrary
{
public:
    // The process's one library. It loads and starts at its first call; that call throws
    // SocketException with the product's texts when wsock32.dll does not load or does not start.
    static std::shared_ptr<WinsockLibrary> Acquire();

    SocketHandle socket(SocketType type, int protocol) override;
    int connect(SocketHandle s, std::uint32_t address, std::uint16_t port) override;
    int bind(SocketHandle s, std::uint32_t address, std::uint16_t port) override;
    int listen(SocketHandle s, int backlog) override;
    SocketHandle accept(SocketHandle s, std::uint32_t& address, std::uint16_t& port) override;
    int getsockname(SocketHandle s, std::uint32_t& address, std::uint16_t& port) override;
    int getpeername(SocketHandle s, std::uint32_t& address, std::uint16_t& port) override;
    int send(SocketHandle s, const char* data, int length, bool urgent) override;
    int recv(SocketHandle s, char* buffer, int length) override;
    int sendto(SocketHandle s, const char* data, int length, std::uint32_t address,
               std::uint16_t port) override;
    int recvfrom(SocketHandle s, char* buffer, int length, std::uint32_t& address,
                 std::uint16_t& port) override;
    int closesocket(SocketHandle s) override;
    int shutdown(SocketHandle s, int how) override;
    int setsockopt(SocketHandle s, SocketOption option, bool on) override;
    int SetLinger(SocketHandle s, bool on, int seconds) override;
    int GetSendBufferSize(SocketHandle s, int& size) override;
    int ioctlsocket(SocketHandle s, unsigned long& waiting) override;
    int WSAGetLastError() override;
    bool gethostbyname(const std::string& name, std::uint32_t& address, int& error) override;
    bool getservbyname(const std::string& name, const std::string& proto, std::uint16_t& port,
                       int& error) override;
    bool getprotobyname(const std::string& name, int& number, int& error) override;
    int gethostname(std::string& name) override;
    int SetMulticastTtl(SocketHandle s, int ttl) override;
    int SetMulticastInterface(SocketHandle s, std::uint32_t address) override;
    int AddMembership(SocketHandle s, std::uint32_t group, std::uint32_t interfaceAddress) override;
    int ReceiveAll(SocketHandle s) override;
    bool SetRequestedVersion(int low, int high) override;
    int RequestedVersionLow() const override;
    int RequestedVersionHigh() const override;

    // The asynchronous lookups the window starts; the answer lands in `buffer` (a hostent).
    LookupHandle WSAAsyncGetHostByName(HWND window, UINT message, const std::string& name,
                                       char* buffer, int length, int& error);
    LookupHandle WSAAsyncGetHostByAddr(HWND window, UINT message, std::uint32_t address,
                                       char* buffer, int length, int& error);
    int WSACancelAsyncRequest(LookupHandle lookup);  // 0 or the error

    // WSAAsyncSelect towards a window and message.
    int WSAAsyncSelect(SocketHandle s, HWND window, UINT message, int events);

    ~WinsockLibrary() override;
    struct Bound;

private:
    WinsockLibrary();
    std::unique_ptr<Bound> m_bound;
};

}  // namespace net
