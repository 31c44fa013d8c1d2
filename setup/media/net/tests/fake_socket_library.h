// A scripted sockets library and window: records every call, takes sent bytes onto a wire, and
// answers with would-block, partial sends and errors as a test plans them.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "setup/media/net/socket_errors.h"
#include "setup/media/net/socket_library.h"

namespace net::testing {

class FakeSocketLibrary : public ISocketLibrary
{
public:
    static constexpr SocketHandle kHandle = 7;
    static constexpr SocketHandle kAcceptedHandle = 8;

    std::vector<std::string> calls;
    std::string wire;      // what the peer received
    std::string incoming;  // what the peer sent, waiting to be read
    int connectError = kWsaWouldBlock;
    // Per send call: n > 0 takes at most n bytes, n < 0 fails with -n; empty takes everything.
    std::deque<int> sendPlan;
    int recvError = 0;  // a recv with nothing waiting fails with this (0: would block)
    bool resolves = false;
    int bindError = 0, acceptError = 0;

    SocketHandle socket(SocketType type, int protocol) override
    {
        incoming.clear();  // a new connection starts with nothing from the last one
        if (type == SocketType::Stream)
            return Log("socket"), kHandle;
        static const char* const kTypes[] = {"stream", "dgram", "raw"};
        return Log(std::string("socket ") + kTypes[static_cast<int>(type)] + " " +
                   std::to_string(protocol)),
               kHandle;
    }
    int connect(SocketHandle, std::uint32_t address, std::uint16_t port) override
    {
        Log("connect " + std::to_string(address >> 24) + "." + std::to_string(address & 0xFF) +
            ":" + std::to_string(port));
        return Fails(connectError);
    }
    int bind(SocketHandle, std::uint32_t address, std::uint16_t port) override
    {
        Log("bind " + std::to_string(address >> 24) + "." + std::to_string(address & 0xFF) + ":" +
            std::to_string(port));
        return Fails(bindError);
    }
    int listen(SocketHandle, int backlog) override
    {
        return Log("listen " + std::to_string(backlog)), 0;
    }
    SocketHandle accept(SocketHandle, std::uint32_t& address, std::uint16_t& port) override
    {
        Log("accept");
        if (acceptError != 0)
            return Fails(acceptError), kInvalidSocket;
        address = 0x7F000001;
        port = 50000;
        return kAcceptedHandle;
    }
    int getsockname(SocketHandle, std::uint32_t& address, std::uint16_t& port) override
    {
        address = 0x7F000001;
        port = 8080;
        return 0;
    }
    int getpeername(SocketHandle, std::uint32_t& address, std::uint16_t& port) override
    {
        address = 0x7F000002;
        port = 50001;
        return 0;
    }
    int send(SocketHandle, const char* data, int length, bool) override
    {
        Log("send " + std::to_string(length));
        int take = length;
        if (!sendPlan.empty()) {
            const int step = sendPlan.front();
            sendPlan.pop_front();
            if (step < 0)
                return Fails(-step);
            take = std::min(step, length);
        }
        wire.append(data, static_cast<std::size_t>(take));
        return take;
    }
    int recv(SocketHandle, char* buffer, int length) override
    {
        Log("recv " + std::to_string(length));
        if (incoming.empty())
            return Fails(recvError != 0 ? recvError : kWsaWouldBlock);
        const std::size_t take = std::min(incoming.size(), static_cast<std::size_t>(length));
        incoming.copy(buffer, take);
        incoming.erase(0, take);
        return static_cast<int>(take);
    }
    int sendto(SocketHandle, const char* data, int length, std::uint32_t address,
               std::uint16_t port) override
    {
        Log("sendto " + std::to_string(address >> 24) + "." + std::to_string(address & 0xFF) + ":" +
            std::to_string(port) + " " + std::string(data, static_cast<std::size_t>(length)));
        return length;
    }
    int recvfrom(SocketHandle s, char* buffer, int length, std::uint32_t& address,
                 std::uint16_t& port) override
    {
        address = 0x7F000003;
        port = 5353;
        return recv(s, buffer, length);
    }
    int closesocket(SocketHandle) override { return Log("closesocket"), 0; }
    int shutdown(SocketHandle, int how) override
    {
        return Log("shutdown " + std::to_string(how)), 0;
    }
    int setsockopt(SocketHandle, SocketOption option, bool) override
    {
        static const char* const kNames[] = {"reuse", "nodelay", "keepalive", "broadcast"};
        return Log(std::string("setsockopt ") + kNames[static_cast<int>(option)]), 0;
    }
    int SetLinger(SocketHandle, bool on, int seconds) override
    {
        return Log("linger " + std::to_string(on) + "," + std::to_string(seconds)), 0;
    }
    int GetSendBufferSize(SocketHandle, int& size) override { return size = 8192, 0; }
    int ioctlsocket(SocketHandle, unsigned long& waiting) override
    {
        waiting = incoming.size();
        return 0;
    }
    int WSAGetLastError() override { return m_lastError; }
    // The service and protocol databases know "http" and "icmp"; other names fail with 11001.
    bool getservbyname(const std::string& name, const std::string& proto, std::uint16_t& port,
                       int& error) override
    {
        Log("getservbyname " + name + " " + proto);
        port = 80;
        error = name == "http" ? 0 : 11001;
        return error == 0;
    }
    bool getprotobyname(const std::string& name, int& number, int& error) override
    {
        Log("getprotobyname " + name);
        number = 1;
        error = name == "icmp" ? 0 : 11001;
        return error == 0;
    }
    int gethostname(std::string& name) override { return name = "fakehost", 0; }
    int multicastError = 0;  // the multicast options and SIO_RCVALL fail with this
    int SetMulticastTtl(SocketHandle, int ttl) override
    {
        return Log("multicast ttl " + std::to_string(ttl)), Fails(multicastError);
    }
    int SetMulticastInterface(SocketHandle, std::uint32_t address) override
    {
        return Log("multicast if " + std::to_string(address >> 24)), Fails(multicastError);
    }
    int AddMembership(SocketHandle, std::uint32_t group, std::uint32_t) override
    {
        return Log("membership " + std::to_string(group >> 24)), Fails(multicastError);
    }
    int ReceiveAll(SocketHandle) override { return Log("rcvall"), Fails(multicastError); }
    bool started = false;  // a started library keeps its version
    int versionLow = 1, versionHigh = 1;
    bool SetRequestedVersion(int low, int high) override
    {
        if (started)
            return false;
        versionLow = low, versionHigh = high;
        return true;
    }
    int RequestedVersionLow() const override { return versionLow; }
    int RequestedVersionHigh() const override { return versionHigh; }
    bool gethostbyname(const std::string& name, std::uint32_t& address, int& error) override
    {
        Log("gethostbyname " + name);
        address = 0x7F000001;
        error = resolves ? 0 : 11001;
        return resolves;
    }

private:
    void Log(std::string call) { calls.push_back(std::move(call)); }
    int Fails(int error)
    {
        m_lastError = error;
        return error == 0 ? 0 : kSocketError;
    }
    int m_lastError = 0;
};

class FakeSocketWindow : public ISocketWindow
{
public:
    struct Posted
    {
        SocketHandle handle;
        int events;
    };
    std::vector<Posted> posted;
    int closesPosted = 0;
    int rescansPosted = 0;
    int pumps = 0;

