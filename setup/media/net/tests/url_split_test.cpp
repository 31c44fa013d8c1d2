#include "setup/media/net/url_split.h"

#include <gtest/gtest.h>

namespace {

using net::SplitUrl;
using net::UrlParts;

TEST(SplitUrl, SplitsEveryFormTheClientMeets)
{
    struct Case
    {
        const char* url;
        const char* base;
        UrlParts expected;  // scheme, user, password, host, port, path
    };
    const Case cases[] = {
        {"http://host/a/b.zip", "", {"http", "", "", "host", "", "/a/b.zip"}},
        {"HTTP://Host:8080/x", "", {"http", "", "", "Host", "8080", "/x"}},
        {"http://u:p@host:81/x", "", {"http", "u", "p", "host", "81", "/x"}},
        {"http://u@host/x", "", {"http", "u", "", "host", "", "/x"}},
        {"http://u:p:q@host/x", "", {"http", "u", "p:q", "host", "", "/x"}},
        {"http://u:p@host", "", {"http", "u", "p", "host", "", ""}},
        {"https://host/", "", {"https", "", "", "host", "", "/"}},
        {"svn+ssh.1-x://h/p", "", {"svn+ssh.1-x", "", "", "h", "", "/p"}},
        {"my_scheme://h/p", "", {"http", "", "", "my_scheme", "", "//h/p"}},
        {"host:8080/path", "", {"", "", "", "host", "8080", "/path"}},
        {"host", "", {"", "", "", "host", "", ""}},
        {"http://host?q=1/2", "", {"http", "", "", "host", "", "?q=1/2"}},
        {"http://host/p?q", "", {"http", "", "", "host", "", "/p?q"}},
        {"/x/y", "", {"http", "", "", "", "", "/x/y"}},
        {"/", "", {"http", "", "", "", "", "/"}},
        {"//host:82/y", "", {"http", "", "", "host", "82", "/y"}},
        {"http:page.htm", "", {"http", "", "", "", "", "page.htm"}},
        {"Http:/x", "", {"http", "", "", "", "", "/x"}},
        {"mailto:me@example.org", "", {"mailto", "me", "", "example.org", "", ""}},
        {"./c.htm", "/a/b/x.htm", {"", "", "", "", "", "/a/b/c.htm"}},
        {"./c.htm", "nofolder", {"", "", "", "", "", "/c.htm"}},
        {"../c.htm", "/a/b/x.htm", {"", "", "", "", "", "/a/c.htm"}},
        {"../../c.htm", "/a/b/x.htm", {"", "", "", "", "", "/c.htm"}},
        {"../../../c.htm", "/a/b/x.htm", {"", "", "", "", "", "/c.htm"}},
        {"", "/a/", {}},
    };
    for (const Case& c : cases) {
        const UrlParts parts = SplitUrl(c.url, c.base);
        EXPECT_EQ(parts.scheme, c.expected.scheme) << c.url;
        EXPECT_EQ(parts.user, c.expected.user) << c.url;
        EXPECT_EQ(parts.password, c.expected.password) << c.url;
        EXPECT_EQ(parts.host, c.expected.host) << c.url;
        EXPECT_EQ(parts.port, c.expected.port) << c.url;
        EXPECT_EQ(parts.path, c.expected.path) << c.url;
    }
}

}  // namespace
