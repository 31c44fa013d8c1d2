#include "setup/htmlview/style/cascade.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "setup/htmlview/parser/css_reader.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/font_info.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;

// A document's open elements over the default sheet and a style sheet: Open pushes an element
// styled as the parser would style it.
class OpenElements
{
public:
    explicit OpenElements(std::string_view css, DefaultSheetSettings settings = {})
    {
        m_sheet.InitializeDefaults(settings);
        ReadStyleSheetText(css, {}, m_sheet);
        auto root = std::make_unique<Properties>();
        root->Merge(*m_sheet.Find("default"));
        m_stack.push_back(std::move(root));
    }

    // "tag.class#id:pseudo", each after the tag optional.
    Properties& Open(std::string_view path, std::string_view inlineCss = {})
    {
        ElementSelector selector;
        std::string_view rest = path;
        auto cut = [&](char mark) {
            const std::size_t at = rest.rfind(mark);
            if (at == std::string_view::npos)
                return std::string();
            std::string piece(rest.substr(at + 1));
            rest = rest.substr(0, at);
            return piece;
        };
        selector.pseudo = cut(':');
        selector.id = cut('#');
        selector.cssClass = cut('.');
        selector.tag = rest;
        if (!inlineCss.empty()) {
            m_inline.push_back(std::make_unique<Properties>());
            ReadInlineStyle(inlineCss, *m_inline.back());
            selector.inlineStyle = m_inline.back().get();
        }
        auto element = std::make_unique<Properties>();
        element->Inherit(*m_stack.back());
        std::vector<const Properties*> ancestors;
        for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it)
            ancestors.push_back(it->get());
        Combine(*element, selector, m_sheet, ancestors);
        m_stack.push_back(std::move(element));
        return *m_stack.back();
    }

    // Opens every element of a space-separated path; returns the last.
    Properties& OpenPath(std::string_view path, std::string_view inlineCss = {})
    {
        Properties* last = nullptr;
        while (!path.empty()) {
            const std::size_t space = path.find(' ');
            const std::string_view part = path.substr(0, space);
            path = space == std::string_view::npos ? std::string_view() : path.substr(space + 1);
            last = &Open(part, path.empty() ? inlineCss : std::string_view());
        }
        return *last;
    }

    // Takes an open element out of the middle, as a misnested end tag does.
    void RemoveAt(std::size_t index)
    {
        m_stack.erase(m_stack.begin() + static_cast<std::ptrdiff_t>(index));
        std::vector<Properties*> stack;
        for (const auto& entry : m_stack)
            stack.push_back(entry.get());
        ReInheritFrom(stack, index, m_sheet);
    }

    FakeFontCatalog fonts;

private:
    StyleList m_sheet{fonts};
    std::vector<std::unique_ptr<Properties>> m_stack;
    std::vector<std::unique_ptr<Properties>> m_inline;
};

std::uint32_t ColorOf(const Properties& element)
{
    return static_cast<std::uint32_t>(element.Integer(ColorProp).value_or(-1));
}

std::uint32_t Named(const char* name)
{
    return *ParseColor(name, true);
}

TEST(Cascade, RulesApplyInTheirOrderOfPrecedence)
{
    struct Case
    {
        const char* css;
        const char* path;
        const char* inlineCss;
        const char* expected;  // a colour name, "text" for the default text colour or "0"
    };
    const Case cases[] = {
        {"b { color: red } p b { color: blue }", "p b", "", "blue"},
        {"b { color: red } p b { color: blue }", "div b", "", "red"},
        {"p b { color: blue } b { color: red }", "p b", "", "blue"},
        {"p.x { color: red } #y { color: green }", "p.x#y", "", "green"},
        {".x { color: red } p { color: blue }", "p.x", "", "red"},
        {"p { color: red } p.x { color: green } .x { color: blue }", "p.x", "", "green"},
        {"p { color: red } #y { color: green }", "p#y", "color: teal", "teal"},
        {"p { color: red }", "p", "color: nonsense", "0"},
        {"div b { color: blue }", "div span i b", "", "blue"},
        {"div p b { color: blue }", "p div b", "", "text"},
        {"div p b { color: blue }", "div ul p i b", "", "blue"},
        {".x b { color: blue }", "div.x p b", "", "blue"},
        {"b.y p { color: blue } b p { color: red }", "b.y p", "", "red"},
        {"p:hover { color: red } p { color: blue }", "p:hover", "", "red"},
        {"body b { color: red }", "b", "", "text"},
    };
    for (const Case& c : cases) {
        OpenElements elements(c.css);
        const Properties& element = elements.OpenPath(c.path, c.inlineCss);
        const std::string_view name = c.expected;
        const std::uint32_t expected = name == "text" || name == "0" ? 0 : Named(c.expected);
        EXPECT_EQ(ColorOf(element), expected) << c.css << " | " << c.path << " | " << c.inlineCss;
    }
}

