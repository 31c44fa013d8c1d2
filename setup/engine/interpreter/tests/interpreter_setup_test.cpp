// The interpreter's set-up: predefined variables, command-line overrides, the resume-value
// clean-up, the command-header pre-scan, the language choice and the per-statement refreshes.
#include <algorithm>

#include "setup/engine/testing/interpreter_test_support.h"

namespace {

using namespace setup::engine;
using namespace setup::engine::testing;
using Strings = std::vector<std::string>;

bool HasEvent(const FakeInterpreterHost& host, const std::string& event)
{
    return std::find(host.events.begin(), host.events.end(), event) != host.events.end();
}

TEST_F(InterpreterTest, PredefinedVariables)
{
    engine.process.commandTail = "/s /m=D:\\Media\\pack.exe";
    engine.process.sfxArgument = "D:\\Media\\pack.exe";
    engine.process.gpoArgument = "\\\\server\\policies\\setup.msi";
    engine.process.traceLogPath = "c:\\trace.log";
    Run({"Record|x"});
    const std::pair<const char*, std::string> expected[] = {
        {"TARQ_thProgress", "0"},
        {"TARQ_thMax", "100"},
        {"TARQ_thMin", "0"},
        {"TARQ_thProgressText", ""},
        {"TARQ_thFinished", "FALSE"},
        {"TARQ_thCancelled", "FALSE"},
        {"TARGETDIR", ""},
        {"STARTMENU", "Test Product"},
        {"ALLUSERS", "TRUE"},
        {"TARQ_COMPRESS_INSTALLER_CACHE", "TRUE"},
        {"TARQ_DISABLE_ROLLBACK", "FALSE"},
        {"TARQ_DISABLE_VISTA_RESTART_MANAGER", "FALSE"},
        {"IISHOST", "localhost"},
        {"OVERRIDECACHE", ""},
        {"SELECTED", "0"},
        {"WINDOWHANDLE", "0"},
        {"EXEFILE", "C:\\Setup\\setup.exe"},
        {"EXEDIR", "C:\\Setup\\"},
        {"ROOTDIR", "C:\\Setup\\"},
        {"ABORT", "FALSE"},
        {"PROGRESS", "0"},
        {"LICENSE", "FALSE"},
        {"USERNAME", "Owner"},
        {"USERCOMPANY", "Organization"},
        {"REBOOTCOMPUTER", "FALSE"},
        {"RUNAPP", "TRUE"},
        {"WIZARD", "NEXT"},
        {"VERSION", "1.2.3"},
        {"SILENT", "FALSE"},
        {"LOGGED", "c:\\trace.log"},
        {"CMDLINE", "/s /m=D:\\Media\\pack.exe"},
        {"REBOOTNOW", "OK"},
        {"SFXPATH", "D:\\Media\\"},
        {"SFXFILE", "pack.exe"},
        {"GPOPATH", "\\\\server\\policies\\"},
        {"COMPLETE", "TRUE"},
        {"NEWLINE", "\r\n"},
        {"MODIFY", "TRUE"},
        {"REMOVE", "FALSE"},
        {"TITLE", "Test Product"},
        {"COMPANY", "Test Company"},
        {"ADVERTISE", "FALSE"},
        {"DATE", "10.12.2026"},
        {"TIME", "13:45:00"},
        {"TEMPDIR", "C:\\Temp\\"},
        {"SUPPORTDIR", "C:\\Temp\\qbr1\\"},
        {"MSIFILE", "C:\\Temp\\qbr1\\setup.msi"},
        {"LANGUAGE", ""},
        {"UNINSTALLLINK",
         "C:\\ProgramData\\Cache\\{CACHE000-0000-0000-0000-000000000000}\\setup.exe"},
        {"ENGINECACHE", "C:\\ProgramData\\Cache\\{CACHE000-0000-0000-0000-000000000000}\\"},
    };
    for (const auto& [name, value] : expected) {
        EXPECT_TRUE(VariableExists(name)) << name;
        EXPECT_EQ(GetVariable(name), value) << name;
    }
    EXPECT_EQ(engine.TraceLogPath, "c:\\trace.log");
    EXPECT_EQ(engine.SourceMarkerName, "{1A2B3C4D-0000-0000-0000-000000000000}");
}

TEST_F(InterpreterTest, AllUsersNeedsAdministratorRightsOnWindowsNT)
{
    host.system.groups.erase(kAdministratorsRid);
    Run({"Record|$ALLUSERS$ $UNINSTALLLINK$"});
    EXPECT_EQ(
        recorded,
        Strings{"FALSE C:\\Users\\Me\\Cache\\{CACHE000-0000-0000-0000-000000000000}\\setup.exe"});
}

TEST_F(InterpreterTest, UninstallLinkAsksTheSystemWhenAnInputChangesOrTheIntervalPassed)
{
    handlers.Register("Tick", [this](StatementContext& s) {
        host.milliseconds += static_cast<std::uint64_t>(std::stoi(s.Param(1)));
    });
    const std::string machine = "C:\\ProgramData\\Cache\\{CACHE000-0000-0000-0000-000000000000}\\";
    const std::string user = "C:\\Users\\Me\\Cache\\{CACHE000-0000-0000-0000-000000000000}\\";
    Run({"Record|$UNINSTALLLINK$", "Record|$ENGINECACHE$", "Set Variable|ALLUSERS|FALSE",
         "Record|$ENGINECACHE$", "Tick|99", "Record|$ENGINECACHE$", "Tick|1",
         "Record|$ENGINECACHE$"});
    EXPECT_EQ(recorded, (Strings{machine + "setup.exe", machine, user, user, user}));
    // The first statement, the changed ALLUSERS, and the interval passed.
    EXPECT_EQ(host.cacheRootQueries, 3);
}

TEST_F(InterpreterTest, UninstallLinkOfAnInstanceSetupComesFromItsRegistration)
{
    host.uninstallString = "\"C:\\Program Files\\App\\setup.exe\" /remove";
    SetupScript script = BuildScript({"Record|$UNINSTALLLINK$|", "Record|$ENGINECACHE$"});
    script.SetupMode = 3;
    Run(std::move(script));
    EXPECT_EQ(recorded, (Strings{"C:\\Program Files\\App\\setup.exe", "C:\\Program Files\\App\\"}));
    EXPECT_TRUE(HasEvent(host, "uninstall string Test Product machine"));
}

TEST_F(InterpreterTest, CommandLineOverridesWinInSilentMode)
{
    struct Case
    {
        bool silent;
        Strings recorded;
    };
    const Case cases[] = {
        {true, {"Custom v", "Custom"}},
        {false, {"Custom v", "Script"}},
    };
    for (const Case& c : cases) {
        recorded.clear();
        SilentMode = c.silent;
        CommandLineOverrides = {"title", "Custom", "NewVar", "v"};
        Run({"Record|$TITLE$ $NEWVAR$", "Set Variable|TITLE|Script", "Record|$TITLE$"});
        EXPECT_EQ(recorded, c.recorded) << c.silent;
        EXPECT_EQ(GetVariable("SILENT"), c.silent ? "TRUE" : "FALSE");
    }
}

TEST_F(InterpreterTest, ResumeValueIsRemovedAndCommandHeadersArePreScanned)
{
    Run(ScriptBuilder().Header(1, "0000ABCD").Lines({"Record|a", "Record|b"}).Build());
    EXPECT_TRUE(HasEvent(host, "delete run 1A2B3C4D"));
    EXPECT_TRUE(HasEvent(host, "property A0000ABCD=FALSE"));
    EXPECT_EQ(engine.PackagePropertyList, (setup::rtl::TStringList{"A0000ABCD", "FALSE"}));
    EXPECT_EQ(recorded, (Strings{"a", "b"}));
}

TEST_F(InterpreterTest, CacheOverrideIsAppliedOnceOrClearedOnFailure)
{
    Run({"Set Variable|OVERRIDECACHE|D:\\Cache", "Record|$OVERRIDECACHE$", "Record|again"});
    EXPECT_EQ(recorded, (Strings{"D:\\Cache\\", "again"}));
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "create D:\\Cache"), 1);
    EXPECT_TRUE(HasEvent(host, "remove D:\\Cache"));
    EXPECT_EQ(host.detections, 2);

    recorded.clear();
    host.createFoldersSucceeds = false;
    Run({"Set Variable|OVERRIDECACHE|Q:\\Nowhere", "Record|[$OVERRIDECACHE$]"});
    EXPECT_EQ(recorded, Strings{"[]"});
}

