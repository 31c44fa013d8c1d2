#include "setup/htmlview/parser/area_map.h"

#include <gtest/gtest.h>

#include "setup/htmlview/parser/tokenizer.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;

// The map of the AREA tags of a text.
MapItem MapOf(std::string_view areas)
{
    FakeCodePages codePages;
    Tokenizer tokenizer(std::string(areas), codePages);
    MapItem map("m");
    tokenizer.GetCh();
    for (tokenizer.ReadSymbol(); tokenizer.Symbol() != Sym::Eof; tokenizer.ReadSymbol())
        if (tokenizer.Symbol() == Sym::Area)
            map.AddArea(tokenizer.Attributes());
    return map;
}

std::string HrefAt(const MapItem& map, int x, int y)
{
    const auto link = map.LinkAt(x, y);
    return link ? link->href : "-";
}

TEST(SplitCoords, CutsAtCommasOrSpaces)
{
    EXPECT_EQ(SplitCoords(" 1, 2 ,3 4,,5 "), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(SplitCoords("1.5,x,-3"), (std::vector<int>{0, 0, -3}));
    EXPECT_EQ(SplitCoords("123456789012345678901234,7"), (std::vector<int>{0, 7}));
    std::string many;
    for (int i = 0; i < 1000; ++i)
        many += "1,";
    EXPECT_EQ(SplitCoords(many).size(), kMaxCoords);
}

TEST(MapItem, FirstContainingAreaDecides)
{
    const MapItem map = MapOf(
        "<area shape=circle coords=\"10,10,5\" href=circle.htm title=c>"
        "<area shape=rect coords=\"0,0,30,30\" nohref>"
        "<area coords=\"0,0,100,100\" href=behind.htm>"
        "<area shape=poly coords=\"40,40,60,40,50,60\" href=never.htm>"
        "<area shape=rect coords=\"1,2,3\" href=short.htm>");
    struct Case
    {
        int x, y;
        const char* href;
    };
    const Case cases[] = {
        {15, 10, "circle.htm"}, {16, 10, "-"},          {10, 15, "circle.htm"},
        {20, 20, "-"},          {31, 31, "behind.htm"}, {100, 100, "behind.htm"},
        {101, 50, "-"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HrefAt(map, c.x, c.y), c.href) << c.x << "," << c.y;
    EXPECT_EQ(map.LinkAt(15, 10)->title, "c");
}

TEST(MapItem, HrefAndNohrefCountInTheirOrderAndPolygonsWind)
{
    const MapItem linked = MapOf("<area nohref href=a.htm coords=0,0,9,9>");
    EXPECT_EQ(HrefAt(linked, 5, 5), "a.htm");
    const MapItem unlinked = MapOf("<area href=a.htm nohref coords=0,0,9,9>");
    EXPECT_EQ(HrefAt(unlinked, 5, 5), "-");

    const MapItem triangle = MapOf("<area shape=polygon coords=\"0,0,20,0,10,20\" href=t.htm>");
    EXPECT_EQ(HrefAt(triangle, 10, 5), "t.htm");
    EXPECT_EQ(HrefAt(triangle, 1, 18), "-");

    const MapItem huge = MapOf("<area shape=circ coords=\"0,0,2147483647\" href=h.htm>");
    EXPECT_EQ(HrefAt(huge, 1000, 1000), "h.htm");
}

}  // namespace
