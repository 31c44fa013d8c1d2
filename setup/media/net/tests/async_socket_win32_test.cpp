// The socket layer over the real sockets library under a message loop, against a loopback peer the
// test starts on a port of its own and stops.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "setup/media/net/socket_window_win32.h"
#include "setup/media/net/sync_wait_win32.h"

namespace {

using namespace net;

// Echoes everything one client sends until it closes; gives up after a few seconds of silence.
class LoopbackEchoPeer
{
public:
    LoopbackEchoPeer()
    {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ::ntohs(address.sin_port);
        ::listen(m_listener, 1);
        m_thread = std::thread([this] { Serve(); });
    }
    ~LoopbackEchoPeer()
    {
        ::closesocket(m_listener);
        m_thread.join();
        ::WSACleanup();
    }
    int Port() const { return m_port; }

private:
    void Serve()
    {
        const SOCKET client = ::accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        const DWORD timeout = 5000;
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                     sizeof timeout);
        char buffer[4096];
        for (int n; (n = ::recv(client, buffer, sizeof buffer, 0)) > 0;) {
            for (int sent = 0; sent < n;) {
                const int step = ::send(client, buffer + sent, n - sent, 0);
                if (step <= 0)
                    break;
                sent += step;
            }
        }
        ::closesocket(client);
    }

    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    std::thread m_thread;
};

// Runs the thread's messages until `done` or the time is up.
bool RunMessagesUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > milliseconds)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
    return true;
}

TEST(AsyncSocketWin32, EchoesAHundredKilobytesInOrder)
{
    LoopbackEchoPeer peer;
    Win32Socket s;
    std::string data(100 * 1024, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 13 + i / 509);
    std::string echoed;
    bool closed = false;
    s.socket.events.sessionConnected = [&](int error) {
        ASSERT_EQ(error, 0);
        s.socket.Send(data);
    };
    s.socket.events.dataAvailable = [&](int) {
        char buffer[1500];
        const int n = s.socket.Receive(buffer, sizeof buffer);
        if (n > 0)
            echoed.append(buffer, static_cast<std::size_t>(n));
        if (echoed.size() == data.size())
            s.socket.Close();
    };
    s.socket.events.sessionClosed = [&](int) { closed = true; };
    s.socket.SetAddr("127.0.0.1");
    s.socket.SetPort(std::to_string(peer.Port()));
    s.socket.Connect();
    ASSERT_TRUE(RunMessagesUntil([&] { return closed; }, 20000));
    EXPECT_EQ(echoed.size(), data.size());
    EXPECT_TRUE(echoed == data);
}

TEST(AsyncSocketWin32, ReportsARefusedConnectionThroughTheSessionEvent)
{
    int port = 0;
    {
        LoopbackEchoPeer closedAgain;  // a port that was free a moment ago
        port = closedAgain.Port();
    }
    Win32Socket s;
    int connected = -1;
    s.socket.events.sessionConnected = [&](int error) { connected = error; };
    s.socket.SetAddr("localhost");
    s.socket.SetPort(std::to_string(port));
    s.socket.Connect();
    ASSERT_TRUE(RunMessagesUntil([&] { return connected != -1; }, 20000));
    EXPECT_EQ(connected, 10061);
    EXPECT_EQ(s.socket.State(), SocketState::Closed);
}

