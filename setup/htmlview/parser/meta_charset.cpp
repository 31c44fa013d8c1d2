#include "setup/htmlview/parser/meta_charset.h"

#include "setup/htmlview/parser/charsets.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

void ApplyMetaContentType(std::string_view httpEquiv, std::string_view content,
                          Properties& current, Tokenizer& tokenizer, const IFontCatalog& fonts)
{
    if (!EqualsNoCase(httpEquiv, "content-type"))
        return;
    constexpr int kShiftJisCharset = 128;
    if (const auto charset = CharsetOfContent(content)) {
        if (*charset == kCharsetEucJp) {
            tokenizer.ConvertRestFromEucJp();
            current.AssignCharset(kShiftJisCharset, fonts);
        } else {
            current.AssignCharset(*charset, fonts);
        }
    } else if (LowerAscii(content).find("utf-8") != std::string::npos) {
        current.SwitchToUtf8();
    }
    tokenizer.SetCodePage(current.codePage);
}

}  // namespace htmlview
