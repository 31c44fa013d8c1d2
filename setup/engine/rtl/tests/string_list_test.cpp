#include "setup/engine/rtl/string_list.h"

#include <random>

#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/int_text.h"

namespace setup::rtl {
namespace {

using Items = std::vector<std::string>;

TEST(CommaText, WritesAndReadsBackExactTexts)
{
    struct Case
    {
        Items items;
        std::string text;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"a", "b"}, "a,b"},
        {{"a b"}, "\"a b\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"x,y", "z"}, "\"x,y\",z"},
        {{"a", "", "b"}, "a,,b"},
        {{"a", ""}, "a,"},
        {{"", ""}, ","},
        {{"tab\there", "C:\\Program Files\\X"}, "\"tab\there\",\"C:\\Program Files\\X\""},
        {{"\xE4\xF6"}, "\xE4\xF6"},  // bytes above 127 need no quotes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToCommaText(c.items), c.text);
        EXPECT_EQ(FromCommaText(c.text), c.items) << c.text;
    }
}

TEST(CommaText, ReadsLooseInput)
{
    struct Case
    {
        std::string text;
        Items items;
    };
    const Case cases[] = {
        {"  a , b", {"a", "b"}},
        {"a b", {"a", "b"}},  // a blank ends an unquoted item
        {"a, ", {"a"}},
        {"\"unterminated", {"unterminated"}},
        {"\"q\"x,y", {"q", "x", "y"}},
        {std::string("a,b\0,c", 6), {"a", "b"}},  // zero-terminated text
        {"\r\n a\r\n", {"a"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FromCommaText(c.text), c.items) << c.text;
}

TEST(CommaText, RoundTripsRandomItems)
{
    std::mt19937 random(42);
    const std::string alphabet = "ab \",\t\r\n\x01\xE4$=";
    for (int round = 0; round < 5000; ++round) {
        Items items(random() % 5);
        for (std::string& item : items) {
            item.resize(random() % 6);
            for (char& c : item)
                c = alphabet[random() % alphabet.size()];
        }
        ASSERT_EQ(FromCommaText(ToCommaText(items)), items) << ToCommaText(items);
    }
}

TEST(StringList, IndexOfIgnoresLetterCase)
{
    TStringList list{"TARGET", "C:\\X", "Silent", "1"};
    EXPECT_EQ(list.IndexOf("target"), 0);
    EXPECT_EQ(list.IndexOf("c:\\x"), 1);
    EXPECT_EQ(list.IndexOf("SILENT"), 2);
    EXPECT_EQ(list.IndexOf("missing"), -1);
    list.SetCommaText(list.CommaText());
    EXPECT_EQ(list.Count(), 4u);
}

TEST(IntText, FollowsTheFrameworkRules)
{
    struct Case
    {
        std::string text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {{"5", 5},           {"  -12", -12},
                          {"+7", 7},          {"$1F", 31},
                          {"0x10", 16},       {"2147483647", 2147483647},
                          {"2147483648", {}}, {"-2147483648", INT32_MIN},
                          {"", {}},           {"5 ", {}},
                          {"x", {}},          {"$FFFFFFFF", -1},
                          {"-", {}}};
    for (const Case& c : cases)
        EXPECT_EQ(TryStrToInt(c.text), c.value) << c.text;
    try {
        StrToInt("5a");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'5a' is not a valid integer value");
    }
}

}  // namespace
}  // namespace setup::rtl