class InterpreterLanguageTest : public InterpreterTest
{
protected:
    void SetUp() override
    {
        InterpreterTest::SetUp();
        // A support folder below a folder named "shared" must not hide the translations.
        engine.process.supportDir = "C:\\shared\\qbr1\\";
        host.files = {PackagePath()};
        const std::string dir = engine.process.supportDir;
        host.fileLines[dir + "Test Product.mtx"] = {ScriptBuilder::KeyOf(1), ""};
        host.fileLines[dir + "translations.German"] = {"A", "Hallo"};
        host.fileLines[dir + "translations.English"] = {"A", "Hello"};
        host.fileLines[dir + "translations.Map"] = {"", ""};
        host.fileLines[dir + "translations.Original"] = {"A", "Hello"};
        host.files.insert(dir + "shared.translations.German");
    }

    SetupScript LanguageScript(bool ask)
    {
        SetupScript script =
            BuildScript({"Set Variable|A|Hallo", "If|A|0|Hello", "Record|$LANGUAGE$", "End"});
        script.AskLanguage = ask;
        return script;
    }
};

TEST_F(InterpreterLanguageTest, FormOffersTranslationsAndTheChoiceLocalizesParameters)
{
    host.userLanguage = "GERMAN";
    host.languageChoice = {1, 1};
    Run(LanguageScript(true));
    EXPECT_EQ(host.languageEntries, (Strings{"English", "German"}));
    EXPECT_EQ(host.languagePreselected, 1);
    EXPECT_EQ(recorded, Strings{"German"});
    EXPECT_TRUE(HasEvent(host, "language strings C:\\shared\\qbr1\\shared.translations.German"));
}

