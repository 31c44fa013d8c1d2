// The HTTP client on real sockets under Wine against the project's origin peer
// (tests/peers/http_origin_peer.py), which CTest starts around this program and stops after it.
#include "setup/media/net/http_client_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

using namespace net;

std::string PeerUrl(const std::string& path)
{
    const char* port = std::getenv("NET_TEST_HTTP_PORT");
    return port == nullptr ? std::string() : "http://127.0.0.1:" + std::string(port) + path;
}

std::string PeerLog()
{
    const char* path = std::getenv("NET_TEST_HTTP_LOG");
    std::ifstream log(std::string("Z:") + (path == nullptr ? "" : path), std::ios::binary);
    return {std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
}

class HttpClientWin32Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (PeerUrl("").empty())
            GTEST_SKIP() << "runs under the origin peer (setup_media_net_peer_tests)";
    }

    std::string Fetch(const std::string& path, HttpRequestKind kind = HttpRequestKind::Get)
    {
        m_http.Client().settings.url = PeerUrl(path);
        m_http.RequestSync(kind, 30000);
        return m_http.Client().responseBody;
    }

    HttpClientWin32 m_http;
};

TEST_F(HttpClientWin32Test, FetchesAHundredKilobytesInPiecesInOrder)
{
    const std::string body = Fetch("/big");
    ASSERT_EQ(body.size(), 100u * 1024);
    bool ordered = true;
    for (std::size_t i = 0; i < body.size(); ++i)
        ordered = ordered && static_cast<unsigned char>(body[i]) == ((i * 31 + i / 997) & 0xFF);
    EXPECT_TRUE(ordered);
    EXPECT_EQ(m_http.Client().ResponseStatus(), 200);
    EXPECT_NE(PeerLog().find("GET /big HTTP/1.0\r\n"), std::string::npos);
}

TEST_F(HttpClientWin32Test, LooksTheHostNameUpOnTheWindowFirst)
{
    const std::string url = PeerUrl("/big");
    m_http.Client().settings.url = "http://localhost" + url.substr(url.rfind(':'));
    m_http.RequestSync(HttpRequestKind::Get, 30000);
    EXPECT_EQ(m_http.Client().responseBody.size(), 100u * 1024);
}

TEST_F(HttpClientWin32Test, ReusesTheConnectionAcrossChunkedAnswersWithTrailers)
{
    m_http.Client().settings.requestVer = "1.1";
    const std::string before = Fetch("/stats");
    EXPECT_EQ(Fetch("/chunked"), "firstsecond");
    EXPECT_EQ(Fetch("/chunked"), "firstsecond");
    const std::string after = Fetch("/stats");
    // All four requests went over the one connection the first opened.
    EXPECT_EQ(after, before);
}

TEST_F(HttpClientWin32Test, FollowsRelocationsAndStopsACircle)
{
    EXPECT_EQ(Fetch("/redirect").size(), 100u * 1024);
    EXPECT_EQ(m_http.Client().Relocations(), 1);
    try {
        Fetch("/loop");
        FAIL() << "a circle of relocations must end with an error status";
    } catch (const HttpException& e) {
        EXPECT_EQ(e.Code(), 404);
        EXPECT_STREQ(e.what(), kTooManyRelocations);
    }
}

TEST_F(HttpClientWin32Test, AnswersBasicAndReadsToTheClose)
{
    m_http.Client().settings.username = "u";
    m_http.Client().settings.password = "p";
    EXPECT_EQ(Fetch("/basic"), "welcome");
    EXPECT_EQ(Fetch("/close"), "to the close");
    EXPECT_EQ(Fetch("/big", HttpRequestKind::Head), "");
    EXPECT_EQ(m_http.Client().Response().length, 100 * 1024);
}

TEST_F(HttpClientWin32Test, MultiThreadedWaitsOnAnotherThreadWhileTheOwnerDrivesTheRequest)
{
    // The client lives on a thread of its own, whose message loop runs the request.
    HttpClientWin32* client = nullptr;
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD ownerId = 0;
    std::thread owner([&] {
        ownerId = ::GetCurrentThreadId();
        HttpClientWin32 http;
        client = &http;
        ::SetEvent(ready);
        MSG message;
        while (::GetMessageW(&message, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&message);
    });
    ::WaitForSingleObject(ready, INFINITE);
    ::CloseHandle(ready);
    client->multiThreaded = true;
    client->Client().settings.url = PeerUrl("/big");
    std::string error;
    try {
        client->RequestSync(HttpRequestKind::Get, 30000);
    } catch (const std::exception& e) {
        error = e.what();
    }
    const std::size_t size = client->Client().responseBody.size();
    ::PostThreadMessageW(ownerId, WM_QUIT, 0, 0);
    owner.join();
    EXPECT_EQ(error, "");
    EXPECT_EQ(size, 100u * 1024);
}

}  // namespace

