#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/testing/interpreter_test_support.h"
#include "setup/engine/testing/system_info_fakes.h"
#include "setup/sysconfig/dotnet/statements_dotnet.h"

namespace setup::sysconfig::dotnet {
namespace {

// The tools' runs recorded as "program parameters in folder"; exit codes by program file name.
class RecordingDotNet : public IDotNetSystem
{
public:
    int RunProgram(const std::string& program, const std::string& parameters,
                   const std::string& folder) override
    {
        runs.push_back(program + " " + parameters + " in " + folder);
        const std::string name = program.substr(program.find_last_of('\\') + 1);
        const std::string version = program.find("v1.1") != std::string::npos ? "1.1 " : "2.0 ";
        const auto code = exitCodes.find(version + name);
        return code == exitCodes.end() ? 0 : code->second;
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    std::string WriteAssemblyCacheTool(const std::string& folder) override
    {
        return folder + "mgac.exe";
    }
    std::optional<PackageAssemblies> ReadPackageAssemblies(const std::string& package) override
    {
        packages.push_back(package);
        return assemblies;
    }

    std::vector<std::string> runs;
    std::map<std::string, int> exitCodes;  // "2.0 ngen.exe" -> 1
    std::set<std::string> files;
    std::optional<PackageAssemblies> assemblies;
    std::vector<std::string> packages;
};

constexpr char kV2[] = "C:\\Windows\\Microsoft.NET\\Framework\\v2.0.50727\\";
constexpr char kV11[] = "C:\\Windows\\Microsoft.NET\\Framework\\v1.1.4322\\";

class DotNetStatementTest : public engine::testing::InterpreterTest
{
protected:
    void SetUp() override
    {
        InterpreterTest::SetUp();
        engine.process.windowsDir = "C:\\Windows\\";
        RegisterDotNetStatements(handlers, {&system, &wow64});
    }
    RecordingDotNet system;
    engine::testing::FakeWow64Switch wow64;
};

TEST_F(DotNetStatementTest, ToolCommandLinesAndTheOlderFrameworkAfterAFailure)
{
    // Paths with a "|" flag come through variables: a script line separates parameters with it.
    for (const char* text :
         {"UNINSTALL", "C:\\App\\Lib.dll|FALSE", "UNREGISTER", "C:\\App\\Lib.dll|FALSE"})
        CommandLineOverrides.Add(text);
    struct Case
    {
        std::string statement;
        std::map<std::string, int> exitCodes;
        std::vector<std::string> runs;
    };
    const std::string in = " in C:\\App\\";
    const std::vector<Case> cases = {
        {"Generate Native Images|C:\\App\\Lib.dll",
         {},
         {kV2 + std::string("ngen.exe install \"C:\\App\\Lib.dll\"") + in}},
        {"Generate Native Images|$UNINSTALL$",
         {{"2.0 ngen.exe", -1}},
         {kV2 + std::string("ngen.exe uninstall \"C:\\App\\Lib.dll\"") + in,
          kV11 + std::string("ngen.exe /delete \"C:\\App\\Lib.dll\"") + in}},
        {"Generate Native Images|C:\\App\\Lib.dll",
         {{"2.0 ngen.exe", 3}},
         {kV2 + std::string("ngen.exe install \"C:\\App\\Lib.dll\"") + in,
          kV11 + std::string("ngen.exe  \"C:\\App\\Lib.dll\"") + in}},
        {"Run .NET Installer Class|C:\\App\\Lib.dll|FALSE",
         {},
         {kV2 + std::string("installutil.exe /u \"C:\\App\\Lib.dll\"") + in}},
        {"Run .NET Installer Class|C:\\App\\Lib.dll|TRUE",
         {{"2.0 installutil.exe", 1}},
         {kV2 + std::string("installutil.exe  \"C:\\App\\Lib.dll\"") + in,
          kV11 + std::string("installutil.exe  \"C:\\App\\Lib.dll\"") + in}},
        {"Register Assembly|C:\\App\\Lib.dll",
         {},
         {kV2 + std::string("regasm.exe /tlb \"C:\\App\\Lib.dll\" /silent") + in}},
        {"Register Assembly|$UNREGISTER$",
         {},
         {kV2 + std::string("regasm.exe /tlb /unregister \"C:\\App\\Lib.dll\" /silent") + in}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statement);
        system.runs.clear();
        system.exitCodes = c.exitCodes;
        Run({c.statement});
        EXPECT_EQ(system.runs, c.runs);
        EXPECT_EQ(wow64.disabled, 0);
    }
}

TEST_F(DotNetStatementTest, AStrongNameIsLookedUpInTheCacheFoldersInOrder)
{
    const std::string strongName =
        "Vendor.Lib, Version=1.2.0.0, Culture=neutral, PublicKeyToken=0123abcd";
    EXPECT_EQ(StrongNameCachePath(strongName), "Vendor.Lib\\1.2.0.0__0123abcd\\Vendor.Lib.dll");
    const std::string gac = "C:\\Windows\\assembly\\";
    struct Case
    {
        std::set<std::string> files;
        std::string expected;
    };
    const std::string relative = "Vendor.Lib\\1.2.0.0__0123abcd\\Vendor.Lib.dll";
    const std::vector<Case> cases = {
        {{gac + "GAC_MSIL\\" + relative, gac + "GAC\\" + relative}, gac + "GAC_MSIL\\" + relative},
        {{gac + "GAC_64\\" + relative, gac + "GAC\\" + relative}, gac + "GAC_64\\" + relative},
        {{gac + "GAC\\" + relative}, gac + "GAC\\" + relative},
        {{}, strongName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        system.files = c.files;
        system.runs.clear();
        Run({"Register Assembly|" + strongName});
        ASSERT_EQ(system.runs.size(), 1u);
        EXPECT_EQ(system.runs[0].find(kV2 + std::string("regasm.exe /tlb \"") + c.expected +
                                      "\" /silent in "),
                  0u);
    }
}

TEST_F(DotNetStatementTest, RemoveAssembliesOfThePackageWithTheCarriedToolFirst)
{
    system.assemblies = PackageAssemblies{{"Vendor.Lib", "Vendor.Ui"}, {"1.2.0.0", "2.0.0.0"}};
    Run({"Remove Assemblies"});
    const std::vector<std::string> carried = {
        "C:\\Temp\\qbr1\\mgac.exe /u Vendor.Lib,Version=1.2.0.0 in C:\\Temp\\qbr1\\",
        "C:\\Temp\\qbr1\\mgac.exe /u Vendor.Ui,Version=2.0.0.0 in C:\\Temp\\qbr1\\"};
    EXPECT_EQ(system.runs, carried);
    EXPECT_EQ(system.packages, std::vector<std::string>{PackagePath()});

    // The last removal failed: the version 1.1 tool tries them all again.
    system.runs.clear();
    system.exitCodes = {{"2.0 mgac.exe", 5}};
    Run({"Remove Assemblies"});
    ASSERT_EQ(system.runs.size(), 4u);
    EXPECT_EQ(system.runs[2],
              kV11 + std::string("gacutil.exe /u Vendor.Lib,Version=1.2.0.0 in ") + kV11);

    // Nothing listed, lists of different lengths or an unreadable package: no tool at all.
    for (const std::optional<PackageAssemblies>& listed :
         {std::optional<PackageAssemblies>(PackageAssemblies{}),
          std::optional<PackageAssemblies>(PackageAssemblies{{"A", "B"}, {"1"}}),
          std::optional<PackageAssemblies>()}) {
        system.runs.clear();
        system.assemblies = listed;
        Run({"Remove Assemblies"});
        EXPECT_TRUE(system.runs.empty());
    }
}

}  // namespace
}  // namespace setup::sysconfig::dotnet
