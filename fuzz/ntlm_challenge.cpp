// The NTLM challenge decoder over any text after "NTLM ", and over any bytes Base64-encoded, so
// that hostile field offsets and target lists reach it whole.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "setup/media/net/base64.h"
#include "setup/media/net/ntlm_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    net::ReadNtlmChallenge(bytes);
    const net::NtlmChallengeInfo info = net::ReadNtlmChallenge(net::EncodeBase64(bytes));
    if (info.targetName.size() * 2 > size || info.serverName.size() * 2 > size ||
        info.domainName.size() * 2 > size)
        __builtin_trap();
    return 0;
}
