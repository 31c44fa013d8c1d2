#include "setup/htmlview/parser/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/htmlview/parser/charsets.h"
#include "setup/htmlview/util/fake_platform.h"
#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/utf8.h"

namespace {

using namespace htmlview;

// The symbols of a document as short texts: "<b>", "</h3>", "<?>" for an unknown tag and the
// text of a run in quotes (UTF-8).
std::string Describe(const Tokenizer& tokenizer)
{
    const Sym symbol = tokenizer.Symbol();
    if (symbol == Sym::Text)
        return "'" + Utf16ToUtf8(tokenizer.Token().Text()) + "'";
    if (symbol == Sym::UnknownTag)
        return "<?>";
    std::string name(TagNameOf(symbol));
    const bool endTag = EndSymbolOf(StartTagSymbol(UpperAscii(name))) == symbol;
    if (symbol == Sym::H || symbol == Sym::HEnd)
        name += std::to_string(tokenizer.HeadingLevel());
    return (endTag ? "</" : "<") + name + ">";
}

struct Reader
{
    explicit Reader(std::string document, TokenizerHooks hooks = {})
        : tokenizer(std::move(document), codePages, std::move(hooks))
    {
        tokenizer.GetCh();
    }

    std::vector<std::string> All()
    {
        std::vector<std::string> symbols;
        for (tokenizer.ReadSymbol(); tokenizer.Symbol() != Sym::Eof; tokenizer.ReadSymbol()) {
            symbols.push_back(Describe(tokenizer));
            if (tokenizer.Symbol() == Sym::Script)
                tokenizer.ReadScript();
            if (tokenizer.Symbol() == Sym::Textarea)
                symbols.push_back("[" + tokenizer.ReadTextArea() + "]");
        }
        return symbols;
    }

