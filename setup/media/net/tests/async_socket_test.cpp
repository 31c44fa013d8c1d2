#include "setup/media/net/async_socket.h"

#include <gtest/gtest.h>

#include "setup/media/net/socket_errors.h"
#include "setup/media/net/tests/fake_socket_library.h"

namespace {

using namespace net;
using net::testing::FakeSocketLibrary;
using net::testing::FakeSocketWindow;
using Calls = std::vector<std::string>;

constexpr SocketHandle kHandle = FakeSocketLibrary::kHandle;

// A socket with a recording of its events, connected unless asked otherwise.
struct Harness
{
    FakeSocketLibrary library;
    FakeSocketWindow window;
    AsyncSocket socket{library, window};
    std::vector<std::string> log;

    Harness()
    {
        socket.events.sessionConnected = [this](int e) {
            log.push_back("connected " + std::to_string(e));
        };
        socket.events.sessionClosed = [this](int e) {
            log.push_back("closed " + std::to_string(e));
        };
        socket.events.dataSent = [this](int e) { log.push_back("sent " + std::to_string(e)); };
        socket.events.error = [this] { log.push_back("error: " + socket.LastErrorText()); };
    }

    void Connect()
    {
        socket.SetAddr("127.0.0.1");
        socket.SetPort("8080");
        socket.Connect();
        socket.HandleNetworkEvent(kHandle, kEventConnect, 0);
        library.calls.clear();
        log.clear();
    }
};

TEST(AsyncSocket, ConnectsWithItsOptionsAndReportsTheSession)
{
    Harness h;
    h.socket.SetAddr(" 127.0.0.1 ");
    h.socket.SetPort("8080");
    h.socket.Connect();
    EXPECT_EQ(h.library.calls, (Calls{"socket", "setsockopt reuse", "linger 1,0",
                                      "setsockopt keepalive", "connect 127.1:8080"}));
    EXPECT_EQ(h.socket.State(), SocketState::Connecting);
    h.socket.HandleNetworkEvent(kHandle, kEventClose, 0);  // too early: ignored
    EXPECT_EQ(h.socket.State(), SocketState::Connecting);
    h.socket.HandleNetworkEvent(kHandle, kEventConnect | kEventWrite, 0);
    EXPECT_EQ(h.socket.State(), SocketState::Connected);
    EXPECT_EQ(h.log, (Calls{"connected 0", "sent 0"}));
}

TEST(AsyncSocket, RefusesToConnectWithoutWhatItNeeds)
{
    const struct
    {
        const char *addr, *port, *expected;
    } cases[] = {
        {"127.0.0.1", "", "error: Connect: No Port Specified"},
        {"", "80", "error: Connect: No IP Address Specified"},
        {"127.0.0.1", "gopher",
         "error: connect: WSocketResolvePort: Cannot convert port 'gopher', Error #11001"},
        {"127.0.0.1", "70000", "error: connect: WSocketResolvePort: Invalid Port."},
        {"nowhere", "80",
         "error: connect: WSocketResolveHost: Cannot convert host address 'nowhere', Error #11001"},
    };
    for (const auto& c : cases) {
        Harness h;
        h.socket.SetAddr(c.addr);
        h.socket.SetPort(c.port);
        h.socket.Connect();
        EXPECT_EQ(h.log, Calls{c.expected}) << c.addr << ":" << c.port;
        EXPECT_EQ(h.socket.Handle(), kInvalidSocket);
    }
    Harness h;
    h.Connect();
    h.socket.Connect();
    h.socket.SetAddr("10.0.0.1");
    EXPECT_EQ(h.log, (Calls{"error: Connect: Socket already in use",
                            "error: Cannot change Addr if not closed"}));
    EXPECT_EQ(h.socket.Addr(), "127.0.0.1");
}

TEST(AsyncSocket, ReportsFailuresAsExceptionsWithoutAnErrorHandler)
{
    FakeSocketLibrary library;
    FakeSocketWindow window;
    AsyncSocket socket(library, window);
    EXPECT_THROW(socket.Connect(), SocketException);
    try {
        socket.Send("x");
        FAIL() << "Send on a closed socket must fail";
    } catch (const SocketException& e) {
        EXPECT_STREQ(e.what(), "Error 10057 in function Send\r\nSocket is not connected");
    }
    EXPECT_TRUE(library.calls.empty());
}

TEST(AsyncSocket, SendsALargeBlockInOrderThroughPartialSendsAndWouldBlock)
{
    Harness h;
    h.Connect();
    std::string data(100 * 1024, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7 + i / 251);
    // The library takes a few hundred bytes, then blocks, again and again.
    for (int i = 0; i < 2000; ++i)
        h.library.sendPlan.insert(h.library.sendPlan.end(), {300 + i % 17, -kWsaWouldBlock});
    long long counted = 0;
    h.socket.events.sendData = [&counted](int n) { counted += n; };
    EXPECT_EQ(h.socket.Send(data), static_cast<int>(data.size()));
    int writeEvents = 0;
    while (!h.socket.AllSent() && writeEvents < 10000) {
        h.socket.HandleNetworkEvent(kHandle, kEventWrite, 0);
        ++writeEvents;
    }
    EXPECT_EQ(h.library.wire, data);
    EXPECT_EQ(counted, static_cast<long long>(data.size()));
    EXPECT_EQ(h.log, Calls{"sent 0"});  // once, when the last byte left
    EXPECT_TRUE(h.window.posted.empty());
}

TEST(AsyncSocket, FlushSendsEverythingQueuedOrStopsWhenTheConnectionEndsOrStalls)
{
    const std::deque<int> stalled(10, -kWsaWouldBlock);
    const struct
    {
        const char* name;
        std::deque<int> plan;
        std::size_t expectedWire;
        int expectedPumps;
        SocketState expectedState;
        std::uint64_t msPerPump = 0;
        Calls expectedLog = {};
    } cases[] = {
        {"through would-block",
         {1000, -kWsaWouldBlock, 1000, -kWsaWouldBlock, -kWsaWouldBlock},
         3000,
         3,
         SocketState::Connected},
        {"reset on the way",
         {1000, -kWsaWouldBlock, -kWsaConnectionReset},
         1000,
         1,
         SocketState::Closed,
         0,
         {"closed 10054"}},
        // Slow but moving: each byte that leaves starts the time-out again.
        {"slow peer",
         {-kWsaWouldBlock, -kWsaWouldBlock, 1000, -kWsaWouldBlock, -kWsaWouldBlock, 2000},
         3000,
         4,
         SocketState::Connected,
         25000},
        {"stalled peer",
         stalled,
         0,
         3,
         SocketState::Connected,
         20000,
         {"error: Flush: nothing sent for 60 seconds"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.Connect();
        h.library.sendPlan = {-kWsaWouldBlock};  // all of it waits in blocks
        h.socket.Send(std::string(3000, 'f'));
        h.library.sendPlan = c.plan;
        h.window.pumpMs = c.msPerPump;
        h.log.clear();
        h.socket.Flush();
        EXPECT_EQ(h.library.wire.size(), c.expectedWire);
        EXPECT_EQ(h.window.pumps, c.expectedPumps);
        EXPECT_EQ(h.socket.State(), c.expectedState);
        EXPECT_EQ(h.log, c.expectedLog);
    }
}

TEST(AsyncSocket, PostsAWriteEventWhenEverythingLeftAtOnce)
{
    Harness h;
    h.Connect();
    h.socket.Send("GET / HTTP/1.0\r\n\r\n");
    ASSERT_EQ(h.window.posted.size(), 1u);
    EXPECT_EQ(h.window.posted[0].events, kEventWrite);
    EXPECT_EQ(h.library.wire, "GET / HTTP/1.0\r\n\r\n");
}

TEST(AsyncSocket, ClosesOnSendErrorsThatEndTheConnection)
{
    for (const int error : {kWsaConnectionReset, kWsaConnectionAborted, kWsaNotConnected}) {
        Harness h;
        h.Connect();
        h.library.sendPlan = {5, -error};
        h.socket.Send("0123456789");
        EXPECT_EQ(h.log, Calls{"closed " + std::to_string(error)}) << error;
        EXPECT_EQ(h.socket.State(), SocketState::Closed) << error;
        EXPECT_EQ(h.library.wire, "01234");
        // A late event for the old handle changes nothing.
        h.socket.HandleNetworkEvent(kHandle, kEventClose | kEventRead, 0);
        EXPECT_EQ(h.log.size(), 1u);
    }
    Harness h;
    h.Connect();
    h.library.sendPlan = {-10055};
    h.socket.Send("x");
    EXPECT_EQ(h.log, Calls{"error: Error 10055 in function TryToSend failed\r\n"
                           "No buffer space available"});
}

TEST(AsyncSocket, DropsDataNobodyReadsInSlicesOfAKilobyte)
{
    Harness h;
    h.Connect();
    h.library.incoming = std::string(2500, 'x');
    h.socket.HandleNetworkEvent(kHandle, kEventRead, 0);
    EXPECT_EQ(h.library.calls, (Calls{"recv 1024", "recv 1024", "recv 1024"}));
    EXPECT_TRUE(h.library.incoming.empty());
}

TEST(AsyncSocket, ReadsToTheEndOnCloseThenClosesOnceAndForgetsItsPeer)
{
    Harness h;
    h.Connect();
    std::string read;
    h.socket.events.dataAvailable = [&](int) {
        char buffer[3];
        const int n = h.socket.Receive(buffer, sizeof buffer);
        if (n > 0)
            read.append(buffer, static_cast<std::size_t>(n));
    };
    h.library.incoming = "last words";
    h.socket.HandleNetworkEvent(kHandle, kEventRead | kEventClose, 0);
    EXPECT_EQ(read, "last words");
    EXPECT_EQ(h.log, Calls{"closed 0"});
    EXPECT_EQ(h.socket.State(), SocketState::Closed);
    EXPECT_EQ(h.library.calls.back(), "closesocket");
    EXPECT_EQ(h.socket.Addr(), "");
    EXPECT_EQ(h.socket.Port(), "");
    EXPECT_EQ(h.socket.ReadCount(), 10);
}

TEST(AsyncSocket, AHandlerThatReadsNothingDoesNotSpin)
{
    Harness h;
    h.Connect();
    int calls = 0;
    h.socket.events.dataAvailable = [&calls](int) { ++calls; };
    h.library.incoming = "unread";
    h.socket.HandleNetworkEvent(kHandle, kEventRead, 0);
    EXPECT_EQ(calls, 1);
}

TEST(AsyncSocket, AbortsWhenAHandlerThrows)
{
    Harness h;
    h.Connect();
    std::string caught;
    h.socket.events.dataAvailable = [](int) { throw std::runtime_error("handler failed"); };
    h.socket.events.backgroundException = [&caught](const std::exception& e, bool&) {
        caught = e.what();
    };
    h.library.incoming = "x";
    h.socket.HandleNetworkEvent(kHandle, kEventRead, 0);
    EXPECT_EQ(caught, "handler failed");
    EXPECT_EQ(h.socket.State(), SocketState::Closed);
    EXPECT_EQ(h.library.calls, (Calls{"linger 0,0", "closesocket"}));  // abortive: no shutdown
}

TEST(AsyncSocket, ReportsTheTestExceptionAsABackgroundException)
{
    for (const bool canClose : {true, false}) {
        Harness h;
        h.Connect();
        std::string caught;
        h.socket.events.backgroundException = [&](const std::exception& e, bool& close) {
            caught = e.what();
            close = canClose;
        };
        h.socket.HandleTestException();
        EXPECT_EQ(caught, "Test exception in WSocket");
        EXPECT_EQ(h.socket.State(), canClose ? SocketState::Closed : SocketState::Connected);
    }
}

TEST(AsyncSocket, ShutsASideDownReadsWaitingTextAndAsksToBeFreedLater)
{
    Harness h;
    h.Connect();
    h.socket.Shutdown(0);
    EXPECT_EQ(h.library.calls, Calls{"shutdown 0"});
    EXPECT_EQ(h.socket.State(), SocketState::Connected);

    h.library.incoming = "hello";
    EXPECT_EQ(h.socket.ReceiveText(), "hello");
    h.library.incoming = std::string(300, 'x');
    h.library.calls.clear();
    h.socket.ReceiveText();
    EXPECT_EQ(h.library.calls, Calls{"recv 300"});
    EXPECT_EQ(h.socket.ReceiveText(), "");  // would block: an empty text
    EXPECT_EQ(h.library.calls.back(), "recv 255");
    EXPECT_EQ(h.socket.LastError(), kWsaWouldBlock);

    h.socket.FreeLater();
    EXPECT_EQ(h.window.freesPosted, 1);
    EXPECT_EQ(h.socket.GetLocalHostName(), "fakehost");
}

TEST(AsyncSocket, RefusesAnUnknownSendFlagAndAVersionChangeOnceStarted)
{
    Harness h;
    h.socket.SetSendFlags(SendFlags::Urgent);
    h.socket.SetSendFlags(static_cast<SendFlags>(7));
    EXPECT_EQ(h.socket.GetSendFlags(), SendFlags::Urgent);
    h.socket.SetReqVerHigh(2);
    h.library.started = true;
    h.socket.SetReqVerLow(0);
    EXPECT_EQ(h.socket.ReqVerHigh(), 2);
    EXPECT_EQ(h.socket.ReqVerLow(), 1);
    EXPECT_EQ(h.log, (Calls{"error: Invalid SendFlags",
                            "error: SetReqVerLow: WinSock version can't be changed now"}));
}

TEST(AsyncSocket, ClosesGracefullyAndLater)
{
    Harness h;
    h.Connect();
    h.socket.CloseLater();
    EXPECT_EQ(h.window.closesPosted, 1);
    h.socket.HandleCloseMessage();
    EXPECT_EQ(h.library.calls, (Calls{"shutdown 1", "closesocket"}));
    EXPECT_EQ(h.log, Calls{"closed 0"});
}

TEST(SocketErrors, NameEveryCodeAndFormatTheMessage)
{
    const std::pair<int, const char*> cases[] = {
        {0, "No Error"},
        {10035, "Operation would block"},
        {10054, "Connection reset by peer"},
        {10093, "WinSock not initialized"},
        {11001, "Host not found"},
        {11004, "No Data"},
        {10001, "Not a WinSock error"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_STREQ(SocketErrorText(code), text) << code;
    EXPECT_EQ(SocketErrorMessage(10061, "Connect"),
              "Error 10061 in function Connect\r\nConnection refused");
}

TEST(DottedAddress, AcceptsFourPartsBelow256Only)
{
    const std::pair<const char*, std::uint32_t> good[] = {
        {"127.0.0.1", 0x7F000001}, {" 10.1.2.3 ", 0x0A010203}, {"255.255.255.255", 0xFFFFFFFF}};
    for (const auto& [text, value] : good) {
        std::uint32_t address = 0;
        EXPECT_TRUE(ParseDottedAddress(text, address)) << text;
        EXPECT_EQ(address, value) << text;
    }
    for (const char* text :
         {"256.0.0.1", "1.2.3", "1.2.3.4.5", "a.b.c.d", "", "1..2.3", "localhost"}) {
        std::uint32_t address = 0;
        EXPECT_FALSE(ParseDottedAddress(text, address)) << text;
    }
}

TEST(SendBlock, KeepsUnsentBytesAndEmptiesWhenAllLeft)
{
    SendBlock block(4);
    EXPECT_EQ(block.Write("abcdef"), 4u);
    EXPECT_TRUE(block.Full());
    block.Remove(3);
    EXPECT_EQ(block.Peek(), "d");
    block.Remove(1);
    EXPECT_TRUE(block.Empty());
    EXPECT_FALSE(block.Full());  // room again once everything left
    EXPECT_EQ(block.Write("xy"), 2u);
    EXPECT_EQ(block.Peek(), "xy");
}

}  // namespace
