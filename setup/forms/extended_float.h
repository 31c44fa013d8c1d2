// The 80-bit extended-precision float of the binary form stream, converted by hand so that the
// code does not depend on the compiler's long double being the same format.
#pragma once

#include <array>
#include <cstdint>

namespace setup::forms {

using ExtendedBytes = std::array<std::uint8_t, 10>;

// Little-endian: 64-bit mantissa with its explicit integer bit, then sign and 15-bit exponent.
ExtendedBytes EncodeExtended(long double value);
long double DecodeExtended(const ExtendedBytes& bytes);

}  // namespace setup::forms
