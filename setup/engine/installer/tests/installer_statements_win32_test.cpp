#include "setup/engine/installer/installer_system_win32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/unique_handle.h"
#include "setup/engine/components/components_system.h"
#include "setup/engine/components/statements_components.h"
#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/script/script_check.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/testing/fake_statement_host.h"
#include "setup/engine/testing/installer_test_packages_win32.h"
#include "setup/sysconfig/installer/installer_bridge_win32.h"
#include "setup/sysconfig/installer/msi_api.h"
#include "tests/support/compiled_script_builder.h"

namespace setup::sysconfig::installer::testing {
namespace {

constexpr const char* kTitle = "Probe Cache Setup";

// The package code wixl gave the test package, as msiinfo read it at build time.
std::string BuiltPackageCode()
{
    std::string path = std::string("Z:") + INSTALLER_TEST_PACKAGES + "/probe_two_components.code";
    for (char& c : path)
        if (c == '/')
            c = '\\';
    std::ifstream file(path);
    std::string code;
    std::getline(file, code);
    while (!code.empty() && (code.back() == '\r' || code.back() == ' '))
        code.pop_back();
    return code;
}

bool KeyExists(const std::string& key)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(opened);
    return true;
}

class InstallerStatementsWin32Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rtl::InitGuiThread());
        m_bridge.settings.report = &m_report;
        m_folder = MakeTempFolder("cache");
        m_package = CopyPackage("probe_two_components", m_folder);
        m_context.packagePath = m_package;
        std::ofstream(m_folder + "probe_two_components.exe") << "setup program";
        m_packageCode = BuiltPackageCode();
        ASSERT_FALSE(m_packageCode.empty());

        testsupport::ScriptProject project;
        project.productCode = kTwoComponentsProduct;
        project.productTitle = kTitle;
        project.cacheId = m_packageCode;
        m_script = engine::ReadSetupScript(testsupport::BuildCompiledScript(
            testsupport::ParseStatements("Apply Changes | | RESULT | TRUE | FALSE\n"
                                         "Apply Changes | | RESULT | FALSE | TRUE\n"),
            project));
        m_engine.process.exeFile = m_folder + "probe_two_components.exe";
        m_engine.SourceMarkerName = kTwoComponentsProduct;
        m_state.DataDir = m_folder;
        engine::ResetComponentModel(m_components);
        engine::DefinePredefinedComponent(m_components);
        m_engine.Variables.Set("OVERRIDECACHE", m_folder + "cache\\", "test");
        m_engine.Variables.Set("TITLE", kTitle, "test");
        m_engine.Variables.Set("ALLUSERS", "FALSE", "test");
        m_engine.Variables.Set("SILENT", "TRUE", "test");
        m_engine.Variables.Set("TARGETDIR", m_folder + "target\\", "test");
        engine::RegisterInstallerStatements(
            m_handlers, engine::InstallerStatementServices{&m_context, &m_system});
    }
    void TearDown() override
    {
        if (MsiApi().MsiQueryProductStateA(kTwoComponentsProduct) == INSTALLSTATE_DEFAULT)
            RunStatement(1);
        rtl::DoneGuiThread();
        RemoveFolderTree(m_folder);
    }

    void RunStatement(int index)
    {
        m_bridge.properties.AddMSIProperty("INSTALLDIR", m_folder + "target\\");
        engine::StatementContext statement(m_script, m_engine, m_host.Statements(), index, false);
        (*m_handlers.Find(statement.Command()))(statement);
    }

    std::string CacheFolder() const { return m_folder + "cache\\" + m_packageCode + "\\"; }

    std::string m_folder;
    std::string m_package;
    std::string m_packageCode;
    engine::SetupScript m_script;
    engine::EngineState m_engine;
    engine::VariableWorkerReport m_report{m_engine.Variables.Store()};
    engine::ComponentModel m_components;
    engine::InstallationState m_state;
    Win32CacheSystem m_cacheSystem;
    InstallerBridge m_bridge;
    Win32InstallerSystem m_system{m_state, m_bridge, m_engine.process};
    engine::CacheContext m_context{
        m_script, m_engine, m_components, engine::SystemStateFileStore(), m_cacheSystem,
        m_state,  ""};
    engine::StatementHandlerTable m_handlers;
    engine::testing::FakeStatementHost m_host;
};

