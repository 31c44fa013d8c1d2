#include "setup/media/net/socks_negotiation.h"

#include "setup/media/net/socks_messages.h"

namespace net {

SocksNegotiation::SocksNegotiation(SocksSettings settings) : m_settings(std::move(settings)) {}

bool SocksNegotiation::IsLevel4() const
{
    return !m_settings.level.empty() && m_settings.level[0] == '4';
}

SocksNegotiation::Step SocksNegotiation::Fail(int code, std::string text)
{
    m_phase = Phase::Done;
    Step step;
    step.outcome = Outcome::Failed;
    step.code = code;
    step.text = std::move(text);
    return step;
}

void SocksNegotiation::SendConnectRequest(Step& step)
{
    m_phase = Phase::Connecting;
    if (m_settings.level == "4A" || m_settings.level == "4a") {
        step.send += Socks4aConnectRequest(m_settings.port, m_settings.usercode, m_settings.host);
    } else if (IsLevel4()) {
        if (!m_settings.address) {
            step = Fail(20017, "ESocketException " + m_settings.resolveFailure);
            return;
        }
        step.send +=
            Socks4ConnectRequest(m_settings.port, *m_settings.address, m_settings.usercode);
    } else if (const auto request = Socks5ConnectRequest(m_settings.host, m_settings.port)) {
        step.send += *request;
    } else {
        step = Fail(kSocksFieldTooLong, "host name longer than 255 characters");
    }
}

SocksNegotiation::Step SocksNegotiation::Start()
{
    Step step;
    if (IsLevel4()) {
        SendConnectRequest(step);
        return step;
    }
    m_offeredUserPassword = m_settings.authenticate;
    step.send = Socks5Greeting(m_offeredUserPassword);
    return step;
}

SocksNegotiation::Step SocksNegotiation::Received(std::string_view bytes)
{
    m_buffer += bytes;
    Step step;
    switch (m_phase) {
        case Phase::Negotiating: {
            if (IsLevel4())
                return Fail(20001, "TWSocket logic error");
            const SocksReply reply = ReadSocks5MethodReply(m_buffer);
            if (reply.outcome == SocksReply::Outcome::NeedMore)
                return step;
            if (reply.outcome == SocksReply::Outcome::Failure)
                return Fail(reply.code, reply.text);
            m_buffer.erase(0, reply.length);
            if (reply.method == 0) {
                if (m_offeredUserPassword)
                    step.authStates.push_back(SocksAuthState::NotRequired);
                SendConnectRequest(step);
                return step;
            }
            const auto request =
                Socks5UserPasswordRequest(m_settings.usercode, m_settings.password);
            if (!request)
                return Fail(kSocksFieldTooLong, "user or password longer than 255 characters");
            step.authStates.push_back(SocksAuthState::Start);
            m_phase = Phase::Authenticating;
            step.send = *request;
            return step;
        }
        case Phase::Authenticating: {
            const SocksReply reply = ReadSocks5AuthReply(m_buffer);
            if (reply.outcome == SocksReply::Outcome::NeedMore)
                return step;
            if (reply.outcome == SocksReply::Outcome::Failure)
                return Fail(reply.code, reply.text);
            m_buffer.erase(0, reply.length);
            step.authStates.push_back(SocksAuthState::Success);
            SendConnectRequest(step);
            return step;
        }
        case Phase::Connecting: {
            const SocksReply reply =
                IsLevel4() ? ReadSocks4Reply(m_buffer) : ReadSocks5ConnectReply(m_buffer);
            if (reply.outcome == SocksReply::Outcome::NeedMore)
                return step;
            if (reply.outcome == SocksReply::Outcome::Failure)
                return Fail(reply.code, reply.text);
            m_boundAddress = reply.boundAddress;
            m_boundPort = reply.boundPort;
            step.leftover = m_buffer.substr(reply.length);
            m_buffer.clear();
            m_phase = Phase::Done;
            step.outcome = Outcome::Tunnel;
            return step;
        }
        case Phase::Done:
            break;
    }
    return Fail(20013, "internal error");
}

}  // namespace net