TEST_F(InterpreterLanguageTest, CancelledFormRunsNoStatement)
{
    host.languageChoice = {2, 0};
    Run(LanguageScript(true));
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(host.events.back(), "close");
}

TEST_F(InterpreterLanguageTest, WithoutTheFormTheDefaultLanguageIsSelected)
{
    SilentMode = true;  // the form would be shown; silent mode takes the preselected entry
    host.userLanguage = "Klingon";
    Run(LanguageScript(true));
    EXPECT_FALSE(HasEvent(host, "language form"));
    EXPECT_EQ(GetVariable("LANGUAGE"), "English");
    EXPECT_TRUE(recorded.empty());  // English leaves "Hello", which differs from A

    SilentMode = false;
    Run(LanguageScript(false));
    EXPECT_EQ(GetVariable("LANGUAGE"), "English");
}

TEST_F(InterpreterLanguageTest, UnreadableTranslationClearsTheLanguage)
{
    host.fileLines.erase(engine.process.supportDir + "translations.Original");
    host.languageChoice = {1, 1};
    Run(LanguageScript(true));
    EXPECT_EQ(GetVariable("LANGUAGE"), "");
    EXPECT_TRUE(recorded.empty());
}

TEST_F(InterpreterLanguageTest, MaintenanceRunTakesTheCachedLanguage)
{
    host.fileLines["C:\\Cache\\Id\\setup.lan"] = {"German"};
    host.files.insert(engine.process.supportDir + "setup.msp");
    Run(LanguageScript(true));
    EXPECT_FALSE(HasEvent(host, "language form"));
    EXPECT_EQ(recorded, Strings{"German"});
}

TEST_F(InterpreterTest, ScriptsMayTestEveryVariableTheInterpreterPredefines)
{
    for (const char* name :
         {"GPOPATH", "TARQ_COMPRESS_INSTALLER_CACHE", "TARQ_DISABLE_ROLLBACK",
          "TARQ_DISABLE_VISTA_RESTART_MANAGER", "TARQ_thProgress", "TARQ_thMax", "TARQ_thMin",
          "TARQ_thProgressText", "TARQ_thFinished", "TARQ_thCancelled"}) {
        recorded.clear();
        host.exitCodes.clear();
        Run({std::string("If|") + name + "|5", "Record|defined", "End"});
        EXPECT_TRUE(host.exitCodes.empty()) << name;
        EXPECT_EQ(recorded, std::vector<std::string>{"defined"}) << name;
    }
}

TEST_F(InterpreterTest, SetUpRunsItsStepsInOrder)
{
    Run(ScriptBuilder().Header(0, "0000BEEF").Lines({"Record|a"}).Build());
    EXPECT_EQ(host.traces,
              (std::vector<std::string>{"    <Variables>", "    </Variables>",
                                        "    <CompileScript>", "    </CompileScript>",
                                        "    <BootStrap>", "    </BootStrap>", "    <tarq>",
                                        "    </tarq>", "    <ExitScript>", "    </ExitScript>"}));
    EXPECT_EQ(host.events, (std::vector<std::string>{"reset components", "detect",
                                                     "predefined component", "delete run 1A2B3C4D",
                                                     "property A0000BEEF=FALSE", "close"}));
    EXPECT_EQ(recorded, std::vector<std::string>{"a"});
}

TEST_F(InterpreterTest, WindowMessagesAreHandledEvery314Statements)
{
    ScriptBuilder builder;
    for (int i = 0; i < 700; ++i)
        builder.Add("Record|x");
    Run(builder.Build());
    EXPECT_EQ(recorded.size(), 700u);
    EXPECT_EQ(host.messagePumps, 3);  // before statements 1, 315 and 629
}

TEST_F(InterpreterTest, FailureDuringSetUpReportsLineZero)
{
    // A .lan file that cannot be read: the maintenance language look-up raises.
    SetupScript script = BuildScript({"Record|a"});
    script.AskLanguage = true;
    host.files.insert(engine.process.supportDir + "Test Product.mtx");
    host.files.insert(engine.process.supportDir + "translations.German");
    host.files.insert(engine.process.supportDir + "setup.msp");
    host.files.insert("C:\\Cache\\Id\\setup.lan");
    Run(std::move(script));
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(host.errors,
              std::vector<std::string>{"Runtime error in setup script:\r\rLine 0: File not found"});
}

}  // namespace
