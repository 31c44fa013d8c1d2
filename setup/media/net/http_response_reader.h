// Reading one HTTP response from the bytes a connection delivers: the header lines (with a
// response that starts with "<HTML>" and no header, and interim 100 responses), then a body ended
// by its length, by chunks or by the connection's close. Nothing here touches a socket.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace net {

struct HttpResponse
{
    std::string version;  // "1.0" or "1.1" from the status line
    int status = 0;
    std::string reason;
    std::vector<std::string> headerLines;
    std::int64_t length = -1;  // Content-Length, -1 when none was sent
    std::string transferEncoding;
    std::string contentType;  // lower case
    std::string acceptRanges;
    std::string contentRangeBegin, contentRangeEnd;
    std::vector<std::string> challenges;  // WWW-Authenticate and Proxy-Authenticate values
    std::vector<std::string> locations;   // Location values, in arrival order
    std::vector<std::string> cookies;
    bool closeAfter = false;  // the connection ends with this response
    std::int64_t receivedCount = 0;
};

// What the reader reports while it reads. Every member has an empty default.
class IHttpResponseEvents
{
public:
    virtual ~IHttpResponseEvents() = default;
    virtual void HeaderBegin() {}
    virtual void HeaderLine(std::string_view line) {}
    virtual void NotAStatusLine(std::string_view line) {}
    virtual void HeaderEnd() {}
    virtual void DocBegin() {}
    virtual void DocData(std::string_view bytes) {}
    virtual void DocEnd() {}
};

class HttpResponseReader
{
public:
    enum class Phase
    {
        Header,
        Body,
        Complete
    };

    // Lines longer than this are cut; the rest up to the line's end is dropped.
    static constexpr std::size_t kMaxLine = 8190;

    // `closeByDefault` is true for an HTTP/1.0 request: a "keep-alive" header can still keep the
    // connection, as "close" can end a 1.1 one.
    HttpResponseReader(IHttpResponseEvents& events, bool headRequest, bool closeByDefault);

    // Reads what arrived. Returns the bytes it took; bytes after a complete response are left.
    std::size_t Feed(std::string_view bytes);
    // The connection closed: a body read to the close ends here.
    void ConnectionClosed();

    Phase GetPhase() const { return m_phase; }
    bool BodyBegun() const { return m_bodyBegun; }
    const HttpResponse& Response() const { return m_response; }

private:
    enum class ChunkStep
    {
        Size,
        SizeLineRest,
        Data,
        DataEnd,
        Trailer
    };

    std::size_t FeedLines(std::string_view bytes);
    void HandleHeaderLine(std::string_view line, std::string_view raw);
    void HandleField(std::string_view name, std::string_view value);
    void EndHeader();
    std::size_t FeedBody(std::string_view bytes);
    std::size_t FeedChunked(std::string_view bytes);
    void DeliverBody(std::string_view bytes);
    void EndDocument();

    IHttpResponseEvents& m_events;
    bool m_head;
    bool m_closeByDefault;
    HttpResponse m_response;
    Phase m_phase = Phase::Header;
    bool m_firstLine = true;
    bool m_bodyBegun = false;
    std::string m_line;
    bool m_droppingLineRest = false;
    bool m_chunked = false;
    ChunkStep m_chunkStep = ChunkStep::Size;
    std::uint64_t m_chunkLeft = 0;
    bool m_chunkSizeDigits = false;
    bool m_trailerLineEmpty = true;
};

}  // namespace net