TEST(AsyncSocketWin32, ReadsEchoedLinesWhileWaitingSynchronously)
{
    LoopbackEchoPeer peer;
    Win32Socket s;
    ThreadWaitHost host;
    SyncWaiter waiter(host);
    waiter.timeoutMilliseconds = 20000;
    std::vector<std::string> lines;
    std::string current;
    bool connected = false, twoLines = false;
    s.socket.SetLineMode(true);
    s.socket.events.sessionConnected = [&](int error) { connected = error == 0; };
    s.socket.events.dataAvailable = [&](int) {
        char buffer[5];
        const int n = s.socket.Receive(buffer, sizeof buffer);
        if (n > 0)
            current.append(buffer, static_cast<std::size_t>(n));
        if (s.socket.RcvdCount() == 0 && !current.empty())
            lines.push_back(std::exchange(current, {}));
        twoLines = lines.size() == 2;
    };
    s.socket.SetAddr("127.0.0.1");
    s.socket.SetPort(std::to_string(peer.Port()));
    ASSERT_EQ(waiter.SyncCall([&] { s.socket.Connect(); }, connected), 0);
    ASSERT_TRUE(connected);
    // The second line goes out in two sends so it may well arrive split.
    EXPECT_EQ(waiter.SyncCall(
                  [&] {
                      s.socket.SendTextLine("first line");
                      s.socket.Send("second ");
                      s.socket.SendTextLine("half");
                  },
                  twoLines),
              0);
    EXPECT_EQ(lines, (std::vector<std::string>{"first line\r\n", "second half\r\n"}));
    s.socket.Close();
}

TEST(AsyncSocketWin32, AWaitTimesOutWhenNothingHappens)
{
    ThreadWaitHost host;
    SyncWaiter waiter(host);
    waiter.timeoutMilliseconds = 100;
    bool never = false;
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(waiter.WaitForFlag(never), kWaitTimedOut);
    EXPECT_GE(::GetTickCount() - start, 100u);
}

// Collects whole lines of a socket in line mode, read in small pieces.
struct LineCollector
{
    std::vector<std::string> lines;
    std::string current;

    void ReadFrom(AsyncSocket& socket)
    {
        char buffer[4];
        const int n = socket.Receive(buffer, sizeof buffer);
        if (n > 0)
            current.append(buffer, static_cast<std::size_t>(n));
        if (socket.RcvdCount() == 0 && !current.empty())
            lines.push_back(std::exchange(current, {}));
    }
};

TEST(AsyncSocketWin32, AListeningSocketAcceptsAndAnswersAClient)
{
    ThreadWaitHost host;
    SyncWaiter waiter(host);
    waiter.timeoutMilliseconds = 20000;

    Win32Socket listener, served, client;
    LineCollector atServer, atClient;
    bool answered = false, serverSawClose = false;
    listener.socket.events.sessionAvailable = [&](int error) {
        ASSERT_EQ(error, 0);
        served.socket.Dup(listener.socket.Accept());
    };
    served.socket.SetLineMode(true);
    served.socket.events.dataAvailable = [&](int) {
        atServer.ReadFrom(served.socket);
        if (!atServer.current.empty() || atServer.lines.empty())
            return;
        const std::string line = atServer.lines.back();
        served.socket.SendTextLine("got " + line.substr(0, line.size() - 2));
    };
    served.socket.events.sessionClosed = [&](int) { serverSawClose = true; };
    client.socket.SetLineMode(true);
    client.socket.events.dataAvailable = [&](int) {
        atClient.ReadFrom(client.socket);
        answered = !atClient.lines.empty();
    };

    listener.socket.SetAddr("127.0.0.1");
    listener.socket.SetPort("0");  // any free port
    listener.socket.Listen();
    ASSERT_EQ(listener.socket.State(), SocketState::Listening);
    const std::string port = listener.socket.BoundPort();
    ASSERT_NE(port, "0");

    bool connected = false;
    client.socket.events.sessionConnected = [&](int error) { connected = error == 0; };
    client.socket.SetAddr("127.0.0.1");
    client.socket.SetPort(port);
    ASSERT_EQ(waiter.SyncCall([&] { client.socket.Connect(); }, connected), 0);
    ASSERT_EQ(waiter.SyncCall([&] { client.socket.SendTextLine("ping"); }, answered), 0);
    EXPECT_EQ(atClient.lines, (std::vector<std::string>{"got ping\r\n"}));
    EXPECT_EQ(served.socket.State(), SocketState::Connected);
    EXPECT_EQ(served.socket.PeerAddr(), "127.0.0.1");
    EXPECT_EQ(served.socket.PeerPort(), client.socket.BoundPort());

    EXPECT_EQ(waiter.SyncCall([&] { client.socket.Close(); }, serverSawClose), 0);
    listener.socket.Close();
}

