#include "setup/htmlview/util/url.h"

#include <gtest/gtest.h>

#include "setup/htmlview/util/reference_path.h"

namespace {

using namespace htmlview;

TEST(ParseUrl, SplitsIntoSixParts)
{
    struct Case
    {
        const char* url;
        UrlParts expected;
    };
    const Case cases[] = {
        {"ftp://u:p@h:21/x", {"ftp", "u", "p", "h", "21", "/x"}},
        {"http://h:8080/a/b", {"http", "", "", "h", "8080", "/a/b"}},
        {"http://u@h/a", {"http", "u", "", "h", "", "/a"}},
        {"/x/y", {"http", "", "", "", "", "/x/y"}},
        {"http:x.htm", {"http", "", "", "", "", "x.htm"}},
        {"mailto:a@b.c", {"mailto", "a", "", "b.c", "", ""}},
        {"", {}},
    };
    for (const Case& c : cases) {
        const UrlParts parts = ParseUrl(c.url);
        EXPECT_EQ(parts.protocol, c.expected.protocol) << c.url;
        EXPECT_EQ(parts.user, c.expected.user) << c.url;
        EXPECT_EQ(parts.password, c.expected.password) << c.url;
        EXPECT_EQ(parts.host, c.expected.host) << c.url;
        EXPECT_EQ(parts.port, c.expected.port) << c.url;
        EXPECT_EQ(parts.path, c.expected.path) << c.url;
    }
}

TEST(CombineUrl, JoinsAndRemovesDotSegments)
{
    struct Case
    {
        const char* base;
        const char* relative;
        const char* expected;
    };
    const Case cases[] = {
        {"http://h/a/b/", "../c.css", "http://h/a/c.css"},
        {"http://h/a/b/", "/c.css", "http://h/c.css"},
        {"http://h/a/b/", "c.css", "http://h/a/b/c.css"},
        {"http://h/a/", "//other/x", "http://other/x"},
        {"http://h", "x", "http://h/x"},
        {"file:///C|/dir/", "x.css", "file:///C|/dir/x.css"},
        {"file:///C|/dir/", "/x.css", "file:///C|/x.css"},
        {"http://h/a/", "../../../x", "http://h/x"},
        {"http://h/a/./b/", "c", "http://h/a/b/c"},
        {"a", "/../../x", "a/x"},
        {" http://h/a/ ", " b ", "http://h/a/b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CombineUrl(c.base, c.relative), c.expected) << c.base << " + " << c.relative;
}

TEST(UrlHelpers, BaseProtocolAndFullness)
{
    EXPECT_EQ(GetUrlBase("http://h/a/b.htm?x=/y"), "http://h/a/");
    EXPECT_EQ(GetUrlBase("http://h"), "http://h/");
    EXPECT_EQ(GetProtocol("HTTP://h/a?q=ftp://x"), "http");
    EXPECT_EQ(GetProtocol("images/x.gif"), "");

    struct Case
    {
        const char* url;
        bool full;
    };
    const Case cases[] = {{"mailto:x@y.z", true},
                          {"images/x.gif", false},
                          {"http://h/", true},
                          {"a/b://c", false},
                          {"x.htm?u=http://h", false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsFullUrl(c.url), c.full) << c.url;
}

TEST(PosOfOccurrence, CountsFromEitherEnd)
{
    EXPECT_EQ(PosOfOccurrence("/", "a/b/c", 1), 2u);
    EXPECT_EQ(PosOfOccurrence("/", "a/b/c", 2), 4u);
    EXPECT_EQ(PosOfOccurrence("/", "a/b/c", -1), 4u);
    EXPECT_EQ(PosOfOccurrence("/", "a/b/c", -2), 2u);
    EXPECT_EQ(PosOfOccurrence("/", "a/b/c", 3), 0u);
    EXPECT_EQ(PosOfOccurrence("/", "a/b/c", -3), 0u);
}

TEST(ReferenceToPath, DecodesEscapesAndTurnsFileUrlsIntoPaths)
{
    struct Case
    {
        const char* reference;
        const char* expected;
    };
    const Case cases[] = {
        {"a%20b.htm", "a b.htm"},
        {"%41b", "%41b"},
        {"a%zz%20b", "a%zz%20b"},
        {"a%2", "a%2"},
        {"file:///C|/x/y.htm", "C:\\x\\y.htm"},
        {"FILE://C|/x.htm", "C:\\x.htm"},
        {"dir/a%2541.htm", "dir\\aA.htm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReferenceToPath(c.reference), c.expected) << c.reference;
    EXPECT_EQ(ReferenceToServerPath("/docs/a.htm", "C:\\root"), "C:\\root\\docs\\a.htm");
    EXPECT_EQ(ReferenceToServerPath("//srv/x", "C:\\root"), "\\\\srv\\x");
    EXPECT_EQ(ReferenceToServerPath("C:/x", "C:\\root"), "C:\\x");
}

}  // namespace
