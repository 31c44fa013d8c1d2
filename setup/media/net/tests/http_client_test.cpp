#include "setup/media/net/http_client.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "setup/media/net/base64.h"
#include "setup/media/net/tests/scripted_http_peer.h"

namespace {

using namespace net;
using net::testing::ScriptedHttpPeer;
using net::testing::ScriptedResponse;

const ScriptedResponse kOk = {"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok"};

bool Has(const std::string& request, const std::string& line)
{
    return request.find("\r\n" + line + "\r\n") != std::string::npos;
}

TEST(HttpClient, WritesTheRequestForTheProxyAndClearsTheRangeAfterUse)
{
    ScriptedHttpPeer peer;
    peer.client.settings.url = "http://example.org:8080/dir/f.zip";
    peer.client.settings.proxy = "127.0.0.1";
    peer.client.settings.proxyPort = "3128";
    peer.client.settings.rangeBegin = "2048";
    peer.responses = {kOk, kOk};
    peer.client.RequestAsync(HttpRequestKind::Get);
    peer.Run();
    peer.client.RequestAsync(HttpRequestKind::Get);
    peer.Run();
    ASSERT_EQ(peer.requests.size(), 2u);
    EXPECT_EQ(peer.requests[0],
              "GET http://example.org:8080/dir/f.zip HTTP/1.0\r\n"
              "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
              "User-Agent: Mozilla/4.0 (compatible; ICS)\r\n"
              "Host: example.org:8080\r\n"
              "Range: bytes=2048-\r\n\r\n");
    EXPECT_EQ(peer.requests[1].find("Range:"), std::string::npos);
    EXPECT_NE(std::find(peer.library.calls.begin(), peer.library.calls.end(), "connect 127.1:3128"),
              peer.library.calls.end());
    EXPECT_EQ(peer.client.responseBody, "ok");
    EXPECT_EQ(peer.log, (std::vector<std::string>{"done 0", "done 0"}));
}

TEST(HttpClient, HandsBytesNoRequestWaitsForToTheDataPushEvent)
{
    ScriptedHttpPeer peer;
    peer.client.settings.requestVer = "1.1";
    peer.client.settings.url = "http://127.0.0.1:81/a";
    peer.responses = {{"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"}};
    std::string pushed;
    peer.client.onDataPush = [&pushed](std::string_view bytes) { pushed += bytes; };
    peer.client.RequestAsync(HttpRequestKind::Get);
    peer.Run();
    ASSERT_EQ(peer.client.State(), HttpState::Ready);
    ASSERT_EQ(peer.client.Socket().State(), SocketState::Connected);  // kept alive
    peer.library.incoming = "unasked";
    peer.client.Socket().HandleNetworkEvent(peer.client.Socket().Handle(), kEventRead, 0);
    EXPECT_EQ(pushed, "unasked");
    EXPECT_EQ(peer.client.responseBody, "ok");
}

TEST(HttpClient, ReusesAKeptAliveConnectionOnlyForTheSameHostAndPort)
{
    ScriptedHttpPeer peer;
    peer.client.settings.requestVer = "1.1";
    const ScriptedResponse chunked = {
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
        "3;x=1\r\nabc\r\n0\r\nX-Trailer: 1\r\n\r\n"};
    const ScriptedResponse length = {"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\ndef"};
    peer.responses = {chunked, length, length};
    const char* urls[] = {"http://127.0.0.1:81/a", "http://127.0.0.1:81/b",
                          "http://127.0.0.1:82/c"};
    const int expectedConnections[] = {1, 1, 2};
    const char* expectedBodies[] = {"abc", "def", "def"};
    for (int i = 0; i < 3; ++i) {
        peer.client.settings.url = urls[i];
        peer.client.RequestAsync(HttpRequestKind::Get);
        peer.Run();
        EXPECT_EQ(peer.Connections(), expectedConnections[i]) << urls[i];
        EXPECT_EQ(peer.client.ResponseStatus(), 200) << urls[i];
        EXPECT_EQ(peer.client.responseBody, expectedBodies[i]) << urls[i];
    }
}

TEST(HttpClient, EndsLocalFailuresAsStatuses)
{
    const struct
    {
        const char* url;
        int connectError;
        int status;
        const char* reason;
        int connections;
    } cases[] = {
        {"https://127.0.0.1/x", kWsaWouldBlock, 501, "Protocol \"https\" not implemented", 0},
        {"http://nowhere.invalid/x", kWsaWouldBlock, 404, "can't resolve hostname to IP address",
         0},
        {"https://nowhere.invalid/x", kWsaWouldBlock, 404, "can't resolve hostname to IP address",
         0},
        {"http://:80/x", kWsaWouldBlock, 404, "can't resolve hostname to IP address", 0},
        {"http://127.0.0.1:9/x", 10049, 404,
         "can't connect: Error 10049 in function Connect\r\nAddress not available (Error #10049)",
         1},
    };
    for (const auto& c : cases) {
        ScriptedHttpPeer peer;
        peer.library.connectError = c.connectError;
        peer.client.settings.url = c.url;
        peer.client.RequestAsync(HttpRequestKind::Get);
        peer.Run();
        EXPECT_EQ(peer.client.ResponseStatus(), c.status) << c.url;
        EXPECT_EQ(peer.client.ResponseReason(), c.reason) << c.url;
        EXPECT_EQ(peer.Connections(), c.connections) << c.url;
        EXPECT_EQ(peer.log.size(), 1u) << c.url;
    }
}

TEST(HttpClient, LooksTheHostUpOnTheWindowBeforeConnectingAndAbortsDuringTheLookup)
{
    ScriptedHttpPeer peer;
    std::vector<HttpState> states;
    peer.client.onStateChange = [&states](HttpState state) { states.push_back(state); };
    peer.client.settings.url = "http://localhost:8080/a";
    peer.responses = {kOk};
    peer.client.RequestAsync(HttpRequestKind::Get);
    EXPECT_EQ(peer.client.State(), HttpState::DnsLookup);  // the answer comes from the loop
    EXPECT_EQ(peer.Connections(), 0);
    peer.Run();
    EXPECT_NE(std::find(peer.library.calls.begin(), peer.library.calls.end(), "connect 127.1:8080"),
              peer.library.calls.end());
    ASSERT_EQ(peer.requests.size(), 1u);
    EXPECT_TRUE(Has(peer.requests[0], "Host: localhost:8080"));
    EXPECT_EQ(peer.client.responseBody, "ok");
    EXPECT_EQ(std::vector<HttpState>(states.begin(), states.begin() + 4),
              (std::vector<HttpState>{HttpState::NotConnected, HttpState::DnsLookup,
                                      HttpState::DnsLookupDone, HttpState::Connected}));

    ScriptedHttpPeer aborted;
    aborted.client.settings.url = "http://localhost:8081/a";
    aborted.client.RequestAsync(HttpRequestKind::Get);
    aborted.client.AbortRequest();
    aborted.Run();  // the late answer starts nothing
    EXPECT_EQ(aborted.Connections(), 0);
    EXPECT_EQ(aborted.client.ResponseStatus(), 404);
    EXPECT_EQ(aborted.client.ResponseReason(), "Connection aborted on request");
    EXPECT_EQ(aborted.log, std::vector<std::string>{"done 3"});
}

TEST(HttpClient, HeadNeverDeliversABodyAndBusyIsRefused)
{
    ScriptedHttpPeer peer;
    peer.client.settings.url = "http://127.0.0.1/f.zip";
    peer.responses = {{"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello"}};
    peer.client.RequestAsync(HttpRequestKind::Head);
    try {
        peer.client.RequestAsync(HttpRequestKind::Get);
        FAIL() << "a second request while one runs must be refused";
    } catch (const HttpException& e) {
        EXPECT_EQ(e.Code(), 1);
    }
    peer.Run();
    EXPECT_EQ(peer.client.ResponseStatus(), 200);
    EXPECT_EQ(peer.client.Response().length, 5);
    EXPECT_EQ(peer.client.responseBody, "");
    EXPECT_EQ(peer.requests[0].substr(0, 22), "HEAD /f.zip HTTP/1.0\r\n");
}

TEST(HttpClient, AnswersBasicChallengesOnceForServerAndProxy)
{
    const ScriptedResponse serverChallenge = {
        "HTTP/1.0 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"r\"\r\n"
        "Content-Length: 6\r\n\r\ndenied"};
    const ScriptedResponse proxyChallenge = {
        "HTTP/1.0 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"p\"\r\n"
        "Content-Length: 0\r\n\r\n"};
    const struct
    {
        const char* name;
        bool proxy;
        std::deque<ScriptedResponse> responses;
        const char* line;
        int status;
        std::size_t requests;
    } cases[] = {
        {"server accepts", false, {serverChallenge, kOk}, "Authorization: Basic dTpw", 200, 2},
        {"server refuses twice",
         false,
         {serverChallenge, serverChallenge},
         "Authorization: Basic dTpw",
         401,
         2},
        {"proxy accepts",
         true,
         {proxyChallenge, kOk},
         "Proxy-Authorization: Basic cHU6cHA=",
         200,
         2},
    };
    for (const auto& c : cases) {
        ScriptedHttpPeer peer;
        peer.client.settings.url = "http://u:p@127.0.0.1/f";
        if (c.proxy) {
            peer.client.settings.proxy = "127.0.0.1";
            peer.client.settings.proxyUsername = "pu";
            peer.client.settings.proxyPassword = "pp";
        }
        peer.responses = c.responses;
        peer.client.RequestAsync(HttpRequestKind::Get);
        peer.Run();
        ASSERT_EQ(peer.requests.size(), c.requests) << c.name;
        EXPECT_EQ(peer.requests[0].find("Authorization"), std::string::npos) << c.name;
        EXPECT_TRUE(Has(peer.requests[1], c.line)) << c.name << "\n" << peer.requests[1];
        EXPECT_EQ(peer.client.ResponseStatus(), c.status) << c.name;
        // The body of the refused answer does not stay in front of the final one.
        if (c.status == 200) {
            EXPECT_EQ(peer.client.responseBody, "ok") << c.name;
        }
        EXPECT_EQ(peer.log.size(), 1u) << c.name;
    }
}

std::string ChallengeMessage(const NtlmChallengeBytes& challenge)
{
    std::string message(48, '\0');
    message.replace(0, 9, std::string("NTLMSSP\0\x02", 9));
    for (int i = 0; i < 8; ++i)
        message[24 + i] = static_cast<char>(challenge[i]);
    return EncodeBase64(message);
}

TEST(HttpClient, CompletesTheNtlmHandshakeWithAResponseTheServerCanCheck)
{
    const NtlmChallengeBytes challenge = {1, 2, 3, 4, 5, 6, 7, 8};
    ScriptedHttpPeer peer;
    peer.client.settings.url = "http://127.0.0.1/secret";
    peer.client.settings.username = "User";
    peer.client.settings.password = "Password";
    peer.client.settings.localHostName = "WS";
    peer.responses = {
        {"HTTP/1.0 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"r\"\r\n"
         "WWW-Authenticate: NTLM\r\nContent-Length: 0\r\n\r\n",
         true},
        {"HTTP/1.0 401 Unauthorized\r\nConnection: keep-alive\r\nWWW-Authenticate: NTLM " +
         ChallengeMessage(challenge) + "\r\nContent-Length: 0\r\n\r\n"},
        kOk};
    peer.client.RequestAsync(HttpRequestKind::Get);
    peer.Run();
    ASSERT_EQ(peer.requests.size(), 3u);
    EXPECT_TRUE(Has(peer.requests[1], "Authorization: NTLM " + BuildNtlmNegotiate("", "")));
    EXPECT_TRUE(Has(peer.requests[1], "Connection: Keep-alive"));
    const std::size_t at = peer.requests[2].find("Authorization: NTLM ");
    ASSERT_NE(at, std::string::npos);
    const std::string encoded =
        peer.requests[2].substr(at + 20, peer.requests[2].find("\r\n", at) - at - 20);
    const std::string message = DecodeBase64(encoded);
    ASSERT_GE(message.size(), 64u);
    const auto field = [&message](std::size_t at) {
        const auto length = static_cast<std::uint8_t>(message[at]);
        const auto offset = static_cast<std::uint8_t>(message[at + 4]);
        return message.substr(offset, length);
    };
    EXPECT_EQ(field(20), NtlmNtResponse("Password", challenge));
    EXPECT_EQ(field(36), std::string("U\0s\0e\0r\0", 8));
    EXPECT_EQ(field(44), std::string("W\0S\0", 4));
    EXPECT_EQ(peer.client.ResponseStatus(), 200);
    EXPECT_EQ(peer.Connections(), 2);  // the first answer closed; the handshake kept its own
}

TEST(HttpClient, FollowsEveryFormOfRelocation)
{
    const struct
    {
        const char* name;
        const char* url;
        const char* proxy;
        const char* location;
        const char* secondLine;
        int connections;
    } cases[] = {
        {"absolute path", "http://127.0.0.1/a/b.htm", "", "/c/d.zip", "GET /c/d.zip HTTP/1.0", 2},
        {"bare name drops the query", "http://127.0.0.1/a/b.cgi?x=1", "", "d.zip",
         "GET /a/d.zip HTTP/1.0", 2},
        {"full URL, other port", "http://127.0.0.1/a", "", "http://127.0.0.1:8081/z#frag",
         "GET /z HTTP/1.0", 2},
        {"through the proxy", "http://10.9.9.9/a/b", "127.0.0.1", "/c",
         "GET http://10.9.9.9/c HTTP/1.0", 2},
        {"bare name through the proxy", "http://10.9.9.9/a/b?q", "127.0.0.1", "n.zip",
         "GET http://10.9.9.9/a/n.zip HTTP/1.0", 2},
    };
    for (const auto& c : cases) {
        ScriptedHttpPeer peer;
        peer.client.settings.url = c.url;
        peer.client.settings.proxy = c.proxy;
        peer.responses = {
            {std::string("HTTP/1.0 302 Found\r\nLocation: ") + c.location + "\r\n\r\n"}, kOk};
        int changes = 0;
        peer.client.onLocationChange = [&changes] { ++changes; };
        peer.client.RequestAsync(HttpRequestKind::Get);
        peer.Run();
        ASSERT_EQ(peer.requests.size(), 2u) << c.name;
        EXPECT_EQ(peer.requests[1].substr(0, peer.requests[1].find("\r\n")), c.secondLine)
            << c.name;
        EXPECT_EQ(peer.Connections(), c.connections) << c.name;
        EXPECT_EQ(changes, 1) << c.name;
        EXPECT_EQ(peer.client.ResponseStatus(), 200) << c.name;
        EXPECT_EQ(peer.log.size(), 1u) << c.name;
    }
}

TEST(HttpClient, StopsACircleOfRelocations)
{
    ScriptedHttpPeer peer;
    peer.client.settings.url = "http://127.0.0.1/loop";
    peer.client.settings.requestVer = "1.1";
    for (int i = 0; i < 40; ++i)
        peer.responses.push_back(
            {"HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\n\r\n"});
    peer.client.RequestAsync(HttpRequestKind::Get);
    peer.Run();
    EXPECT_EQ(peer.requests.size(), static_cast<std::size_t>(kMaxRelocations + 1));
    EXPECT_EQ(peer.client.ResponseStatus(), 404);
    EXPECT_EQ(peer.client.ResponseReason(), kTooManyRelocations);
    EXPECT_EQ(peer.Connections(), 1);  // same host, kept alive
    EXPECT_EQ(peer.log.size(), 1u);
}

TEST(HttpClient, RelocationTurnsPostIntoGetAndKeepsCredentialsOnTheirHost)
{
    const struct
    {
        const char* location;
        const char* user;
    } cases[] = {{"/same-host", "u"},
                 {"http://127.0.0.2/other-host", ""},
                 {"http://v:w@127.0.0.2/own", "v"}};
    for (const auto& c : cases) {
        ScriptedHttpPeer peer;
        peer.client.settings.url = "http://u:p@127.0.0.1/form";
        peer.client.requestBody = "a=1";
        peer.responses = {
            {std::string("HTTP/1.0 302 Found\r\nLocation: ") + c.location + "\r\n\r\n"}, kOk};
        peer.client.RequestAsync(HttpRequestKind::Post);
        peer.Run();
        ASSERT_EQ(peer.requests.size(), 2u) << c.location;
        EXPECT_EQ(peer.requests[0].substr(0, 5), "POST ");
        EXPECT_TRUE(peer.requests[0].ends_with("\r\n\r\na=1"));
        EXPECT_EQ(peer.requests[1].substr(0, 4), "GET ") << c.location;
        EXPECT_EQ(peer.client.settings.username, c.user) << c.location;
    }
}

}  // namespace

