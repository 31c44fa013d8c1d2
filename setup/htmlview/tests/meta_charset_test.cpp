#include "setup/htmlview/parser/meta_charset.h"

#include <gtest/gtest.h>

#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;

TEST(MetaContentType, ChoosesTheCharsetAndTheCodePageOfTheTextThatFollows)
{
    struct Case
    {
        const char* httpEquiv;
        const char* content;
        int charset, codePage;
    };
    const Case cases[] = {
        {"Content-Type", "text/html; charset=windows-1251", 204, 1251},
        {"content-type", "text/html; charset=UTF-8", 0, 65001},
        {"content-type", "text/html; charset=iso-8859-2", 238, 28592},
        {"content-type", "text/html", 1, 1252},   // nothing named: as it was
        {"refresh", "charset=windows-1251", 1, 1252},  // not a content type
    };
    FakeCodePages codePages;
    FakeFontCatalog fonts;
    for (const Case& c : cases) {
        Tokenizer tokenizer("x", codePages);
        Properties current;
        ApplyMetaContentType(c.httpEquiv, c.content, current, tokenizer, fonts);
        EXPECT_EQ(current.charset, c.charset) << c.content;
        EXPECT_EQ(current.codePage, c.codePage) << c.content;
        EXPECT_EQ(tokenizer.CodePage(), c.codePage) << c.content;
    }
}

TEST(MetaContentType, AnEucJpDocumentIsReadOnAsShiftJis)
{
    FakeCodePages codePages;
    FakeFontCatalog fonts;
    Tokenizer tokenizer("a\xB0\xA1", codePages);
    tokenizer.GetCh();
    Properties current;
    ApplyMetaContentType("content-type", "text/html; charset=EUC-JP", current, tokenizer, fonts);
    EXPECT_EQ(current.charset, 128);
    EXPECT_EQ(tokenizer.CodePage(), 932);
    tokenizer.ReadChar();
    EXPECT_EQ(tokenizer.Ch(), '\x88');
    tokenizer.ReadChar();
    EXPECT_EQ(tokenizer.Ch(), '\x9F');
}

}  // namespace
