#include "setup/forms/extended_float.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "setup/forms/tests/form_test_bytes.h"

namespace setup::forms {
namespace {

using testing::Hex;
using testing::HexOf;

TEST(ExtendedFloat, EncodesAndDecodesTheTenBytes)
{
    struct Case
    {
        long double value;
        const char* hex;  // mantissa (8 bytes, little-endian), then exponent and sign
    };
    const Case cases[] = {
        {1.0L, "00 00 00 00 00 00 00 80 FF 3F"},
        {-2.0L, "00 00 00 00 00 00 00 80 00 C0"},
        {0.1L, "CD CC CC CC CC CC CC CC FB 3F"},
        {100.0L, "00 00 00 00 00 00 00 C8 05 40"},
        {0.0L, "00 00 00 00 00 00 00 00 00 00"},
        {-0.0L, "00 00 00 00 00 00 00 00 00 80"},
        {HUGE_VALL, "00 00 00 00 00 00 00 80 FF 7F"},
        {-HUGE_VALL, "00 00 00 00 00 00 00 80 FF FF"},
        // The smallest denormal: mantissa 1 on the denormal scale.
        {std::ldexp(1.0L, -16445), "01 00 00 00 00 00 00 00 00 00"},
        {std::ldexp(1.0L, 16383), "00 00 00 00 00 00 00 80 FE 7F"},
    };
    for (const Case& c : cases) {
        ExtendedBytes bytes{};
        const auto expected = Hex(c.hex);
        std::copy(expected.begin(), expected.end(), bytes.begin());
        const ExtendedBytes encoded = EncodeExtended(c.value);
        EXPECT_EQ(HexOf({encoded.begin(), encoded.end()}), c.hex);
        const long double decoded = DecodeExtended(bytes);
        EXPECT_EQ(decoded, c.value) << c.hex;
        EXPECT_EQ(std::signbit(decoded), std::signbit(c.value)) << c.hex;
    }
    EXPECT_TRUE(std::isnan(DecodeExtended(EncodeExtended(std::nanl("")))));
    EXPECT_TRUE(std::isnan(DecodeExtended({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F})));
}

}  // namespace
}  // namespace setup::forms
