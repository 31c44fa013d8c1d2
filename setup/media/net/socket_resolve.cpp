#include "setup/media/net/socket_resolve.h"

#include <algorithm>

#include "setup/media/net/ascii_lower.h"
#include "setup/media/net/async_socket.h"

namespace net {

namespace {

constexpr std::size_t kMaxHost = 256;
constexpr std::size_t kMaxName = 32;  // ports and protocols

Resolved Failure(std::string text)
{
    return {false, std::move(text)};
}

bool StartsWithDigit(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first != std::string::npos && text[first] >= '0' && text[first] <= '9';
}

}  // namespace

Resolved ResolveHost(ISocketLibrary& library, const std::string& host, std::uint32_t& address)
{
    if (host.empty() || host.size() > kMaxHost)
        return Failure("WSocketResolveHost: '" + host + "' Invalid Hostname.");
    if (ParseDottedAddress(host, address))
        return {true, {}};
    if (StartsWithDigit(host) && std::count(host.begin(), host.end(), '.') == 3)
        return Failure("WSocketResolveHost: '" + host + "' Invalid IP address.");
    int error = 0;
    if (library.gethostbyname(host, address, error))
        return {true, {}};
    return Failure("WSocketResolveHost: Cannot convert host address '" + host + "', Error #" +
                   std::to_string(error));
}

Resolved ResolvePort(ISocketLibrary& library, const std::string& port, const std::string& proto,
                     std::uint16_t& number)
{
    if (port.empty() || port.size() >= kMaxName)
        return Failure("WSocketResolvePort: Invalid Port.");
    if (proto.size() >= kMaxName)
        return Failure("WSocketResolvePort: Invalid Proto.");
    if (StartsWithDigit(port)) {
        if (!ParsePort(port, number))
            return Failure("WSocketResolvePort: Invalid Port.");
        return {true, {}};
    }
    int error = 0;
    if (library.getservbyname(port, proto, number, error))
        return {true, {}};
    return Failure("WSocketResolvePort: Cannot convert port '" + port + "', Error #" +
                   std::to_string(error));
}

Resolved ResolveProto(ISocketLibrary& library, const std::string& proto, int& number)
{
    if (proto.empty() || proto.size() >= kMaxName)
        return Failure("WSocketResolveProto: Invalid Protocol.");
    if (StartsWithDigit(proto)) {
        std::uint16_t value = 0;
        if (!ParsePort(proto, value))
            return Failure("WSocketResolveProto: Invalid Protocol.");
        number = value;
        return {true, {}};
    }
    const std::string lower = AsciiLower(proto);
    if (lower == "tcp" || lower == "udp" || lower == "raw") {
        number = lower == "tcp" ? kProtoTcp : lower == "udp" ? kProtoUdp : kProtoRaw;
        return {true, {}};
    }
    int error = 0;
    if (library.getprotobyname(proto, number, error))
        return {true, {}};
    return Failure("WSocketResolveProto: Cannot convert protocol '" + proto + "', Error #" +
                   std::to_string(error));
}

}  // namespace net
