// The three messages of NTLM (version 1) authentication as HTTP carries them: the negotiation and
// the response built and Base64-encoded, the server's challenge decoded.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace net {

using NtlmChallengeBytes = std::array<std::uint8_t, 8>;

struct NtlmChallengeInfo
{
    bool received = false;  // a message was there to decode
    std::u16string targetName, domainName, serverName;
    NtlmChallengeBytes challenge{};
};

std::string BuildNtlmNegotiate(std::string_view host, std::string_view domain);

// Every field is read only inside the decoded message: offsets and lengths from the server that
// point outside it give empty fields, and the target list ends with the message.
NtlmChallengeInfo ReadNtlmChallenge(std::string_view base64);

std::string BuildNtlmResponse(std::string_view domain, std::string_view host, std::string_view user,
                              std::string_view password, const NtlmChallengeBytes& challenge);

// The two 24-byte responses of the message above, for tests and for the peers that check them.
std::string NtlmLmResponse(std::string_view password, const NtlmChallengeBytes& challenge);
std::string NtlmNtResponse(std::string_view password, const NtlmChallengeBytes& challenge);

}  // namespace net
