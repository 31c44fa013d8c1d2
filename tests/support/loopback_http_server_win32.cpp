#include "tests/support/loopback_http_server_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>

namespace testsupport {
namespace {

class WinsockStarted
{
public:
    WinsockStarted()
    {
        WSADATA data;
        m_ok = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockStarted()
    {
        if (m_ok)
            ::WSACleanup();
    }

private:
    bool m_ok = false;
};

SOCKET BoundLoopbackSocket(std::uint16_t& port)
{
    static WinsockStarted winsock;
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof(address);
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return s;
}

const char* ReasonOf(int status)
{
    switch (status) {
        case 200:
            return "OK";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(std::vector<HttpRoute> routes, unsigned lifetimeMs)
    : m_routes(std::move(routes)), m_listener(INVALID_SOCKET), m_answered(m_routes.size(), 0)
{
    std::uint16_t port = 0;
    SOCKET listener = BoundLoopbackSocket(port);
    if (listener == INVALID_SOCKET)
        return;
    if (::listen(listener, 8) != 0) {
        ::closesocket(listener);
        return;
    }
    m_listener = listener;
    m_port = port;
    m_thread = std::thread([this, lifetimeMs] { Serve(lifetimeMs); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener != INVALID_SOCKET)
        ::closesocket(m_listener);
}

std::string LoopbackHttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::wstring LoopbackHttpServer::WideUrl(const std::string& path) const
{
    const std::string url = Url(path);
    return std::wstring(url.begin(), url.end());
}

std::vector<std::string> LoopbackHttpServer::Requests() const
{
    std::lock_guard guard(m_lock);
    return m_requests;
}

std::uint16_t LoopbackHttpServer::ClosedPort()
{
    std::uint16_t port = 0;
    SOCKET s = BoundLoopbackSocket(port);
    if (s != INVALID_SOCKET)
        ::closesocket(s);
    return port;
}

void LoopbackHttpServer::Serve(unsigned lifetimeMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(lifetimeMs);
    while (!m_stop && std::chrono::steady_clock::now() < end) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(static_cast<SOCKET>(m_listener), &readable);
        timeval wait = {0, 100000};
        if (::select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET client = ::accept(static_cast<SOCKET>(m_listener), nullptr, nullptr);
        if (client != INVALID_SOCKET)
            Answer(client);
    }
}

void LoopbackHttpServer::Answer(std::uintptr_t clientSocket)
{
    const SOCKET client = static_cast<SOCKET>(clientSocket);
    DWORD receiveTimeout = 5000;
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&receiveTimeout),
                 sizeof(receiveTimeout));
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const int got = ::recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0)
            break;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    const std::string line = request.substr(0, request.find("\r\n"));
    {
        std::lock_guard guard(m_lock);
        m_requests.push_back(line);
    }
    std::string target;
    if (const std::size_t space = line.find(' '); space != std::string::npos)
        target = line.substr(space + 1, line.find(' ', space + 1) - space - 1);
    const std::string path = target.substr(0, target.find('?'));

    HttpRoute answer{path, 404, "not found", 0};
    bool cut = false;
    for (std::size_t i = 0; i < m_routes.size(); ++i) {
        if (m_routes[i].path != path)
            continue;
        if (m_routes[i].answers && m_answered[i] >= m_routes[i].answers) {
            // Longer than any client here waits; a connection closed at once would read as an
            // empty answer.
            ::Sleep(2000);
            ::closesocket(client);
            return;
        }
        ++m_answered[i];
        answer = m_routes[i];
        cut = m_answered[i] <= answer.cutFirst;
    }
    if (answer.delayMs)
        ::Sleep(answer.delayMs);
    std::string response =
        "HTTP/1.1 " + std::to_string(answer.status) + " " + ReasonOf(answer.status) +
        "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
        std::to_string(answer.body.size()) + "\r\nConnection: close\r\n\r\n" + answer.body;
    std::size_t sent = 0;
    const std::size_t headerBytes = response.size() - answer.body.size();
    if (cut)
        response.resize(headerBytes + answer.body.size() / 2);
    while (sent < response.size()) {
        const std::size_t piece = std::min<std::size_t>(response.size() - sent, 65536);
        const int put = ::send(client, response.data() + sent, static_cast<int>(piece), 0);
        if (put <= 0)
            break;
        sent += static_cast<std::size_t>(put);
        if (answer.pieceDelayMs && sent > headerBytes && sent < response.size())
            ::Sleep(answer.pieceDelayMs);
    }
    ::shutdown(client, SD_SEND);
    ::closesocket(client);
}

}  // namespace testsupport
