// The start-up order with every service faked: exit codes and messages, the trace marks, the
// support folder, the package copies, the page preload and the language strings.
#include "setup/deployrun/setup_main.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>

#include "setup/engine/script/setup_messages.h"
#include "tests/support/compiled_script_builder.h"

namespace setup::deployrun {
namespace {

struct FakeSystem : IStartupSystem
{
    std::vector<std::string> arguments;
    std::string raw = "\"C:\\Setups\\setup.exe\"";
    std::optional<std::string> libraryOverlay;
    std::string userLanguage = "English";
    std::optional<std::string> programOverlay;
    std::set<std::string> files;
    std::set<std::string> folders;
    std::vector<std::string> copies;
    std::vector<std::string> removed;
    std::vector<std::string> trace;
    std::string tracePath;

    void SetProcessAffinity() override { trace.push_back("(affinity)"); }
    std::string ProgramFile() override { return "C:\\Setups\\setup.exe"; }
    std::string TempDir() override { return "C:\\Temp\\"; }
    std::string WindowsDir() override { return "C:\\Windows\\"; }
    std::vector<std::string> Arguments() override { return arguments; }
    std::string RawCommandLine() override { return raw; }
    std::optional<std::string> LibraryOverlay(const std::string& path) override
    {
        return path == "C:\\Setups\\qbr.lib" ? libraryOverlay : std::nullopt;
    }
    std::string UserLanguageName() override { return userLanguage; }
    std::optional<std::string> ProgramOverlay() override { return programOverlay; }
    std::optional<std::string> ClaimSupportDir(const std::string& tempDir) override
    {
        folders.insert(tempDir + "qbr1\\");
        return tempDir + "qbr1\\";
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool DirectoryExists(const std::string& path) override { return folders.count(path) != 0; }
    void CopyPackage(const std::string& source, const std::string& target) override
    {
        copies.push_back(source + " -> " + target);
    }
    void RemoveSupportDir(const std::string& folder) override
    {
        removed.push_back(folder);
        folders.erase(folder);
    }
    void Trace(const std::string& path, const std::string& line) override
    {
        tracePath = path;
        trace.push_back(line);
    }
};

struct FakeWindows : IStartupWindows
{
    std::vector<std::string> events;
    bool shown = false;
    void Show(const std::string& bitmap, const std::string& caption,
              const std::string& text) override
    {
        shown = true;
        events.push_back("show " + bitmap + " | " + caption);
    }
    bool Shown() override { return shown; }
    void SetProgressRange(int maximum) override
    {
        events.push_back("range " + std::to_string(maximum));
    }
    void StepProgress() override { events.push_back("step"); }
    void Close() override
    {
        shown = false;
        events.push_back("close");
    }
};

struct FakePrompt : IStartupPrompt
{
    std::vector<std::string> shown;
    void ShowError(const std::string& text, const std::string& caption, bool owned) override
    {
        shown.push_back(caption + ": " + text + (owned ? " (owned)" : ""));
    }
};

struct FakeDialogs : IDialogPool
{
    std::vector<std::string> events;
    void InitDialogPool(const std::string& supportDir) override
    {
        events.push_back("init " + supportDir);
    }
    void LoadDialog(const std::string& key, const std::string& file) override
    {
        events.push_back(key + " " + file);
    }
};

struct FakeArchive : IResourceArchive
{
    bool succeeds = true;
    std::string extracted;
    bool ExtractAll(const std::string& archive, const std::string& folder,
                    std::string& errorText) override
    {
        extracted = archive + " -> " + folder;
        if (!succeeds)
            errorText = "corrupt";
        return succeeds;
    }
};

struct FakeRunner : IScriptRunner
{
    int exitCode = 0;
    std::string failure;
    std::string languageStrings;  // loaded by the script before it ends
    std::string packagePath;
    StartupFacts facts;
    size_t statements = 0;
    int RunScript(engine::SetupScript& script, const StartupFacts& given,
                  const std::string& package) override
    {
        facts = given;
        packagePath = package;
        statements = script.CommandList.Count();
        if (!languageStrings.empty())
            given.messages->LoadFromText(languageStrings, "");
        if (!failure.empty())
            throw std::runtime_error(failure);
        return exitCode;
    }
    std::string WizardCaption() override { return "Product - Quillbay Wizard"; }
};

class SetupMainTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        system.programOverlay = testsupport::BuildCompiledScript(
            testsupport::ParseStatements("Display Dialog | Welcome\n"
                                         "Set Variable | A | 1\n"
                                         "C Display Dialog | Skipped\n"
                                         "Display Dialog | Finish\n"));
        system.files = {"C:\\Setups\\setup.res", "C:\\Setups\\setup.msi"};
    }

