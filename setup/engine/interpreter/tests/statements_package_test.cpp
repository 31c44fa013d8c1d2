#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/interpreter/statements_package.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/script_check.h"
#include "setup/engine/testing/interpreter_test_support.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

constexpr const char* kHeader = "BC15A7D";

// Media requests and redirection switches land in the host's event list, so their order against
// the queued properties shows.
class RecordingServices : public IWow64Services, public IPackageMedia
{
public:
    explicit RecordingServices(std::vector<std::string>& events) : m_events(events) {}
    bool IsWow64() override { return true; }
    bool DisableRedirection(void*& oldValue) override
    {
        m_events.push_back("redirection off");
        oldValue = nullptr;
        return true;
    }
    bool RevertRedirection(void*) override
    {
        m_events.push_back("redirection on");
        return true;
    }
    void AcquireMediaBlock(const std::string& blockName) override
    {
        m_events.push_back("media " + blockName);
    }

private:
    std::vector<std::string>& m_events;
};

class PackageStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        RegisterPackageStatements(handlers, PackageStatementServices{&services, &services});
        SetVariable("DIR", "C:\\Prog\\", "test");
        engine.TargetPlatform = "x64";  // redirection is switched only for a 64-bit target
    }
    // Runs the statements of the script, each with its header, the first one kHeader.
    void RunWithHeaders(std::vector<std::string> lines, int setupMode = 0,
                        std::vector<std::string> media = {})
    {
        ScriptBuilder builder;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            builder.Add(lines[i]);
            builder.Header(static_cast<int>(i), i == 0 ? kHeader : "2C131DD" + std::to_string(i));
        }
        m_script = builder.Build();
        m_script.SetupMode = setupMode;
        if (!media.empty()) {
            m_script.StatementMediaList.Clear();
            for (const std::string& block : media)
                m_script.StatementMediaList.Add(block);
        }
        for (std::size_t i = 0; i < m_script.CommandList.Count(); ++i) {
            StatementContext statement(m_script, engine, host.Statements(), static_cast<int>(i),
                                       false);
            const StatementHandler* handler = handlers.Find(statement.Command());
            ASSERT_NE(handler, nullptr) << statement.Command();
            (*handler)(statement);
        }
    }

    static std::string P(int n, const std::string& value)
    {
        return "property P" + std::string(kHeader) + "_" + std::to_string(n) + "=" + value;
    }

    RecordingServices services{host.events};
    SetupScript m_script;
};

const std::string kActivated = std::string("property A") + kHeader + "=TRUE";

