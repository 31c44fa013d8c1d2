// Message digests: SHA-1 (FIPS 180-1) and MD5 (RFC 1321). All state lives in the call.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cipher {

using Sha1Digest = std::array<uint8_t, 20>;
using Md5Digest = std::array<uint8_t, 16>;

Sha1Digest Sha1(const uint8_t* data, size_t length) noexcept;

// SHA-1 fed in pieces: the digest of every prefix the stream has been fed, without feeding it
// again (key expansion hashes each growing prefix of its own output).
class Sha1Stream
{
public:
    void Update(const uint8_t* data, size_t length) noexcept;
    // The digest of everything fed so far; the stream can go on.
    Sha1Digest Digest() const noexcept;

private:
    uint32_t m_state[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    uint8_t m_pending[64] = {};
    size_t m_pendingLength = 0;
    uint64_t m_length = 0;
};
Md5Digest Md5(const uint8_t* data, size_t length) noexcept;

}  // namespace cipher
