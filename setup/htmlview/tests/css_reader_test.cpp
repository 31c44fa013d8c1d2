#include "setup/htmlview/parser/css_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/htmlview/parser/css_shorthands.h"
#include "setup/htmlview/parser/tokenizer.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;
using Lines = std::vector<std::string>;

// Keeps every declaration as "key { property: value }".
class RecordingSheet : public IStyleSheetTarget
{
public:
    void AddRuleValue(const std::string& key, const std::string& property,
                      const std::string& value) override
    {
        lines.push_back(key + " { " + property + ": " + value + " }");
    }
    int TakeDescendantNumber() override { return counter++; }

    Lines lines;
    int counter = 10;
};

class RecordingDeclarations : public IDeclarationTarget
{
public:
    void Assign(const std::string& property, const std::string& value) override
    {
        lines.push_back(property + ": " + value);
    }
    Lines lines;
};

Lines ReadSheet(std::string_view text, std::string_view basePath = {})
{
    RecordingSheet sheet;
    ReadStyleSheetText(text, basePath, sheet);
    return sheet.lines;
}

TEST(CssReader, ReadsRulesCommentsAndAtRules)
{
    struct Case
    {
        const char* sheet;
        Lines expected;
    };
    const Case cases[] = {
        {"<!-- p { color: red } -->", {"p { color: red }"}},
        {"P.Note, #X:hover { COLOR : Blue ; }",
         {"p.note { color: blue }", "#x:hover { color: blue }"}},
        {"/* a } b */ p /* c */ { /* d */ margin-top: 1px /* e */ }", {"p { margin-top: 1px }"}},
        {"p { color: red", {"p { color: red }"}},
        {"@import url(x.css); p { width: 1px }", {"p { width: 1px }"}},
        {"@media print { p { color: red } b { x: { } } } i { color: blue }", {"i { color: blue }"}},
        {"@media screen, print { p { color: red } } i { color: blue }",
         {"p { color: red }", "i { color: blue }"}},
        {"ul > li { color: red }", {"ul { color: red }"}},
        {"* { color: red } b { color: blue }", {"b { color: blue }"}},
        {"ul li { color: red } div p b { color: blue }",
         {"li 110ul { color: red }", "b 211p div { color: blue }"}},
        {"p { font-family: \"Times New Roman\" }", {"p { font-family: times new roman }"}},
        {"p { color: red; ; ;; width: 2px; junk; }", {"p { color: red }", "p { width: 2px }"}},
        // A stray "}" is skipped with the text up to the next block, selectors included.
        {"p { a/b: 1 } } b { color: red } i { color: blue }", {"p { b: 1 }", "i { color: blue }"}},
        {"@media screen { <p { color: red } i { color: blue } }", {"i { color: blue }"}},
        {"p { margin: 1px 2px 3px }",
         {"p { margin-top: 1px }", "p { margin-right: 2px }", "p { margin-bottom: 3px }",
          "p { margin-left: 2px }"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadSheet(c.sheet), c.expected) << c.sheet;
}

TEST(CssReader, StopsAtTheStyleElementsEndTag)
{
    FakeCodePages codePages;
    Tokenizer tokenizer("<style><!-- p { color: red } --></style>after", codePages);
    tokenizer.GetCh();
    tokenizer.ReadSymbol();
    ASSERT_EQ(tokenizer.Symbol(), Sym::Style);
    RecordingSheet sheet;
    StyleSheetSource source;
    source.next = [&] {
        tokenizer.ReadChar();
        return tokenizer.Ch();
    };
    source.current = tokenizer.Ch();  // the start tag's ">"
    EXPECT_EQ(ReadStyleSheet(source, sheet), '<');
    EXPECT_EQ(sheet.lines, Lines{"p { color: red }"});
    tokenizer.ReadSymbol();
    EXPECT_EQ(tokenizer.Symbol(), Sym::StyleEnd);
    tokenizer.ReadSymbol();
    EXPECT_EQ(tokenizer.Token().Text(), u"after");
}

TEST(CssReader, ExpandsShorthands)
{
    struct Case
    {
        const char* declaration;
        Lines expected;
    };
    const Case cases[] = {
        {"margin: 1px",
         {"margin-top: 1px", "margin-right: 1px", "margin-bottom: 1px", "margin-left: 1px"}},
        {"padding: 1px 2px",
         {"padding-top: 1px", "padding-right: 2px", "padding-bottom: 1px", "padding-left: 2px"}},
        {"border-color: red green blue white black",
         {"border-top-color: red", "border-right-color: green", "border-bottom-color: blue",
          "border-left-color: white"}},
        {"border: 2px solid rgb(1, 2, 3)",
         {"border-color: rgb(1, 2, 3)", "border-top-width: 2px", "border-right-width: 2px",
          "border-bottom-width: 2px", "border-left-width: 2px", "border-style: solid"}},
        {"border-left: #fff dotted thin",
         {"border-left-color: #fff", "border-left-style: dotted", "border-left-width: thin"}},
        {"font: italic bold 12pt/14pt arial, sans-serif",
         {"font-style: italic", "font-weight: bold", "font-size: 12pt", "line-height: 14pt",
          "font-family: arial,sans-serif"}},
        {"font: small-caps x-large 'times new roman', serif",
         {"font-variant: small-caps", "font-size: x-large",
          "font-family: 'times new roman',serif"}},
        {"background: url(a b.gif) red no-repeat fixed right top",
         {"background-image: url(a b.gif)", "background-color: red", "background-repeat: no-repeat",
          "background-attachment: fixed", "background-position: right top"}},
        {"background: rgb(1,2,3) none 10% 20% 30%",
         {"background-color: rgb(1,2,3)", "background-image: none",
          "background-position: 20% 30%"}},
        {"list-style: square url(dot.gif)",
         {"list-style-type: square", "list-style-image: url(dot.gif)"}},
        {"margin:", {}},
        {"Color: RED; WIDTH = '10px'", {"color: red", "width: 10px"}},
        {"background-image: url(x.gif)", {"background-image: url(x.gif)"}},
        {"content: \"}\"; color: red", {"content: }", "color: red"}},
        {"font-family: a { b } ; color: red", {"font-family: a { b }", "color: red"}},
        {"!!!; ;color:red", {"color: red"}},
    };
    for (const Case& c : cases) {
        RecordingDeclarations target;
        ReadInlineStyle(c.declaration, target);
        EXPECT_EQ(target.lines, c.expected) << c.declaration;
    }
}

TEST(CssReader, ResolvesUrlsOfLinkedSheetsAgainstTheirBase)
{
    struct Case
    {
        const char* base;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"http://h/css/", "url(../img/a.gif)", "url(http://h/img/a.gif)"},
        {"http://h/css/", "url('http://x/a.gif')", "url(http://x/a.gif)"},
        {"C:\\site\\css\\", "url(img/a%20b.gif)", "url(C:\\site\\css\\img\\a b.gif)"},
        {"C:\\site\\css\\", "url(D:/a.gif)", "url(D:\\a.gif)"},
        {"", "url(img/a.gif)", "url(img/a.gif)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveUrlValue(c.value, c.base), c.expected) << c.base << " " << c.value;
    EXPECT_EQ(ReadSheet("p { background: url(a.gif) }", "http://h/css/"),
              Lines{"p { background-image: url(http://h/css/a.gif) }"});
}

TEST(CssReader, DropsSelectorsOfTooManyParts)
{
    std::string selector;
    for (int i = 0; i < 40; ++i)
        selector += "div ";
    EXPECT_EQ(ReadSheet(selector + "p { color: red } b { color: blue }"),
              Lines{"b { color: blue }"});
}

}  // namespace
