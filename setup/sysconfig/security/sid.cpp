#include "setup/sysconfig/security/sid.h"

namespace setup::sysconfig::security {

namespace {

constexpr std::size_t kHeaderSize = 8;

}  // namespace

Sid MakeSid(std::uint8_t authority, std::span<const std::uint32_t> subAuthorities)
{
    Sid sid(kHeaderSize + 4 * subAuthorities.size(), 0);
    sid[0] = 1;
    sid[1] = static_cast<std::uint8_t>(subAuthorities.size());
    sid[7] = authority;
    for (std::size_t i = 0; i < subAuthorities.size(); ++i) {
        for (int b = 0; b < 4; ++b)
            sid[kHeaderSize + 4 * i + b] = static_cast<std::uint8_t>(subAuthorities[i] >> (8 * b));
    }
    return sid;
}

std::size_t SidLength(std::span<const std::uint8_t> sid)
{
    return sid.size() < 2 ? 0 : kHeaderSize + 4 * std::size_t{sid[1]};
}

bool IsValidSid(std::span<const std::uint8_t> sid)
{
    return sid.size() >= kHeaderSize && sid[0] == 1 && sid[1] <= kMaxSubAuthorities &&
           sid.size() >= SidLength(sid);
}

std::string SidToString(std::span<const std::uint8_t> sid)
{
    if (sid.size() < kHeaderSize)
        return {};
    std::string text = "S-1-" + std::to_string(sid[7]);
    for (std::size_t i = 0; i < sid[1]; ++i) {
        const std::size_t at = kHeaderSize + 4 * i;
        if (at + 4 > sid.size()) {
            text += "-?";
            continue;
        }
        std::uint32_t value = 0;
        for (int b = 0; b < 4; ++b)
            value |= std::uint32_t{sid[at + b]} << (8 * b);
        text += "-" + std::to_string(value);
    }
    return text;
}

std::optional<Sid> StringToSid(std::string_view text)
{
    if (text.size() <= 4 || (text[0] != 'S' && text[0] != 's') || text.substr(1, 3) != "-1-" ||
        text[4] < '0' || text[4] > '9')
        return std::nullopt;
    std::vector<std::uint64_t> numbers;
    std::uint64_t value = 0;
    bool inNumber = false;
    for (const char c : text.substr(4)) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
            inNumber = true;
        } else if (c == '-' && inNumber) {
            numbers.push_back(value);
            if (numbers.size() > kMaxSubAuthorities)
                return std::nullopt;
            value = 0;
            inNumber = false;
        } else {
            return std::nullopt;  // another character, "--" or a trailing '-'
        }
    }
    if (!inNumber)
        return std::nullopt;
    numbers.push_back(value);
    if (numbers.front() > 255)
        return std::nullopt;
    std::vector<std::uint32_t> subAuthorities;
    for (std::size_t i = 1; i < numbers.size(); ++i)
        subAuthorities.push_back(static_cast<std::uint32_t>(numbers[i]));
    return MakeSid(static_cast<std::uint8_t>(numbers.front()), subAuthorities);
}

}  // namespace setup::sysconfig::security
