// Resolving texts to numbers, and host and reverse lookups on the window, against the scripted
// sockets library.
#include <gtest/gtest.h>

#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_errors.h"
#include "setup/media/net/socket_resolve.h"
#include "setup/media/net/tests/fake_socket_library.h"

// Named rather than anonymous: the test sources share one translation unit.
namespace socket_lookup_test {

using namespace net;
using net::testing::FakeSocketLibrary;
using net::testing::FakeSocketWindow;
using Calls = std::vector<std::string>;

TEST(SocketResolve, TurnsHostsPortsAndProtocolsIntoNumbersOrSaysWhy)
{
    FakeSocketLibrary library;
    const struct
    {
        char kind;  // h(ost), p(ort) or r (protocol)
        std::string text;
        long expected;  // -1: fails with `failure`
        std::string failure;
    } cases[] = {
        {'h', " 10.1.2.3 ", 0x0A010203, ""},
        {'h', "", -1, "WSocketResolveHost: '' Invalid Hostname."},
        {'h', std::string(257, 'a'), -1,
         "WSocketResolveHost: '" + std::string(257, 'a') + "' Invalid Hostname."},
        {'h', "10.1.2.300", -1, "WSocketResolveHost: '10.1.2.300' Invalid IP address."},
        {'h', "nowhere", -1,
         "WSocketResolveHost: Cannot convert host address 'nowhere', Error #11001"},
        {'p', " 8080x", 8080, ""},
        {'p', "http", 80, ""},
        {'p', "", -1, "WSocketResolvePort: Invalid Port."},
        {'p', std::string(32, '1'), -1, "WSocketResolvePort: Invalid Port."},
        {'p', "70000", -1, "WSocketResolvePort: Invalid Port."},
        {'p', "gopher", -1, "WSocketResolvePort: Cannot convert port 'gopher', Error #11001"},
        {'r', "TCP", 6, ""},
        {'r', "Udp", 17, ""},
        {'r', "raw", 255, ""},
        {'r', "41", 41, ""},
        {'r', "icmp", 1, ""},
        {'r', "", -1, "WSocketResolveProto: Invalid Protocol."},
        {'r', "ggp", -1, "WSocketResolveProto: Cannot convert protocol 'ggp', Error #11001"},
    };
    for (const auto& c : cases) {
        long value = 0;
        Resolved result;
        if (c.kind == 'h') {
            std::uint32_t address = 0;
            result = ResolveHost(library, c.text, address);
            value = static_cast<long>(address);
        } else if (c.kind == 'p') {
            std::uint16_t port = 0;
            result = ResolvePort(library, c.text, "tcp", port);
            value = port;
        } else {
            int number = 0;
            result = ResolveProto(library, c.text, number);
            value = number;
        }
        EXPECT_EQ(result.ok, c.expected >= 0) << c.text;
        if (result.ok) {
            EXPECT_EQ(value, c.expected) << c.text;
        }
        EXPECT_EQ(result.failure, c.failure) << c.text;
    }
    std::uint16_t port = 0;
    EXPECT_FALSE(ResolvePort(library, "80", std::string(32, 't'), port).ok);  // too long a proto
}

struct LookupHarness
{
    FakeSocketLibrary library;
    FakeSocketWindow window;
    std::vector<std::string> log;
    AsyncSocket socket{library, window};

