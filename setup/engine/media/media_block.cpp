#include "setup/engine/media/media_block.h"

#include "setup/media/net/hex_digits.h"

namespace setup::engine {

namespace {

bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

}  // namespace

std::string LookupBlockPassword(const rtl::TStringList& passwords, const std::string& block)
{
    for (std::size_t i = 0; i + 1 < passwords.Count(); i += 2)
        if (SameText(passwords[i], block))
            return passwords[i + 1];
    return {};
}

std::string UnscrambleBlockPassword(const std::string& stored)
{
    std::string digits = stored;
    for (std::size_t i = 0; i < digits.size(); ++i)
        digits[i] = static_cast<char>(static_cast<unsigned char>(digits[i]) ^ (i % 256));
    std::string password;
    // A stored text of odd length has no reading for its last character: it is left out, as is
    // any pair that is not hexadecimal.
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        if (!net::IsHexDigit(digits[i]) || !net::IsHexDigit(digits[i + 1]))
            continue;
        password += static_cast<char>(net::HexDigitValue(digits[i + 1]) * 16 +
                                      net::HexDigitValue(digits[i]));
    }
    return password;
}

std::string BlockPassword(const rtl::TStringList& passwords, const std::string& block)
{
    std::string stored = LookupBlockPassword(passwords, block);
    if (stored.empty())
        stored = LookupBlockPassword(passwords, "offline");
    return UnscrambleBlockPassword(stored);
}

}  // namespace setup::engine
