// The MD4 message digest (RFC 1320), the hash of NTLM's password key.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace net {

using Md4Digest = std::array<std::uint8_t, 16>;

class Md4
{
public:
    Md4();
    void Update(std::string_view bytes);
    // Ends the digest; the object starts over afterwards.
    Md4Digest Finish();

private:
    void Transform(const std::uint8_t* block);

    std::array<std::uint32_t, 4> m_state{};
    std::array<std::uint8_t, 64> m_buffer{};
    std::uint64_t m_length = 0;  // bytes taken so far
};

Md4Digest Md4Of(std::string_view bytes);

}  // namespace net