TEST_F(InstallerStatementsWin32Test, InstallIsDetectedAsMaintenanceAndRemovedAgain)
{
    engine::DetectInstallation(m_context);
    EXPECT_EQ(m_engine.Variables.Get("MAINTENANCE"), "FALSE");
    // Per user, so the entries land in this prefix's user hive.
    m_engine.Variables.Set("ALLUSERS", "FALSE", "test");
    m_engine.Variables.Set("TARGETDIR", m_folder + "target\\", "test");

    RunStatement(0);
    ASSERT_EQ(m_engine.Variables.Get("RESULT"), "COMPLETE") << m_engine.Variables.Get("LASTERROR");
    EXPECT_TRUE(FileExists(m_folder + "target\\alpha.txt"));
    const std::string cache = CacheFolder();
    for (const char* name :
         {"probe_two_components.exe", "probe_two_components.msi", "probe_two_components.dat",
          "probe_two_components.par", "instance.dat"})
        EXPECT_TRUE(FileExists(cache + name)) << name;
    const std::string uninstallKey = std::string(engine::kUninstallKey) + kTitle;
    EXPECT_EQ(ReadRegistryString(false, uninstallKey, "UninstallString"),
              "\"" + cache + "probe_two_components.exe\" REMOVE=TRUE MODIFY=FALSE");
    EXPECT_EQ(
        ReadRegistryString(false, std::string(engine::kIdentCacheKey) + kTwoComponentsProduct, ""),
        cache);

    // A later run of the same revision is a maintenance run; another revision an upgrade.
    engine::DetectInstallation(m_context);
    EXPECT_EQ(m_engine.Variables.Get("MAINTENANCE"), "TRUE");
    EXPECT_EQ(m_engine.Variables.Get("NEEDSUPGRADE"), "FALSE");
    EXPECT_EQ(m_engine.Variables.Get("ENGINECACHE"), cache);
    m_script.CacheId = "{00000000-1111-2222-3333-444444444444}";
    engine::DetectInstallation(m_context);
    EXPECT_EQ(m_engine.Variables.Get("MAINTENANCE"), "FALSE");
    EXPECT_EQ(m_engine.Variables.Get("NEEDSUPGRADE"), "TRUE");
    m_script.CacheId = m_packageCode;

    RunStatement(1);
    EXPECT_EQ(m_engine.Variables.Get("RESULT"), "COMPLETE") << m_engine.Variables.Get("LASTERROR");
    EXPECT_NE(MsiApi().MsiQueryProductStateA(kTwoComponentsProduct), INSTALLSTATE_DEFAULT);
    EXPECT_FALSE(m_cacheSystem.FolderExists(cache));
    EXPECT_FALSE(KeyExists(uninstallKey));
    EXPECT_FALSE(KeyExists(std::string(engine::kIdentCacheKey) + kTwoComponentsProduct));
    EXPECT_TRUE(m_engine.StateFileSuppressed);
}

TEST_F(InstallerStatementsWin32Test, ALockedCacheIsMovedAsideForTheNextRestart)
{
    engine::DetectInstallation(m_context);
    m_engine.Variables.Set("ALLUSERS", "FALSE", "test");
    RunStatement(0);
    ASSERT_EQ(m_engine.Variables.Get("RESULT"), "COMPLETE") << m_engine.Variables.Get("LASTERROR");
    const std::string cache = CacheFolder();
    {
        // The cached setup program still running.
        core::UniqueFile running(::CreateFileA((cache + "probe_two_components.exe").c_str(),
                                               GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(running);
        RunStatement(1);
    }
    EXPECT_EQ(m_engine.Variables.Get("RESULT"), "COMPLETE") << m_engine.Variables.Get("LASTERROR");
    EXPECT_FALSE(m_cacheSystem.FolderExists(cache));
    EXPECT_TRUE(FileExists(m_folder + "cache\\~0\\probe_two_components.exe"));
    EXPECT_FALSE(FileExists(m_folder + "cache\\~0\\probe_two_components.msi"));
}

}  // namespace
}  // namespace setup::sysconfig::installer::testing
