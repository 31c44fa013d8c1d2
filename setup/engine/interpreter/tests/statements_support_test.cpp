#include <gtest/gtest.h>

#include <optional>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

TEST(StatementNumbers, Int64TextsFollowTheRuntimeRules)
{
    struct Case
    {
        const char* text;
        std::optional<std::int64_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"-1", -1},
        {"+5", 5},
        {"  12", 12},
        {"$FF", 255},
        {"$ff", 255},
        {"0x10", 16},
        {"-$10", -16},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"$8000000000000000", INT64_MIN},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775808", std::nullopt},
        {"-9223372036854775809", std::nullopt},
        {"$10000000000000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"12a", std::nullopt},
        {"12 ", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TryTextToInt64(c.text), c.value) << c.text;
}

TEST(StatementNumbers, ConversionFailuresRaiseTheRuntimeMessage)
{
    for (const char* text : {"", "abc", "4294967296"}) {
        try {
            TextToInt32(text);
            ADD_FAILURE() << text;
        } catch (const rtl::EConvertError& error) {
            EXPECT_EQ(error.Message(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
    EXPECT_THROW(TextToInt64("1e3"), rtl::EConvertError);
    EXPECT_EQ(TextToInt32("$FFFFFFFF"), -1);
    EXPECT_EQ(TextToInt64("-42"), -42);
}

TEST(StatementText, CaseConversionFollowsThePinnedCodePage)
{
    rtl::CodePageFacts codePage = rtl::AsciiCodePage();
    codePage.upper[0xE4] = 0xC4;  // a umlaut
    codePage.upper[0xFF] = 0x9F;  // y diaeresis has its capital elsewhere
    codePage.leadByte[0x81] = true;
    EXPECT_EQ(LowerCaseWith(codePage, "AbC\xC4\x9F"), "abc\xE4\xFF");
    EXPECT_EQ(UpperCaseWith(codePage, "abc\xE4\xFF"), "ABC\xC4\x9F");
    // The trail byte of a double-byte character keeps its value even when it looks like a letter.
    EXPECT_EQ(LowerCaseWith(codePage, "\x81\x41Q"), "\x81\x41q");
    EXPECT_EQ(TrimText(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimText("\x01\x02"), "");
}

class ResultVariableTest : public StatementTest
{
};

TEST_F(ResultVariableTest, NamesBareOrQuotedAreCreatedUpperCasedAndAssigned)
{
    handlers.Register("Result", [](StatementContext& s) {
        const ResultVariable result(s, s.Param(1));
        result.Assign(s.Param(2));
    });
    Run({"Result|$first$|1", "Result|second|2", "Result||3", "Result|$a b$ c|4"});
    EXPECT_EQ(GetVariable("FIRST"), "1");
    EXPECT_EQ(GetVariable("SECOND"), "2");
    EXPECT_FALSE(VariableExists(""));
    // Not a quoted name: the text as written is the name.
    EXPECT_EQ(GetVariable("$A B$ C"), "4");
}

TEST_F(ResultVariableTest, SilentModeKeepsACommandLineValue)
{
    handlers.Register("Result", [](StatementContext& s) {
        const ResultVariable result(s, s.Param(1));
        result.Assign(s.Param(2));
    });
    SetVariable("TARGET", "C:\\Given", kInjectOverrideContext);
    CommandLineOverrides.Add("TARGET");
    CommandLineOverrides.Add("C:\\Given");
    SilentMode = true;
    Run({"Result|TARGET|C:\\Other", "Result|OTHER|x"});
    EXPECT_EQ(GetVariable("TARGET"), "C:\\Given");
    EXPECT_EQ(GetVariable("OTHER"), "x");
}

TEST_F(ResultVariableTest, ParameterReadersExpandNormaliseAndTranslate)
{
    SetVariable("DIR", "C:\\\\A", "test");
    SetVariable("WHO", "World", "test");
    std::string raw, expanded, normalised, translated;
    handlers.Register("Read", [&](StatementContext& s) {
        raw = RawParam(s, 1);
        expanded = ExpandedParam(s, 1);
        normalised = NormalizedParam(s, 1);
        translated = LocalizeExpanded(s, expanded, s.Key(), 2);
    });
    Run({"Read|$DIR$\\\\x|Hallo $WHO$"});
    EXPECT_EQ(raw, "$DIR$\\\\x");
    EXPECT_EQ(expanded, "C:\\\\A\\\\x");
    EXPECT_EQ(normalised, "C:\\A\\x");
    EXPECT_EQ(translated, expanded);  // no language chosen

    engine.SelectedLanguage = "DE";
    engine.Translations.TitleTranslation.Add(ScriptBuilder::KeyOf(0));
    engine.Translations.TitleTranslation.Add("next");
    engine.Translations.TranslationTexts.Add("first line");
    engine.Translations.TranslationTexts.Add("Hallo $WHO$");
    Run({"Read|$DIR$"});
    EXPECT_EQ(translated, "Hallo World");
}

}  // namespace
}  // namespace setup::engine::testing
