#include <gtest/gtest.h>

#include <vector>

#include "setup/htmlview/viewer/link_rules.h"

namespace {

using namespace htmlview;

TEST(MetaRefreshContent, DelayAndUrl)
{
    struct Case
    {
        const char* httpEquiv;
        const char* content;
        bool found;
        int delay;
        const char* url;
    };
    for (const Case& c : std::vector<Case>{{"refresh", "0;url=Next.htm", true, 1, "Next.htm"},
                                           {"REFRESH", "5", true, 5, ""},
                                           {"Refresh", " 3 ; URL=a b.htm", true, 3, "a b.htm"},
                                           {"refresh", "abc", false, 0, ""},
                                           {"refresh", "-2;url=x", false, 0, ""},
                                           {"refresh", "", false, 0, ""},
                                           {"content-type", "5", false, 0, ""}}) {
        const auto refresh = ParseMetaRefresh(c.httpEquiv, c.content);
        ASSERT_EQ(refresh.has_value(), c.found) << c.content;
        if (refresh) {
            EXPECT_EQ(refresh->delay, c.delay) << c.content;
            EXPECT_EQ(refresh->url, c.url) << c.content;
        }
    }
}

TEST(LinkPaths, KindByTheFirstFiveCharactersOfTheExtension)
{
    struct Case
    {
        const char* path;
        LinkKind kind;
    };
    for (const Case& c : std::vector<Case>{{"C:\\d\\page.htm", LinkKind::Page},
                                           {"C:\\d\\page.HTMLX", LinkKind::Page},
                                           {"C:\\d\\pic.jpeg", LinkKind::Image},
                                           {"C:\\d\\pic.Png", LinkKind::Image},
                                           {"C:\\d\\notes.txt", LinkKind::Other},
                                           {"C:\\d.htm\\noext", LinkKind::Other},
                                           {"", LinkKind::Other}})
        EXPECT_EQ(KindOfLinkPath(c.path), c.kind) << c.path;
    EXPECT_EQ(SplitAnchor("a.htm#s2").name, "a.htm");
    EXPECT_EQ(SplitAnchor("a.htm#s2").anchor, "s2");
    EXPECT_EQ(SplitAnchor("a.htm").anchor, "");
}

TEST(LinkPaths, ReferencesExpandAgainstBaseCurrentFileAndServerRoot)
{
    struct Case
    {
        const char* reference;
        const char* base;
        const char* expanded;
    };
    ReferenceContext context;
    context.currentFile = "C:\\docs\\index.htm";
    context.serverRoot = "D:\\root";
    context.fullPath = [](const std::string& path) {
        return path.size() > 1 && path[1] == ':' ? path : "C:" + path;
    };
    for (const Case& c : std::vector<Case>{
             {"http://host/x.htm", "", "http://host/x.htm"},
             {"two.htm", "", "C:\\docs\\two.htm"},
             {" sub/three.htm ", "", "C:\\docs\\sub\\three.htm"},
             {"two.htm", "file:///E|/site/", "E:\\site\\two.htm"},
             {"two.htm", "DosPath", "two.htm"},
             {"E:\\abs.htm", "", "E:\\abs.htm"},
             {"\\\\server\\share\\a.htm", "", "\\\\server\\share\\a.htm"},
             {"\\top.htm", "", "D:\\root\\top.htm"},
             {"file:///F|/x/y.htm", "", "F:\\x\\y.htm"},
         }) {
        context.base = c.base;
        EXPECT_EQ(ExpandReference(c.reference, context), c.expanded) << c.reference;
    }
}

TEST(VisitedLinks, MostRecentFirstWithoutCaseAndBounded)
{
    VisitedList visited;
    visited.SetMaxCount(2);
    EXPECT_TRUE(visited.Remember("a"));
    EXPECT_TRUE(visited.Remember("b"));
    EXPECT_FALSE(visited.Remember("B"));  // already first
    EXPECT_FALSE(visited.Remember("A"));  // moved up, not new
    EXPECT_EQ(visited.Urls(), (std::vector<std::string>{"A", "b"}));
    EXPECT_TRUE(visited.Remember("c"));
    EXPECT_EQ(visited.Urls(), (std::vector<std::string>{"c", "A"}));
    visited.SetMaxCount(-3);
    EXPECT_TRUE(visited.Urls().empty());
    EXPECT_FALSE(visited.Remember("d"));
}

TEST(PageHistory, RecordsTheLeftAndShownDocumentsUpToItsCount)
{
    PageHistory history;
    const PageHistory::Entry one{"one.htm", "One", 0, {0, 10}, {}},
        two{"two.htm", "Two", 0, {}, {}}, three{"three.htm", "Three", 0, {}, {}};
    EXPECT_FALSE(history.Push(one, two));  // keeps none by default
    history.SetMaxCount(2);
    EXPECT_FALSE(history.Push(two, two));  // the same place: nothing
    EXPECT_TRUE(history.Push(one, two));
    EXPECT_TRUE(history.Push(two, three));
    ASSERT_EQ(history.Entries().size(), 2u);
    EXPECT_EQ(history.Entries()[0].file, "three.htm");
    EXPECT_EQ(history.Entries()[1].file, "two.htm");
    history.SetMaxCount(1);  // lowering empties
    EXPECT_TRUE(history.Entries().empty());
    EXPECT_FALSE(history.Reset());
}

TEST(PageHistory, KeepsFormValuesOnlyForAPageThatWasLeft)
{
    PageHistory history;
    history.SetMaxCount(5);
    const std::vector<std::vector<std::string>> typed{{"typed"}};
    const PageHistory::Entry form{"form.htm", "Form", 0, {}, typed},
        formLower{"form.htm", "Form", 0, {0, 300}, typed}, other{"other.htm", "Other", 0, {}, {}};
    EXPECT_TRUE(history.Push(other, form));
    // Moving within the page (an anchor) keeps no values: the page is still shown.
    EXPECT_TRUE(history.Push(form, formLower));
    EXPECT_TRUE(history.Entries()[1].formValues.empty());
    // Leaving it for another page keeps them.
    EXPECT_TRUE(history.Push(formLower, other));
    EXPECT_EQ(history.Entries()[1].formValues, typed);
    EXPECT_TRUE(history.Entries()[0].formValues.empty());
}

}  // namespace