namespace {

// The Debian peers in front of the origin: each test runs only when its peer was started.
std::string PortOf(const char* variable)
{
    const char* port = std::getenv(variable);
    return port == nullptr ? std::string() : port;
}

TEST_F(HttpClientWin32Test, FetchesThroughMicrosocksWithAPassword)
{
    const std::string port = PortOf("NET_TEST_SOCKS_PORT");
    if (port.empty())
        GTEST_SKIP() << "microsocks is not installed";
    HttpSettings& settings = m_http.Client().settings;
    settings.socksServer = "127.0.0.1";
    settings.socksPort = port;
    settings.socksUsercode = "su";
    settings.socksPassword = "sp";
    settings.socksAuthenticate = true;
    EXPECT_EQ(Fetch("/big").size(), 100u * 1024);
    settings.socksPassword = "wrong";
    EXPECT_THROW(Fetch("/big"), HttpException);  // the tunnel never stands: a local 404
    EXPECT_EQ(m_http.Client().ResponseStatus(), 404);
}

TEST_F(HttpClientWin32Test, AnswersTinyproxysBasicChallenge)
{
    const std::string port = PortOf("NET_TEST_PROXY_PORT");
    if (port.empty())
        GTEST_SKIP() << "tinyproxy is not installed";
    HttpSettings& settings = m_http.Client().settings;
    settings.proxy = "127.0.0.1";
    settings.proxyPort = port;
    m_http.Client().settings.url = PeerUrl("/big");
    m_http.RequestSync(HttpRequestKind::Get, 30000);
    EXPECT_EQ(m_http.Client().ResponseStatus(), 407);  // no credentials: the challenge stands
    settings.proxyUsername = "pu";
    settings.proxyPassword = "pp";
    EXPECT_EQ(Fetch("/big").size(), 100u * 1024);
    EXPECT_EQ(m_http.Client().ResponseStatus(), 200);
}

}  // namespace

namespace {

TEST_F(HttpClientWin32Test, CompletesNtlmWithAPeerThatChecksTheResponse)
{
    HttpSettings& settings = m_http.Client().settings;
    settings.username = "User";
    settings.password = "Password";
    EXPECT_EQ(Fetch("/ntlm"), "ntlm ok");
    settings.password = "wrong";
    m_http.Client().settings.url = PeerUrl("/ntlm");
    m_http.RequestSync(HttpRequestKind::Get, 30000);
    EXPECT_EQ(m_http.Client().ResponseStatus(), 401);  // the refusal of message 3 stands
}

}  // namespace

namespace {

TEST_F(HttpClientWin32Test, WorksWithNginxRangesKeepAliveBasicAndRedirects)
{
    const std::string port = PortOf("NET_TEST_NGINX_PORT");
    if (port.empty())
        GTEST_SKIP() << "nginx is not installed";
    HttpClient& client = m_http.Client();
    const std::string origin = "http://127.0.0.1:" + port;
    const auto get = [&](const std::string& path) {
        client.settings.url = origin + path;
        m_http.RequestSync(HttpRequestKind::Get, 30000);
        return client.responseBody;
    };
    client.settings.requestVer = "1.1";
    client.settings.rangeBegin = "100";
    EXPECT_EQ(get("/big.bin").size(), 100u * 1024 - 100);
    EXPECT_EQ(client.ResponseStatus(), 206);
    EXPECT_EQ(client.Response().contentRangeBegin, "100");
    const SocketHandle kept = client.Socket().Handle();
    EXPECT_EQ(get("/big.bin").size(), 100u * 1024);  // the range was used once
    EXPECT_EQ(client.Socket().Handle(), kept);
    EXPECT_EQ(client.Socket().State(), SocketState::Connected);

    get("/secret/");
    EXPECT_EQ(client.ResponseStatus(), 401);  // no credentials: the challenge stands
    client.settings.username = "nu";
    client.settings.password = "np";
    EXPECT_EQ(get("/secret/"), "behind basic");

    EXPECT_EQ(get("/moved").size(), 100u * 1024);
    EXPECT_EQ(client.Relocations(), 1);
    EXPECT_EQ(client.NewLocation(), origin + "/big.bin");
}

}  // namespace
