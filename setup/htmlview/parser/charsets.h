// Choosing a document's character set: the charset names a META content type may carry, and the
// conversion of Japanese JIS and EUC texts to Shift-JIS, the form the viewer shows them in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace htmlview {

// Markers of the name table that are not Windows character sets.
constexpr int kCharsetLatin2Iso = 31;  // ISO-8859-2: character set 238 with code page 28592
constexpr int kCharsetEucJp = 30;      // EUC-JP: converted to Shift-JIS, then character set 128

// The first name fragment of the table found anywhere in the lower-cased content text.
std::optional<int> CharsetOfContent(std::string_view content);

bool HasJisEscape(std::string_view text);  // ESC "$@" or ESC "$B"
std::string JisToShiftJis(std::string_view text);
std::string EucJpToShiftJis(std::string_view text);

}  // namespace htmlview