TEST_F(PackageStatementTest, EachStatementQueuesItsActivationThenItsParameters)
{
    struct Case
    {
        std::string line;
        std::vector<std::string> properties;
    };
    const std::vector<Case> cases = {
        {"Install Files|p1|p2|$DIR$\\bin|p4", {P(1, "C:\\Prog\\bin")}},
        {"Copy/Move Local Files|$DIR$a|p2|$DIR$b|p4", {P(1, "C:\\Prog\\a"), P(2, "C:\\Prog\\b")}},
        {"Delete Files|$DIR$*.tmp|p2", {P(1, "C:\\Prog\\*.tmp")}},
        {"Create Folder|$DIR$\\Data", {P(1, "C:\\Prog\\Data")}},
        {"Write Registry|1|2|Software\\$DIR$|Name|Data|6|7", {P(1, "Software\\C:\\Prog\\")}},
        {"Write Registry|1|2|Key|$DIR$|$UNDEFINED$|6", {P(2, "C:\\Prog\\"), P(3, "$UNDEFINED$")}},
        {"Write Registry|1|2|Key|Name|Data", {}},
        {"Set Environment|PATH|$DIR$|3", {"redirection off", P(1, "C:\\Prog\\"), "redirection on"}},
        {"Edit INI File|$DIR$x.ini|Sect|Key|v4|v5|v6",
         {P(1, "C:\\Prog\\x.ini"), P(2, "v4"), P(3, "v5"), P(4, "v6")}},
        {"Create Shortcut|$DIR$app.exe|Name|Folder|Desc|-a|six",
         {P(1, "Folder"), P(2, "C:\\Prog\\app.exe"), P(3, "-a"), P(4, "six")}},
        {"Advertised Shortcut|t|Name|Folder|Desc|-a|six",
         {P(1, "Folder"), P(2, "t"), P(3, "-a"), P(4, "six")}},
        {"Create File Type|Doc|.doc|Document|$DIR$open.exe|v5",
         {P(1, "Doc"), P(2, ".doc"), P(3, "Document"), P(4, "C:\\Prog\\open.exe"), P(5, "v5")}},
        {"Advertised File Type|Prog.Id|x|Description", {}},
        {"Control Service|Spooler|start", {P(1, "Spooler"), P(2, "start")}},
        {"Install Service|1|Svc|3|Display|Desc|$DIR$svc.exe|7|8|Account|a~b~C|11|12|13|14|15",
         {P(1, "Svc"), P(2, "Display"), P(3, "Desc"), P(4, "Account"), P(5, "a$NULL$b$NULL$C"),
          P(6, "13"), P(7, "14"), P(8, "15"), P(9, "C:\\Prog\\svc.exe")}},
        {"Install Assembly|1|2|$DIR$asm.dll|4", {P(1, "C:\\Prog\\asm.dll")}},
        {"Create ODBC DSN|1|2|3", {}},
        {"Install ODBC Driver|1|2|3|$DIR$drv.dll", {P(1, "C:\\Prog\\drv.dll")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        host.events.clear();
        engine.PackagePropertyList.Clear();
        engine.PerformedStatementList.Clear();
        RunWithHeaders({c.line});

        // "Set Environment" switches redirection around everything it queues.
        std::vector<std::string> expected = c.properties;
        const auto at = !expected.empty() && expected.front() == "redirection off" ? 1 : 0;
        expected.insert(expected.begin() + at, kActivated);
        EXPECT_EQ(host.events, expected);

        std::vector<std::string> record;
        for (const std::string& event : expected) {
            if (!event.starts_with("property "))
                continue;
            const auto eq = event.find('=');
            record.push_back(event.substr(9, eq - 9));
            record.push_back(event.substr(eq + 1));
        }
        EXPECT_EQ(engine.PackagePropertyList.Items(), record);
        EXPECT_EQ(engine.PerformedStatementList.Items(), std::vector<std::string>{"TRUE"});
    }
}

TEST_F(PackageStatementTest, ShortcutNamesTakeTheShortAndLongForm)
{
    EXPECT_EQ(ShortcutPackageName("Log files"), "Log fi~1|Log files");
    EXPECT_EQ(ShortcutPackageName("Tools"), "Tools~1|Tools");
    EXPECT_EQ(ShortcutPackageName(" Tools"), "Tools~1| Tools");
    EXPECT_EQ(ShortcutPackageName("  Read me  "), "Read m~1|  Read me  ");
    EXPECT_EQ(ShortcutPackageName(""), "~1|");
}

TEST_F(PackageStatementTest, TranslatedTextsGoToTheTranslationLists)
{
    engine.SelectedLanguage = "German";
    engine.Translations.TitleTranslation.Add(ScriptBuilder::KeyOf(0));
    engine.Translations.TitleTranslation.Add(ScriptBuilder::KeyOf(1));
    engine.Translations.TranslationTexts.Add("Werkzeuge $DIR$");
    engine.Translations.TranslationTexts.Add("Programm.Id");
    engine.Translations.TranslationTexts.Add("Beschreibung");
    SetVariable("NAME", "Tools", "test");
    RunWithHeaders({"Create Shortcut|target|$NAME$|Folder|Desc|-a|six",
                    "Advertised File Type|Prog.$NAME$|x|Description"});

    // The shortcut takes translation lines 1 and 2 of its key, the file type (key one further)
    // lines 1 and 2 of its own, which start one line later.
    EXPECT_EQ(engine.ShortcutTranslationList.Items(),
              (std::vector<std::string>{"P" + std::string(kHeader) + "_1",
                                        "Werkze~1|Werkzeuge C:\\Prog\\", "Programm.Id"}));
    EXPECT_EQ(engine.ProgIdTranslationList.Items(),
              (std::vector<std::string>{"Prog.$NAME$", "Programm.Id", "Beschreibung"}));
}

TEST_F(PackageStatementTest, MediaComesBeforeTheParametersOnlyInWebMode)
{
    const std::vector<std::string> lines = {"Install Files|1|2|$DIR$", "Install Service|1|Svc",
                                            "Create Folder|x", "Install ODBC Driver|1|2|3|4",
                                            "Install Files|1|2|y"};
    const std::vector<std::string> media = {"WEB1\\", "WEB2\\", "WEB3\\", "WEB4\\", ""};
    RunWithHeaders(lines, 1, media);
    for (const std::string& event : host.events)
        EXPECT_FALSE(event.starts_with("media")) << event;

    host.events.clear();
    RunWithHeaders(lines, 2, media);
    std::vector<std::string> media2;
    for (std::size_t i = 0; i < host.events.size(); ++i)
        if (host.events[i].starts_with("media")) {
            media2.push_back(host.events[i]);
            ASSERT_GT(i, 0u);
            EXPECT_TRUE(host.events[i - 1].starts_with("property A")) << host.events[i - 1];
        }
    EXPECT_EQ(media2, (std::vector<std::string>{"media WEB1\\", "media WEB2\\", "media WEB4\\"}));
}

TEST_F(PackageStatementTest, NewlinesAreEncodedOnlyInTheRecord)
{
    SetVariable("TEXT", "one\r\ntwo", "test");
    RunWithHeaders({"Create Folder|$TEXT$"});
    EXPECT_EQ(host.events, (std::vector<std::string>{kActivated, P(1, "one\r\ntwo")}));
    EXPECT_EQ(engine.PackagePropertyList[3], "one$NEWLINE$two");
}

TEST_F(PackageStatementTest, MissingHeaderFailsBeforeAnythingIsQueued)
{
    m_script = BuildScript({"Create Folder|x"});
    StatementContext statement(m_script, engine, host.Statements(), 0, false);
    EXPECT_THROW((*handlers.Find("Create Folder"))(statement), rtl::Exception);
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(engine.PackagePropertyList.Count(), 0u);
    EXPECT_EQ(engine.PerformedStatementList.Count(), 0u);
}

class PackageScriptTest : public InterpreterTest
{
};

TEST_F(PackageScriptTest, AStatementReachedTwiceQueuesAgainAfterTheStartupFalse)
{
    SetupScript script =
        ScriptBuilder()
            .Lines({"Set Variable|N|0", "Label|Top", "Increment|N", "Create Folder|C:\\D$N$",
                    "If|N|1|2", "GoTo Label|done", "End", "GoTo Label|TOP", "Label|Done"})
            .Header(3, "2C131DDA")
            .Build();
    Run(std::move(script));
    std::vector<std::string> properties;
    for (const std::string& event : host.events)
        if (event.starts_with("property "))
            properties.push_back(event);
    EXPECT_EQ(properties,
              (std::vector<std::string>{"property A2C131DDA=FALSE", "property A2C131DDA=TRUE",
                                        "property P2C131DDA_1=C:\\D1", "property A2C131DDA=TRUE",
                                        "property P2C131DDA_1=C:\\D2"}));
    EXPECT_EQ(engine.PackagePropertyList.Items(),
              (std::vector<std::string>{"A2C131DDA", "FALSE", "A2C131DDA", "TRUE", "P2C131DDA_1",
                                        "C:\\D1", "A2C131DDA", "TRUE", "P2C131DDA_1", "C:\\D2"}));
    ASSERT_GT(engine.PerformedStatementList.Count(), 3u);
    EXPECT_EQ(engine.PerformedStatementList[3], "TRUE");
}

}  // namespace
}  // namespace setup::engine::testing
