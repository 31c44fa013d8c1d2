// The string cipher operations behind the Cipherkit exports: Blowfish in ECB mode with a 56-byte
// key over zero-filled blocks, all-zero blocks passed through, Base64 on the enciphered side, and
// the iterated SHA-1 key expansion. Every result is a new buffer from this module's C heap
// (malloc), as the exports hand them out; nullptr only when memory runs out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cipher {

constexpr size_t kKeyLength = 56;

// Room for the data and at least one zero byte after it: 13 bytes give 16, 16 give 24.
constexpr size_t EncipheredLength(size_t n)
{
    return n / 8 * 8 + 8;
}
constexpr size_t RoundUpToBlock(size_t n)
{
    return (n + 7) / 8 * 8;
}

uint8_t* EncryptBlowfish(const uint8_t* data, const uint8_t* key, uint32_t n) noexcept;
uint8_t* DecryptBlowfish(const uint8_t* data, const uint8_t* key, uint32_t n) noexcept;
char* EncryptBlowfishBase64(const uint8_t* data, const uint8_t* key, uint32_t n) noexcept;
uint8_t* DecryptBlowfishBase64(const char* text, const uint8_t* key, uint32_t n) noexcept;

// The pass-phrase forms derive the key with Expand(passPhrase, 56).
char* EncryptBlowfishBase64(const uint8_t* data, uint32_t n, std::string_view passPhrase) noexcept;
uint8_t* DecryptBlowfishBase64(const char* text, uint32_t n, std::string_view passPhrase) noexcept;

// outLength bytes: SHA-1(seed), then SHA-1 of all earlier 20-byte blocks, and so on.
uint8_t* Expand(const uint8_t* seed, uint32_t seedLength, uint32_t outLength) noexcept;

uint8_t* Sha1Hash(const uint8_t* data, uint32_t n) noexcept;
uint8_t* Md5Hash(const uint8_t* data, uint32_t n) noexcept;

}  // namespace cipher
