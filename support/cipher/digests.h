// Message digests: SHA-1 (FIPS 180-1) and MD5 (RFC 1321). All state lives in the call.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cipher {

using Sha1Digest = std::array<uint8_t, 20>;
using Md5Digest = std::array<uint8_t, 16>;

Sha1Digest Sha1(const uint8_t* data, size_t length) noexcept;
Md5Digest Md5(const uint8_t* data, size_t length) noexcept;

}  // namespace cipher
