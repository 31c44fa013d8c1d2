#include <gtest/gtest.h>

#include "setup/media/net/async_socket.h"
#include "setup/media/net/tests/fake_socket_library.h"

namespace {

using namespace net;
using net::testing::FakeSocketLibrary;
using net::testing::FakeSocketWindow;
using TunnelLog = std::vector<std::string>;

std::string TunnelBytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (const int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

struct TunnelCase
{
    const char* name;
    const char* level;
    bool authenticate;
    std::vector<std::string> replies;  // the server's replies, one read event each
    std::string sent;                  // every byte the server received
    TunnelLog log;
    std::string password = "pw";
};

TEST(SocksTunnel, NegotiatesEachLevelAndShowsTheOwnerOnlyAStandingTunnel)
{
    const std::string ok5 = TunnelBytes({5, 0, 0, 1, 127, 0, 0, 1, 0x1F, 0x90});
    const std::string request5 = TunnelBytes({5, 1, 0, 3, 9}) + "127.0.0.9" + TunnelBytes({0, 80});
    const TunnelCase cases[] = {
        {"5 without authentication",
         "5",
         false,
         {TunnelBytes({5, 0}), ok5 + "first"},
         TunnelBytes({5, 1, 0}) + request5,
         {"socks connected", "connected 0", "data first"}},
        {"5 with user and password",
         "5",
         true,
         {TunnelBytes({5, 2}), TunnelBytes({1, 0}), ok5},
         TunnelBytes({5, 1, 2}) + TunnelBytes({1, 1, 'u', 2, 'p', 'w'}) + request5,
         {"socks connected", "auth start", "auth success", "connected 0"}},
        {"5 offered but not required",
         "5",
         true,
         {TunnelBytes({5, 0}), ok5},
         TunnelBytes({5, 1, 2}) + request5,
         {"socks connected", "auth not required", "connected 0"}},
        {"5 password refused",
         "5",
         true,
         {TunnelBytes({5, 2}), TunnelBytes({1, 1})},
         TunnelBytes({5, 1, 2}) + TunnelBytes({1, 1, 'u', 2, 'p', 'w'}),
         {"socks connected", "auth start", "socks error 20015 socks authentication failed",
          "connected 20015", "closed 20015"}},
        {"5 host unreachable",
         "5",
         false,
         {TunnelBytes({5, 0}), TunnelBytes({5, 4, 0, 1})},
         TunnelBytes({5, 1, 0}) + request5,
         {"socks connected", "socks error 20007 host unreachable", "connected 20007",
          "closed 20007"}},
        {"4",
         "4",
         false,
         {TunnelBytes({0, 90, 0, 0, 0, 0, 0, 0})},
         TunnelBytes({4, 1, 0, 80, 127, 0, 0, 9, 'u', 0}),
         {"socks connected", "connected 0"}},
        {"4A",
         "4A",
         false,
         {TunnelBytes({0, 91, 0, 0, 0, 0, 0, 0})},
         TunnelBytes({4, 1, 0, 80, 0, 0, 0, 1, 'u', 0}) + "127.0.0.9" + TunnelBytes({0}),
         {"socks connected", "socks error 20016 request rejected or failed", "connected 20016",
          "closed 20016"}},
        // A one-byte length cannot hold it: refused rather than sent wrapped.
        {"5 password of 256 characters",
         "5",
         true,
         {TunnelBytes({5, 2})},
         TunnelBytes({5, 1, 2}),
         {"socks connected", "socks error 20014 user or password longer than 255 characters",
          "connected 20014", "closed 20014"},
         std::string(256, 'p')},
    };
    for (const TunnelCase& c : cases) {
        FakeSocketLibrary library;
        FakeSocketWindow window;
        AsyncSocket socket(library, window);
        TunnelLog log;
        socket.events.socksConnected = [&](int) { log.push_back("socks connected"); };
        socket.events.sessionConnected = [&](int e) {
            log.push_back("connected " + std::to_string(e));
        };
        socket.events.sessionClosed = [&](int e) { log.push_back("closed " + std::to_string(e)); };
        socket.events.socksError = [&](int code, const std::string& text) {
            log.push_back("socks error " + std::to_string(code) + " " + text);
        };
        socket.events.socksAuthState = [&](SocksAuthState state) {
            static const char* const kNames[] = {"auth start", "auth success", "auth failure",
                                                 "auth not required"};
            log.push_back(kNames[static_cast<int>(state)]);
        };
        socket.events.dataAvailable = [&](int) {
            char buffer[64];
            const int n = socket.Receive(buffer, sizeof buffer);
            if (n > 0)
                log.push_back("data " + std::string(buffer, static_cast<std::size_t>(n)));
        };
        socket.SetSocksServer("127.0.0.2");
        socket.SetSocksPort("1080");
        socket.SetSocksLevel(c.level);
        socket.socksUsercode = "u";
        socket.socksPassword = c.password;
        socket.socksAuthenticate = c.authenticate;
        socket.SetAddr("127.0.0.9");
        socket.SetPort("80");
        socket.Connect();
        EXPECT_EQ(library.calls.back(), "connect 127.2:1080") << c.name;
        socket.HandleNetworkEvent(FakeSocketLibrary::kHandle, kEventConnect, 0);
        for (const std::string& reply : c.replies) {
            library.incoming += reply;
            socket.HandleNetworkEvent(FakeSocketLibrary::kHandle, kEventRead, 0);
        }
        EXPECT_EQ(library.wire, c.sent) << c.name;
        EXPECT_EQ(log, c.log) << c.name;
    }
}

TEST(SocksTunnel, SettingsChangeOnlyWhileClosedAndTheLevelIsOneOfThree)
{
    FakeSocketLibrary library;
    FakeSocketWindow window;
    AsyncSocket socket(library, window);
    TunnelLog log;
    socket.events.error = [&] { log.push_back(socket.LastErrorText()); };
    socket.SetSocksLevel(" 4a ");
    EXPECT_EQ(socket.SocksLevel(), "4A");
    socket.SetSocksLevel("6");
    EXPECT_EQ(socket.SocksLevel(), "4A");
    socket.SetSocksServer(" 127.0.0.2 ");
    socket.SetSocksPort("1080");
    socket.SetAddr("127.0.0.9");
    socket.SetPort("80");
    socket.Connect();
    socket.SetSocksServer("127.0.0.3");
    socket.SetSocksPort("1081");
    socket.SetSocksLevel("5");
    EXPECT_EQ(socket.SocksServer() + ":" + socket.SocksPort(), "127.0.0.2:1080");
    EXPECT_EQ(log, (TunnelLog{"Invalid socks level. Must be 4, 4A or 5.",
                              "Can't change socks server if not closed",
                              "Can't change socks port if not closed",
                              "Can't change socks level if not closed"}));
}

}  // namespace
