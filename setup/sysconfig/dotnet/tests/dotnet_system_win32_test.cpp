#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text_convert.h"
#include "setup/engine/testing/installer_test_packages_win32.h"
#include "setup/sysconfig/dotnet/dotnet_system_win32.h"
#include "tests/support/process_runner_win32.h"
#include "tests/support/program_folder_win32.h"

namespace setup::sysconfig::dotnet {
namespace {

using installer::testing::CopyPackage;
using installer::testing::MakeTempFolder;
using installer::testing::RemoveFolderTree;
using installer::testing::RunStatement;

class DotNetSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = MakeTempFolder("dotnet");
        package = CopyPackage("probe_two_components", folder);
    }
    void TearDown() override { RemoveFolderTree(folder); }
    void AddAssemblyTables()
    {
        RunStatement(package,
                     "CREATE TABLE `MsiAssembly` (`Component_` CHAR(72) NOT NULL, `Feature_` "
                     "CHAR(38) NOT NULL, `File_Manifest` CHAR(72), `File_Application` CHAR(72), "
                     "`Attributes` SHORT PRIMARY KEY `Component_`)");
        RunStatement(package,
                     "CREATE TABLE `MsiAssemblyName` (`Component_` CHAR(72) NOT NULL, `Name` "
                     "CHAR(255) NOT NULL, `Value` CHAR(255) NOT NULL PRIMARY KEY `Component_`, "
                     "`Name`)");
    }

    std::string folder;
    std::string package;
    Win32DotNetSystem system{
        [](const std::string&, const std::string&, const std::string&) { return 0; }};
};

TEST_F(DotNetSystemTest, ThePackageListsNamesAndVersionsPerAssembly)
{
    AddAssemblyTables();
    for (const char* row : {"('CompLib', 'Feature', 0)", "('CompUi', 'Feature', 0)"})
        RunStatement(package, std::string("INSERT INTO `MsiAssembly` (`Component_`, `Feature_`, "
                                          "`Attributes`) VALUES ") +
                                  row);
    for (const char* row :
         {"('CompLib', 'Name', 'Vendor.Lib')", "('CompLib', 'Version', '1.2.0.0')",
          "('CompLib', 'Culture', 'neutral')", "('CompUi', 'Name', 'Vendor.Ui')",
          "('CompUi', 'Version', '2.0.0.0')"})
        RunStatement(package,
                     std::string("INSERT INTO `MsiAssemblyName` (`Component_`, `Name`, `Value`) "
                                 "VALUES ") +
                         row);
    const std::optional<PackageAssemblies> assemblies = system.ReadPackageAssemblies(package);
    ASSERT_TRUE(assemblies.has_value());
    EXPECT_EQ(assemblies->names, (std::vector<std::string>{"Vendor.Lib", "Vendor.Ui"}));
    EXPECT_EQ(assemblies->versions, (std::vector<std::string>{"1.2.0.0", "2.0.0.0"}));
}

TEST_F(DotNetSystemTest, APackageWithoutAssembliesOrNoPackageListsNothing)
{
    // No assembly table: the query cannot be opened.
    EXPECT_FALSE(system.ReadPackageAssemblies(package).has_value());
    EXPECT_FALSE(system.ReadPackageAssemblies(folder + "missing.msi").has_value());
    AddAssemblyTables();
    const std::optional<PackageAssemblies> empty = system.ReadPackageAssemblies(package);
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->names.empty());
}

TEST_F(DotNetSystemTest, TheCarriedToolMustBeInTheProgram)
{
    // The test program carries no assembly-cache tool.
    EXPECT_THROW(system.WriteAssemblyCacheTool(folder), std::exception);
    EXPECT_TRUE(system.FileExists(package));
    EXPECT_FALSE(system.FileExists(folder + "missing.msi"));
}

}  // namespace
}  // namespace setup::sysconfig::dotnet

namespace setup::sysconfig::dotnet {
namespace {

// The carried assembly-cache tool. This Wine has no .NET runtime and so no assembly cache: a
// removal is refused (which sends the statement on to the older tool), and so is a command line
// the tool does not understand, with its own code.
TEST(AssemblyCacheTool, RefusesWithoutACacheAndRejectsOtherCommands)
{
    const std::string tool = core::WideToAnsi(testsupport::ProgramFolder()) + "mgac.exe";
    struct Case
    {
        const char* arguments;
        std::uint32_t exitCode;
    };
    const Case cases[] = {
        {"/u Vontar.Nowhere,Version=1.0.0.0", 1},
        {"/i Vontar.Nowhere", 2},
        {"", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const testsupport::ProcessResult result = testsupport::RunProcess(
            tool, {.arguments = c.arguments, .traceFile = {}, .environment = {}});
        ASSERT_TRUE(result.started);
        EXPECT_EQ(result.exitCode, c.exitCode);
    }
}

}  // namespace
}  // namespace setup::sysconfig::dotnet
