#include "setup/engine/installer/installer_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/builtin/builtin_statements.h"
#include "setup/engine/components/statements_components.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/statements/statements_variables.h"
#include "setup/engine/testing/fake_cache_system.h"
#include "setup/engine/testing/interpreter_fake_host.h"
#include "setup/engine/testing/interpreter_script_builder.h"
#include "setup/engine/testing/memory_state_file_store.h"
#include "setup/engine/testing/variable_names.h"

namespace setup::engine {
namespace {

using testing::FakeCacheSystem;
using testing::MemoryStateFileStore;

constexpr const char* kCacheId = "{C0C0C0C0-0000-0000-0000-000000000001}";
constexpr const char* kOtherCacheId = "{D0D0D0D0-0000-0000-0000-000000000002}";
constexpr const char* kOtherProduct = "{B0000000-0000-0000-0000-000000000002}";

class InstallerCacheTest : public ::testing::Test, protected testing::VariableNames
{
protected:
    void SetUp() override
    {
        script.ProductCode = "{A0000000-0000-0000-0000-000000000001}";
        script.CacheId = kCacheId;
        script.ProductTitle = "Quill Suite";
        script.SetupMode = 1;
        engine.process.exeFile = "D:\\Media\\setup.exe";
        state.DataDir = "D:\\Media\\";
        ResetComponentModel(components);
        DefinePredefinedComponent(components);
    }
    ScriptVariables& RunVariables() override { return engine.Variables; }

    CacheContext Context()
    {
        return CacheContext{
            script, engine, components, store, system, state, "C:\\Temp\\support\\setup.msi"};
    }

    // A state file for the cache folder under the given root, with one selected component.
    void StoreState(const std::string& folder, std::int64_t size)
    {
        ComponentModel saved;
        saved.DefineComponent("Core", "Core files", true);
        saved.ComponentTable[static_cast<std::size_t>(saved.ComponentTable.IndexOf("Core")) + 1] =
            std::to_string(size);
        SaveComponentState(store, saved, engine.Variables, folder + "setup.dat",
                           ComponentStateSave{});
        system.files.insert(folder + "setup.dat");
    }

