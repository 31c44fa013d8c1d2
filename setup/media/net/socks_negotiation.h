// The conversation with a SOCKS 4, 4A or 5 server that makes a tunnel: the bytes to send after
// the connection stands and after each reply, and the end (tunnel standing, or code and text).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

enum class SocksAuthState
{
    Start,
    Success,
    Failure,
    NotRequired
};

struct SocksSettings
{
    std::string level = "5";  // "4", "4A" or "5"
    std::string usercode, password;
    bool authenticate = false;  // offer user and password (SOCKS 5)
    std::string host;           // the requested host, sent by name (4A, 5)
    std::uint16_t port = 0;
    std::optional<std::array<std::uint8_t, 4>> address;  // the requested host resolved (4)
    std::string resolveFailure;                          // why it could not be, when it could not
};

class SocksNegotiation
{
public:
    enum class Outcome
    {
        Negotiating,
        Tunnel,
        Failed
    };

    struct Step
    {
        std::string send;                        // bytes for the server, in order
        std::vector<SocksAuthState> authStates;  // to report, in order
        Outcome outcome = Outcome::Negotiating;
        int code = 0;
        std::string text;
        std::string leftover;  // bytes after the final reply: the tunnel's first data
    };

    explicit SocksNegotiation(SocksSettings settings);

    // The first bytes once the connection to the server stands.
    Step Start();
    // Bytes of the server's replies as they arrive.
    Step Received(std::string_view bytes);
    bool Authenticating() const { return m_phase == Phase::Authenticating; }
    const std::string& BoundAddress() const { return m_boundAddress; }
    const std::string& BoundPort() const { return m_boundPort; }

private:
    enum class Phase
    {
        Negotiating,
        Authenticating,
        Connecting,
        Done
    };

    bool IsLevel4() const;
    void SendConnectRequest(Step& step);
    Step Fail(int code, std::string text);

    SocksSettings m_settings;
    Phase m_phase = Phase::Negotiating;
    bool m_offeredUserPassword = false;
    std::string m_buffer;
    std::string m_boundAddress, m_boundPort;
};

}  // namespace net
