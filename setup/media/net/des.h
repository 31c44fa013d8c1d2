// DES (FIPS 46-3) encryption of one 8-byte block, as NTLM's LM and NT responses use it.
#pragma once

#include <array>
#include <cstdint>

namespace net {

using DesBlock = std::array<std::uint8_t, 8>;

// The key's parity bits (the low bit of each byte) are ignored.
DesBlock DesEncryptBlock(const DesBlock& key, const DesBlock& plain);

}  // namespace net
