#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "setup/sysconfig/security/sid.h"

namespace setup::sysconfig::security {
namespace {

TEST(StringToSid, AcceptsTheGrammarAndRoundTrips)
{
    struct Case
    {
        const char* text;
        const char* back;  // nullptr: refused
    };
    const Case cases[] = {
        {"S-1-5-32-544", "S-1-5-32-544"},
        {"s-1-5-18", "S-1-5-18"},
        {"S-1-1-0", "S-1-1-0"},
        {"S-1-5", "S-1-5"},  // no sub-authority
        {"S-1-255-4294967295", "S-1-255-4294967295"},
        {"S-1-5-1-2-3-4-5-6-7-8", "S-1-5-1-2-3-4-5-6-7-8"},
        {"S-1-", nullptr},                     // too short
        {"S-1-5-", nullptr},                   // trailing dash
        {"S-1-5--1", nullptr},                 // empty number
        {"S-1-256-1", nullptr},                // authority above one byte
        {"S-1-5-1-2-3-4-5-6-7-8-9", nullptr},  // nine sub-authorities
        {"S-1-5-x", nullptr},
        {"S-2-5-32", nullptr},
        {"X-1-5-32", nullptr},
        {"S-1-x5", nullptr},
        // Wrapped into 32 bits these would name other accounts (S-1-5-32-544 and S-1-5-18).
        {"S-1-5-32-4294967840", nullptr},
        {"S-1-5-4294967314", nullptr},
        {"S-1-5-99999999999999999999999", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<Sid> sid = StringToSid(c.text);
        if (!c.back) {
            EXPECT_FALSE(sid.has_value()) << c.text;
            continue;
        }
        ASSERT_TRUE(sid.has_value()) << c.text;
        EXPECT_TRUE(IsValidSid(*sid)) << c.text;
        EXPECT_EQ(SidToString(*sid), c.back);
    }
}

TEST(SidToString, MarksSubAuthoritiesOutsideTheBytes)
{
    Sid sid = *StringToSid("S-1-5-32-544");
    sid.resize(sid.size() - 2);
    EXPECT_EQ(SidToString(sid), "S-1-5-32-?");
    EXPECT_FALSE(IsValidSid(sid));
}

}  // namespace
}  // namespace setup::sysconfig::security
