// The Windows Installer property command line that the install thread hands to Windows
// Installer for each kind of run, and the source texts it is built from.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "setup/engine/rtl/code_page.h"

namespace setup::sysconfig::installer {

struct CommandLineInputs
{
    bool patchMode = false;
    bool installFlag = true;
    bool advertiseFlag = false;
    bool installed = false;         // the product is installed now
    bool advertisedBefore = false;  // the cache folder holds the "__ad" mark
    bool quoteSources = false;
    std::string allUsers;         // the variables ALLUSERS, TARQ_DISABLE_ROLLBACK and
    std::string disableRollback;  // TARQ_DISABLE_VISTA_RESTART_MANAGER as they stand
    std::string disableRestartManager;
    std::string installLocation;
    std::string dataFolder;
    std::string patchSourceFolder;
    std::string sourceList;  // already quoted when it has to be
    std::string mediaPackagePath;
};

// Every part ends with one blank.
std::string BuildCommandLine(const CommandLineInputs& inputs);

// How the command line reaches Windows Installer.
enum class InstallerCall
{
    ApplyPatch,      // MsiApplyPatch, after the patch folder joins the product's sources
    InstallProduct,  // MsiInstallProduct, retried while another installation runs
    RemoveByAction,  // Windows 9x: the package opened, RemovalProperties set, INSTALL run
};
InstallerCall ChooseInstallerCall(const CommandLineInputs& inputs, bool windowsNT);

// The removal on Windows 9x sets these on the opened package instead of a command line.
std::vector<std::pair<std::string, std::string>> RemovalProperties(const CommandLineInputs& inputs);

// DataFolder ";" PackageFolder, in double quotes when either folder needs them.
std::string BuildSourceList(const std::string& dataFolder, const std::string& packageFolder,
                            bool quote);

// The parent of the data folder without its drive or server and share: C:\Setup\data\ gives
// \Setup\.
std::string MediaPackagePathOf(const std::string& dataFolder,
                               const rtl::CodePageFacts& codePage = rtl::SystemCodePage());

}  // namespace setup::sysconfig::installer
