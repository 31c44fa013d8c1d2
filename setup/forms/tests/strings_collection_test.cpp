#include <gtest/gtest.h>

#include "setup/forms/collection.h"
#include "setup/forms/strings.h"
#include "setup/forms/tests/test_classes.h"

namespace setup::forms {
namespace {

using namespace testing;

TEST(Strings, TellsOfEachChangeOrOncePerUpdateBlock)
{
    TStrings lines;
    std::vector<std::string> heard;
    lines.OnChanging = [&] { heard.push_back("changing"); };
    lines.OnChange = [&] { heard.push_back("change:" + std::to_string(lines.Count())); };
    lines.Add("a");
    lines.Insert(0, "b");
    lines.BeginUpdate();
    lines.Add("c");
    lines.BeginUpdate();
    lines.Delete(0);
    lines.EndUpdate();
    lines.Put(0, "x");
    lines.EndUpdate();
    lines.BeginUpdate();
    lines.EndUpdate();  // nothing changed: no change notice
    lines.Clear();
    lines.Clear();  // already empty: nothing to tell
    EXPECT_EQ(heard,
              (std::vector<std::string>{"changing", "change:1", "changing", "change:2", "changing",
                                        "change:2", "changing", "changing", "change:0"}));
    EXPECT_THROW(lines.Delete(0), rtl::Exception);
    EXPECT_THROW(lines.Insert(1, "z"), rtl::Exception);
}

TEST(Strings, SplitsAndJoinsText)
{
    struct Case
    {
        const char* text;
        std::vector<std::string> items;
        const char* joined;
    };
    const Case cases[] = {
        {"", {}, ""},
        {"one", {"one"}, "one\r\n"},
        {"one\r\ntwo\r\n", {"one", "two"}, "one\r\ntwo\r\n"},
        {"a\nb\rc\r\n\r\nd", {"a", "b", "c", "", "d"}, "a\r\nb\r\nc\r\n\r\nd\r\n"},
    };
    for (const Case& c : cases) {
        TStrings lines;
        lines.SetText(c.text);
        EXPECT_EQ(lines.Items(), c.items) << c.text;
        EXPECT_EQ(lines.Text(), c.joined);
    }
    TStrings lines;
    lines.SetItems({"Alpha", "beta"});
    EXPECT_EQ(lines.IndexOf("BETA"), 1);
    EXPECT_EQ(lines.IndexOf("gamma"), -1);
    TStrings copy;
    copy.Assign(lines);
    EXPECT_EQ(copy.Items(), lines.Items());
    EXPECT_THROW(copy.Assign(TTestFont()), rtl::EConvertError);
}

TEST(Collection, CreatesItemsOfItsClassAndTellsOfChanges)
{
    TCollection columns(TTestColumn::StaticClass());
    std::vector<int> heard;  // index of the changed item, -1 for the whole collection
    columns.OnUpdate = [&](TCollectionItem* item) { heard.push_back(item ? item->Index() : -1); };
    auto* first = dynamic_cast<TTestColumn*>(columns.Add());
    ASSERT_NE(first, nullptr);
    auto* second = columns.Add();
    EXPECT_EQ(second->Index(), 1);
    EXPECT_EQ(second->ID(), 1);
    columns.Delete(0);
    EXPECT_EQ(second->Index(), 0);
    EXPECT_EQ(columns.Add()->ID(), 2);  // identities are not reused
    columns.BeginUpdate();
    columns.Add();
    columns.Add();
    columns.EndUpdate();
    columns.Clear();
    EXPECT_EQ(columns.Count(), 0u);
    EXPECT_EQ(heard, (std::vector<int>{-1, -1, -1, -1, -1, -1}));
}

}  // namespace
}  // namespace setup::forms
