// Blowfish block cipher (Schneier, 1993): 16 rounds over 64-bit blocks held as two 32-bit words.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cipher {

class BlowfishKeySchedule
{
public:
    // key bytes are cycled over the P-array; keyLength is 1 to 56 bytes.
    BlowfishKeySchedule(const uint8_t* key, size_t keyLength) noexcept;

    void EncryptBlock(uint32_t& left, uint32_t& right) const noexcept;
    void DecryptBlock(uint32_t& left, uint32_t& right) const noexcept;

private:
    uint32_t Feistel(uint32_t x) const noexcept;

    uint32_t m_p[18];
    uint32_t m_s[4][256];
};

}  // namespace cipher