TEST(Cascade, LinkColoursSpillIntoVisitedAndHoverUntilTheyHaveTheirOwn)
{
    struct Case
    {
        const char* css;
        const char* normal;
        const char* visited;
        const char* hover;
        const char* visitedHover;
    };
    const Case cases[] = {
        {":link { color: red }", "red", "red", "red", "red"},
        {":link { color: red } :visited { color: green }", "red", "green", "green", "green"},
        {":link { color: red } :hover { color: lime }", "red", "red", "lime", "lime"},
        {"a { color: teal }", "teal", "purple", "red", "red"},
    };
    DefaultSheetSettings settings;
    settings.linkColor = 0xFF0000;     // blue
    settings.visitedColor = 0x800080;  // purple
    settings.hoverColor = 0x0000FF;    // red
    for (const Case& c : cases) {
        OpenElements elements(c.css, settings);
        const Properties& link = elements.OpenPath("p a:link");
        ASSERT_TRUE(link.link);
        ASSERT_TRUE(link.linkStates.has_value());
        const FontInfoArray& states = *link.linkStates;
        EXPECT_EQ(states[0].color, Named(c.normal)) << c.css;
        EXPECT_EQ(states[1].color, Named(c.visited)) << c.css;
        EXPECT_EQ(states[2].color, Named(c.hover)) << c.css;
        EXPECT_EQ(states[3].color, Named(c.visitedHover)) << c.css;
        EXPECT_TRUE(states[0].underline) << c.css;
    }
}

TEST(Cascade, RemovingAnElementBelowReInheritsWhatWasNotSetExplicitly)
{
    OpenElements elements("div { font-family: Courier New; color: green }");
    elements.OpenPath("div");
    Properties& bold = elements.Open("b", "color: red");
    Properties& link = elements.Open("a:link");
    ASSERT_EQ((*link.linkStates)[0].name, "courier new");  // as the sheet wrote it
    ASSERT_EQ(ColorOf(bold), Named("red"));

    elements.RemoveAt(1);  // the DIV
    EXPECT_EQ(*bold.Text(FontFamily), "Times New Roman");
    EXPECT_EQ(ColorOf(bold), Named("red"));  // its own
    // The link's font states are computed again under its new parent.
    EXPECT_EQ((*link.linkStates)[0].name, "Times New Roman");
    EXPECT_EQ((*link.linkStates)[0].color, 0x02FF0000u);  // the link colour
}

TEST(Cascade, InheritanceKeepsBoxValuesToTheElementExceptUnderSpan)
{
    OpenElements elements(
        "span, div { margin-left: 5px; border-style: solid; vertical-align: sub; z-index: 3;"
        " background-color: red }");
    const Properties& underSpan = elements.OpenPath("span b");
    EXPECT_EQ(*underSpan.Text(MarginLeft), "5px");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(underSpan.Value(BorderStyle)));
    EXPECT_FALSE(underSpan.IsExplicit(MarginLeft));

    OpenElements blocks(
        "div { margin-left: 5px; border-style: solid; vertical-align: sub; z-index: 3;"
        " background-color: red }");
    const Properties& underDiv = blocks.OpenPath("div b");
    EXPECT_EQ(underDiv.Integer(MarginLeft), kNotSet);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(underDiv.Value(BackgroundColor)));
    EXPECT_EQ(*underDiv.Text(VerticalAlign), "sub");
    EXPECT_EQ(*underDiv.Text(ZIndex), "3");
}

TEST(Cascade, PresentationalAttributesLoseToRules)
{
    OpenElements elements("p { color: red }");
    Properties& styled = elements.OpenPath("p");
    styled.AssignPresentational(ColorProp, static_cast<int>(Named("blue")));
    EXPECT_EQ(ColorOf(styled), Named("red"));
    Properties& plain = elements.Open("div");
    plain.AssignPresentational(ColorProp, static_cast<int>(Named("blue")));
    plain.AssignPresentational(ColorProp, static_cast<int>(Named("lime")));
    EXPECT_EQ(ColorOf(plain), Named("blue"));
}

