#include <gtest/gtest.h>

#include <map>

#include "setup/htmlview/parser/attributes.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/util/anchor_names.h"
#include "setup/htmlview/util/url_target.h"

namespace {

using namespace htmlview;

AttributeList ListOf(std::initializer_list<std::pair<const char*, const char*>> attributes)
{
    AttributeList list;
    for (const auto& [name, value] : attributes)
        list.Add({AttributeSymbol(name), name, value, 0});
    return list;
}

TEST(AttributeList, NamesLinesAndInlineStyle)
{
    AttributeList list = ListOf({{"CLASS", "Note"},
                                 {"ID", "Top"},
                                 {"TITLE", "Read Me"},
                                 {"STYLE", "color: red; margin-left: 3px"}});
    EXPECT_EQ(list.Class(), "note");
    EXPECT_EQ(list.Id(), "top");
    EXPECT_EQ(list.Title(), "Read Me");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"CLASS=Note", "ID=Top", "TITLE=Read Me",
                                                      "STYLE=color: red; margin-left: 3px"}));
    const Properties* style = list.Style();
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->Integer(ColorProp), static_cast<int>(*ParseColor("red", true)));
    EXPECT_TRUE(style->IsExplicit(MarginLeft));

    // Clearing forgets the cached ID and the style with the attributes.
    list.Clear();
    list.Add({Sym::Id, "ID", "Other", 0});
    EXPECT_EQ(list.Id(), "other");
    EXPECT_EQ(list.Style(), nullptr);
    EXPECT_EQ(list.Class(), "");
    EXPECT_EQ(list.Title(), "");
}

TEST(UrlTarget, EveryAssignmentIsANewLinkAndCopiesShareIt)
{
    LinkNumbers numbers;
    UrlTarget first, second;
    first.Assign("a.htm", "_top", numbers);
    second.Assign("b.htm", "", numbers);
    EXPECT_NE(first.linkNumber, second.linkNumber);
    first.tabIndex = 3;
    const UrlTarget copy = first;  // an image inside the same link
    EXPECT_EQ(copy.linkNumber, first.linkNumber);
    EXPECT_EQ(copy.tabIndex, 3);
    first.Clear();
    EXPECT_EQ(first.url, "");
    EXPECT_EQ(first.tabIndex, 0);
}

class FakeLayout : public ICharPositionLocator
{
public:
    bool YOfCharPosition(int position, int& y) const override
    {
        const auto found = ys.find(position);
        if (found == ys.end())
            return false;
        y = found->second;
        return true;
    }
    std::map<int, int> ys;
};

class FixedAnchor : public IAnchorTarget
{
public:
    explicit FixedAnchor(int y) : m_y(y) {}
    int AnchorY() const override { return m_y; }

private:
    int m_y;
};

TEST(AnchorNames, ANameIsReplacedAndCharacterPositionsFollowTheLayout)
{
    FakeLayout layout;
    layout.ys = {{40, 700}};
    AnchorNames names(layout);
    names.AddCharPosition("INTRO", 40);
    names.AddCharPosition("LOST", 99);
    EXPECT_EQ(names.Find("INTRO")->AnchorY(), 700);
    EXPECT_EQ(names.Find("LOST")->AnchorY(), 0);  // not laid out
    EXPECT_EQ(names.Find("intro"), nullptr);      // names come upper-cased from the parser

    const FixedAnchor table(1200);
    names.Add("INTRO", table);
    EXPECT_EQ(names.Size(), 2u);
    EXPECT_EQ(names.Find("INTRO")->AnchorY(), 1200);
    names.AddCharPosition("INTRO", 40);
    EXPECT_EQ(names.Find("INTRO")->AnchorY(), 700);
}

}  // namespace