    int SelectEvents(SocketHandle, int) override { return 0; }
    void PostNetworkEvent(SocketHandle handle, int events, int) override
    {
        posted.push_back({handle, events});
    }
    void PostClose() override { ++closesPosted; }
    void PostLineRescan() override { ++rescansPosted; }
    void PumpMessages() override
    {
        ++pumps;
        now += pumpMs;
    }
    int freesPosted = 0;
    void PostFree() override { ++freesPosted; }

    // Lookups: each start gets the next handle, or fails with startError.
    std::vector<std::string> lookups;
    LookupHandle nextLookup = 100;
    int startError = 0, cancelError = 0;
    std::vector<LookupHandle> cancelled;
    std::function<void(LookupHandle)> answerWhileStarting;
    LookupHandle StartHostLookup(const std::string& host, int& error) override
    {
        return Start("host " + host, error);
    }
    LookupHandle StartReverseLookup(std::uint32_t address, int& error) override
    {
        return Start("reverse " + std::to_string(address >> 24), error);
    }
    int CancelLookup(LookupHandle lookup) override
    {
        cancelled.push_back(lookup);
        return cancelError;
    }
    std::uint64_t now = 0, pumpMs = 0;
    std::uint64_t TickCount() override { return now; }

private:
    LookupHandle Start(std::string what, int& error)
    {
        lookups.push_back(std::move(what));
        error = startError;
        if (startError != 0)
            return 0;
        const LookupHandle lookup = nextLookup++;
        if (answerWhileStarting)
            answerWhileStarting(lookup);
        return lookup;
    }
};

}  // namespace net::testing
