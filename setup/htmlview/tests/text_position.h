// Where a text stands in a laid-out document, for tests that point the mouse at it.
#pragma once

#include <string_view>

#include "setup/htmlview/layout/document.h"

namespace htmlview::fixtures {

// The document position of the text's first character; -1 when the document does not hold it.
inline int PositionOfText(const Document& document, std::u16string_view text)
{
    for (int pos = 0;; ++pos) {
        char16_t c = 0;
        if (!document.CharAt(pos, c))
            return -1;
        std::size_t matched = 0;
        while (matched < text.size() && document.CharAt(pos + static_cast<int>(matched), c) &&
               c == text[matched])
            ++matched;
        if (matched == text.size())
            return pos;
    }
}

}  // namespace htmlview::fixtures