    int Run()
    {
        const StartupServices services{system, windows, prompt, dialogs, archive, runner};
        return SetupMain(services);
    }

    FakeSystem system;
    FakeWindows windows;
    FakePrompt prompt;
    FakeDialogs dialogs;
    FakeArchive archive;
    FakeRunner runner;
};

TEST_F(SetupMainTest, StartUpFailuresEndWithTheirCodesAndMessages)
{
    struct Case
    {
        const char* name;
        bool script;
        std::set<std::string> files;
        bool extracts;
        int exitCode;
        const char* message;
        const char* lastTrace;
    };
    const Case cases[] = {
        {"no script",
         false,
         {"C:\\Setups\\setup.res", "C:\\Setups\\setup.msi"},
         true,
         13,
         "For internal use only",
         "    <StubSize>"},
        {"no archive",
         true,
         {"C:\\Setups\\setup.msi"},
         true,
         14,
         "Setup resource not found",
         "    <ExtractArchive>"},
        {"bad archive",
         true,
         {"C:\\Setups\\setup.res", "C:\\Setups\\setup.msi"},
         false,
         15,
         "Setup resource decompression failure",
         "    <ExtractArchive>"},
        {"no package",
         true,
         {"C:\\Setups\\setup.res"},
         true,
         16,
         "Setup database not found",
         "    <ExtractResource>"},
    };
    for (const bool silent : {false, true}) {
        for (const Case& c : cases) {
            system = FakeSystem();
            prompt.shown.clear();
            system.arguments =
                silent ? std::vector<std::string>{"/qn"} : std::vector<std::string>{};
            if (c.script)
                system.programOverlay = testsupport::BuildCompiledScript({});
            system.files = c.files;
            archive.succeeds = c.extracts;
            EXPECT_EQ(Run(), c.exitCode) << c.name;
            if (silent) {
                EXPECT_TRUE(prompt.shown.empty()) << c.name;
            } else {
                EXPECT_EQ(prompt.shown, std::vector<std::string>{std::string("Quillbay Wizard: ") +
                                                                 c.message + " (owned)"})
                    << c.name;
            }
            // These end at once: no closing marks, the folder stays for the next run to skip.
            EXPECT_EQ(system.trace.back(), c.lastTrace) << c.name;
            EXPECT_TRUE(system.removed.empty()) << c.name;
        }
    }
}

TEST_F(SetupMainTest, ACleanRunTracesEveryStageAndRemovesTheSupportFolder)
{
    system.arguments = {"/l=C:\\Logs\\Setup.LOG"};
    runner.exitCode = 3010;
    EXPECT_EQ(Run(), 3010);
    const std::vector<std::string> expected = {"(affinity)",
                                               "<Quillbay>",
                                               "  <SetupSplash>",
                                               "    <StubSize>",
                                               "    </StubSize>",
                                               "    <StubData>",
                                               "    </StubData>",
                                               "    <GlobalLists>",
                                               "    </GlobalLists>",
                                               "    <SupportDir>",
                                               "    </SupportDir>",
                                               "    <ExtractArchive>",
                                               "    </ExtractArchive>",
                                               "    <ExtractResource>",
                                               "    </ExtractResource>",
                                               "    <ResourcePath>",
                                               "    </ResourcePath>",
                                               "    <Dialogs>",
                                               "    </Dialogs>",
                                               "  </SetupSplash>",
                                               "  <RunScript>",
                                               "  </RunScript>",
                                               "  <Free>",
                                               "  </Free>",
                                               "  <CachedSupportDir>",
                                               "  </CachedSupportDir>",
                                               "</Quillbay>"};
    EXPECT_EQ(system.trace, expected);
    EXPECT_EQ(system.tracePath, "c:\\logs\\setup.log");  // value switches come lower-cased
    EXPECT_EQ(archive.extracted, "C:\\Setups\\setup.res -> C:\\Temp\\qbr1\\");
    EXPECT_EQ(system.copies,
              std::vector<std::string>{"C:\\Setups\\setup.msi -> C:\\Temp\\qbr1\\setup.msi"});
    EXPECT_EQ(runner.packagePath, "C:\\Temp\\qbr1\\setup.msi");
    EXPECT_EQ(runner.statements, 4u);
    EXPECT_EQ(runner.facts.dataDir, "C:\\Setups\\data\\");
    EXPECT_EQ(runner.facts.windowsDir, "C:\\Windows\\");
    EXPECT_EQ(system.removed, std::vector<std::string>{"C:\\Temp\\qbr1\\"});
    // Commented-out pages are not preloaded; keys are 0-based statement indexes.
    EXPECT_EQ(dialogs.events,
              (std::vector<std::string>{"init C:\\Temp\\qbr1\\", "0 C:\\Temp\\qbr1\\Welcome.dfm",
                                        "3 C:\\Temp\\qbr1\\Finish.dfm"}));
    EXPECT_EQ(windows.events,
              (std::vector<std::string>{"show C:\\Setups\\setup.bmp | Quillbay Wizard", "range 2",
                                        "step", "step", "close"}));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(SetupMainTest, AFailureAfterTheSupportFolderGivesElevenAndStillCleansUp)
{
    struct Case
    {
        const char* name;
        bool silent;
    };
    for (const Case& c : {Case{"shown", false}, Case{"silent", true}}) {
        system = FakeSystem();
        SetUp();
        prompt.shown.clear();
        system.arguments = c.silent ? std::vector<std::string>{"-s"} : std::vector<std::string>{};
        runner.failure = "boom";
        EXPECT_EQ(Run(), 11) << c.name;
        if (c.silent)
            EXPECT_TRUE(prompt.shown.empty());
        else
            EXPECT_EQ(prompt.shown,
                      std::vector<std::string>{
                          "Product - Quillbay Wizard: Runtime error in install: boom"});
        EXPECT_EQ(system.removed, std::vector<std::string>{"C:\\Temp\\qbr1\\"}) << c.name;
        EXPECT_EQ(system.trace.back(), "</Quillbay>") << c.name;
    }
}

TEST_F(SetupMainTest, AFailedRunIsReportedInTheLanguageTheScriptLoaded)
{
    for (int n = 1; n <= engine::kSetupMessageCount; ++n)
        runner.languageStrings += "script " + std::to_string(n) + "\r\n";
    runner.failure = "boom";
    EXPECT_EQ(Run(), 11);
    EXPECT_EQ(prompt.shown, std::vector<std::string>{"Product - Quillbay Wizard: script 5boom"});
}

TEST_F(SetupMainTest, ADamagedScriptIsARuntimeFailureNotACrash)
{
    testsupport::ScriptProject project;
    project.setupMode = "not a number";
    system.programOverlay = testsupport::BuildCompiledScript({}, project);
    EXPECT_EQ(Run(), 11);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find("Runtime error in install: "), std::string::npos);
    // It failed before a support folder was claimed, and no other run's folder is touched.
    EXPECT_TRUE(system.removed.empty());
    EXPECT_EQ(system.trace.back(), "</Quillbay>");
}

TEST_F(SetupMainTest, WindowSwitchesAndTheCommandLineReachTheEngine)
{
    struct Case
    {
        std::vector<std::string> arguments;
        bool windows;
        bool silent;
    };
    const Case cases[] = {
        {{}, true, false},
        {{"/S"}, false, true},
        {{"-qn"}, false, true},
        {{"/update"}, false, false},
        {{"/UpdateSetup"}, false, false},
        {{"/sx"}, true, false},
    };
    for (const Case& c : cases) {
        windows.events.clear();
        system.arguments = c.arguments;
        system.arguments.push_back("target=D:\\App");
        Run();
        EXPECT_EQ(!windows.events.empty(), c.windows) << c.arguments.size();
        // The runner puts them into the run's variables.
        EXPECT_EQ(runner.facts.switches.silent, c.silent);
        ASSERT_EQ(runner.facts.switches.overrides.Count(), 2u);
        EXPECT_EQ(runner.facts.switches.overrides[0], "TARGET");
        EXPECT_EQ(runner.facts.switches.overrides[1], "D:\\App");
    }
}

TEST_F(SetupMainTest, LanguageStringsComeFromTheArchiveLibrarysAppendedData)
{
    auto block = [](const std::string& tag) {
        std::string text;
        for (int n = 1; n <= engine::kSetupMessageCount; ++n)
            text += tag + std::to_string(n) + "\r\n";
        return text;
    };
    struct Case
    {
        std::optional<std::string> overlay;
        std::string userLanguage;
        std::string message2;
    };
    const std::string file = block("default ") + "German\r\n" + block("deutsch ");
    const Case cases[] = {
        {std::nullopt, "German", "Setup resource not found"},
        {file, "German", "deutsch 2"},
        {file, "French", "default 2"},
    };
    for (const Case& c : cases) {
        prompt.shown.clear();
        system.libraryOverlay = c.overlay;
        system.userLanguage = c.userLanguage;
        system.files = {"C:\\Setups\\setup.msi"};
        EXPECT_EQ(Run(), 14);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_NE(prompt.shown[0].find(c.message2), std::string::npos) << prompt.shown[0];
    }
}

}  // namespace
}  // namespace setup::deployrun
