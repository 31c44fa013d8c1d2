#include "setup/engine/script/setup_script.h"

#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"
#include "tests/support/compiled_script_builder.h"

namespace {

using namespace setup::engine;
using testsupport::BuildCompiledScript;
using testsupport::GeneratedKey;
using testsupport::ParseStatements;
using testsupport::ScriptDamage;
using testsupport::ScriptProject;

std::string Lines(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

const char* kKeyA = "{11111111-2222-3333-4444-555555555555}";
const char* kKeyB = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

// A two-statement script with every section, in file order.
std::string SampleScript(const char* setupMode = "1")
{
    return Lines({"Set Variable",
                  "Display Dialog",
                  "$",  // 1 commands
                  kKeyA,
                  kKeyB,
                  "$",  // 2 keys
                  kKeyA,
                  "RESULT",
                  "$DOLLAR$",
                  "$wild_dollar$",
                  "#TITLE# Setup",
                  "$",  // 3 pool
                  "",
                  "C",
                  "$",  // 4 flags
                  "{PRODUCT-CODE}",
                  "Vontar Wipestation",  // 5, 6
                  "Call DLL Function",
                  "$",  // 7 plug-ins
                  "Vontar Security",
                  "contact",
                  "help",
                  "update",
                  "comments",
                  "6.0",  // 8-13
                  "WEB1",
                  "scrambled",
                  "$",  // 14 passwords
                  "",
                  "OFFLINE\\",
                  "$",        // 15 statement media
                  setupMode,  // 16
                  "TARQ-PREDEF-COMPONENT",
                  "0",
                  "Main",
                  "1024",
                  "$",           // 17 components
                  "{CACHE-ID}",  // 18
                  "WEB1",
                  "0000000A\\file.txt",
                  "WEB1\\0000000B\\0000000C\\",
                  "$",  // 19 files
                  "TRUE",
                  "English",  // 20, 21
                  "0000ABCD",
                  "0",
                  "0000BCDE",
                  "1",
                  "$",  // 22 headers
                  "TITLE",
                  "Wipestation",
                  "BITS",
                  "32",
                  "$"})  // 23 compiler vars
           + "signature block that is never read\r\n";
}

TEST(ReadSetupScript, ReadsEverySectionInOrder)
{
    const SetupScript script = ReadSetupScript(SampleScript());
    EXPECT_EQ(script.CommandList.Items(),
              (std::vector<std::string>{"Set Variable", "Display Dialog"}));
    EXPECT_EQ(script.StatementKeyList.IndexOf("{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}"), 1);
    EXPECT_EQ(script.StatementFlagList[1], "C");
    EXPECT_EQ(script.ProductCode, "{PRODUCT-CODE}");
    EXPECT_EQ(script.ProductTitle, "Vontar Wipestation");
    EXPECT_EQ(script.ProductTitleAsRead, "Vontar Wipestation");
    EXPECT_EQ(script.PluginCommandList.Items(), (std::vector<std::string>{"Call DLL Function"}));
    EXPECT_EQ(script.CompanyName, "Vontar Security");
    EXPECT_EQ(script.Comments, "comments");
    EXPECT_EQ(script.ProductVersion, "6.0");
    EXPECT_EQ(script.MediaPasswordList.Count(), 2u);
    EXPECT_EQ(script.StatementMediaList[1], "OFFLINE\\");
    EXPECT_EQ(script.SetupMode, 1);
    EXPECT_EQ(script.ComponentTable[3], "1024");
    EXPECT_EQ(script.CacheId, "{CACHE-ID}");
    EXPECT_EQ(script.FileTable.Count(), 3u);
    EXPECT_TRUE(script.AskLanguage);
    EXPECT_EQ(script.DefaultLanguage, "English");
    EXPECT_EQ(script.CompilerVariables.Count(), 4u);
}

TEST(ReadSetupScript, DollarStandInsReadBackAsADollar)
{
    const SetupScript script = ReadSetupScript(SampleScript());
    EXPECT_EQ(GetStatementParam(script.ParameterPools, kKeyA, 2), "$");
    EXPECT_EQ(GetStatementParam(script.ParameterPools, kKeyA, 3), "$");
}

TEST(ReadSetupScript, TruncatedTextLeavesLaterSectionsEmpty)
{
    const SetupScript script = ReadSetupScript(Lines({"If", "$", kKeyA, "$"}));
    EXPECT_EQ(script.CommandList.Count(), 1u);
    EXPECT_EQ(script.StatementKeyList.Count(), 1u);
    EXPECT_EQ(script.ParameterPools.at(0).Count(), 0u);
    EXPECT_TRUE(script.ProductTitle.empty());
    EXPECT_EQ(script.SetupMode, 0);
    EXPECT_FALSE(script.AskLanguage);
}

TEST(ReadSetupScript, AskLanguageIsExactlyTrue)
{
    std::string text = SampleScript();
    text.replace(text.find("\r\nTRUE\r\n"), 8, "\r\ntrue\r\n");
    EXPECT_FALSE(ReadSetupScript(text).AskLanguage);
}

TEST(ReadSetupScript, NonNumericSetupModeIsAnInputError)
{
    EXPECT_THROW(ReadSetupScript(SampleScript("two")), setup::rtl::EInOutError);
    EXPECT_EQ(ReadSetupScript(SampleScript("3")).SetupMode, 3);
}

TEST(GetStatementParam, LooksUpByKeyAcrossPools)
{
    const SetupScript script = ReadSetupScript(SampleScript());
    struct Case
    {
        std::string key;
        int n;
        std::string expected;
    };
    const Case cases[] = {
        {kKeyA, 0, kKeyA},
        {kKeyA, 1, "RESULT"},
        {"{11111111-2222-3333-4444-555555555555}", 4, "#TITLE# Setup"},
        {kKeyB, 1, ""},  // a statement without a record
        {kKeyA, 99, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetStatementParam(script.ParameterPools, c.key, c.n), c.expected) << c.key << c.n;

    std::vector<THashedStringList> pools(2);
    pools[1].Add(kKeyB);
    pools[1].Add("second pool");
    EXPECT_EQ(GetStatementParam(pools, kKeyB, 1), "second pool");
}

TEST(ExpandCompilerVariables, ReplacesReferencesIgnoringCase)
{
    SetupScript script;
    for (const char* line : {"TITLE", "Wipestation", "DIR", "$#title#$", "LOOP", "$#LOOP#$"})
        script.CompilerVariables.Add(line);
    const std::pair<const char*, const char*> cases[] = {
        {"no references", "no references"},
        {"#title# setup", "Wipestation setup"},
        {"#UNDEFINED# stays", "#UNDEFINED# stays"},
        {"#DIR#", "$Wipestation$"},  // a value that refers further is expanded again
        {"#LOOP#", "$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$#LOOP#$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ExpandCompilerVariables(script, text), expected) << text;
}

TEST(ExpandCompilerVariables, StopsACycleThatGrowsTheText)
{
    // Each pass doubles the references: 32 passes would need more memory than there is.
    SetupScript script;
    for (const char* line : {"SPLIT", "$#split##split#", "NAME", "plain"})
        script.CompilerVariables.Add(line);
    const std::string expanded = ExpandCompilerVariables(script, "#NAME# #SPLIT#");
    EXPECT_LE(expanded.size(), 64u * 1024);
    EXPECT_GT(expanded.size(), 16u * 1024);
    EXPECT_EQ(expanded.rfind("plain $$$", 0), 0u) << "the last whole pass, from the start";
}

TEST(GetCommandHeader, FindsTheHeaderBeforeTheIndex)
{
    const SetupScript script = ReadSetupScript(SampleScript());
    EXPECT_EQ(GetCommandHeader(script, 0, false), "0000ABCD");
    EXPECT_EQ(GetCommandHeader(script, 1, false), "0000BCDE");
    EXPECT_EQ(GetCommandHeader(script, 5, true), "");
    try {
        GetCommandHeader(script, 5, false);
        FAIL();
    } catch (const setup::rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to obtain command headers. Please rebuild your project.");
    }
}

TEST(LocalizeParameter, FollowsTheLocalizationMode)
{
    TranslationTables translations;
    translations.TitleTranslation.Add("{KEY}");
    translations.TitleTranslation.Add("{KEY}");
    translations.TitleTranslation.Add("{TOOLWORK$X$TOOLWORK}");
    translations.TranslationOriginal = {"Welcome", "Next", "Tool"};
    translations.TranslationTexts = {"Willkommen bei #TITLE#", "Weiter", "Werkzeug"};

    struct Case
    {
        const char* mode;
        const char* value;
        const char* key;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {"", "Welcome", "{key}", 1, "Willkommen bei Wipestation"},
        {"", "Next", "{KEY}", 2, "Weiter"},
        {"", "Welcome", "{OTHER}", 1, "Welcome"},
        {"NEWONLY", "Welcome", "{KEY}", 1, "Willkommen bei Wipestation"},
        {"newonly", "Welcome, edited", "{KEY}", 1, "Welcome, edited"},  // changed after translation
        {"VARSONLY", "Welcome", "{KEY}", 1, "Welcome"},
        {"VarsOnly", "Tool", "{TOOLWORK$X$TOOLWORK}", 1, "Werkzeug"},
    };
    for (const auto& c : cases) {
        SetupScript script;
        for (const char* line : {"TITLE", "Wipestation", "LOCMODE", c.mode})
            script.CompilerVariables.Add(line);
        EXPECT_EQ(LocalizeParameter(script, translations, c.value, c.key, c.n), c.expected)
            << c.mode << " " << c.value;
    }
}

const char* kDescription = R"(
    # a small script in the builder's text form
    Set Variable | RESULT | $
    C Label | Here
    If | RESULT | 0 | $ | FALSE
    Display Dialog | Welcome | WIZARD | |
    End
)";

ScriptProject FullProject()
{
    ScriptProject project;
    project.pluginCommands = {"Call DLL Function", "Show Banner"};
    project.mediaPasswords = {"WEB1", "x1y2"};
    project.setupMode = "2";
    project.components = {{"TARQ-PREDEF-COMPONENT", "0"}, {"Main", "2048"}};
    project.files = {"WEB1", "0000000A\\readme.txt", "WEB1\\0000000B\\0000000C\\"};
    project.askLanguage = "TRUE";
    project.defaultLanguage = "German";
    project.compilerVariables = {{"BITS", "32"}, {"TITLE", "Wipestation"}};
    return project;
}

TEST(CompiledScriptRoundTrip, EverySectionReadsBackAsBuilt)
{
    const auto statements = ParseStatements(kDescription);
    ASSERT_EQ(statements.size(), 5u);
    const ScriptProject project = FullProject();
    for (bool bareLineFeeds : {false, true}) {
        ScriptDamage damage;
        damage.bareLineFeeds = bareLineFeeds;
        damage.trailingJunk = "\x30\x82 signature block\r\n$\r\n";
        const SetupScript script =
            ReadSetupScript(BuildCompiledScript(statements, project, damage));

        ASSERT_EQ(script.CommandList.Count(), 5u);
        EXPECT_EQ(script.CommandList[3], "Display Dialog");
        EXPECT_EQ(script.StatementKeyList[4], GeneratedKey(4));
        EXPECT_EQ(script.StatementFlagList.Items(),
                  (std::vector<std::string>{"", "C", "", "", ""}));
        EXPECT_EQ(GetStatementParam(script.ParameterPools, GeneratedKey(0), 2), "$");
        EXPECT_EQ(GetStatementParam(script.ParameterPools, GeneratedKey(2), 3), "$");
        EXPECT_EQ(GetStatementParam(script.ParameterPools, GeneratedKey(3), 4), "");
        EXPECT_EQ(GetStatementParam(script.ParameterPools, GeneratedKey(4), 1), "");
        EXPECT_EQ(script.ProductCode, project.productCode);
        EXPECT_EQ(script.ProductTitle, project.productTitle);
        EXPECT_EQ(script.PluginCommandList.Items(), project.pluginCommands);
        EXPECT_EQ(script.CompanyName, project.company);
        EXPECT_EQ(script.Contact, project.contact);
        EXPECT_EQ(script.HelpLink, project.helpLink);
        EXPECT_EQ(script.UpdateLink, project.updateLink);
        EXPECT_EQ(script.Comments, project.comments);
        EXPECT_EQ(script.ProductVersion, project.version);
        EXPECT_EQ(script.MediaPasswordList.Items(), project.mediaPasswords);
        EXPECT_EQ(script.StatementMediaList.Count(), 5u);
        EXPECT_EQ(script.SetupMode, 2);
        EXPECT_EQ(script.ComponentTable.Items(),
                  (std::vector<std::string>{"TARQ-PREDEF-COMPONENT", "0", "Main", "2048"}));
        EXPECT_EQ(script.CacheId, project.cacheId);
        EXPECT_EQ(script.FileTable.Items(), project.files);
        EXPECT_TRUE(script.AskLanguage);
        EXPECT_EQ(script.DefaultLanguage, "German");
        EXPECT_EQ(GetCommandHeader(script, 4, false), "C0DE0004");
        EXPECT_EQ(ExpandCompilerVariables(script, "#bits# bit"), "32 bit");
    }
}

TEST(CompiledScriptRoundTrip, DamagedScriptsReadAsFarAsTheyGo)
{
    const auto statements = ParseStatements(kDescription);
    // Cut after every section in turn: nothing raises and later sections stay empty.
    for (int keep = 0; keep <= 23; ++keep) {
        ScriptDamage damage;
        damage.keepSections = keep;
        const SetupScript script =
            ReadSetupScript(BuildCompiledScript(statements, FullProject(), damage));
        EXPECT_EQ(script.CommandList.Count(), keep >= 1 ? 5u : 0u) << keep;
        EXPECT_EQ(script.DefaultLanguage.empty(), keep < 21) << keep;
        EXPECT_EQ(script.CompilerVariables.Count(), keep == 23 ? 4u : 0u) << keep;
        // A read past a short list gives the empty text.
        EXPECT_EQ(GetStatementParam(script.ParameterPools, GeneratedKey(3), 40), "") << keep;
        EXPECT_EQ(script.StatementFlagList.ItemOrEmpty(4), "") << keep;
    }

    ScriptDamage noRecords;
    noRecords.omitParameterRecords = true;
    const SetupScript script =
        ReadSetupScript(BuildCompiledScript(statements, FullProject(), noRecords));
    EXPECT_EQ(GetStatementParam(script.ParameterPools, GeneratedKey(0), 1), "");
    EXPECT_EQ(script.CompanyName, "Vontar Security");
}

}  // namespace
