// Listening, accepting and taking over a connection against the scripted sockets library.
#include <gtest/gtest.h>

#include <algorithm>

#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_errors.h"
#include "setup/media/net/tests/fake_socket_library.h"

// Named rather than anonymous: the test sources share one translation unit.
namespace async_socket_server_test {

using namespace net;
using net::testing::FakeSocketLibrary;
using net::testing::FakeSocketWindow;
using Calls = std::vector<std::string>;

struct ServerHarness
{
    FakeSocketLibrary library;
    FakeSocketWindow window;
    std::vector<std::string> log;  // outlives the socket, whose destructor still reports
    AsyncSocket socket{library, window};

    ServerHarness()
    {
        socket.events.error = [this] {
            log.push_back(std::to_string(socket.LastError()) + " " + socket.LastErrorText());
        };
        socket.events.changeState = [this](SocketState, SocketState to) {
            log.push_back("state " + std::to_string(static_cast<int>(to)));
        };
    }
};

TEST(AsyncSocketServer, ListensBindsAndAsksForAcceptEvents)
{
    ServerHarness h;
    h.socket.SetAddr("127.0.0.1");
    h.socket.SetPort("0");
    h.socket.listenBacklog = 3;
    h.socket.Listen();
    EXPECT_EQ(h.library.calls, (Calls{"socket", "bind 127.1:0", "listen 3"}));
    EXPECT_EQ(h.socket.State(), SocketState::Listening);
    EXPECT_EQ(h.socket.BoundAddr(), "127.0.0.1");
    EXPECT_EQ(h.socket.BoundPort(), "8080");
    EXPECT_EQ(h.socket.PeerAddr(), "error");  // a listener has no peer
}

TEST(AsyncSocketServer, RefusesToListenWithoutWhatItNeeds)
{
    const struct
    {
        const char *addr, *port, *proto, *socks;
        int bindError;
        std::string expected;
    } cases[] = {
        {"0.0.0.0", "", "tcp", "", 0, "10022 listen: port not assigned"},
        {"0.0.0.0", "80", "", "", 0, "10022 listen: protocol not assigned"},
        {"", "80", "tcp", "", 0, "10022 listen: address not assigned"},
        {"0.0.0.0", "80", "tcp", "127.0.0.1", 0, "0 Listening is not supported thru socks server"},
        {"0.0.0.0", "80", "raw_ggp", "", 0,
         "0 listen: WSocketResolveProto: Cannot convert protocol 'ggp', Error #11001"},
        {"0.0.0.0", "port", "tcp", "", 0,
         "0 listen: WSocketResolvePort: Cannot convert port 'port', Error #11001"},
        {"nowhere", "80", "tcp", "", 0,
         "0 listen: WSocketResolveHost: Cannot convert host address 'nowhere', Error #11001"},
        {"0.0.0.0", "80", "tcp", "", 10048,
         "10048 Error 10048 in function Bind\r\nAddress already in use"},
    };
    for (const auto& c : cases) {
        ServerHarness h;
        h.library.bindError = c.bindError;
        h.socket.SetAddr(c.addr);
        h.socket.SetPort(c.port);
        h.socket.SetProto(c.proto);
        h.socket.SetSocksServer(c.socks);
        h.socket.Listen();
        ASSERT_FALSE(h.log.empty()) << c.expected;
        EXPECT_EQ(h.log.back(), c.expected);
        EXPECT_NE(h.socket.State(), SocketState::Listening) << c.expected;
        h.socket.Close();
        EXPECT_EQ(h.socket.Handle(), kInvalidSocket) << c.expected;  // nothing left open
    }
}

TEST(AsyncSocketServer, AcceptsOnlyWhenListening)
{
    ServerHarness h;
    EXPECT_EQ(h.socket.Accept(), kInvalidSocket);
    EXPECT_EQ(h.log, (Calls{"10022 not a listening socket"}));

    h.socket.SetAddr("0.0.0.0");
    h.socket.SetPort("80");
    h.socket.Listen();
    h.log.clear();
    h.library.acceptError = kWsaWouldBlock;
    EXPECT_EQ(h.socket.Accept(), kInvalidSocket);
    EXPECT_EQ(h.log, (Calls{"10035 Error 10035 in function Accept\r\nOperation would block"}));
    h.library.acceptError = 0;
    EXPECT_EQ(h.socket.Accept(), FakeSocketLibrary::kAcceptedHandle);
}

TEST(AsyncSocketServer, DupTakesOverAnAcceptedConnection)
{
    ServerHarness h;
    std::string received;
    h.socket.events.dataAvailable = [&](int) {
        char buffer[64];
        const int n = h.socket.Receive(buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, static_cast<std::size_t>(n));
    };
    h.socket.Dup(kInvalidSocket);
    EXPECT_EQ(h.log, (Calls{"10022 Error 10022 in function Dup\r\nInvalid argument"}));
    h.log.clear();

    h.socket.Dup(FakeSocketLibrary::kAcceptedHandle);
    EXPECT_EQ(h.library.calls, (Calls{"linger 1,0"}));
    EXPECT_EQ(h.socket.State(), SocketState::Connected);
    EXPECT_EQ(h.socket.PeerAddr(), "127.0.0.2");
    EXPECT_EQ(h.socket.PeerPort(), "50001");
    h.library.incoming = "hello";
    h.socket.HandleNetworkEvent(FakeSocketLibrary::kAcceptedHandle, kEventRead, 0);
    EXPECT_EQ(received, "hello");
    EXPECT_EQ(h.socket.Send("reply"), 5);
    EXPECT_EQ(h.library.wire, "reply");
}

TEST(AsyncSocketServer, ConnectBindsALocalAddressOrPortWhenSet)
{
    const struct
    {
        const char *localAddr, *localPort;
        bool expectBind;
    } cases[] = {{"", "0", false}, {"127.0.0.1", "0", true}, {"0.0.0.0", "5000", true}};
    for (const auto& c : cases) {
        ServerHarness h;
        h.socket.SetAddr("127.0.0.1");
        h.socket.SetPort("80");
        h.socket.SetLocalAddr(c.localAddr);
        h.socket.SetLocalPort(c.localPort);
        h.socket.Connect();
        const bool bound = std::find_if(h.library.calls.begin(), h.library.calls.end(),
                                        [](const std::string& call) {
                                            return call.starts_with("bind ");
                                        }) != h.library.calls.end();
        EXPECT_EQ(bound, c.expectBind) << c.localAddr << ":" << c.localPort;
        EXPECT_EQ(h.socket.State(), SocketState::Connecting);
    }
}

TEST(AsyncSocketDatagram, ConnectsAtOnceAndSendsEachPieceToItsPeer)
{
    const struct
    {
        const char *addr, *localAddr;
        Calls expectedCalls;
    } cases[] = {
        {"127.0.0.1", "", {"socket dgram 17", "bind 0.0:0", "sendto 127.1:5000 hello"}},
        {"255.255.255.255",
         "127.0.0.1",
         {"socket dgram 17", "bind 127.1:0", "multicast if 127", "setsockopt broadcast",
          "sendto 255.255:5000 hello"}},
    };
    for (const auto& c : cases) {
        ServerHarness h;
        h.socket.events.sessionConnected = [&](int e) {
            h.log.push_back("connected " + std::to_string(e));
        };
        h.socket.SetProto("udp");
        h.socket.SetAddr(c.addr);
        h.socket.SetPort("5000");
        h.socket.SetLocalAddr(c.localAddr);
        h.socket.Connect();
        EXPECT_EQ(h.socket.State(), SocketState::Connected) << c.addr;
        EXPECT_EQ(h.log.back(), "connected 0") << c.addr;
        EXPECT_EQ(h.socket.Send("hello"), 5);
        EXPECT_EQ(h.library.calls, c.expectedCalls) << c.addr;
    }
}

TEST(AsyncSocketDatagram, ListensOnItsPortAndTellsWhereADatagramCameFrom)
{
    ServerHarness h;
    h.socket.SetProto("udp");
    h.socket.SetAddr("0.0.0.0");
    h.socket.SetPort("5353");
    h.socket.reuseAddr = true;
    h.socket.Listen();
    EXPECT_EQ(h.library.calls, (Calls{"socket dgram 17", "setsockopt reuse", "bind 0.0:5353"}));
    EXPECT_EQ(h.socket.State(), SocketState::Bound);
    h.library.incoming = "query";
    char buffer[16];
    std::string from, port;
    ASSERT_EQ(h.socket.ReceiveDatagram(buffer, sizeof buffer, from, port), 5);
    EXPECT_EQ(from + ":" + port, "127.0.0.3:5353");
    EXPECT_EQ(h.socket.SendDatagram("answer", from, port), 6);
    EXPECT_EQ(h.library.calls.back(), "sendto 127.3:5353 answer");
}

}  // namespace async_socket_server_test
