// The language client's decisions: which entry is the current language, and which entry a request
// for a language index reads.
#pragma once

#include <span>
#include <string_view>

namespace suite {

inline constexpr std::wstring_view kFallbackLanguageCode = L"NTV";

// The last entry whose code equals the current code, else the last "NTV" entry, else 0; codes
// compared without regard to case.
int ChooseLanguageIndex(std::span<const std::wstring_view> codes, std::wstring_view currentCode);

// The entry a request for `requested` reads: out of range on either side means entry 0.
int EntryIndexFor(int requested, int count);

// The number of entries the base library says it filled, kept within the table handed to it.
int ClampLanguageCount(int reported, int allocated);

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

}  // namespace suite
