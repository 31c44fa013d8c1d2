// The HTTP response reader over any bytes: as a GET and as a HEAD answer, fed at once and in
// pieces cut at the input's first byte, then closed.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "setup/media/net/http_response_reader.h"

namespace {

class CheckingEvents : public net::IHttpResponseEvents
{
public:
    void DocData(std::string_view bytes) override { m_received += bytes.size(); }
    std::size_t m_received = 0;
};

void ReadAll(std::string_view bytes, std::size_t piece, bool head)
{
    CheckingEvents events;
    net::HttpResponseReader reader(events, head, !head);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::string_view part = bytes.substr(at, piece);
        const std::size_t taken = reader.Feed(part);
        at += taken;
        if (taken < part.size())
            break;
    }
    reader.ConnectionClosed();
    const net::HttpResponse& response = reader.Response();
    if (static_cast<std::size_t>(response.receivedCount) != events.m_received)
        __builtin_trap();
    if (response.length >= 0 && response.transferEncoding.empty() &&
        response.receivedCount > response.length)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t piece = size == 0 ? 1 : static_cast<std::size_t>(data[0] % 16) + 1;
    ReadAll(bytes, bytes.size() + 1, false);
    ReadAll(bytes, piece, false);
    ReadAll(bytes, piece, true);
    return 0;
}
