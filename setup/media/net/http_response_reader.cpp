#include "setup/media/net/http_response_reader.h"

#include <algorithm>

#include "setup/media/net/ascii_lower.h"
#include "setup/media/net/hex_digits.h"

namespace net {

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A decimal count, -1 when the text is not one (or too large to be one).
std::int64_t ParseLength(std::string_view text)
{
    text = Trim(text);
    if (text.empty() || text.size() > 18)
        return -1;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

int ParseStatus(std::string_view digits)
{
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

HttpResponseReader::HttpResponseReader(IHttpResponseEvents& events, bool headRequest,
                                       bool closeByDefault)
    : m_events(events), m_head(headRequest), m_closeByDefault(closeByDefault)
{
    m_response.closeAfter = m_closeByDefault;
}

std::size_t HttpResponseReader::Feed(std::string_view bytes)
{
    std::size_t taken = 0;
    while (taken < bytes.size() && m_phase != Phase::Complete) {
        const std::string_view rest = bytes.substr(taken);
        taken += m_phase == Phase::Header ? FeedLines(rest) : FeedBody(rest);
    }
    return taken;
}

std::size_t HttpResponseReader::FeedLines(std::string_view bytes)
{
    const std::size_t lf = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, lf);
    if (!m_droppingLineRest) {
        const std::size_t room = kMaxLine - m_line.size();
        m_line.append(piece.substr(0, room));
        m_droppingLineRest = piece.size() > room;
    }
    if (lf == std::string_view::npos)
        return bytes.size();

    std::string line = std::move(m_line);
    m_line.clear();
    m_droppingLineRest = false;
    std::string raw = line + '\n';
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    HandleHeaderLine(line, raw);
    return lf + 1;
}

void HttpResponseReader::HandleHeaderLine(std::string_view line, std::string_view raw)
{
    if (m_firstLine) {
        m_events.HeaderBegin();
        m_firstLine = false;
        if (line.size() >= 6 && AsciiLower(line.substr(0, 6)) == "<html>") {
            // No header at all: the line is the document's first data, read to the close.
            if (m_response.contentType.empty())
                m_response.contentType = "text/html";
            m_phase = Phase::Body;
            DeliverBody(raw);
            return;
        }
        m_response.headerLines.emplace_back(line);
        if (line.starts_with("HTTP/1.0") || line.starts_with("HTTP/1.1")) {
            m_response.version = line.substr(5, 3);
            m_response.status = line.size() > 9 ? ParseStatus(line.substr(9, 3)) : 0;
            m_response.reason = line.size() > 13 ? line.substr(13) : std::string_view();
        } else {
            m_events.NotAStatusLine(line);
        }
        m_events.HeaderLine(line);
        return;
    }
    if (line.empty()) {
        EndHeader();
        return;
    }
    m_response.headerLines.emplace_back(line);
    if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        HandleField(AsciiLower(line.substr(0, colon)), value);
    }
    m_events.HeaderLine(line);
}

void HttpResponseReader::HandleField(std::string_view name, std::string_view value)
{
    if (name == "location") {
        m_response.locations.emplace_back(value);
    } else if (name == "content-length") {
        m_response.length = ParseLength(value);
    } else if (name == "transfer-encoding") {
        m_response.transferEncoding = value;
    } else if (name == "content-range") {
        // "bytes first-last/total"
        const std::size_t dash = value.find('-');
        const std::size_t slash = value.find('/');
        if (dash != std::string_view::npos && dash >= 6)
            m_response.contentRangeBegin = value.substr(6, dash - 6);
        if (dash != std::string_view::npos && slash != std::string_view::npos && slash > dash)
            m_response.contentRangeEnd = value.substr(dash + 1, slash - dash - 1);
    } else if (name == "accept-ranges") {
        m_response.acceptRanges = value;
    } else if (name == "content-type") {
        m_response.contentType = AsciiLower(value);
    } else if (name == "www-authenticate" || name == "proxy-authenticate") {
        m_response.challenges.emplace_back(value);
    } else if (name == "set-cookie") {
        m_response.cookies.emplace_back(value);
    } else if (name == "connection" || name == "proxy-connection") {
        const std::string kind = AsciiLower(Trim(value));
        if (kind == "close")
            m_response.closeAfter = true;
        else if (kind == "keep-alive")
            m_response.closeAfter = false;
    }
}

void HttpResponseReader::EndHeader()
{
    if (m_response.version == "1.1" && m_response.status == 100) {
        // An interim answer: the real header follows, and nothing of this one belongs to it.
        m_response = HttpResponse();
        m_response.closeAfter = m_closeByDefault;
        m_firstLine = true;
        return;
    }
    m_events.HeaderEnd();
    const int status = m_response.status;
    const bool noBodyStatus =
        status < 200 || status == 204 || status == 301 || status == 302 || status == 304;
    if ((m_response.length == -1 && noBodyStatus) || m_response.length == 0 || m_head) {
        m_phase = Phase::Complete;
        return;
    }
    m_chunked = AsciiLower(m_response.transferEncoding).find("chunked") != std::string_view::npos;
    m_phase = Phase::Body;
}

std::size_t HttpResponseReader::FeedBody(std::string_view bytes)
{
    DeliverBody({});
    if (m_chunked)
        return FeedChunked(bytes);
    if (m_response.length < 0) {
        DeliverBody(bytes);
        return bytes.size();
    }
    const auto left = static_cast<std::uint64_t>(m_response.length - m_response.receivedCount);
    const std::size_t take = std::min<std::uint64_t>(left, bytes.size());
    DeliverBody(bytes.substr(0, take));
    if (m_response.receivedCount == m_response.length)
        EndDocument();
    return take;
}

std::size_t HttpResponseReader::FeedChunked(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size() && m_phase == Phase::Body) {
        const char c = bytes[i];
        switch (m_chunkStep) {
            case ChunkStep::Size:
                if (!IsHexDigit(c)) {
                    m_chunkStep = ChunkStep::SizeLineRest;
                    break;
                }
                // A size too large for 64 bits stays at the largest: the body then runs to the
                // close.
                m_chunkLeft = m_chunkLeft > (UINT64_MAX >> 4) ? UINT64_MAX
                                                              : m_chunkLeft * 16 + HexDigitValue(c);
                ++i;
                break;
            case ChunkStep::SizeLineRest:
                // Chunk extensions (";name=value") are skipped with the line's end.
                ++i;
                if (c == '\n') {
                    m_chunkStep = m_chunkLeft == 0 ? ChunkStep::Trailer : ChunkStep::Data;
                    m_trailerLineEmpty = true;
                }
                break;
            case ChunkStep::Data: {
                const std::size_t take = std::min<std::uint64_t>(m_chunkLeft, bytes.size() - i);
                DeliverBody(bytes.substr(i, take));
                m_chunkLeft -= take;
                i += take;
                if (m_chunkLeft == 0)
                    m_chunkStep = ChunkStep::DataEnd;
                break;
            }
            case ChunkStep::DataEnd:
                ++i;
                if (c == '\n')
                    m_chunkStep = ChunkStep::Size;
                break;
            case ChunkStep::Trailer:
                // Trailer fields up to the empty line belong to this response, not to the next.
                ++i;
                if (c == '\n') {
                    if (m_trailerLineEmpty)
                        EndDocument();
                    m_trailerLineEmpty = true;
                } else if (c != '\r') {
                    m_trailerLineEmpty = false;
                }
                break;
        }
    }
    return i;
}

void HttpResponseReader::DeliverBody(std::string_view bytes)
{
    if (!m_bodyBegun) {
        m_bodyBegun = true;
        m_events.DocBegin();
    }
    if (bytes.empty())
        return;
    m_response.receivedCount += static_cast<std::int64_t>(bytes.size());
    m_events.DocData(bytes);
}

void HttpResponseReader::EndDocument()
{
    DeliverBody({});
    m_phase = Phase::Complete;
    m_events.DocEnd();
}

void HttpResponseReader::ConnectionClosed()
{
    if (m_phase == Phase::Header && !m_line.empty()) {
        // The close ends the last line too: a page without a header and without a line end
        // still arrives.
        const std::string line = std::move(m_line);
        m_line.clear();
        HandleHeaderLine(line, line);
    }
    if (m_phase == Phase::Header) {
        m_events.HeaderEnd();
    } else if (m_phase == Phase::Body && m_bodyBegun) {
        m_events.DocEnd();
    }
    m_phase = Phase::Complete;
}

}  // namespace net
