// Host and reverse lookups on the socket's window, their cancelling, and the local host name.
#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_errors.h"

namespace net {

namespace {

constexpr std::size_t kMaxReverseAddress = 256;

}  // namespace

void AsyncSocket::DnsLookup(const std::string& host)
{
    if (host.empty()) {
        FailWithCode(kWsaInvalidArgument, "DNS lookup: invalid host name.");
        if (events.dnsLookupDone)
            events.dnsLookupDone(kWsaInvalidArgument);
        return;
    }
    CancelLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    std::uint32_t address = 0;
    if (ParseDottedAddress(host, address)) {
        m_dnsResult = FormatDottedAddress(address);
        m_dnsResultList.push_back(m_dnsResult);
        if (events.dnsLookupDone)
            events.dnsLookupDone(0);
        return;
    }
    StartLookup(false, host);
}

void AsyncSocket::ReverseDnsLookup(const std::string& address)
{
    std::uint32_t number = 0;
    if (address.empty() || address.size() > kMaxReverseAddress ||
        !ParseDottedAddress(address, number)) {
        return FailWithCode(kWsaInvalidArgument, "ReverseDnsLookup: Invalid host name.");
    }
    CancelLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    StartLookup(true, address);
}

void AsyncSocket::StartLookup(bool reverse, const std::string& text)
{
    int error = 0;
    m_lookupStarting = true;
    m_earlyAnswer.reset();
    std::uint32_t address = 0;
    const LookupHandle lookup = reverse && ParseDottedAddress(text, address)
                                    ? m_window.StartReverseLookup(address, error)
                                    : m_window.StartHostLookup(text, error);
    m_lookupStarting = false;
    if (lookup == 0) {
        m_earlyAnswer.reset();
        const char* function = reverse ? "WSAAsyncGetHostByAddr" : "WSAAsyncGetHostByName";
        return FailWithCode(error, std::string(function) + ": can't start DNS lookup, error #" +
                                       std::to_string(error));
    }
    m_lookup = lookup;
    if (m_earlyAnswer) {
        // The library answered before the start call returned the handle it belongs to.
        auto [answerError, answer] = std::move(*m_earlyAnswer);
        m_earlyAnswer.reset();
        HandleLookupDone(lookup, answerError, answer);
    }
}

void AsyncSocket::HandleLookupDone(LookupHandle lookup, int error, const LookupAnswer& answer)
{
    if (m_lookupStarting) {
        m_earlyAnswer.emplace(error, answer);
        return;
    }
    if (lookup == 0 || lookup != m_lookup)
        return;  // a cancelled or foreign lookup
    m_lookup = 0;
    if (error == 0) {
        if (!answer.hostName.empty()) {
            m_dnsResult = answer.hostName;
            m_dnsResultList = {answer.hostName};
        } else {
            m_dnsResultList = answer.addresses;
            m_dnsResult = m_dnsResultList.empty() ? std::string() : m_dnsResultList.front();
        }
    }
    RunHandler([&] {
        if (events.dnsLookupDone)
            events.dnsLookupDone(error);
    });
}

void AsyncSocket::CancelLookup()
{
    if (m_lookup == 0)
        return;
    const LookupHandle lookup = m_lookup;
    m_lookup = 0;
    if (const int error = m_window.CancelLookup(lookup); error != 0)
        return LibraryFailure(error, "WSACancelAsyncRequest");
    if (!m_destroying && events.dnsLookupDone)
        events.dnsLookupDone(kWsaInterrupted);
}

std::string AsyncSocket::GetLocalHostName()
{
    std::string name;
    if (m_library.gethostname(name) != 0) {
        LibraryFailure(m_library.WSAGetLastError(), "Winsock.GetHostName failed");
        return {};
    }
    return name;
}

}  // namespace net
