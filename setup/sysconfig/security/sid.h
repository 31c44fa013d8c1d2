// Security identifiers in the platform's binary layout (revision 1, sub-authority count, six
// authority bytes high first, then the 32-bit sub-authorities), with their text form
// "S-1-<authority>-<sub>-...".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace setup::sysconfig::security {

using Sid = std::vector<std::uint8_t>;

inline constexpr std::size_t kMaxSubAuthorities = 8;

// A SID with a one-byte identifier authority (the last authority byte).
Sid MakeSid(std::uint8_t authority, std::span<const std::uint32_t> subAuthorities);
// Revision 1, at most 8 sub-authorities, and as long as its count says.
bool IsValidSid(std::span<const std::uint8_t> sid);
std::size_t SidLength(std::span<const std::uint8_t> sid);

// The text form; only the last authority byte is written; a sub-authority that lies outside
// the bytes given prints "?".
std::string SidToString(std::span<const std::uint8_t> sid);
// A SID from its text form, or none. Numbers that do not fit their field are refused rather than
// wrapped: a wrapped sub-authority would name some other account, which would then get rights.
std::optional<Sid> StringToSid(std::string_view text);

}  // namespace setup::sysconfig::security