    LookupHarness()
    {
        socket.events.dnsLookupDone = [this](int error) {
            log.push_back("done " + std::to_string(error) + " " + socket.DnsResult() + " (" +
                          std::to_string(socket.DnsResultList().size()) + ")");
        };
        socket.events.error = [this] {
            log.push_back(std::to_string(socket.LastError()) + " " + socket.LastErrorText());
        };
    }
};

TEST(SocketLookup, AnswersADottedAddressAtOnceAndANameWhenTheWindowHearsBack)
{
    LookupHarness h;
    h.socket.DnsLookup(" 127.0.0.1 ");
    EXPECT_TRUE(h.window.lookups.empty());  // no lookup message for an address
    EXPECT_EQ(h.log, Calls{"done 0 127.0.0.1 (1)"});

    h.log.clear();
    h.socket.DnsLookup("localhost");
    EXPECT_EQ(h.window.lookups, Calls{"host localhost"});
    EXPECT_TRUE(h.socket.DnsResult().empty());
    h.socket.HandleLookupDone(99, 0, {{"10.0.0.9"}, {}});  // not ours: ignored
    EXPECT_TRUE(h.log.empty());
    h.socket.HandleLookupDone(100, 0, {{"127.0.0.1", "127.0.1.1"}, {}});
    EXPECT_EQ(h.log, Calls{"done 0 127.0.0.1 (2)"});
    h.socket.HandleLookupDone(100, 0, {{"10.0.0.9"}, {}});  // answered once only
    EXPECT_EQ(h.log.size(), 1u);

    h.log.clear();
    h.socket.ReverseDnsLookup("127.0.0.1");
    h.socket.HandleLookupDone(101, 0, {{}, "localhost"});
    EXPECT_EQ(h.window.lookups.back(), "reverse 127");
    EXPECT_EQ(h.log, Calls{"done 0 localhost (1)"});

    h.log.clear();
    h.socket.DnsLookup("unknown");
    h.socket.HandleLookupDone(102, 11001, {});
    EXPECT_EQ(h.log, Calls{"done 11001  (0)"});
}

TEST(SocketLookup, CancelsARunningLookupAndRefusesBadInput)
{
    LookupHarness h;
    h.socket.CancelLookup();  // nothing running: nothing happens
    EXPECT_TRUE(h.window.cancelled.empty());
    h.socket.DnsLookup("first");
    h.socket.DnsLookup("second");  // the first is cancelled
    h.socket.CancelLookup();
    EXPECT_EQ(h.window.cancelled, (std::vector<LookupHandle>{100, 101}));
    EXPECT_EQ(h.log, (Calls{"done 10004  (0)", "done 10004  (0)"}));
    h.socket.HandleLookupDone(101, 0, {{"10.0.0.1"}, {}});  // too late: ignored
    EXPECT_EQ(h.log.size(), 2u);

    h.log.clear();
    h.window.cancelError = 10022;
    h.socket.DnsLookup("third");
    h.socket.CancelLookup();
    h.window.cancelError = 0;
    h.window.startError = 10055;
    h.socket.DnsLookup("fourth");
    h.socket.DnsLookup("");
    h.socket.ReverseDnsLookup("not-an-address");
    EXPECT_EQ(h.log,
              (Calls{"10022 Error 10022 in function WSACancelAsyncRequest\r\nInvalid argument",
                     "10055 WSAAsyncGetHostByName: can't start DNS lookup, error #10055",
                     "10022 DNS lookup: invalid host name.", "done 10022  (0)",
                     "10022 ReverseDnsLookup: Invalid host name."}));
}

TEST(SocketLookup, HandlesAnAnswerThatCameBeforeTheStartReturned)
{
    LookupHarness h;
    h.window.answerWhileStarting = [&](LookupHandle lookup) {
        h.socket.HandleLookupDone(lookup, 0, {{"127.0.0.1"}, {}});
        h.log.push_back("answered while starting");
    };
    h.socket.DnsLookup("localhost");
    EXPECT_EQ(h.log, (Calls{"answered while starting", "done 0 127.0.0.1 (1)"}));
}

TEST(SocketLookup, AbortAndDestructionCancelTheLookupQuietlyOnlyWhenDestroyed)
{
    std::vector<std::string> log;
    FakeSocketLibrary library;
    FakeSocketWindow window;
    {
        AsyncSocket socket(library, window);
        socket.events.dnsLookupDone = [&](int error) { log.push_back(std::to_string(error)); };
        socket.DnsLookup("a");
        socket.Abort();
        socket.DnsLookup("b");
    }
    EXPECT_EQ(window.cancelled, (std::vector<LookupHandle>{100, 101}));
    EXPECT_EQ(log, Calls{"10004"});
}

TEST(SocketMulticast, SetsItsOptionsJoinsItsGroupAndReportsTheirFailures)
{
    const struct
    {
        const char *proto, *localAddr;
        bool listen, multiCast, receiveAll;
        int ttl, failure;
        Calls calls;
        std::string error;
    } cases[] = {
        {"udp",
         "10.0.0.2",
         false,
         false,
         false,
         4,
         0,
         {"socket dgram 17", "bind 10.2:0", "multicast ttl 4", "multicast if 10"},
         ""},
        {"udp",
         "",
         false,
         false,
         false,
         4,
         10042,
         {"socket dgram 17", "bind 0.0:0", "multicast ttl 4"},
         "Error 10042 in function setsockopt(IP_MULTICAST_TTL)\r\nProtocol not available"},
        {"udp",
         "",
         true,
         true,
         false,
         1,
         0,
         {"socket dgram 17", "bind 0.0:5000", "membership 239"},
         ""},
        {"udp",
         "",
         true,
         true,
         false,
         1,
         10049,
         {"socket dgram 17", "bind 0.0:5000", "membership 239"},
         "Error 10049 in function setsockopt(IP_ADD_MEMBERSHIP)\r\nAddress not available"},
        {"Raw_icmp",
         "",
         true,
         false,
         true,
         1,
         0,
         {"getprotobyname icmp", "socket raw 1", "bind 0.0:5000", "rcvall"},
         ""},
        {"raw_icmp",
         "",
         true,
         false,
         true,
         1,
         10013,
         {"getprotobyname icmp", "socket raw 1", "bind 0.0:5000", "rcvall"},
         "Error 10013 in function WSAIoctl(SIO_RCVALL)\r\nPermission denied"},
    };
    for (const auto& c : cases) {
        FakeSocketLibrary library;
        FakeSocketWindow window;
        std::string error;
        AsyncSocket socket(library, window);
        socket.events.error = [&] { error = socket.LastErrorText(); };
        library.multicastError = c.failure;
        socket.SetProto(c.proto);
        socket.SetAddr(c.listen ? "0.0.0.0" : "239.1.2.3");
        socket.SetPort("5000");
        socket.SetLocalAddr(c.localAddr);
        socket.multiCast = c.multiCast;
        socket.multiCastAddrStr = "239.1.2.3";
        socket.multiCastIpTtl = c.ttl;
        socket.receiveAll = c.receiveAll;
        if (c.listen)
            socket.Listen();
        else
            socket.Connect();
        EXPECT_EQ(library.calls, c.calls) << c.proto << " " << c.failure;
        EXPECT_EQ(error, c.error) << c.proto;
        if (c.failure == 0) {
            EXPECT_TRUE(socket.State() == SocketState::Bound ||
                        socket.State() == SocketState::Connected)
                << c.proto;
        }
    }
}

}  // namespace socket_lookup_test
