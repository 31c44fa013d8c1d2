// One per-language library as the base language library lists it: the record both sides of that
// library boundary share, six pointer-size slots in a fixed order.
#pragma once

#include <cstddef>

namespace suite {

inline constexpr std::size_t kCodeBytes = 10;
inline constexpr std::size_t kNameBytes = 50;
inline constexpr std::size_t kPathBytes = 1000;
inline constexpr std::size_t kExtraBytes = 18;

struct LanguageEntry
{
    wchar_t* code;       // kCodeBytes, such as "NTV" or "DE"
    wchar_t* name;       // kNameBytes, the base library's business; no client reads it
    wchar_t* path;       // kPathBytes, the full path of the per-language library
    wchar_t* extra;      // kExtraBytes, the base library's business; no client reads it
    void* module;        // the loaded per-language library, when the client keeps it loaded
    void* getBitmapId;   // its bound GetBitmapId
};
static_assert(sizeof(LanguageEntry) == 6 * sizeof(void*), "six pointer-size slots");

}  // namespace suite