    SetupScript script;
    EngineState engine;
    ComponentModel components;
    MemoryStateFileStore store;
    FakeCacheSystem system;
    InstallationState state;
};

TEST_F(InstallerCacheTest, DetectsInstallationKindFromProductStateAndPackageCode)
{
    struct Case
    {
        const char* name;
        int productState;
        const char* installedPackage;
        const char* needsUpgrade;
        const char* maintenance;
        const char* newInstance;
    };
    const std::vector<Case> cases = {
        {"not installed", 2, kCacheId, "FALSE", "FALSE", "FALSE"},
        {"query failed", -1, kCacheId, "FALSE", "FALSE", "FALSE"},
        {"advertised only", 1, kCacheId, "FALSE", "FALSE", "FALSE"},
        {"same package", 5, kCacheId, "FALSE", "TRUE", "TRUE"},
        {"other package", 5, kOtherCacheId, "TRUE", "FALSE", "TRUE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearVariables();
        system.productState = c.productState;
        system.installedPackageCode = c.installedPackage;
        DetectInstallation(Context());
        EXPECT_EQ(GetVariable("NEEDSUPGRADE"), c.needsUpgrade);
        EXPECT_EQ(GetVariable("MAINTENANCE"), c.maintenance);
        EXPECT_EQ(GetVariable("NEWINSTANCE"), c.newInstance);
        EXPECT_EQ(GetVariable("PRODUCTCODE"), script.ProductCode);
        EXPECT_EQ(GetVariable("REVISIONCODE"), kCacheId);
    }
}

TEST_F(InstallerCacheTest, RightsChooseTargetFolderAllUsersAndCacheRoot)
{
    struct Case
    {
        bool windowsNT;
        bool admin;
        const char* targetDir;
        const char* allUsers;
        const char* engineCache;
    };
    const std::vector<Case> cases = {
        {true, true, "C:\\Program Files\\Quill Suite\\", "TRUE",
         "C:\\ProgramData\\{C0C0C0C0-0000-0000-0000-000000000001}\\"},
        {true, false, "C:\\Users\\ann\\Quill Suite\\", "FALSE",
         "C:\\Users\\ann\\AppData\\Local\\{C0C0C0C0-0000-0000-0000-000000000001}\\"},
        {false, false, "C:\\Program Files\\Quill Suite\\", "FALSE",
         "C:\\Program Files\\Common Files\\{C0C0C0C0-0000-0000-0000-000000000001}\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.targetDir));
        ClearVariables();
        system.windowsNT = c.windowsNT;
        system.admin = c.admin;
        DetectInstallation(Context());
        EXPECT_EQ(GetVariable("TARGETDIR"), c.targetDir);
        EXPECT_EQ(state.DefaultTargetDir, c.targetDir);
        EXPECT_EQ(GetVariable("ALLUSERS"), c.allUsers);
        EXPECT_EQ(GetVariable("STARTMENU"), "Quill Suite");
        EXPECT_EQ(GetVariable("ENGINECACHE"), c.engineCache);
        EXPECT_EQ(GetVariable("UNINSTALLLINK"), std::string(c.engineCache) + "setup.exe");
    }
}

TEST_F(InstallerCacheTest, CacheRootFollowsOverrideRegistryAndSpecialFolders)
{
    struct Case
    {
        const char* name;
        const char* overrideCache;
        const char* identCache;
        bool allUsers;
        bool dropLocal;
        bool dropAll;
        const char* root;
    };
    const std::vector<Case> cases = {
        {"override kept as given", "E:\\Cache", "", true, false, false, "E:\\Cache"},
        {"registered folder of this revision", "",
         "F:\\Keep\\{C0C0C0C0-0000-0000-0000-000000000001}\\", true, false, false, "F:\\Keep\\"},
        {"registered folder of another revision ignored", "",
         "F:\\Keep\\{D0D0D0D0-0000-0000-0000-000000000002}", true, false, false,
         "C:\\ProgramData\\"},
        {"letter case of the revision counts", "",
         "F:\\Keep\\{c0c0c0c0-0000-0000-0000-000000000001}", false, false, false,
         "C:\\Users\\ann\\AppData\\Local\\"},
        {"roaming when there is no local folder", "", "", false, true, false,
         "C:\\Users\\ann\\AppData\\Roaming\\"},
        {"desktop's parent as the last resort", "", "", false, true, true,
         "C:\\Users\\ann\\Application Data\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearVariables();
        SetVariable("OVERRIDECACHE", c.overrideCache, "Test");
        FakeCacheSystem facts;
        facts.identCache = c.identCache;
        if (c.dropLocal)
            facts.specialFolders.erase(28);
        if (c.dropAll) {
            facts.specialFolders.erase(26);
            facts.specialFolders.erase(35);
        }
        EXPECT_EQ(GetCacheRoot(facts, script, engine.Variables, c.allUsers), c.root);
    }
}

TEST_F(InstallerCacheTest, InstanceFileBesideSetupGivesIdentityAndNoNewInstance)
{
    system.files.insert("D:\\Media\\instance.dat");
    system.fileLines["D:\\Media\\instance.dat"] = {kOtherProduct, kOtherCacheId, "Quill Second"};
    system.productState = 5;
    system.installedPackageCode = kOtherCacheId;
    DetectInstallation(Context());
    EXPECT_EQ(script.ProductCode, kOtherProduct);
    EXPECT_EQ(script.CacheId, kOtherCacheId);
    EXPECT_EQ(GetVariable("PRODUCTCODE"), kOtherProduct);
    EXPECT_EQ(GetVariable("REVISIONCODE"), kOtherCacheId);
    EXPECT_EQ(state.DefaultTargetDir, "C:\\Program Files\\Quill Second\\");
    EXPECT_EQ(GetVariable("MAINTENANCE"), "TRUE");
    EXPECT_EQ(GetVariable("NEWINSTANCE"), "FALSE");
}

// Values an instance file, a script or an uninstall entry may carry in place of a cache folder
// name; only the last is one.
struct IdentityValue
{
    const char* name;
    std::string value;
    bool accepted;
};

std::vector<IdentityValue> IdentityValues()
{
    return {{"climbs out of the root", "..\\..\\..\\..\\VICTIM", false},
            {"empty: the root itself", "", false},
            {"relative name", "VICTIM", false},
            {"relative climb", "..\\VICTIM", false},
            {"unbraced GUID", "E0E0E0E0-0000-0000-0000-000000000003", false},
            {"GUID with trailing junk", "{E0E0E0E0-0000-0000-0000-000000000003}\\..\\..", false},
            {"GUID with a trailing blank", "{E0E0E0E0-0000-0000-0000-000000000003} ", false},
            {"not hexadecimal", "{G0E0E0E0-0000-0000-0000-000000000003}", false},
            {"braced GUID", "{e0e0e0e0-0000-0000-0000-00000000000F}", true}};
}

TEST_F(InstallerCacheTest, IdentityThatIsNoBracedGuidIsRefusedBeforeAnythingIsTouched)
{
    enum class Source
    {
        InstanceRevision,
        InstanceProduct,
        ScriptCacheId
    };
    const std::string instanceFile = "D:\\Media\\instance.dat";
    for (const IdentityValue& v : IdentityValues()) {
        for (const Source source :
             {Source::InstanceRevision, Source::InstanceProduct, Source::ScriptCacheId}) {
            SCOPED_TRACE(std::string(v.name) + " from source " +
                         std::to_string(static_cast<int>(source)));
            ClearVariables();
            script.ProductCode = "{A0000000-0000-0000-0000-000000000001}";
            script.CacheId = kCacheId;
            engine.StateFileSuppressed = false;
            engine.StateFileFullWrite = true;
            system.files.clear();
            system.folders.clear();
            system.actions.clear();
            store.files.clear();
            if (source == Source::ScriptCacheId) {
                script.CacheId = v.value;
            } else {
                system.files.insert(instanceFile);
                system.fileLines[instanceFile] =
                    source == Source::InstanceRevision
                        ? std::vector<std::string>{kOtherProduct, v.value, "Quill"}
                        : std::vector<std::string>{v.value, kOtherCacheId, "Quill"};
            }
            if (v.accepted) {
                EXPECT_NO_THROW(DetectInstallation(Context()));
            } else {
                try {
                    DetectInstallation(Context());
                    ADD_FAILURE() << "accepted";
                } catch (const std::exception& refusal) {
                    const std::string message = refusal.what();
                    EXPECT_NE(message.find("not a GUID in braces: \"" + v.value + "\""),
                              std::string::npos)
                        << message;
                    EXPECT_NE(message.find(source == Source::ScriptCacheId ? "setup script"
                                                                           : instanceFile),
                              std::string::npos)
                        << message;
                }
                EXPECT_EQ(GetVariable("ENGINECACHE"), "");
            }
            // The end of the run records its state only under an accepted identity.
            WriteRunStateFile(Context());
            if (v.accepted) {
                ASSERT_EQ(store.files.size(), 1u);
                EXPECT_EQ(store.files.begin()->first,
                          "C:\\ProgramData\\" + script.CacheId + "\\setup.dat");
            } else {
                EXPECT_TRUE(store.files.empty());
                EXPECT_EQ(system.actions, std::vector<std::string>{});
            }
        }
    }
}

TEST_F(InstallerCacheTest, PatchRefusesAnUninstallEntryOutsideAGuidFolder)
{
    SetVariable("TITLE", "Quill Suite", "Test");
    script.SetupMode = 3;
    engine.StateFileFullWrite = true;
    for (const IdentityValue& v : IdentityValues()) {
        SCOPED_TRACE(v.name);
        engine.StateFileSuppressed = false;
        state.SecondCacheId = "left over";
        store.files.clear();
        system.actions.clear();
        // The folder of the uninstaller names the installed product's cache folder.
        const std::string folder = "C:\\ProgramData\\" + v.value;
        system.uninstallStrings["HKLM|Quill Suite"] = "\"" + folder + "\\setup.exe\" REMOVE=TRUE";
        if (v.accepted || v.value.empty()) {
            EXPECT_NO_THROW(TakeOverPatchState(Context()));
        } else {
            EXPECT_THROW(TakeOverPatchState(Context()), std::exception);
            EXPECT_TRUE(engine.StateFileSuppressed);
        }
        EXPECT_EQ(script.CacheId, kCacheId);
        EXPECT_EQ(state.SecondCacheId, v.accepted ? v.value : "");
        // Without a cache folder of the patched product nothing is written, not even into the
        // root.
        engine.StateFileSuppressed = false;
        WriteRunStateFile(Context());
        EXPECT_EQ(store.files.size(), v.accepted ? 1u : 0u);
        if (!v.accepted) {
            EXPECT_EQ(system.actions, std::vector<std::string>{});
        }
    }
}

TEST_F(InstallerCacheTest, MaintenanceLoadsStateAndPropertiesFromTheCache)
{
    const std::string folder = std::string("C:\\ProgramData\\") + kCacheId + "\\";
    StoreState(folder, 4096);
    store.files[folder + "setup.par"] = "INSTALLLEVEL\r\n3\r\nGREETING\r\nhello$NEWLINE$there\r\n";
    system.productState = 5;
    system.installedPackageCode = kCacheId;
    DetectInstallation(Context());
    EXPECT_TRUE(components.ComponentExists("Core"));
    EXPECT_EQ(components.InstalledComponentSize, 4096);
    const std::vector<std::string> expected = {"INSTALLLEVEL", "3", "GREETING",
                                               "hello$NEWLINE$there"};
    EXPECT_EQ(engine.PackagePropertyList.Items(), expected);
}

TEST_F(InstallerCacheTest, OverrideCacheIsUsedForEveryCachePath)
{
    SetVariable("OVERRIDECACHE", "E:\\Cache\\", "Test");
    const std::string folder = std::string("E:\\Cache\\") + kCacheId + "\\";
    StoreState(folder, 100);
    system.productState = 5;
    system.installedPackageCode = kCacheId;
    DetectInstallation(Context());
    EXPECT_EQ(GetVariable("ENGINECACHE"), folder);
    EXPECT_EQ(GetVariable("UNINSTALLLINK"), folder + "setup.exe");
    EXPECT_EQ(components.InstalledComponentSize, 100);
    EXPECT_EQ(StateFolder(Context()), folder);

    store.files.clear();
    engine.StateFileFullWrite = true;
    WriteRunStateFile(Context());
    EXPECT_TRUE(store.files.count(folder + "setup.dat"));
}

TEST_F(InstallerCacheTest, MediaModeTwoReadsItsDataFromTheCacheFolder)
{
    script.SetupMode = 2;
    DetectInstallation(Context());
    const std::string folder = std::string("C:\\ProgramData\\") + kCacheId + "\\";
    EXPECT_EQ(state.OriginalDataDir, "D:\\Media\\");
    EXPECT_EQ(state.DataDir, folder);
    EXPECT_EQ(state.MediaDir, folder);
    EXPECT_EQ(GetVariable("DATADIR"), folder);
}

TEST_F(InstallerCacheTest, UpgradeLoadsOldSelectionsOnlyWhenAskedAtBuildTime)
{
    const std::string oldFolder = std::string("C:\\ProgramData\\") + kOtherCacheId + "\\";
    for (const bool loadOld : {false, true}) {
        SCOPED_TRACE(loadOld);
        ClearVariables();
        store.files.clear();
        system.files.clear();
        script.CompilerVariables.Clear();
        script.CompilerVariables.Add("LOADOLDDATA");
        script.CompilerVariables.Add(loadOld ? "TRUE" : "FALSE");
        system.folders.insert(oldFolder);
        system.identCache = oldFolder;
        // Two state files: only the one with its setup files beside it is the product's.
        StoreState(oldFolder, 5000);
        store.files[oldFolder + "stray.dat"] = "";
        system.files.insert(oldFolder + "stray.dat");
        system.files.insert(oldFolder + "instance.dat");
        for (const char* extension : {".exe", ".res", ".msi", ".par"})
            system.files.insert(oldFolder + "setup" + extension);
        system.productState = 5;
        system.installedPackageCode = kOtherCacheId;
        DetectInstallation(Context());
        EXPECT_EQ(state.LoadOldData, loadOld);
        EXPECT_EQ(components.ComponentExists("Core"), loadOld);
        // Sizes of the old product are not taken over.
        EXPECT_EQ(components.InstalledComponentSize, 0);
    }
}

TEST_F(InstallerCacheTest, PatchTakesOverTheInstalledProductsState)
{
    const std::string oldFolder = std::string("C:\\ProgramData\\") + kOtherCacheId + "\\";
    SetVariable("TITLE", "Quill Suite", "Test");
    system.uninstallStrings["HKLM|Quill Suite"] =
        "\"" + oldFolder + "setup.exe\" REMOVE=TRUE MODIFY=FALSE";
    StoreState(oldFolder, 777);
    TakeOverPatchState(Context());
    EXPECT_EQ(state.SecondCacheId, kOtherCacheId);
    EXPECT_EQ(script.CacheId, kCacheId);
    EXPECT_EQ(components.InstalledComponentSize, 777);

    // Media mode 3 keeps its state in the patched product's folder.
    script.SetupMode = 3;
    EXPECT_EQ(StateFolder(Context()), oldFolder);
}

TEST_F(InstallerCacheTest, PatchWithoutUninstallEntryKeepsItsIdentity)
{
    TakeOverPatchState(Context());
    EXPECT_EQ(script.CacheId, kCacheId);
    EXPECT_EQ(state.SecondCacheId, "");
    EXPECT_EQ(components.InstalledComponentSize, 0);
}

TEST_F(InstallerCacheTest, StateFileIsWrittenOnlyWhenAllowedAndPossible)
{
    const std::string folder = std::string("C:\\ProgramData\\") + kCacheId + "\\";
    struct Case
    {
        const char* name;
        bool suppressed;
        bool emptyList;
        bool createSucceeds;
        bool written;
    };
    const std::vector<Case> cases = {
        {"normal", false, false, true, true},
        {"suppressed after a removal", true, false, true, false},
        {"no components", false, true, true, false},
        {"folder cannot be made", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.files.clear();
        system.actions.clear();
        system.folders.clear();
        engine.StateFileSuppressed = c.suppressed;
        engine.StateFileFullWrite = true;
        system.createSucceeds = c.createSucceeds;
        if (c.emptyList)
            components.ClearComponents();
        else
            DefinePredefinedComponent(components);
        WriteRunStateFile(Context());
        EXPECT_EQ(store.files.count(folder + "setup.dat") != 0, c.written);
    }
}

TEST_F(InstallerCacheTest, ExistingStateFolderIsHiddenAndCompressedAsAsked)
{
    const std::string folder = std::string("C:\\ProgramData\\") + kCacheId + "\\";
    system.folders.insert(folder);
    SetVariable("TARQ_COMPRESS_INSTALLER_CACHE", "TRUE", "Test");
    WriteRunStateFile(Context());
    const std::vector<std::string> expected = {"hide " + folder, "compress " + folder,
                                               "create " + folder, "compress " + folder};
    EXPECT_EQ(system.actions, expected);
}

TEST_F(InstallerCacheTest, RunScriptRecordsTheStateAlsoWhenTheRunFails)
{
    const std::string stateFile = std::string("C:\\ProgramData\\") + kCacheId + "\\setup.dat";
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails);
        store.files.clear();
        // A run starts in update mode: only an existing state file is refreshed.
        StoreState(std::string("C:\\ProgramData\\") + kCacheId + "\\", 1);
        store.actions.clear();
        testing::FakeInterpreterHost host;
        host.files.insert("C:\\Temp\\support\\setup.msi");
        SetupScript run = testing::BuildScript({"Label|Start"});
        const StatementHandlerTable handlers = BuiltInStatementHandlers();
        // A failure no statement handler catches, as a host call could raise.
        const StatementCallback callback = [fails](int) {
            if (fails)
                throw 42;
            return true;
        };
        const ScriptRun scriptRun{
            run, "C:\\Temp\\support\\setup.msi", callback, handlers, host.Bundle(), engine};
        if (fails)
            EXPECT_THROW(RunScript(scriptRun, Context()), int);
        else
            RunScript(scriptRun, Context());
        ASSERT_FALSE(store.actions.empty());
        EXPECT_EQ(store.actions.back().rfind("replace " + stateFile, 0), 0u)
            << store.actions.back();
    }
}

}  // namespace
}  // namespace setup::engine