TEST(AsyncSocketWin32, ADatagramGoesToAListeningSocketAndTheAnswerComesBack)
{
    ThreadWaitHost host;
    SyncWaiter waiter(host);
    waiter.timeoutMilliseconds = 20000;
    Win32Socket server, client;
    std::string heard, answer;
    bool answered = false;
    server.socket.events.dataAvailable = [&](int) {
        char buffer[64];
        std::string from, port;
        const int n = server.socket.ReceiveDatagram(buffer, sizeof buffer, from, port);
        if (n <= 0)
            return;
        heard.assign(buffer, static_cast<std::size_t>(n));
        server.socket.SendDatagram("pong", from, port);
    };
    client.socket.events.dataAvailable = [&](int) {
        char buffer[64];
        const int n = client.socket.Receive(buffer, sizeof buffer);
        if (n > 0)
            answer.assign(buffer, static_cast<std::size_t>(n));
        answered = !answer.empty();
    };
    server.socket.SetProto("udp");
    server.socket.SetAddr("127.0.0.1");
    server.socket.SetPort("0");
    server.socket.Listen();
    ASSERT_EQ(server.socket.State(), SocketState::Bound);
    client.socket.SetProto("udp");
    client.socket.SetAddr("127.0.0.1");
    client.socket.SetPort(server.socket.BoundPort());
    client.socket.SetLocalAddr("127.0.0.1");
    client.socket.Connect();
    ASSERT_EQ(client.socket.State(), SocketState::Connected);
    EXPECT_EQ(waiter.SyncCall([&] { client.socket.Send("ping"); }, answered), 0);
    EXPECT_EQ(heard, "ping");
    EXPECT_EQ(answer, "pong");
    client.socket.Close();
    server.socket.Close();
}

TEST(AsyncSocketWin32, LooksUpNamesAndAddressesOnTheWindow)
{
    Win32Socket s;
    std::vector<int> done;
    s.socket.events.dnsLookupDone = [&done](int error) { done.push_back(error); };
    s.socket.DnsLookup("localhost");
    ASSERT_TRUE(RunMessagesUntil([&] { return !done.empty(); }, 10000));
    EXPECT_EQ(done.front(), 0);
    EXPECT_EQ(s.socket.DnsResult(), "127.0.0.1");
    ASSERT_FALSE(s.socket.DnsResultList().empty());

    done.clear();
    s.socket.ReverseDnsLookup("127.0.0.1");
    ASSERT_TRUE(RunMessagesUntil([&] { return !done.empty(); }, 10000));
    EXPECT_EQ(done.front(), 0);
    EXPECT_FALSE(s.socket.DnsResult().empty());

    // Cancelled before the answer: the answer that may still come is not reported again.
    done.clear();
    s.socket.DnsLookup("localhost");
    s.socket.CancelLookup();
    RunMessagesUntil([] { return false; }, 300);
    EXPECT_EQ(done, std::vector<int>{10004});
    EXPECT_FALSE(s.socket.GetLocalHostName().empty());
}

TEST(AsyncSocketWin32, FreeLaterLetsTheOwnerDestroyTheSocketFromItsMessage)
{
    auto* owned = new Win32Socket;
    bool freed = false;
    owned->window.Attach(&owned->socket, [&] {
        delete owned;
        freed = true;
    });
    owned->socket.FreeLater();
    EXPECT_FALSE(freed);  // not before the current message is done
    EXPECT_TRUE(RunMessagesUntil([&] { return freed; }, 5000));
}

TEST(AsyncSocketWin32, TheTestMessageGoesToTheBackgroundExceptionHandler)
{
    Win32Socket s;
    std::string caught;
    s.socket.events.backgroundException = [&caught](const std::exception& e, bool&) {
        caught = e.what();
    };
    ::PostMessageW(s.window.Handle(), kMessageTestException, 0, 0);
    EXPECT_TRUE(RunMessagesUntil([&] { return !caught.empty(); }, 5000));
    EXPECT_EQ(caught, "Test exception in WSocket");
}

}  // namespace
