// The byte layouts of SOCKS 4, 4A and 5 (with RFC 1929 user and password): requests built, replies
// read as far as they have arrived, failures as the socket layer's codes and texts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace net {

// SOCKS 5 gives names, users and passwords a one-byte length: longer ones are refused rather than
// sent with a wrapped length.
constexpr int kSocksFieldTooLong = 20014;
constexpr std::size_t kSocksMaxField = 255;

std::string Socks4ConnectRequest(std::uint16_t port, const std::array<std::uint8_t, 4>& address,
                                 std::string_view user);
std::string Socks4aConnectRequest(std::uint16_t port, std::string_view user, std::string_view host);
std::string Socks5Greeting(bool offerUserPassword);
std::optional<std::string> Socks5ConnectRequest(std::string_view host, std::uint16_t port);
std::optional<std::string> Socks5UserPasswordRequest(std::string_view user,
                                                     std::string_view password);

struct SocksReply
{
    enum class Outcome
    {
        NeedMore,
        Success,
        Failure
    };
    Outcome outcome = Outcome::NeedMore;
    std::size_t length = 0;  // bytes the reply takes; what follows belongs to the tunnel
    int method = 0;          // of a method reply
    int code = 0;            // of a failure
    std::string text;
    std::string boundAddress, boundPort;  // of a SOCKS 5 connect reply
};

SocksReply ReadSocks5MethodReply(std::string_view received);
SocksReply ReadSocks5AuthReply(std::string_view received);
SocksReply ReadSocks4Reply(std::string_view received);
SocksReply ReadSocks5ConnectReply(std::string_view received);

}  // namespace net
