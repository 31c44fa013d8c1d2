// Host, port and protocol texts turned into numbers: dotted addresses and digits directly, names
// through the sockets library's databases. Each failure comes with the text the socket reports.
#pragma once

#include <cstdint>
#include <string>

#include "setup/media/net/socket_library.h"

namespace net {

struct Resolved
{
    bool ok = false;
    std::string failure;
};

// A host name or dotted address, in host byte order.
Resolved ResolveHost(ISocketLibrary& library, const std::string& host, std::uint32_t& address);
// A decimal port or a service name of the protocol.
Resolved ResolvePort(ISocketLibrary& library, const std::string& port, const std::string& proto,
                     std::uint16_t& number);
// A protocol number, "tcp", "udp", "raw" (any case) or a name of the protocol database.
Resolved ResolveProto(ISocketLibrary& library, const std::string& proto, int& number);

constexpr int kProtoTcp = 6;
constexpr int kProtoUdp = 17;
constexpr int kProtoRaw = 255;

}  // namespace net
