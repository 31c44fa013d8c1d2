// MD5 as RFC 1321 gives it.
#include <bit>
#include <cmath>

#include "support/cipher/digest_padding.h"
#include "support/cipher/digests.h"

namespace cipher {
namespace {

// T[i] = floor(2^32 * |sin(i + 1)|), as the RFC defines the table.
const uint32_t* SineTable() noexcept
{
    static const auto table = [] {
        struct Table
        {
            uint32_t t[64];
        } result;
        for (int i = 0; i < 64; ++i)
            result.t[i] = uint32_t(std::floor(std::fabs(std::sin(double(i + 1))) * 4294967296.0));
        return result;
    }();
    return table.t;
}

void Md5Compress(uint32_t state[4], const uint8_t block[64]) noexcept
{
    static constexpr int kShifts[4][4] = {
        {7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};
    const uint32_t* t = SineTable();
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 |
               uint32_t(block[4 * i + 2]) << 16 | uint32_t(block[4 * i + 3]) << 24;

    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        uint32_t f;
        int g;
        switch (round) {
            case 0:
                f = (b & c) | (~b & d);
                g = i;
                break;
            case 1:
                f = (b & d) | (c & ~d);
                g = (5 * i + 1) % 16;
                break;
            case 2:
                f = b ^ c ^ d;
                g = (3 * i + 5) % 16;
                break;
            default:
                f = c ^ (b | ~d);
                g = (7 * i) % 16;
                break;
        }
        const uint32_t rotated = std::rotl(a + f + t[i] + x[g], kShifts[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = b + rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

Md5Digest Md5(const uint8_t* data, size_t length) noexcept
{
    uint32_t state[4] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
    ForEachPaddedBlock(data, length, LengthOrder::LittleEndian,
                       [&](const uint8_t* block) { Md5Compress(state, block); });
    Md5Digest digest;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            digest[4 * i + j] = uint8_t(state[i] >> (8 * j));
    return digest;
}

}  // namespace cipher
