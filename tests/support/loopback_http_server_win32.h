// A small HTTP server on 127.0.0.1 for tests and the demo: a free port, fixed answers by path, a
// record of the request lines it was sent. It stops when destroyed, or by itself after its
// lifetime.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct HttpRoute
{
    std::string path;  // matched without the query
    int status = 200;
    std::string body;
    unsigned delayMs = 0;       // before the answer is sent
    unsigned pieceDelayMs = 0;  // between the body's 64 KiB pieces: a slow download
    unsigned answers = 0;       // after this many, requests wait 2 s and get no answer; 0: no end
    unsigned cutFirst = 0;      // the first this many answers close after half the body
};

class LoopbackHttpServer
{
public:
    explicit LoopbackHttpServer(std::vector<HttpRoute> routes, unsigned lifetimeMs = 120000);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    bool Started() const { return m_port != 0; }
    std::uint16_t Port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string Url(const std::string& path) const;
    std::wstring WideUrl(const std::string& path) const;
    // The request lines received so far, such as "GET /update?productid=1 HTTP/1.1".
    std::vector<std::string> Requests() const;

    // A port on 127.0.0.1 that nothing listens on (bound, then released).
    static std::uint16_t ClosedPort();

private:
    void Serve(unsigned lifetimeMs);
    void Answer(std::uintptr_t client);

    std::vector<HttpRoute> m_routes;
    std::uintptr_t m_listener;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;
    std::vector<std::string> m_requests;
    std::vector<unsigned> m_answered;  // per route
    std::thread m_thread;
};

}  // namespace testsupport
