#include "setup/engine/installer/statements_installer.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/components/statements_components.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/script_check.h"
#include "setup/engine/testing/fake_cache_system.h"
#include "setup/engine/testing/fake_installer_system.h"
#include "setup/engine/testing/memory_state_file_store.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

constexpr const char* kProduct = "{A1B2C3D4-0000-0000-0000-000000000001}";
constexpr const char* kCacheId = "{C0C0C0C0-0000-0000-0000-000000000001}";
constexpr const char* kCache = "C:\\ProgramData\\{C0C0C0C0-0000-0000-0000-000000000001}\\";

class InstallerStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        identity.ProductCode = kProduct;
        identity.CacheId = kCacheId;
        identity.ProductTitle = "Quill Suite";
        identity.SetupMode = 1;
        identity.CompanyName = "Brakstone";
        engine.process.exeFile = "D:\\Media\\setup.exe";
        engine.process.supportDir = "C:\\Temp\\sup\\";
        engine.SourceMarkerName = kProduct;
        state.DataDir = "D:\\Media\\";
        // The sources a patch needs lie beside the setup program.
        system.files.insert(std::string("D:\\Media\\") + kProduct);
        ResetComponentModel(components);
        DefinePredefinedComponent(components);
        SetVariable("TITLE", "Quill Suite", "test");
        SetVariable("ALLUSERS", "TRUE", "test");
        SetVariable("TARGETDIR", "C:\\Program Files\\\\Quill Suite\\", "test");
        RegisterInstallerStatements(handlers, InstallerStatementServices{&context, &system});
    }

    std::string Reg(const std::string& key, const std::string& name)
    {
        const auto found = system.registry.find("HKLM|" + key + "|" + name);
        return found == system.registry.end() ? "<none>" : found->second;
    }

    SetupScript identity;
    ComponentModel components;
    MemoryStateFileStore store;
    FakeCacheSystem cacheFacts;
    InstallationState state;
    CacheContext context{
        identity, engine, components, store, cacheFacts, state, "C:\\Temp\\sup\\setup.msi"};
    FakeInstallerSystem system;
};

