#include "setup/engine/rtl/int_text.h"

#include "setup/engine/rtl/exceptions.h"

namespace setup::rtl {

namespace {

struct ParsedInteger
{
    bool negative = false;
    unsigned base = 10;
    std::uint64_t magnitude = 0;
};

// Leading blanks, an optional sign, then decimal digits or '$' / "0x" and hexadecimal digits.
// The magnitude may not exceed the limit of its base.
std::optional<ParsedInteger> ParseIntegerText(std::string_view text, std::uint64_t decimalLimit,
                                              std::uint64_t hexLimit)
{
    ParsedInteger parsed;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        parsed.negative = text[i] == '-';
        ++i;
    }
    if (i < text.size() && text[i] == '$') {
        parsed.base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        parsed.base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    const std::uint64_t limit = parsed.base == 16 ? hexLimit : decimalLimit;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (parsed.base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (parsed.base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        if (parsed.magnitude > (limit - digit) / parsed.base)
            return std::nullopt;
        parsed.magnitude = parsed.magnitude * parsed.base + digit;
    }
    return parsed;
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text)
{
    const auto parsed = ParseIntegerText(text, 0xFFFFFFFFull, 0xFFFFFFFFull);
    if (!parsed)
        return std::nullopt;
    const std::uint64_t value = parsed->magnitude;
    if (parsed->base == 16) {
        // Hexadecimal texts name the 32-bit pattern, so $FFFFFFFF is -1.
        const auto bits = static_cast<std::uint32_t>(value);
        const auto result = static_cast<std::int32_t>(bits);
        return parsed->negative ? static_cast<std::int32_t>(0u - bits) : result;
    }
    if (parsed->negative) {
        if (value > 0x80000000ull)
            return std::nullopt;
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
    }
    if (value > 0x7FFFFFFFull)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int64_t> TryStrToInt64(std::string_view text)
{
    const auto parsed = ParseIntegerText(text, 0x8000000000000000ull, ~0ull);
    if (!parsed)
        return std::nullopt;
    if (parsed->base == 10 && !parsed->negative && parsed->magnitude > 0x7FFFFFFFFFFFFFFFull)
        return std::nullopt;
    // Two's complement without signed overflow: hexadecimal names the bit pattern.
    const std::uint64_t bits = parsed->negative ? 0ull - parsed->magnitude : parsed->magnitude;
    return static_cast<std::int64_t>(bits);
}

std::int32_t StrToInt(std::string_view text)
{
    if (auto value = TryStrToInt(text))
        return *value;
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback)
{
    return TryStrToInt(text).value_or(fallback);
}

}  // namespace setup::rtl
