#include "support/cipher/blowfish.h"

#include <cstring>
#include <utility>

namespace cipher {
namespace {

constexpr uint32_t kPiWords[18 + 4 * 256] = {
#include "support/cipher/blowfish_pi_words.inc"
};

}  // namespace

BlowfishKeySchedule::BlowfishKeySchedule(const uint8_t* key, size_t keyLength) noexcept
{
    std::memcpy(m_p, kPiWords, sizeof(m_p));
    std::memcpy(m_s, kPiWords + 18, sizeof(m_s));

    size_t k = 0;
    for (uint32_t& p : m_p) {
        uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word = (word << 8) | key[k];
            k = (k + 1) % keyLength;
        }
        p ^= word;
    }

    uint32_t left = 0;
    uint32_t right = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptBlock(left, right);
        m_p[i] = left;
        m_p[i + 1] = right;
    }
    for (auto& box : m_s)
        for (int i = 0; i < 256; i += 2) {
            EncryptBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
}

uint32_t BlowfishKeySchedule::Feistel(uint32_t x) const noexcept
{
    return ((m_s[0][x >> 24] + m_s[1][(x >> 16) & 0xFF]) ^ m_s[2][(x >> 8) & 0xFF]) +
           m_s[3][x & 0xFF];
}

void BlowfishKeySchedule::EncryptBlock(uint32_t& left, uint32_t& right) const noexcept
{
    uint32_t l = left;
    uint32_t r = right;
    for (int i = 0; i < 16; ++i) {
        l ^= m_p[i];
        r ^= Feistel(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    right = r ^ m_p[16];
    left = l ^ m_p[17];
}

void BlowfishKeySchedule::DecryptBlock(uint32_t& left, uint32_t& right) const noexcept
{
    uint32_t l = left;
    uint32_t r = right;
    for (int i = 17; i > 1; --i) {
        l ^= m_p[i];
        r ^= Feistel(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    right = r ^ m_p[1];
    left = l ^ m_p[0];
}

}  // namespace cipher
