#include "setup/sysconfig/installer/command_line_plan.h"

#include "setup/engine/script/path_text.h"

namespace setup::sysconfig::installer {
namespace {

std::string AllUsersPart(const CommandLineInputs& in)
{
    return in.allUsers == "TRUE" ? "ALLUSERS=1 " : "ALLUSERS=\"\" ";
}

std::string SourceValue(const std::string& value, bool quote)
{
    return quote ? "\"" + value + "\"" : value;
}

std::string Named(const char* name, const std::string& value, bool quote)
{
    return std::string(name) + "=" + SourceValue(value, quote) + " ";
}

std::string SourceParts(const CommandLineInputs& in)
{
    return Named("SRCDIR", in.dataFolder, in.quoteSources) + "SOURCELIST=" + in.sourceList + " " +
           Named("MEDIAPACKAGEPATH", in.mediaPackagePath, in.quoteSources) + "REBOOT=R ";
}

}  // namespace

std::string BuildCommandLine(const CommandLineInputs& in)
{
    std::string line = AllUsersPart(in);
    if (in.disableRollback == "TRUE")
        line += "DISABLEROLLBACK=1 ";
    if (in.disableRestartManager == "TRUE")
        line += "MSIRESTARTMANAGERCONTROL=Disable ";

    if (in.patchMode) {
        line = "ADDLOCAL=ALL " + line;
        line += Named("SRCDIR", in.patchSourceFolder, in.quoteSources);
        line += Named("SRCDIREX", in.patchSourceFolder, in.quoteSources);
        return line;
    }
    const bool install = in.installFlag || in.advertiseFlag;
    if (install) {
        line +=
            "ARPSYSTEMCOMPONENT=1 ARPNOREMOVE=1 ARPNOMODIFY=1 ARPNOREPAIR=1 "
            "ARPINSTALLLOCATION=\"" +
            in.installLocation + "\" ";
        if (in.installed) {
            if (!in.advertiseFlag && in.advertisedBefore)
                line = "ADDLOCAL=ALL ADVERTISE=\"\" " + line;
            else
                line = "REINSTALL=ALL REINSTALLMODE=vomus " + line;
        } else {
            line = (in.advertiseFlag ? "ADVERTISE=ALL " : "ADDLOCAL=ALL ") + line;
        }
        return line + SourceParts(in);
    }
    // Windows Installer takes the last of the repeated ALLUSERS and REMOVE values.
    line = "REMOVE=ALL " + line;
    line += AllUsersPart(in) + "REMOVE=ALL ";
    return line + SourceParts(in);
}

InstallerCall ChooseInstallerCall(const CommandLineInputs& in, bool windowsNT)
{
    if (in.patchMode)
        return InstallerCall::ApplyPatch;
    if (in.installFlag || in.advertiseFlag || windowsNT)
        return InstallerCall::InstallProduct;
    return InstallerCall::RemoveByAction;
}

std::vector<std::pair<std::string, std::string>> RemovalProperties(const CommandLineInputs& in)
{
    return {{"ALLUSERS", in.allUsers == "TRUE" ? "1" : ""},
            {"REMOVE", "ALL"},
            {"SRCDIR", SourceValue(in.dataFolder, in.quoteSources)},
            {"SOURCELIST", in.sourceList},
            {"MEDIAPACKAGEPATH", SourceValue(in.mediaPackagePath, in.quoteSources)},
            {"REBOOT", "R"}};
}

std::string BuildSourceList(const std::string& dataFolder, const std::string& packageFolder,
                            bool quote)
{
    return SourceValue(dataFolder + ";" + packageFolder, quote);
}

std::string MediaPackagePathOf(const std::string& dataFolder, const rtl::CodePageFacts& codePage)
{
    const std::string parent = engine::IncludeBackslash(
        engine::ExtractFilePath(engine::ExcludeBackslash(dataFolder, codePage), codePage),
        codePage);
    return parent.substr(engine::ExtractFileDrive(parent).size());
}

}  // namespace setup::sysconfig::installer
