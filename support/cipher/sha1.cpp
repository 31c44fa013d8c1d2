// SHA-1 as FIPS 180-1 gives it. The message schedule is a local of each call, so callers on several
// threads never share a work area.
#include "support/cipher/digests.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "support/cipher/digest_padding.h"

namespace cipher {
namespace {

void Sha1Compress(uint32_t state[5], const uint8_t block[64]) noexcept
{
    uint32_t w[80];
    for (int t = 0; t < 16; ++t)
        w[t] = uint32_t(block[4 * t]) << 24 | uint32_t(block[4 * t + 1]) << 16 |
               uint32_t(block[4 * t + 2]) << 8 | uint32_t(block[4 * t + 3]);
    for (int t = 16; t < 80; ++t)
        w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);

    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    for (int t = 0; t < 80; ++t) {
        uint32_t f, k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        const uint32_t temp = std::rotl(a, 5) + f + e + k + w[t];
        e = d;
        d = c;
        c = std::rotl(b, 30);
        b = a;
        a = temp;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
}

}  // namespace

void Sha1Stream::Update(const uint8_t* data, size_t length) noexcept
{
    m_length += length;
    if (m_pendingLength) {
        const size_t take = std::min(length, 64 - m_pendingLength);
        std::memcpy(m_pending + m_pendingLength, data, take);
        m_pendingLength += take;
        data += take;
        length -= take;
        if (m_pendingLength < 64)
            return;
        Sha1Compress(m_state, m_pending);
        m_pendingLength = 0;
    }
    for (; length >= 64; data += 64, length -= 64)
        Sha1Compress(m_state, data);
    if (length)
        std::memcpy(m_pending, data, length);
    m_pendingLength = length;
}

Sha1Digest Sha1Stream::Digest() const noexcept
{
    uint32_t state[5];
    std::memcpy(state, m_state, sizeof state);
    CompressFinalBlocks(m_pending, m_pendingLength, m_length, LengthOrder::BigEndian,
                        [&](const uint8_t* block) { Sha1Compress(state, block); });
    Sha1Digest digest;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j)
            digest[4 * i + j] = uint8_t(state[i] >> (24 - 8 * j));
    return digest;
}

Sha1Digest Sha1(const uint8_t* data, size_t length) noexcept
{
    Sha1Stream stream;
    if (length)
        stream.Update(data, length);
    return stream.Digest();
}

}  // namespace cipher
