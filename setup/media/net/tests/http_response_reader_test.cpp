#include "setup/media/net/http_response_reader.h"

#include <gtest/gtest.h>

namespace {

using net::HttpResponseReader;
using Phase = HttpResponseReader::Phase;

class RecordingEvents : public net::IHttpResponseEvents
{
public:
    void HeaderBegin() override { log += "[begin]"; }
    void HeaderEnd() override { log += "[end]"; }
    void DocBegin() override { log += "[doc]"; }
    void DocData(std::string_view bytes) override { body += bytes; }
    void DocEnd() override { log += "[/doc]"; }

    std::string log, body;
};

struct ReadResult
{
    std::string body, log, rest;
    Phase phase;
    int status;
    bool closeAfter;
};

// Feeds `input` in pieces of `piece` bytes (0: at once) as a connection would deliver it.
ReadResult Read(const std::string& input, std::size_t piece, bool head, bool closeByDefault,
                bool closeAtEnd)
{
    RecordingEvents events;
    HttpResponseReader reader(events, head, closeByDefault);
    std::size_t at = 0;
    while (at < input.size() && reader.GetPhase() != Phase::Complete) {
        const std::size_t size =
            piece == 0 ? input.size() - at : std::min(piece, input.size() - at);
        const std::size_t taken = reader.Feed(std::string_view(input).substr(at, size));
        at += taken;
        if (taken < size)
            break;
    }
    if (closeAtEnd)
        reader.ConnectionClosed();
    return {events.body,
            events.log,
            input.substr(at),
            reader.GetPhase(),
            reader.Response().status,
            reader.Response().closeAfter};
}

TEST(HttpResponseReader, EndsEachBodyKindWhereItEnds)
{
    const std::string next = "HTTP/1.1 200 OK\r\n";
    struct Case
    {
        const char* name;
        std::string input;
        bool head, closeByDefault, closeAtEnd;
        const char* body;
        const char* log;
        std::string rest;  // left for the next response
        Phase phase;
        int status;
        bool closeAfter;
    };
    const Case cases[] = {
        {"length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello" + next, false, false, false,
         "hello", "[begin][end][doc][/doc]", next, Phase::Complete, 200, false},
        {"chunked, extension, trailer",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n5;name=value\r\nhello\r\n"
         "a\r\n0123456789\r\n0\r\nX-Check: 1\r\nX-More: 2\r\n\r\n" +
             next,
         false, false, false, "hello0123456789", "[begin][end][doc][/doc]", next, Phase::Complete,
         200, false},
        {"chunked, no trailer",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
         "3\r\nabc\r\n0\r\n\r\n" +
             next,
         false, false, false, "abc", "[begin][end][doc][/doc]", next, Phase::Complete, 200, false},
        {"interim 100",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 201 Made\r\nContent-Length: 2\r\n"
         "\r\nok",
         false, false, false, "ok", "[begin][begin][end][doc][/doc]", "", Phase::Complete, 201,
         false},
        {"interim fields dropped",
         "HTTP/1.1 100 Continue\r\nContent-Length: 2\r\n\r\n"
         "<html>page</html>",
         false, false, true, "<html>page</html>", "[begin][begin][doc][/doc]", "", Phase::Complete,
         0, false},
        {"to the close", "HTTP/1.0 200 OK\r\n\r\nall until close", false, true, true,
         "all until close", "[begin][end][doc][/doc]", "", Phase::Complete, 200, true},
        {"close still open", "HTTP/1.0 200 OK\r\n\r\nsome", false, true, false, "some",
         "[begin][end][doc]", "", Phase::Body, 200, true},
        {"no status line", "<HTML><body>x</body>\r\n</html>", false, true, true,
         "<HTML><body>x</body>\r\n</html>", "[begin][doc][/doc]", "", Phase::Complete, 0, true},
        {"head", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + next, true, false, false, "",
         "[begin][end]", next, Phase::Complete, 200, false},
        {"204", "HTTP/1.1 204 No Content\r\n\r\n" + next, false, false, false, "", "[begin][end]",
         next, Phase::Complete, 204, false},
        {"304", "HTTP/1.1 304 Not Modified\r\n\r\n", false, false, false, "", "[begin][end]", "",
         Phase::Complete, 304, false},
        {"301 with a body length", "HTTP/1.1 301 Moved\r\nContent-Length: 3\r\n\r\nabc", false,
         false, false, "abc", "[begin][end][doc][/doc]", "", Phase::Complete, 301, false},
        {"length 0", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n" + next, false, false, false, "",
         "[begin][end]", next, Phase::Complete, 200, false},
        {"1.1 asking to close",
         "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 1\r\n"
         "\r\nx",
         false, false, false, "x", "[begin][end][doc][/doc]", "", Phase::Complete, 200, true},
        {"1.0 kept alive",
         "HTTP/1.0 200 OK\r\nConnection: Keep-Alive\r\nContent-Length: 1\r\n"
         "\r\nx",
         false, true, false, "x", "[begin][end][doc][/doc]", "", Phase::Complete, 200, false},
        {"closed in the header", "HTTP/1.1 200 OK\r\nContent-", false, false, true, "",
         "[begin][end]", "", Phase::Complete, 200, false},
        {"status line cut short", "HTTP/1.1\r\n\r\n" + next, false, false, false, "",
         "[begin][end]", next, Phase::Complete, 0, false},
        {"bare line ends", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", false, false, false, "ok",
         "[begin][end][doc][/doc]", "", Phase::Complete, 200, false},
    };
    for (const Case& c : cases) {
        for (const std::size_t piece : {std::size_t{0}, std::size_t{1}, std::size_t{4}}) {
            const ReadResult got = Read(c.input, piece, c.head, c.closeByDefault, c.closeAtEnd);
            const std::string where =
                std::string(c.name) + " in pieces of " + std::to_string(piece);
            EXPECT_EQ(got.body, c.body) << where;
            EXPECT_EQ(got.log, c.log) << where;
            EXPECT_EQ(got.rest, c.rest) << where;
            EXPECT_EQ(got.phase, c.phase) << where;
            EXPECT_EQ(got.status, c.status) << where;
            EXPECT_EQ(got.closeAfter, c.closeAfter) << where;
        }
    }
}

TEST(HttpResponseReader, KeepsTheHeaderValuesTheClientActsOn)
{
    RecordingEvents events;
    HttpResponseReader reader(events, false, false);
    reader.Feed(
        "HTTP/1.1 206 Partial Content\r\n"
        "Content-Range: bytes 100-199/1000\r\n"
        "Accept-Ranges: bytes\r\n"
        "Content-Type: Text/HTML; Charset=UTF-8\r\n"
        "WWW-Authenticate: NTLM\r\n"
        "Proxy-Authenticate: Basic realm=\"p\"\r\n"
        "Location: /next\r\n"
        "Set-Cookie: a=1\r\n"
        "Content-Length:   12 \r\n"
        "\r\n");
    const net::HttpResponse& r = reader.Response();
    EXPECT_EQ(r.version, "1.1");
    EXPECT_EQ(r.status, 206);
    EXPECT_EQ(r.reason, "Partial Content");
    EXPECT_EQ(r.contentRangeBegin, "100");
    EXPECT_EQ(r.contentRangeEnd, "199");
    EXPECT_EQ(r.acceptRanges, "bytes");
    EXPECT_EQ(r.contentType, "text/html; charset=utf-8");
    EXPECT_EQ(r.challenges, (std::vector<std::string>{"NTLM", "Basic realm=\"p\""}));
    EXPECT_EQ(r.locations, std::vector<std::string>{"/next"});
    EXPECT_EQ(r.cookies, std::vector<std::string>{"a=1"});
    EXPECT_EQ(r.length, 12);
    EXPECT_EQ(r.headerLines.size(), 9u);
    EXPECT_EQ(reader.GetPhase(), Phase::Body);
}

TEST(HttpResponseReader, CutsAnOverlongHeaderLineAndReadsOn)
{
    RecordingEvents events;
    HttpResponseReader reader(events, false, false);
    const std::string longLine = "X-Long: " + std::string(20000, 'y') + "\r\n";
    const std::string input = "HTTP/1.1 200 OK\r\n" + longLine +
                              "Content-Length: 3\r\nContent-Length: junk7\r\n"
                              "Content-Length: 2\r\n\r\nok";
    EXPECT_EQ(reader.Feed(input), input.size());
    EXPECT_EQ(reader.Response().headerLines[1].size(), HttpResponseReader::kMaxLine);
    EXPECT_EQ(events.body, "ok");
    EXPECT_EQ(reader.GetPhase(), Phase::Complete);
}

TEST(HttpResponseReader, ContentLengthThatIsNoNumberReadsToTheClose)
{
    for (const char* value : {"junk", "-5", "99999999999999999999", ""}) {
        RecordingEvents events;
        HttpResponseReader reader(events, false, true);
        reader.Feed(std::string("HTTP/1.0 200 OK\r\nContent-Length: ") + value + "\r\n\r\nabc");
        EXPECT_EQ(reader.Response().length, -1) << value;
        reader.ConnectionClosed();
        EXPECT_EQ(events.body, "abc") << value;
    }
}

}  // namespace
