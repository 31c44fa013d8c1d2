#include "setup/forms/extended_float.h"

#include <cmath>

namespace setup::forms {
namespace {

constexpr int kBias = 16383;
constexpr int kMaxExponent = 0x7FFF;

ExtendedBytes Pack(bool negative, int exponent, std::uint64_t mantissa)
{
    ExtendedBytes bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    bytes[8] = static_cast<std::uint8_t>(exponent & 0xFF);
    bytes[9] = static_cast<std::uint8_t>(((exponent >> 8) & 0x7F) | (negative ? 0x80 : 0));
    return bytes;
}

}  // namespace

ExtendedBytes EncodeExtended(long double value)
{
    const bool negative = std::signbit(value);
    if (std::isnan(value))
        return Pack(negative, kMaxExponent, 0xC000000000000000ull);
    if (std::isinf(value))
        return Pack(negative, kMaxExponent, 0x8000000000000000ull);
    const long double magnitude = std::fabs(value);
    if (magnitude == 0)
        return Pack(negative, 0, 0);
    int exponent = 0;
    const long double fraction = std::frexp(magnitude, &exponent);  // in [0.5, 1)
    int biased = exponent - 1 + kBias;
    if (biased >= kMaxExponent)
        return Pack(negative, kMaxExponent, 0x8000000000000000ull);
    if (biased <= 0) {
        // Too small for a normal number: the denormal scale has no integer bit.
        const auto mantissa = static_cast<std::uint64_t>(std::ldexp(magnitude, kBias - 1 + 63));
        return Pack(negative, 0, mantissa);
    }
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    return Pack(negative, biased, mantissa);
}

long double DecodeExtended(const ExtendedBytes& bytes)
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[i];
    const int exponent = ((bytes[9] & 0x7F) << 8) | bytes[8];
    const bool negative = (bytes[9] & 0x80) != 0;
    long double magnitude;
    if (exponent == kMaxExponent) {
        magnitude = (mantissa << 1) == 0 ? HUGE_VALL : std::nanl("");
    } else {
        // A zero exponent is the denormal scale, one step above the smallest normal one.
        const int scale = (exponent == 0 ? 1 : exponent) - kBias - 63;
        magnitude = std::ldexp(static_cast<long double>(mantissa), scale);
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace setup::forms
