#include "setup/engine/system/setup_messages_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace setup::engine;

TEST(UserLanguage, ComesFromTheUserLocale)
{
    // The test runs again under a German and a Swiss German user locale, naming what to expect.
    const char* expected = std::getenv("SETUP_EXPECTED_USER_LANGUAGE");
    const std::string name = UserLanguageName();
    if (expected) {
        EXPECT_EQ(name, expected);
    }
    EXPECT_NE(GetLocaleLanguageId(true, false), 0);
    EXPECT_EQ(SystemEnglishLanguageName(1031), "German");
}

}  // namespace
