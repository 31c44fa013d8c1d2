// A META content type choosing the document's character set while it is read.
#pragma once

#include <string_view>

#include "setup/htmlview/parser/tokenizer.h"
#include "setup/htmlview/style/properties.h"

namespace htmlview {

// For http-equiv "content-type": the charset named in the content becomes the current element's
// (an EUC-JP document is converted to Shift-JIS from here on), or UTF-8 when the content says so;
// text runs are then read in the element's code page. Other META elements change nothing.
void ApplyMetaContentType(std::string_view httpEquiv, std::string_view content,
                          Properties& current, Tokenizer& tokenizer, const IFontCatalog& fonts);

}  // namespace htmlview
