// Base64 (RFC 4648, standard alphabet, "=" padding, no line breaks) and the lenient decoding the
// cipher helpers accept.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cipher {

// Characters Base64Encode writes for length bytes: 4 * ceil(length / 3).
size_t Base64EncodedLength(size_t length) noexcept;
// Writes Base64EncodedLength(length) characters (no terminating zero) into out.
void Base64Encode(const uint8_t* data, size_t length, char* out) noexcept;

// Reads at most maxChars characters, stopping early at a zero character; characters outside the
// alphabet (line breaks, "=") are skipped and a short final group yields the whole bytes its bits
// make. Writes at most outCapacity bytes and returns how many it wrote.
size_t Base64DecodeLenient(const char* text, size_t maxChars, uint8_t* out,
                           size_t outCapacity) noexcept;

}  // namespace cipher