    FakeCodePages codePages;
    Tokenizer tokenizer;
};

using Symbols = std::vector<std::string>;

TEST(Tokenizer, ReadsSymbolsOfWellAndBadlyFormedMarkup)
{
    struct Case
    {
        std::string document;
        Symbols expected;
    };
    const Case cases[] = {
        {"a<!-- x - y -->b", {"'ab'"}},
        {"a<!-- x -- \r\n !>b<!-- -- x -->c", {"'abc'"}},
        {"<!DOCTYPE html><p>x", {"<p>", "'x'"}},
        {"a < b", {"'a '", "'<'", "' b'"}},
        {"<BR/>x<br />y", {"<?>", "'x'", "<br>", "'y'"}},
        {"<H3>t</H3><h7>", {"<h3>", "'t'", "</h3>", "<?>"}},
        {"<LI></LI></li >", {"<li>", "<?>", "<?>"}},
        {"<p\r\nalign=left>x", {"<p>", "'x'"}},
        {"<b", {"<b>"}},
        {"</>", {"<?>"}},
        {"<1>", {"'<'", "'1>'"}},
        {"a \t\r\n\r\n b", {"'a b'"}},
        {"&amp;&#38;&#x26;&#X26;&AMP;", {"'&&&&&AMP;'"}},
        {"a&nbsp b", {"'a\xC2\xA0 b'"}},
        {"&euro;&#8364;&#128;", {"'\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC'"}},
        {"&#9;|&#1;|&#;|&#x;|&#xZ|&;|&unknown;", {"' |?|&#;|&#x;|&#xZ|&;|&unknown;'"}},
        {"&#128512;", {"'\xF0\x9F\x98\x80'"}},
        {"&#99999999999;", {"'?9;'"}},
        {std::string("a\0<b>", 5), {"'a'"}},
        {"<script language=js>a<b\r\n</script >c", {"<script>", "'c'"}},
        {"<script><!-- </script> -->x</script>y", {"<script>", "'y'"}},
        {"<textarea>l1\r\nl2 &amp; <b></textarea>z", {"<textarea>", "[l1\r\nl2 & <b>]", "'z'"}},
        {"<textarea>ab<cd", {"<textarea>", "[ab<cd]"}},
    };
    for (const Case& c : cases) {
        Reader reader(c.document);
        EXPECT_EQ(reader.All(), c.expected) << c.document;
    }
}

TEST(Tokenizer, RaisesParseErrorsWhereTheyAreReached)
{
    Reader openComment("a<!-- open - -");
    EXPECT_THROW(openComment.tokenizer.ReadSymbol(), ParseError);

    Reader control(
        "ab\x07"
        "c");
    control.tokenizer.ReadSymbol();
    EXPECT_EQ(Describe(control.tokenizer), "'ab'");
    try {
        control.tokenizer.ReadSymbol();
        ADD_FAILURE() << "no error at the control byte";
    } catch (const ParseError& error) {
        EXPECT_STREQ(error.what(), "Not an HTML or Text document");
    }
}

TEST(Tokenizer, ReadsAttributeValuesAndNumbers)
{
    struct Case
    {
        const char* tag;
        Sym symbol;
        const char* value;
        int number;
    };
    const Case cases[] = {
        {"<td width=50%>", Sym::Width, "50%", 50},
        {"<td width = \"50%\">", Sym::Width, "50%", 50},
        {"<td width=' 12.4 '>", Sym::Width, " 12.4 ", 12},
        {"<table border>", Sym::Border, "", 1},
        {"<td width=99999999999999>", Sym::Width, "99999999999999", 2147483647},
        {"<td width=-99999999999999>", Sym::Width, "-99999999999999", -2147483647 - 1},
        {"<td width=\"1e999\">", Sym::Width, "1e999", 2147483647},
        {"<td width=abc>", Sym::Width, "abc", 0},
        {"<a href=\"x&euro;y\">", Sym::Href, "x\x80y", 0},
        {"<a href=\"&euro\">", Sym::Href, "&euro", 0},
        {"<a href=\"&eacute\">", Sym::Href, "\xE9", 0},
        {"<a href=\"&#233;&#8364;&#1;\">", Sym::Href, "\xE9\x80?", 0},
        {"<img alt=\"a\r\nb\">", Sym::Alt, "ab", 0},
        {"<img data-x=1>", Sym::UnknownAttribute, "1", 1},
        {"<body text=red>", Sym::Text, "red", 0},
    };
    for (const Case& c : cases) {
        Reader reader(c.tag);
        reader.tokenizer.ReadSymbol();
        const Attribute* attribute = reader.tokenizer.Attributes().Find(c.symbol);
        ASSERT_NE(attribute, nullptr) << c.tag;
        EXPECT_EQ(attribute->value, c.value) << c.tag;
        EXPECT_EQ(attribute->number, c.number) << c.tag;
    }
}

TEST(Tokenizer, KeepsAtMostSoManyAttributes)
{
    std::string tag = "<p";
    for (int i = 0; i < 1000; ++i)
        tag += " a" + std::to_string(i) + "=1";
    Reader reader(tag + " align=left>x");
    reader.tokenizer.ReadSymbol();
    EXPECT_EQ(reader.tokenizer.Attributes().Items().size(), AttributeList::kMaxAttributes);
    reader.tokenizer.ReadSymbol();
    EXPECT_EQ(Describe(reader.tokenizer), "'x'");
}

TEST(Tokenizer, PositionsCountTheSourceBytes)
{
    Reader plain("ab<b>c");
    plain.tokenizer.ReadSymbol();
    EXPECT_EQ(plain.tokenizer.Token().Positions(), (std::vector<int>{0, 1}));
    plain.tokenizer.ReadSymbol();
    EXPECT_EQ(plain.tokenizer.TagPosition(), 2);

    // With a byte-order mark the text is UTF-8 and positions still count the mark; the two
    // bytes of one letter give one character at the first byte's position.
    Reader marked(
        "\xEF\xBB\xBF"
        "abcd\xC3\xA9");
    EXPECT_TRUE(marked.tokenizer.StartsWithUtf8Mark());
    EXPECT_EQ(marked.tokenizer.CodePage(), 65001);
    marked.tokenizer.ReadSymbol();
    EXPECT_EQ(marked.tokenizer.Token().Text(), u"abcd\u00E9");
    EXPECT_EQ(marked.tokenizer.Token().Positions(), (std::vector<int>{3, 4, 5, 6, 7}));

    Reader entity("x&amp;y");
    entity.tokenizer.ReadSymbol();
    EXPECT_EQ(entity.tokenizer.Token().Positions(), (std::vector<int>{0, 1, 6}));
}

TEST(Tokenizer, ReportsIdsScriptsAndIncludes)
{
    std::vector<std::string> calls;
    TokenizerHooks hooks;
    hooks.idFound = [&](const std::string& id, int position) {
        calls.push_back("id " + id + " " + std::to_string(position));
    };
    hooks.script = [&](const std::string& name, const std::string& language,
                       const std::string& script) {
        calls.push_back("script " + name + "/" + language + ": " + script);
    };
    hooks.include = [&](const std::string& command, const std::vector<std::string>& params) {
        std::string call = "include " + command;
        for (const std::string& param : params)
            call += " " + param;
        calls.push_back(call);
        return std::string("<b>in</b>");
    };
    Reader reader(
        "<div id=top>"
        "<script name=s language=js>if (a<b)\r\n  x();</SCRIPT>"
        "<!--#insert file=\"a&amp;b.htm\" flag  -->rest",
        hooks);
    EXPECT_EQ(reader.All(), (Symbols{"<div>", "<script>", "<b>", "'in'", "</b>", "'rest'"}));
    EXPECT_EQ(calls, (std::vector<std::string>{"id top 11", "script s/js: if (a<b)\r\n  x();",
                                               "include insert file=a&b.htm flag"}));
}

TEST(Tokenizer, ReadsNoCommentInsideAnIncludesParameters)
{
    TokenizerHooks hooks;
    hooks.include = [](const std::string&, const std::vector<std::string>& params) {
        return params.front();
    };
    Reader nested("<!--#a p=\"&<!--#a p=1-->\" -->x", hooks);
    // The inner comment is part of the value; it becomes a comment of the inserted text.
    EXPECT_EQ(nested.All(), Symbols{"'p=&p=1x'"});
    EXPECT_THROW(Reader("<!--#a p=\"&<!--#a p=1-->", hooks).All(), ParseError);
}

TEST(Tokenizer, StopsIncludingAfterSoManyIncludes)
{
    int includes = 0;
    TokenizerHooks hooks;
    hooks.include = [&](const std::string&, const std::vector<std::string>&) {
        ++includes;
        return std::string("x<!--#again-->");
    };
    Reader reader("<!--#start-->", hooks);
    const Symbols symbols = reader.All();
    EXPECT_EQ(includes, Tokenizer::kMaxIncludes);
    ASSERT_EQ(symbols.size(), 1u);
    EXPECT_EQ(symbols[0].size(), static_cast<std::size_t>(Tokenizer::kMaxIncludes) + 2);
}

TEST(Charsets, NamesAndJapaneseConversions)
{
    struct Case
    {
        const char* content;
        std::optional<int> charset;
    };
    const Case cases[] = {
        {"text/html; charset=ISO-8859-15", 0},
        {"text/html; charset=iso-8859-2", kCharsetLatin2Iso},
        {"text/html; charset=Shift_JIS", 128},
        {"text/html; charset=euc-jp", kCharsetEucJp},
        {"text/html; charset=windows-1251", 204},
        {"text/html; charset=utf-8", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CharsetOfContent(c.content), c.charset) << c.content;

    EXPECT_EQ(JisToShiftJis("a\x1b$B\x30\x21\x1b(Bx"), "a\x88\x9Fx");
    EXPECT_EQ(JisToShiftJis("\x1b$B\x25\x60"), "\x83\x80");
    EXPECT_EQ(EucJpToShiftJis("\xB0\xA1x"), "\x88\x9Fx");

    Reader jis("\x1b$B\x30\x21\x1b(B");
    EXPECT_TRUE(jis.tokenizer.ConvertedToShiftJis());
    EXPECT_EQ(jis.tokenizer.CodePage(), 932);
}

}  // namespace