TEST_F(InstallerStatementTest, ResultWordsFollowTheThreadsAnswer)
{
    struct Case
    {
        int result;
        const char* error;
        const char* word;
        const char* lastError;
        const char* reboot;
    };
    const std::vector<Case> cases = {{1, "", "COMPLETE", "", ""},
                                     {2, "", "REBOOT", "", "TRUE"},
                                     {0, "", "CANCEL", "", ""},
                                     {-1, "Disk full", "ERROR", "Disk full", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        SetVariable("LASTERROR", "", "test");
        SetVariable("REBOOTCOMPUTER", "", "test");
        system.installResult = c.result;
        system.installError = c.error;
        Run({"Apply Changes|progress.dlg|$RESULT$|TRUE|FALSE", "Apply Patch|PATCHRESULT"});
        EXPECT_EQ(GetVariable("RESULT"), c.word);
        EXPECT_EQ(GetVariable("PATCHRESULT"), c.word);
        EXPECT_EQ(GetVariable("LASTERROR"), c.lastError);
        EXPECT_EQ(GetVariable("REBOOTCOMPUTER"), c.reboot);
    }
}

TEST_F(InstallerStatementTest, InstallHandsTheThreadItsModeAndWritesTheCache)
{
    engine.SelectedLanguage = "German";
    Run({"Apply Changes|progress.dlg|RESULT|TRUE|FALSE"});
    ASSERT_EQ(system.requests.size(), 1u);
    const InstallRequest& request = system.requests.front();
    EXPECT_FALSE(request.patchMode);
    EXPECT_TRUE(request.install);
    EXPECT_FALSE(request.advertise);
    EXPECT_EQ(request.packagePath, "C:\\Temp\\sup\\setup.msi");
    EXPECT_EQ(request.dialogFilePath, "C:\\Temp\\sup\\progress.dlg");
    EXPECT_EQ(request.targetDir, "C:\\Program Files\\Quill Suite\\");
    EXPECT_NE(request.propertiesText.find("MSINTEMP"), std::string::npos);
    EXPECT_NE(request.propertiesText.find("ProductLanguage,1031"), std::string::npos);
    EXPECT_EQ(system.actions.front(), "localize C:\\Temp\\sup\\setup.msi");

    const std::string cache = kCache;
    const std::vector<std::string> copies = {"copy D:\\Media\\setup.exe > " + cache + "setup.exe",
                                             "copy D:\\Media\\setup.msi > " + cache + "setup.msi",
                                             "copy D:\\Media\\setup.res > " + cache + "setup.res",
                                             "copy D:\\Media\\qbr.lib > " + cache + "qbr.lib",
                                             "copy D:\\Media\\setup.bmp > " + cache + "setup.bmp"};
    std::vector<std::string> actualCopies;
    for (const std::string& action : system.actions)
        if (action.rfind("copy ", 0) == 0)
            actualCopies.push_back(action);
    EXPECT_EQ(actualCopies, copies);
    EXPECT_TRUE(store.files.count(cache + "setup.dat"));
    EXPECT_EQ(system.written[cache + "setup.lan"], std::vector<std::string>{"German"});
    EXPECT_EQ(system.written[cache + "setup.par"], engine.PackagePropertyList.Items());
    const std::vector<std::string> instance = {kProduct, kCacheId, "Quill Suite"};
    EXPECT_EQ(system.written[cache + "instance.dat"], instance);
    EXPECT_FALSE(system.FolderExists(cache + "__ad"));
    EXPECT_TRUE(engine.StateFileFullWrite);
    EXPECT_FALSE(engine.StateFileSuppressed);
}

TEST_F(InstallerStatementTest, RegistryEntriesQuoteCommandLinesWithBlanks)
{
    SetVariable("OVERRIDECACHE", "E:\\My Cache\\", "test");
    Run({"Apply Changes|progress.dlg|RESULT|TRUE|FALSE"});
    const std::string cache = std::string("E:\\My Cache\\") + kCacheId + "\\";
    const std::string title = std::string(kUninstall) + "Quill Suite";
    EXPECT_EQ(Reg(title, "DisplayName"), "Quill Suite");
    EXPECT_EQ(Reg(title, "DisplayIcon"), cache + "setup.exe");
    EXPECT_EQ(Reg(title, "UninstallString"), "\"" + cache + "setup.exe\" REMOVE=TRUE MODIFY=FALSE");
    EXPECT_EQ(Reg(title, "ModifyPath"), "\"" + cache + "setup.exe\"");
    EXPECT_EQ(Reg(title, "Publisher"), "Brakstone");
    EXPECT_EQ(Reg(title, "InstallLocation"), "C:\\Program Files\\Quill Suite\\");
    EXPECT_EQ(Reg(std::string(kUninstall) + kProduct, "UninstallString"),
              "\"" + cache + "setup.exe\"");
    EXPECT_EQ(Reg(std::string(kIdentCacheKey) + kProduct, ""), cache);
}

TEST_F(InstallerStatementTest, AdvertiseMarksTheCacheAndInstallRemovesTheMark)
{
    Run({"Apply Changes|progress.dlg|RESULT|FALSE|FALSE"});
    ASSERT_EQ(system.requests.size(), 1u);
    EXPECT_TRUE(system.requests[0].advertise);
    EXPECT_FALSE(system.requests[0].install);
    EXPECT_TRUE(system.FolderExists(std::string(kCache) + "__ad"));
    EXPECT_NE(Reg(std::string(kUninstall) + "Quill Suite", "DisplayName"), "<none>");
    Run({"Apply Changes|progress.dlg|RESULT|TRUE|FALSE"});
    EXPECT_FALSE(system.FolderExists(std::string(kCache) + "__ad"));
}

TEST_F(InstallerStatementTest, RemovalDeletesCacheAndEntries)
{
    Run({"Apply Changes|progress.dlg|RESULT|TRUE|FALSE"});
    system.folders.insert(kCache);
    Run({"Apply Changes|progress.dlg|RESULT|FALSE|TRUE"});
    EXPECT_EQ(GetVariable("RESULT"), "COMPLETE");
    EXPECT_FALSE(system.requests.back().install);
    EXPECT_FALSE(system.requests.back().advertise);
    EXPECT_FALSE(system.FolderExists(kCache));
    EXPECT_FALSE(system.FileExists(std::string(kCache) + "setup.exe"));
    // Only the product code's entry is left: Windows Installer removes that key itself.
    EXPECT_EQ(system.registry.size(), 1u);
    EXPECT_NE(Reg(std::string(kUninstall) + kProduct, "UninstallString"), "<none>");
    EXPECT_TRUE(engine.StateFileSuppressed);
}

TEST_F(InstallerStatementTest, ApplyChangesRefusesAnIdentityThatIsNoBracedGuid)
{
    // Canaries in the cache root and beside it.
    const std::vector<std::string> canaries = {"C:\\ProgramData\\canary\\keep.txt",
                                               "C:\\VICTIM\\keep.txt"};
    struct Case
    {
        const char* name;
        std::string productCode;
        std::string cacheId;
    };
    const std::vector<Case> cases = {
        {"climbing revision code", kProduct, "..\\..\\..\\..\\VICTIM"},
        {"empty revision code", kProduct, ""},
        {"relative revision code", kProduct, "canary"},
        {"unbraced revision code", kProduct, "C0C0C0C0-0000-0000-0000-000000000001"},
        {"revision code with junk", kProduct, std::string(kCacheId) + "\\.."},
        {"empty product code", "", kCacheId},
        {"climbing product code", "..\\..\\VICTIM", kCacheId},
    };
    for (const Case& c : cases) {
        for (const char* run : {"Apply Changes|progress.dlg|RESULT|TRUE|FALSE",
                                "Apply Changes|progress.dlg|RESULT|FALSE|TRUE"}) {
            SCOPED_TRACE(std::string(c.name) + ": " + run);
            identity.ProductCode = c.productCode;
            identity.CacheId = c.cacheId;
            engine.StateFileSuppressed = false;
            system.requests.clear();
            system.actions.clear();
            system.registry.clear();
            system.folders = {"C:\\ProgramData\\", "C:\\ProgramData\\canary\\", "C:\\VICTIM\\"};
            system.files = std::set<std::string>(canaries.begin(), canaries.end());
            SetVariable("RESULT", "", "test");
            EXPECT_THROW(Run({run}), std::exception);
            // Refused before the installer ran: nothing was created, copied or deleted.
            EXPECT_TRUE(system.requests.empty());
            EXPECT_EQ(system.actions, std::vector<std::string>{});
            EXPECT_EQ(system.files, std::set<std::string>(canaries.begin(), canaries.end()));
            EXPECT_EQ(system.folders.size(), 3u);
            EXPECT_TRUE(system.registry.empty());
            EXPECT_TRUE(engine.StateFileSuppressed);
            EXPECT_EQ(GetVariable("RESULT"), "");
        }
    }
}

TEST_F(InstallerStatementTest, RemovalDeletesOnlyTheProductsOwnCacheFolder)
{
    const std::set<std::string> canaries = {"C:\\ProgramData\\canary\\keep.txt",
                                            "C:\\ProgramData\\keep.txt", "C:\\VICTIM\\keep.txt"};
    system.files = canaries;
    system.files.insert(std::string(kCache) + "setup.exe");
    system.folders = {"C:\\ProgramData\\", "C:\\ProgramData\\canary\\", "C:\\VICTIM\\", kCache};
    Run({"Apply Changes|progress.dlg|RESULT|FALSE|TRUE"});
    EXPECT_EQ(GetVariable("RESULT"), "COMPLETE");
    EXPECT_EQ(system.files, canaries);
    EXPECT_EQ(system.folders, (std::set<std::string>{"C:\\ProgramData\\",
                                                     "C:\\ProgramData\\canary\\", "C:\\VICTIM\\"}));
}

TEST_F(InstallerStatementTest, LockedCacheIsMovedAsideOrReported)
{
    for (const bool movable : {true, false}) {
        SCOPED_TRACE(movable);
        system.actions.clear();
        system.folders = {kCache, "C:\\ProgramData\\~0\\"};
        system.lockedFolders = {kCache};
        if (!movable)
            system.lockedFolders.insert("no move");
        SetVariable("LASTERROR", "", "test");
        Run({"Apply Changes|progress.dlg|RESULT|FALSE|TRUE"});
        const std::string left = movable
                                     ? "C:\\ProgramData\\~1"
                                     : "C:\\ProgramData\\{C0C0C0C0-0000-0000-0000-000000000001}";
        std::vector<std::string> expected;
        if (movable)
            expected.push_back("move " + std::string(kCache) + " > " + left);
        expected.push_back("at restart " + left + "\\setup.exe");
        expected.push_back("at restart " + left + "\\qbr.lib");
        expected.push_back("at restart " + left);
        EXPECT_EQ(system.actions, expected);
        EXPECT_EQ(GetVariable("RESULT"), movable ? "COMPLETE" : "ERROR");
        EXPECT_EQ(GetVariable("LASTERROR"),
                  movable ? "" : "Installer cache could not be removed: " + left);
    }
}

TEST_F(InstallerStatementTest, PatchWritesNoCacheAndUsesNoDialog)
{
    Run({"Apply Patch|RESULT"});
    ASSERT_EQ(system.requests.size(), 1u);
    EXPECT_TRUE(system.requests[0].patchMode);
    EXPECT_EQ(system.requests[0].packagePath, "C:\\Temp\\sup\\setup.msp");
    EXPECT_EQ(system.requests[0].dialogFilePath, "");
    EXPECT_EQ(GetVariable("RESULT"), "COMPLETE");
    EXPECT_TRUE(system.registry.empty());
    EXPECT_TRUE(system.written.empty());
    EXPECT_FALSE(system.FolderExists(kCache));
    EXPECT_TRUE(store.files.empty());
    EXPECT_EQ(state.PreviousInstallFolder, "D:\\Media\\");
}

TEST_F(InstallerStatementTest, MissingSourcesCancelInMaintenance)
{
    struct Case
    {
        const char* name;
        bool silent;
        std::vector<std::string> answers;
        const char* result;
        const char* dataDir;
    };
    const std::vector<Case> cases = {
        {"silent gives up at once", true, {}, "CANCEL", "D:\\Media\\"},
        {"user gives up", false, {"F:\\Wrong"}, "CANCEL", "D:\\Media\\"},
        {"found in the data subfolder",
         false,
         {"F:\\Wrong", "G:\\Copy"},
         "COMPLETE",
         "G:\\Copy\\data\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SilentMode = c.silent;
        system.requests.clear();
        system.browses = 0;
        system.browseAnswers = c.answers;
        system.files = {std::string("G:\\Copy\\data\\") + kProduct};
        state.DataDir = "D:\\Media\\";
        SetVariable("MAINTENANCE", "TRUE", "test");
        SetVariable("LASTERROR", "", "test");
        Run({"Apply Changes|progress.dlg|RESULT|TRUE|FALSE"});
        EXPECT_EQ(GetVariable("RESULT"), c.result);
        EXPECT_EQ(state.DataDir, c.dataDir);
        const bool cancelled = std::string(c.result) == "CANCEL";
        EXPECT_EQ(system.requests.empty(), cancelled);
        EXPECT_EQ(GetVariable("LASTERROR"), cancelled ? std::string(kMissingSourcesError) : "");
        if (c.silent) {
            EXPECT_EQ(system.browses, 0);
        }
    }
}

TEST_F(InstallerStatementTest, MediaModeThreeFindsSourcesThroughTheEarlierInstall)
{
    const std::string marker = kProduct;
    struct Case
    {
        const char* name;
        const char* uninstallString;
        const char* sourceSwitch;
        std::vector<std::string> files;
        const char* result;
        const char* previous;
    };
    const std::vector<Case> cases = {
        {"recorded install folder",
         "\"E:\\Old Cache\\setup.exe\" REMOVE=TRUE MODIFY=FALSE",
         "",
         {"E:\\Old Cache\\" + marker},
         "COMPLETE",
         "E:\\Old Cache\\"},
        {"the /p= folder wins",
         "\"E:\\Old Cache\\setup.exe\"",
         "F:\\Sources",
         {"F:\\Sources\\" + marker},
         "COMPLETE",
         "F:\\Sources\\"},
        {"data folder as fallback", "", "", {"D:\\Media\\" + marker}, "COMPLETE", "D:\\Media\\"},
        {"nowhere", "\"E:\\Old Cache\\setup.exe\"", "", {}, "CANCEL", "E:\\Old Cache\\"},
    };
    identity.SetupMode = 3;
    SilentMode = true;
    SetVariable("MAINTENANCE", "TRUE", "test");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system.registry.clear();
        if (*c.uninstallString != '\0')
            system.registry[std::string("HKLM|") + kUninstall + "Quill Suite|UninstallString"] =
                c.uninstallString;
        state.SourceSwitchFolder = c.sourceSwitch;
        system.files = std::set<std::string>(c.files.begin(), c.files.end());
        Run({"Apply Changes|progress.dlg|RESULT|TRUE|FALSE"});
        EXPECT_EQ(GetVariable("RESULT"), c.result);
        EXPECT_EQ(state.PreviousInstallFolder, c.previous);
    }
}

TEST_F(InstallerStatementTest, MediaModeTwoAcquiresOfflineMediaAndMarksItsCache)
{
    class RecordingMedia : public IPackageMedia
    {
    public:
        std::vector<std::string> blocks;
        void AcquireMediaBlock(const std::string& name) override { blocks.push_back(name); }
    } media;
    RegisterInstallerStatements(handlers, InstallerStatementServices{&context, &system, &media});
    identity.SetupMode = 2;
    Run({"Apply Changes|progress.dlg|RESULT|TRUE|FALSE"});
    EXPECT_EQ(media.blocks, std::vector<std::string>{"OFFLINE\\"});
    const std::string marker = std::string(kCache) + kProduct;
    EXPECT_TRUE(system.FileExists(marker));
    // No language chosen: no language file is kept.
    EXPECT_FALSE(system.FileExists(std::string(kCache) + "setup.lan"));

    system.lockedFolders = {kCache};  // the marker must go even when the folder stays
    Run({"Apply Changes|progress.dlg|RESULT|FALSE|TRUE"});
    EXPECT_FALSE(system.FileExists(marker));
}

TEST_F(InstallerStatementTest, IsMsiSetupInstalledCountsOnlyAnInstalledProduct)
{
    for (const auto& [productState, expected] :
         std::vector<std::pair<int, const char*>>{{5, "TRUE"}, {1, "FALSE"}, {-1, "FALSE"}}) {
        system.productState = productState;
        Run({"Is MSI Setup Installed|{X}|ANSWER"});
        EXPECT_EQ(GetVariable("ANSWER"), expected) << productState;
    }
}

TEST_F(InstallerStatementTest, SetSixtyFourBitModeLetsLaterParametersWin)
{
    struct Case
    {
        const char* params;
        const char* platform;
    };
    const std::vector<Case> cases = {{"TRUE|FALSE|FALSE", "Win32"}, {"FALSE|TRUE|FALSE", "ia64"},
                                     {"TRUE|FALSE|TRUE", "x64"},    {"TRUE|TRUE|TRUE", "x64"},
                                     {"FALSE|FALSE|FALSE", "kept"}, {"true|FALSE|FALSE", "kept"}};
    for (const Case& c : cases) {
        engine.TargetPlatform = "kept";
        Run({std::string("Set 64 Bit Mode|") + c.params});
        EXPECT_EQ(engine.TargetPlatform, c.platform) << c.params;
    }
}

TEST_F(InstallerStatementTest, TransformInstanceOnlyForANewInstanceWithoutPatch)
{
    SetVariable("NEWINSTANCE", "FALSE", "test");
    Run({"Transform Instance"});
    EXPECT_EQ(identity.ProductCode, kProduct);

    SetVariable("NEWINSTANCE", "TRUE", "test");
    system.files.insert("C:\\Temp\\sup\\setup.msp");
    Run({"Transform Instance"});
    EXPECT_EQ(identity.ProductCode, kProduct);

    system.files.clear();
    Run({"Transform Instance"});
    EXPECT_EQ(identity.ProductCode, "{00000001-ABCD-0000-0000-000000000000}");
    EXPECT_EQ(identity.CacheId, "{00000002-ABCD-0000-0000-000000000000}");
    EXPECT_EQ(GetVariable("PRODUCTCODE"), identity.ProductCode);
    EXPECT_EQ(GetVariable("NEWINSTANCE"), "FALSE");
}

}  // namespace
}  // namespace setup::engine::testing
