#include "setup/engine/media/media_block.h"

#include <gtest/gtest.h>

#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/engine/media/statements_media.h"
#include "setup/engine/testing/statements_test_support.h"

namespace {

using namespace setup::engine;

// The build tool's side: hexadecimal pairs low digit first, each character XOR its position.
std::string Scramble(const std::string& password)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : password) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte & 15];
        text += kDigits[byte >> 4];
    }
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ (i % 256));
    return text;
}

TEST(MediaBlockPasswords, UnscrambleIsTheInverseOfTheStoredForm)
{
    for (const std::string& password :
         std::vector<std::string>{"", "a", "secret pass", std::string(200, 'x') + "\xE9\x01"})
        EXPECT_EQ(UnscrambleBlockPassword(Scramble(password)), password);
    // An odd last character has no reading.
    EXPECT_EQ(UnscrambleBlockPassword(Scramble("ab") + "7"), "ab");
}

TEST(MediaBlockPasswords, LookupTakesTheFirstEvenLineByNameThenOffline)
{
    const setup::rtl::TStringList list{"Other", "x1", "x2", "Core", "Core", "c1", "core", "c2"};
    // "Core" at line 3 is odd-numbered and so a password, not a name.
    EXPECT_EQ(LookupBlockPassword(list, "CORE"), "c1");
    EXPECT_EQ(LookupBlockPassword(list, "none"), "");
    const setup::rtl::TStringList withOffline{"Core", Scramble("pc"), "OFFLINE", Scramble("po")};
    EXPECT_EQ(BlockPassword(withOffline, "core"), "pc");
    EXPECT_EQ(BlockPassword(withOffline, "extras"), "po");
    EXPECT_EQ(BlockPassword({}, "extras"), "");
}

class MediaStatementsTest : public setup::engine::testing::StatementTest
{
protected:
    void SetUp() override { RegisterMediaStatements(handlers, services); }
    MediaStatementServices services;
};

TEST_F(MediaStatementsTest, WebMediaBlockNamesTheBlockItsAddressesArchiveAndPassword)
{
    engine.DataDir = "C:\\Data\\";
    SetVariable("HOST", "127.0.0.1", "test");
    Run({"Web Media Block|Core|http://$HOST$/a.7zip$NEWLINE$http://$HOST$/b.7zip"});
    const MediaBlockState& block = engine.Parts.Get<MediaBlockState>();
    EXPECT_EQ(block.name, "Core");
    EXPECT_EQ(block.urls,
              (std::vector<std::string>{"http://127.0.0.1/a.7zip", "http://127.0.0.1/b.7zip"}));
    EXPECT_EQ(block.archivePath, "C:\\Data\\Core.7zip");
    EXPECT_EQ(block.password, "");
}

TEST_F(MediaStatementsTest, Extract7ZipArchiveAssignsSuccessOrTheErrorText)
{
    std::vector<ArchiveExtraction> asked;
    bool answer = true;
    services.extract = [&](StatementContext&, const ArchiveExtraction& extraction,
                           std::string& error) {
        asked.push_back(extraction);
        error = "#1003";
        return answer;
    };
    SetUp();
    SetVariable("DIR", "C:\\target", "test");
    Run({"Extract 7Zip Archive|C:\\\\media\\\\a.7z|$DIR$\\\\sub|$R$|pw|TRUE|FALSE"});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].archivePath, "C:\\media\\a.7z");
    EXPECT_EQ(asked[0].targetFolder, "C:\\target\\sub");
    EXPECT_EQ(asked[0].password, "pw");
    EXPECT_TRUE(asked[0].answerFlag);
    EXPECT_FALSE(asked[0].modeFlag);
    EXPECT_EQ(GetVariable("R"), "SUCCESS");
    answer = false;
    Run({"Extract 7Zip Archive|C:\\a.7z|C:\\t|R||-1|-1"});
    EXPECT_EQ(GetVariable("R"), "#1003");
}

}  // namespace