namespace {

TEST(HttpClient, AnswersAProxysNtlmChallengeWithTheProxyCredentials)
{
    const NtlmChallengeBytes challenge = {8, 7, 6, 5, 4, 3, 2, 1};
    ScriptedHttpPeer peer;
    peer.client.settings.url = "http://10.1.1.1/f";
    peer.client.settings.proxy = "127.0.0.1";
    peer.client.settings.proxyUsername = "pu";
    peer.client.settings.proxyPassword = "pp";
    peer.responses = {
        {"HTTP/1.0 407 Proxy Authentication Required\r\nProxy-Authenticate: NTLM\r\n"
         "Proxy-Connection: keep-alive\r\nContent-Length: 0\r\n\r\n"},
        {"HTTP/1.0 407 Proxy Authentication Required\r\nProxy-Connection: keep-alive\r\n"
         "Proxy-Authenticate: NTLM " +
         ChallengeMessage(challenge) + "\r\nContent-Length: 0\r\n\r\n"},
        kOk};
    peer.client.RequestAsync(HttpRequestKind::Get);
    peer.Run();
    ASSERT_EQ(peer.requests.size(), 3u);
    EXPECT_TRUE(Has(peer.requests[1], "Proxy-Connection: Keep-alive"));
    EXPECT_TRUE(Has(peer.requests[1], "Proxy-Authorization: NTLM " + BuildNtlmNegotiate("", "")));
    EXPECT_TRUE(Has(peer.requests[2], "Proxy-Authorization: NTLM " +
                                          BuildNtlmResponse("", "", "pu", "pp", challenge)));
    EXPECT_EQ(peer.requests[2].find("\r\nAuthorization:"), std::string::npos);
    EXPECT_EQ(peer.client.ResponseStatus(), 200);
    EXPECT_EQ(peer.Connections(), 1);
}

TEST(HttpClient, AbortEndsARunningRequestAsALocalFailure)
{
    ScriptedHttpPeer peer;
    peer.client.settings.url = "http://127.0.0.1/slow";
    peer.client.RequestAsync(HttpRequestKind::Get);
    peer.client.AbortRequest();
    peer.Run();
    EXPECT_EQ(peer.client.ResponseStatus(), 404);
    EXPECT_EQ(peer.client.ResponseReason(), "Connection aborted on request");
    EXPECT_EQ(peer.client.RequestError(), 3);
    EXPECT_EQ(peer.client.State(), HttpState::Ready);
    EXPECT_EQ(peer.log, std::vector<std::string>{"done 3"});
    EXPECT_TRUE(peer.requests.empty());
}

TEST(HttpClient, StreamsAPostBodyInBlocksAfterTheHeaderItsHandlersShaped)
{
    ScriptedHttpPeer peer;
    peer.client.settings.url = "http://127.0.0.1/upload";
    peer.client.settings.modifiedSince = HttpDate{2007, 3, 4, 5, 6, 7, 6};
    std::string body(20000, '\0');
    for (std::size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>('a' + i % 23 + i / 8193);  // each block differs
    peer.client.requestBody = body;
    // The library takes the second block in two goes.
    peer.library.sendPlan = {0x7FFFFFFF, 8193, 5000};
    std::vector<std::string> events;
    peer.client.onRequestHeaderBegin = [&] { events.push_back("header begin"); };
    peer.client.onCommand = [](std::string& line) {
        if (line.starts_with("User-Agent: "))
            line = "User-Agent: test";
    };
    peer.client.onBeforeHeaderSend = [&](const std::string& method,
                                         std::vector<std::string>& lines) {
        events.push_back("before " + method);
        lines.push_back("X-Extra: 1");
    };
    peer.client.onRequestHeaderEnd = [&] { events.push_back("header end"); };
    peer.client.onSendBegin = [&] { events.push_back("send begin"); };
    peer.client.onSendData = [&](std::string_view block) {
        events.push_back("block " + std::to_string(block.size()));
    };
    peer.client.onSendEnd = [&] { events.push_back("send end"); };
    peer.responses = {kOk};
    peer.client.RequestAsync(HttpRequestKind::Post);
    peer.Run();

    ASSERT_EQ(peer.requests.size(), 1u);
    const std::string& request = peer.requests[0];
    const std::size_t headerEnd = request.find("\r\n\r\n");
    ASSERT_NE(headerEnd, std::string::npos);
    const std::string header = request.substr(0, headerEnd + 4);
    EXPECT_TRUE(Has(header, "User-Agent: test"));
    EXPECT_TRUE(Has(header, "If-Modified-Since: Sun, 04 Mar 2007 05:06:07 GMT"));
    EXPECT_TRUE(Has(header, "Content-Length: 20000"));
    EXPECT_TRUE(header.ends_with("X-Extra: 1\r\n\r\n"));
    EXPECT_TRUE(request.substr(headerEnd + 4) == body);
    EXPECT_EQ(events,
              (std::vector<std::string>{"header begin", "before POST", "header end", "send begin",
                                        "block 8193", "block 8193", "block 3614", "send end"}));
    EXPECT_EQ(peer.client.ResponseStatus(), 200);
}

TEST(HttpClient, ReportsTheRequestsStepsThroughItsEvents)
{
    ScriptedHttpPeer peer;
    peer.client.settings.url = "http://127.0.0.1/a";
    std::vector<std::string> events;
    const auto note = [&](std::string text) { return [&events, text] { events.push_back(text); }; };
    peer.client.onStateChange = [&](HttpState state) {
        events.push_back("state " + std::to_string(static_cast<int>(state)));
    };
    peer.client.onSessionConnected = [&](int e) {
        events.push_back("connected " + std::to_string(e));
    };
    peer.client.onSessionClosed = [&](int e) { events.push_back("closed " + std::to_string(e)); };
    peer.client.onHeaderBegin = note("header begin");
    peer.client.onHeaderData = [&](std::string_view line) { events.push_back(std::string(line)); };
    peer.client.onHeaderEnd = note("header end");
    peer.client.onDocBegin = note("doc begin");
    peer.client.onDocEnd = note("doc end");
    peer.client.onCookie = [&](std::string_view value, bool&) {
        events.push_back("cookie " + std::string(value));
    };
    peer.responses = {
        {"HTTP/1.0 200 OK\r\nSet-Cookie:  id=7\r\nContent-Length: 2\r\n\r\nok", true}};
    peer.client.RequestAsync(HttpRequestKind::Get);
    peer.Run();
    // Ready 0, NotConnected 1, DnsLookup 3, DnsLookupDone 4, Connected 2, WaitingHeader 5,
    // WaitingBody 6, BodyReceived 7.
    EXPECT_EQ(events, (std::vector<std::string>{
                          "state 1", "state 3", "state 4", "state 2", "connected 0", "state 5",
                          "header begin", "HTTP/1.0 200 OK", "cookie id=7", "Set-Cookie:  id=7",
                          "Content-Length: 2", "header end", "state 6", "doc begin", "state 7",
                          "doc end", "closed 0", "state 0"}));
}

}  // namespace
