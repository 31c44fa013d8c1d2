// How the context menu reads texts from the registry: only string data that fits the read buffer,
// has an even byte length and ends in its terminator counts as a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace shellmenu {

// The read buffer for string values, in bytes, and for value and key names, in characters.
inline constexpr std::size_t kStringValueBytes = 2000;
inline constexpr std::size_t kNameChars = 1000;

// Registry data types as the registry numbers them.
inline constexpr std::uint32_t kRegString = 1;
inline constexpr std::uint32_t kRegExpandString = 2;

// One value as the registry delivered it. `fits` is false when the data was longer than the
// buffer (then `bytes` is empty).
struct RegistryData
{
    std::uint32_t type = 0;
    std::string bytes;
    bool fits = true;
};

// The text of string data (not expanded), or nothing when the data is of another type, too long,
// of odd length or not terminated. No data reads as "".
std::optional<std::wstring> TextFromRegistryData(const RegistryData& data);

}  // namespace shellmenu