TEST(Cascade, FontSizesBecomePointsRelativeToTheParent)
{
    struct Case
    {
        const char* css;
        const char* path;
        double points;
    };
    const Case cases[] = {
        {"", "p", 12},
        {"p { font-size: 2em }", "p", 24},
        {"", "h1", 24},
        {"", "h6", 8},
        {"b { font-size: 150% }", "h1 b", 36},
        {"", "h1 big", 30},
        {"", "pre", 10},
        {"", "p sup", 9},
    };
    for (const Case& c : cases) {
        OpenElements elements(c.css);
        const Properties& element = elements.OpenPath(c.path);
        EXPECT_DOUBLE_EQ(std::get<double>(element.Value(FontSize)), c.points) << c.css << c.path;
    }
}

TEST(DefaultSheet, ListsParagraphsAndParagraphsInsidePre)
{
    OpenElements elements("");
    EXPECT_EQ(elements.OpenPath("ul").Integer(MarginLeft), 35);
    OpenElements paragraphs("");
    EXPECT_EQ(paragraphs.OpenPath("div p").Integer(MarginTop), kCollapsibleMargin);
    OpenElements preformatted("");
    EXPECT_EQ(preformatted.OpenPath("pre p").Integer(MarginTop), 0);
}

TEST(StyleList, RuleValuesAreStoredAsTheModelKeepsThem)
{
    FakeFontCatalog fonts;
    StyleList sheet(fonts);
    ReadStyleSheetText(
        "p { text-transform: uppercase; visibility: hidden; font-variant: bold;"
        " border-left-style: dotted; background-color: nonsense; color: nonsense }"
        " i { text-transform: capitalize; border-color: red }",
        {}, sheet);
    const Properties& p = *sheet.Find("p");
    EXPECT_EQ(p.Integer(TextTransform), 1);
    EXPECT_EQ(p.Integer(Visibility), 1);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(p.Value(FontVariant)));
    EXPECT_EQ(*p.Text(BorderStyle), "dotted");
    EXPECT_EQ(p.Integer(BackgroundColor), static_cast<int>(kNoColor));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(p.Value(ColorProp)));
    const Properties& i = *sheet.Find("i");
    EXPECT_EQ(i.Integer(TextTransform), 0);
    EXPECT_EQ(i.Integer(BorderTopColor), static_cast<int>(Named("red")));
    EXPECT_EQ(i.Integer(BorderLeftColor), static_cast<int>(Named("red")));
    EXPECT_FALSE(sheet.HoverStyling());
    sheet.AddRuleValue("a:hover", "color", "red");
    EXPECT_TRUE(sheet.HoverStyling());
}

TEST(Properties, CharsetsAndTheirCodePages)
{
    FakeFontCatalog fonts;
    fonts.reportedCharsets[129] = 0;  // no Korean font installed
    struct Case
    {
        int requested;
        int charset;
        int codePage;
    };
    const Case cases[] = {
        {31, 238, 28592}, {128, 128, 932},  {129, 0, 1252},
        {1, 1, 0},        {204, 204, 1251}, {99, 99, 1252},
    };
    for (const Case& c : cases) {
        Properties properties;
        properties.AssignCharset(c.requested, fonts);
        EXPECT_EQ(properties.charset, c.charset) << c.requested;
        EXPECT_EQ(properties.codePage, c.codePage) << c.requested;
    }
}

TEST(FontInfo, FamiliesFallBackToTheFirstInstalledOne)
{
    FakeFontCatalog fonts;
    EXPECT_EQ(InstalledFamily("foo, 'Courier New', serif", fonts), "Courier New");
    EXPECT_EQ(InstalledFamily("foo,serif", fonts), "Times New Roman");
    EXPECT_EQ(InstalledFamily("foo, bar", fonts), "");
    EXPECT_EQ(InstalledFamily(",,,", fonts), "");

    OpenElements elements("b { font-weight: 600 } i { font-weight: 500; font-style: oblique }");
    EXPECT_TRUE(FontInfoOf(elements.OpenPath("b"), 12, elements.fonts).bold);
    const FontInfo italic = FontInfoOf(elements.OpenPath("i"), 12, elements.fonts);
    EXPECT_FALSE(italic.bold);
    EXPECT_TRUE(italic.italic);
}

}  // namespace
