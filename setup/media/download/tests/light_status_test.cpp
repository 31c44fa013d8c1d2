#include "setup/media/download/light_status.h"

#include <gtest/gtest.h>

namespace {

using namespace download;

TEST(LightStatus, SplitsCredentialsOnlyFromUserColonPasswordBeforeTheHost)
{
    struct Case
    {
        const char* url;
        const char* left;
        const char* user;
        const char* password;
    };
    const Case cases[] = {
        {"http://u:p@h/f", "http://h/f", "u", "p"},
        {"http://h:8080/f", "http://h:8080/f", "", ""},
        {"http://u@h/f", "http://u@h/f", "", ""},
        {"h/u:p@x", "h/u:p@x", "", ""},
        {"http://h/a:b@c", "http://h/a:b@c", "", ""},
    };
    for (const Case& c : cases) {
        const UrlCredentials split = SplitUrlCredentials(c.url);
        EXPECT_EQ(split.url, c.left) << c.url;
        EXPECT_EQ(split.user, c.user) << c.url;
        EXPECT_EQ(split.password, c.password) << c.url;
    }
}

TEST(LightStatus, NamesEveryStatusAndCountsUnknownOnesAsNull)
{
    EXPECT_STREQ(StatusName(5), "Downloading data");
    EXPECT_STREQ(StatusName(33), "Accept ranges");
    EXPECT_STREQ(StatusName(34), "NULL");
    EXPECT_STREQ(StatusText(14), "Saving download information");
    EXPECT_STREQ(StatusText(0), "");
}

TEST(LightStatus, FileNamesFromAUrlStayInTheirFolder)
{
    EXPECT_EQ(SafeFileNameFromUrl("http://h/dir/My%20File.zip?x=1"), "My File.zip");
    EXPECT_EQ(SafeFileNameFromUrl("http://h/..%2F..%2Fboot.ini"), "boot.ini");
    EXPECT_EQ(SafeFileNameFromUrl("http://h/a%5C..%5Cwin.ini"), "win.ini");
    EXPECT_EQ(SafeFileNameFromUrl("http://h/%2E%2E"), "");
    EXPECT_EQ(SafeFileNameFromUrl("http://h/c%3A%2Fx%3Ay"), "y");
}

}  // namespace
