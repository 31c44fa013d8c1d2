// One per-language library as the base language library lists it: the record both sides of that
// library boundary share, six pointer-size slots in a fixed order.
#pragma once

#include <cstddef>

namespace suite {

// Buffer sizes in UTF-16 characters, terminator included: 10, 50, 1000 and 18 bytes.
inline constexpr std::size_t kCodeChars = 5;
inline constexpr std::size_t kNameChars = 25;
inline constexpr std::size_t kPathChars = 500;
inline constexpr std::size_t kExtraChars = 9;

struct LanguageEntry
{
    wchar_t* code;      // kCodeChars, such as "NTV" or "DE"
    wchar_t* name;      // kNameChars, the base library's business; no client reads it
    wchar_t* path;      // kPathChars, the full path of the per-language library
    wchar_t* extra;     // kExtraChars, the base library's business; no client reads it
    void* module;       // the loaded per-language library, when the client keeps it loaded
    void* getBitmapId;  // its bound GetBitmapId
};
static_assert(sizeof(LanguageEntry) == 6 * sizeof(void*), "six pointer-size slots");

}  // namespace suite
