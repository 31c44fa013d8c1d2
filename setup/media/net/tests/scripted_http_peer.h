// Drives an HttpClient over the fake sockets library: a queue stands for the message loop, and a
// scripted peer answers each complete request on the wire with its next response, keeping the
// exact request bytes and counting connections.
#pragma once

#include <deque>
#include <string>
#include <variant>
#include <vector>

#include "setup/media/net/http_client.h"
#include "setup/media/net/tests/fake_socket_library.h"

namespace net::testing {

struct ScriptedResponse
{
    std::string bytes;
    bool closeAfter = false;  // the peer closes the connection after sending it
};

class ScriptedHttpPeer : public ISocketWindow, public IHttpMessagePoster
{
public:
    FakeSocketLibrary library;
    HttpClient client{library, *this, *this};
    std::deque<ScriptedResponse> responses;
    std::vector<std::string> requests;  // exact bytes, in order
    std::vector<std::string> log;       // "done <error>" per finished request

    ScriptedHttpPeer()
    {
        library.connectError = kWsaWouldBlock;
        client.onRequestDone = [this](HttpRequestKind, int error) {
            log.push_back("done " + std::to_string(error));
        };
    }

    int Connections() const
    {
        int count = 0;
        for (const std::string& call : library.calls)
            count += call == "socket";
        return count;
    }

    // Runs the loop until nothing is left to do.
    void Run()
    {
        for (int guard = 0; guard < 100000; ++guard) {
            if (client.Socket().State() == SocketState::Connecting && !m_connectQueued) {
                m_connectQueued = true;
                m_queue.push_back(Event{client.Socket().Handle(), kEventConnect});
            }
            if (client.Socket().State() != SocketState::Connecting)
                m_connectQueued = false;
            AnswerCompleteRequests();
            if (m_queue.empty())
                return;
            const Item item = m_queue.front();
            m_queue.pop_front();
            if (const auto* event = std::get_if<Event>(&item))
                client.Socket().HandleNetworkEvent(event->handle, event->bits, 0);
            else if (std::holds_alternative<CloseLater>(item))
                client.Socket().HandleCloseMessage();
            else if (const auto* lookup = std::get_if<Lookup>(&item))
                Answer(*lookup);
            else
                client.HandleMessage(std::get<HttpMessage>(item));
        }
        throw std::runtime_error("the client never came to rest");
    }

    int SelectEvents(SocketHandle, int) override { return 0; }
    void PostNetworkEvent(SocketHandle s, int bits, int) override
    {
        m_queue.push_back(Event{s, bits});
    }
    void PostClose() override { m_queue.push_back(CloseLater{}); }
    void PostLineRescan() override {}  // the client never uses line mode
    // Every name is 127.0.0.1 but those starting with "nowhere", answered from the loop.
    LookupHandle StartHostLookup(const std::string& host, int& error) override
    {
        error = 0;
        m_queue.push_back(Lookup{++m_lastLookup, host});
        return m_lastLookup;
    }
    LookupHandle StartReverseLookup(std::uint32_t, int& error) override { return error = 1, 0; }
    int CancelLookup(LookupHandle) override { return 0; }
    // The client needs no frees and no flush.
    void PostFree() override {}
    std::uint64_t TickCount() override { return 0; }
    void Post(HttpMessage message) override { m_queue.push_back(message); }

private:
    struct Event
    {
        SocketHandle handle;
        int bits;
    };
    struct CloseLater
    {
    };
    struct Lookup
    {
        LookupHandle handle;
        std::string host;
    };
    using Item = std::variant<Event, CloseLater, HttpMessage, Lookup>;
    LookupHandle m_lastLookup = 0;

    void Answer(const Lookup& lookup)
    {
        if (lookup.host.starts_with("nowhere"))
            client.Socket().HandleLookupDone(lookup.handle, 11001, {});
        else
            client.Socket().HandleLookupDone(lookup.handle, 0, {{"127.0.0.1"}, {}});
    }

    void AnswerCompleteRequests()
    {
        for (;;) {
            const std::size_t end = library.wire.find("\r\n\r\n", m_consumed);
            if (end == std::string::npos)
                return;
            std::size_t size = end + 4 - m_consumed;
            const std::string header = library.wire.substr(m_consumed, size);
            if (const std::size_t length = header.find("Content-Length: ");
                length != std::string::npos)
                size += std::stoul(header.substr(length + 16));
            if (library.wire.size() < m_consumed + size)
                return;
            requests.push_back(library.wire.substr(m_consumed, size));
            m_consumed += size;
            if (responses.empty())
                return;
            const ScriptedResponse response = responses.front();
            responses.pop_front();
            library.incoming += response.bytes;
            m_queue.push_back(Event{client.Socket().Handle(),
                                    kEventRead | (response.closeAfter ? kEventClose : 0)});
        }
    }

    std::deque<Item> m_queue;
    std::size_t m_consumed = 0;
    bool m_connectQueued = false;
};

}  // namespace net::testing
