#include "setup/engine/script/setup_messages.h"

#include <gtest/gtest.h>

namespace {

using namespace setup::engine;

// A block of 115 lines whose line n reads "<prefix> n".
std::string Block(const std::string& prefix)
{
    std::string text;
    for (int n = 1; n <= kSetupMessageCount; ++n)
        text += prefix + " " + std::to_string(n) + "\r\n";
    return text;
}

class SetupMessagesTest : public ::testing::Test
{
protected:
    SetupMessages messages;
};

TEST_F(SetupMessagesTest, DefaultsAreTheEnglishTexts)
{
    EXPECT_EQ(messages.Text(2), "Setup resource not found");
    EXPECT_EQ(messages.Text(20), "Runtime error in setup script:");
    EXPECT_EQ(messages.Text(54), "");
    EXPECT_EQ(messages.Text(90), "Please select the language to use during the installation:");
    EXPECT_EQ(messages.Text(112), "Unable to play Flash movie");
    EXPECT_EQ(messages.Text(115), "Entire feature will be &unavailable");
    EXPECT_EQ(messages.Text(0), "");
    EXPECT_EQ(messages.Text(116), "");
}

TEST_F(SetupMessagesTest, SectionOfTheUserLanguageWins)
{
    const std::string file =
        Block("default") + "German\r\n" + Block("deutsch") + "Swedish\r\n" + Block("svenska");
    struct Case
    {
        std::string user;
        std::string expected;  // message 2 afterwards
    };
    const Case cases[] = {
        {"german", "deutsch 2"},
        {"Swedish", "svenska 2"},
        {"French", "default 2"},  // no section: the default block, not the last section
        {"", "default 2"},
    };
    for (const auto& c : cases) {
        messages.Reset();
        messages.LoadFromText(file, c.user);
        EXPECT_EQ(messages.Text(2), c.expected) << c.user;
        EXPECT_EQ(messages.Text(95), "") << c.user;  // lines 91 to 111 are ignored
    }

    messages.Reset();
    messages.LoadFromText(Block("only"), "German");
    EXPECT_EQ(messages.Text(115), "only 115");
}

TEST_F(SetupMessagesTest, EmptyHeaderNeverMatches)
{
    const std::string file = Block("default") + "\r\n" + Block("unnamed");
    messages.LoadFromText(file, "German");
    EXPECT_EQ(messages.Text(1), "default 1");
}

TEST(LanguageTable, MapsNamesAndIdentifiers)
{
    EXPECT_EQ(LanguageLcidOfName("german"), "1031");
    EXPECT_EQ(LanguageLcidOfName("Portugese (Brazil)"), "1046");
    EXPECT_EQ(LanguageLcidOfName("Klingon"), "1033");

    auto system = [](int lcid) -> std::string {
        switch (lcid) {
            case 2055:
                return "German";
            case 2057:
                return "English";
            default:
                return "";
        }
    };
    EXPECT_EQ(LanguageNameOfLcid(1053, system), "Swedish");
    EXPECT_EQ(LanguageNameOfLcid(2055, system), "German");  // German (Switzerland)
    EXPECT_EQ(LanguageNameOfLcid(2057, system), "");        // English (United Kingdom)
    EXPECT_EQ(LanguageNameOfLcid(9999, system), "");
}

TEST(WizardCaption, JoinsTitleAndSuffix)
{
    EXPECT_EQ(GetWizardCaption("Wipestation", false), "Wipestation - Quillbay Wizard");
    EXPECT_EQ(GetWizardCaption("Wipestation", true), "Wipestation");
    EXPECT_EQ(GetWizardCaption("", false), "Quillbay Wizard");
    EXPECT_EQ(GetWizardCaption("", true), "");
}

}  // namespace
