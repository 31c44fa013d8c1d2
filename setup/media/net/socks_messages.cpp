#include "setup/media/net/socks_messages.h"

#include <cstdio>

namespace net {

namespace {

constexpr std::uint8_t kVersion5 = 5;
constexpr std::uint8_t kMethodNone = 0;
constexpr std::uint8_t kMethodUserPassword = 2;
constexpr std::uint8_t kAddressIpv4 = 1;
constexpr std::uint8_t kAddressName = 3;
constexpr std::uint8_t kAddressIpv6 = 4;

std::uint8_t Byte(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

void AppendPort(std::string& out, std::uint16_t port)
{
    out += static_cast<char>(port >> 8);
    out += static_cast<char>(port & 0xFF);
}

SocksReply Failure(int code, std::string text)
{
    SocksReply reply;
    reply.outcome = SocksReply::Outcome::Failure;
    reply.code = code;
    reply.text = std::move(text);
    return reply;
}

SocksReply Success(std::size_t length)
{
    SocksReply reply;
    reply.outcome = SocksReply::Outcome::Success;
    reply.length = length;
    return reply;
}

SocksReply VersionError()
{
    return Failure(20002, "socks version error");
}

std::string Unassigned(int value)
{
    return "unassigned error #" + std::to_string(value);
}

std::string BoundAddressText(std::string_view received, std::uint8_t type)
{
    char text[64];
    if (type == kAddressIpv4) {
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", Byte(received, 4), Byte(received, 5),
                      Byte(received, 6), Byte(received, 7));
        return text;
    }
    if (type == kAddressName)
        return std::string(received.substr(5, Byte(received, 4)));
    std::string address;
    for (std::size_t group = 0; group < 8; ++group) {
        std::snprintf(text, sizeof text, group == 0 ? "%x" : ":%x",
                      Byte(received, 4 + 2 * group) << 8 | Byte(received, 5 + 2 * group));
        address += text;
    }
    return address;
}

}  // namespace

std::string Socks4ConnectRequest(std::uint16_t port, const std::array<std::uint8_t, 4>& address,
                                 std::string_view user)
{
    std::string request{4, 1};
    AppendPort(request, port);
    for (const std::uint8_t part : address)
        request += static_cast<char>(part);
    request += user;
    request += '\0';
    return request;
}

std::string Socks4aConnectRequest(std::uint16_t port, std::string_view user, std::string_view host)
{
    // The address 0.0.0.1 asks the server to resolve the name that follows the user.
    std::string request = Socks4ConnectRequest(port, {0, 0, 0, 1}, user);
    request += host;
    request += '\0';
    return request;
}

std::string Socks5Greeting(bool offerUserPassword)
{
    return {static_cast<char>(kVersion5), 1,
            static_cast<char>(offerUserPassword ? kMethodUserPassword : kMethodNone)};
}

std::optional<std::string> Socks5ConnectRequest(std::string_view host, std::uint16_t port)
{
    if (host.size() > kSocksMaxField)
        return std::nullopt;
    std::string request{static_cast<char>(kVersion5), 1, 0, static_cast<char>(kAddressName)};
    request += static_cast<char>(host.size());
    request += host;
    AppendPort(request, port);
    return request;
}

std::optional<std::string> Socks5UserPasswordRequest(std::string_view user,
                                                     std::string_view password)
{
    if (user.size() > kSocksMaxField || password.size() > kSocksMaxField)
        return std::nullopt;
    std::string request{1};
    request += static_cast<char>(user.size());
    request += user;
    request += static_cast<char>(password.size());
    request += password;
    return request;
}

SocksReply ReadSocks5MethodReply(std::string_view received)
{
    if (received.size() < 2)
        return {};
    if (Byte(received, 0) != kVersion5)
        return VersionError();
    const std::uint8_t method = Byte(received, 1);
    if (method != kMethodNone && method != kMethodUserPassword)
        return Failure(20003, "authentification method not acceptable");
    SocksReply reply = Success(2);
    reply.method = method;
    return reply;
}

SocksReply ReadSocks5AuthReply(std::string_view received)
{
    if (received.size() < 2)
        return {};
    if (Byte(received, 0) != 1)
        return VersionError();
    if (received.size() >= 3)
        return Failure(20001, "too much data availaible");
    if (Byte(received, 1) != 0)
        return Failure(20015, "socks authentication failed");
    return Success(2);
}

SocksReply ReadSocks4Reply(std::string_view received)
{
    if (received.size() < 8)
        return {};
    if (Byte(received, 0) != 0)
        return VersionError();
    switch (const std::uint8_t status = Byte(received, 1)) {
        case 90:
            return Success(8);
        case 91:
            return Failure(20016, "request rejected or failed");
        case 92:
            return Failure(20008, "connection refused");
        case 93:
            return Failure(20015, "authentification failed");
        default:
            return Failure(20012, Unassigned(status));
    }
}

SocksReply ReadSocks5ConnectReply(std::string_view received)
{
    if (received.empty())
        return {};
    if (Byte(received, 0) != kVersion5)
        return VersionError();
    if (received.size() < 2)
        return {};
    static constexpr const char* kTexts[] = {
        "general SOCKS server failure", "connection not allowed by ruleset",
        "network unreachable",          "host unreachable",
        "connection refused",           "time to live expired",
        "command not supported",        "address type not supported"};
    if (const std::uint8_t status = Byte(received, 1); status != 0) {
        if (status <= 8)
            return Failure(20003 + status, kTexts[status - 1]);
        return Failure(20012, Unassigned(status));
    }
    if (received.size() < 5)
        return {};
    std::size_t length = 0;
    const std::uint8_t type = Byte(received, 3);
    if (type == kAddressIpv4)
        length = 10;
    else if (type == kAddressName)
        length = 7 + Byte(received, 4);
    else if (type == kAddressIpv6)
        length = 22;
    else
        return Failure(20011, "address type not supported");
    if (received.size() < length)
        return {};
    SocksReply reply = Success(length);
    reply.boundAddress = BoundAddressText(received, type);
    reply.boundPort = std::to_string(Byte(received, length - 2) << 8 | Byte(received, length - 1));
    return reply;
}

}  // namespace net
