#include "setup/sysconfig/installer/msi_thread_win32.h"

#include <fstream>

#include "setup/engine/script/path_text.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/system/file_utils_win32.h"
#include "setup/sysconfig/installer/command_line_plan.h"
#include "setup/sysconfig/installer/handoff_file.h"
#include "setup/sysconfig/installer/installer_bridge_win32.h"
#include "setup/sysconfig/installer/msi_api.h"
#include "setup/sysconfig/installer/package_edits_win32.h"
#include "setup/sysconfig/installer/system_queries_win32.h"
#include "setup/sysconfig/installer/thread_progress.h"
#include "setup/sysconfig/trace_log.h"

namespace setup::sysconfig::installer {
namespace {

constexpr DWORD kLogModes = 0x3FDF;
constexpr DWORD kLogAppendAndFlush = 3;
constexpr DWORD kMessageFilter = 0x7FDF;
constexpr INSTALLUILEVEL kNoUiWithSourceResolution = static_cast<INSTALLUILEVEL>(0x102);

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (::toupper(static_cast<unsigned char>(text[text.size() - suffix.size() + i])) !=
            ::toupper(static_cast<unsigned char>(suffix[i])))
            return false;
    return true;
}

void WriteInstallHeader(const InstallHeader& header, const std::string& logPath)
{
    engine::ForceDirectoriesAnsi(engine::ExtractFilePath(logPath));
    for (const std::string& piece : InstallHeaderPieces(header))
        WriteTraceLog(logPath, piece);
}

class HandoffFileGuard
{
public:
    explicit HandoffFileGuard(std::string path) : m_path(std::move(path)) {}
    ~HandoffFileGuard() { ::DeleteFileA(m_path.c_str()); }
    HandoffFileGuard(const HandoffFileGuard&) = delete;
    HandoffFileGuard& operator=(const HandoffFileGuard&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

UINT InstallWithBusyRetry(InstallerBridge& bridge, const std::string& packagePath,
                          const std::string& commandLine)
{
    UINT code;
    do
        code = MsiApi().MsiInstallProductA(packagePath.c_str(), commandLine.c_str());
    while (!RetryWhileInstallerBusy(bridge, code));
    return code;
}

UINT RemoveOnWindows9x(InstallerBridge& bridge, const CommandLineInputs& inputs)
{
    const MsiRunParameters& block = bridge.parameters;
    UniqueMsiHandle package;
    UINT code = MsiApi().MsiOpenPackageA(block.packagePath.c_str(), package.Put());
    if (code != ERROR_SUCCESS)
        return code;
    for (const auto& [name, value] : RemovalProperties(inputs))
        MsiApi().MsiSetPropertyA(package.Get(), name.c_str(), value.c_str());
    do
        code = MsiApi().MsiDoActionA(package.Get(), "INSTALL");
    while (!RetryWhileInstallerBusy(bridge, code));
    if (code == ERROR_SUCCESS)
        bridge.outcome.rebootNeeded = MsiApi().MsiGetMode(package.Get(), MSIRUNMODE_REBOOTATEND) ||
                                      MsiApi().MsiGetMode(package.Get(), MSIRUNMODE_REBOOTNOW);
    return code;
}

// The folders Windows Installer takes the product's sources from, short where they exist.
struct SourceFolders
{
    std::string packageFolder;
    bool quoteList = false;  // the package folder needs quotes
    std::string dataFolder;
    std::string patchSourceFolder;
    bool quoteSources = false;  // the data or patch folder needs quotes
    std::string mediaPackagePath;
};

SourceFolders PrepareSourceFolders(const MsiRunParameters& block)
{
    SourceFolders sources;
    sources.packageFolder = ShortFolder(
        engine::IncludeBackslash(engine::ExtractFilePath(block.packagePath)), sources.quoteList);
    sources.dataFolder = block.dataFolder;
    sources.patchSourceFolder = block.patchSourceFolder;
    bool quote = false;
    if (!EndsWithIgnoringCase(block.packagePath, ".msp")) {
        engine::ForceDirectoriesAnsi(sources.dataFolder);
    } else if (engine::DirectoryExistsAnsi(sources.patchSourceFolder)) {
        sources.patchSourceFolder = ShortFolder(sources.patchSourceFolder, quote);
        sources.quoteSources = sources.quoteSources || quote;
    }
    if (engine::DirectoryExistsAnsi(sources.dataFolder)) {
        sources.dataFolder = ShortFolder(sources.dataFolder, quote);
        sources.quoteSources = sources.quoteSources || quote;
    }
    sources.mediaPackagePath = MediaPackagePathOf(sources.dataFolder);
    return sources;
}

void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Hands the properties to the package's custom actions and stamps the package's platform.
void PreparePackage(InstallerBridge& bridge)
{
    const MsiRunParameters& block = bridge.parameters;
    RunReport(bridge.settings).Progress("Windows Installer", 50, 100, 0);
    if (!block.patchMode)
        WriteMSIProperties(block.packagePath, bridge.instance, bridge.properties);
    RunReport(bridge.settings).Progress("Windows Installer", 100, 100, 0);
    SetPackagePlatform(block.packagePath, bridge.settings.setupPlatform);
    SetPackageWordCount(block.packagePath);
}

// The trace log's header and Windows Installer's own log behind it; then the external handler,
// which finds the bridge's message state through its context.
void StartInstallerSession(InstallerBridge& bridge, const SourceFolders& sources)
{
    const MsiRunParameters& block = bridge.parameters;
    const InstallerSettings& settings = bridge.settings;
    if (!settings.traceLogPath.empty()) {
        WriteInstallHeader({engine::GetWizardCaption(settings.script.title, settings.captionSuffix),
                            LocalDateTimeText(), block.variablesText, block.propertiesText,
                            block.packagePath, block.productCode, sources.dataFolder,
                            sources.mediaPackagePath, sources.packageFolder},
                           settings.traceLogPath);
        MsiApi().MsiEnableLogA(kLogModes, settings.traceLogPath.c_str(), kLogAppendAndFlush);
    }
    MsiApi().MsiSetInternalUI(kNoUiWithSourceResolution, nullptr);
    // The handler publishes into the run's report.
    engine::IWorkerReport& report = RunReport(settings);
    bridge.handler.publish = [&report](const std::string& text, std::int64_t position,
                                       std::int64_t total, std::int64_t min) {
        return MSIProgressCallback(report, text, position, total, min);
    };
    MsiApi().MsiSetExternalUIA(&InstallUIHandler, kMessageFilter, &bridge.handler);
}

CommandLineInputs CommandLineInputsOf(const MsiRunParameters& block,
                                      const InstallerSettings& settings,
                                      const SourceFolders& sources, bool installed)
{
    CommandLineInputs inputs;
    inputs.patchMode = block.patchMode;
    inputs.installFlag = block.installFlag;
    inputs.advertiseFlag = block.advertiseFlag;
    inputs.installed = installed;
    inputs.quoteSources = sources.quoteSources;
    inputs.allUsers = settings.script.allUsers;
    inputs.disableRollback = settings.script.disableRollback;
    inputs.disableRestartManager = settings.script.disableRestartManager;
    inputs.installLocation = block.installLocation;
    inputs.dataFolder = sources.dataFolder;
    inputs.patchSourceFolder = sources.patchSourceFolder;
    inputs.sourceList = BuildSourceList(sources.dataFolder, sources.packageFolder,
                                        sources.quoteSources || sources.quoteList);
    inputs.mediaPackagePath = sources.mediaPackagePath;
    if (installed && !block.advertiseFlag && settings.cacheRoot) {
        const std::string cacheFolder =
            settings.cacheRoot(engine::TextToBool(settings.script.allUsers)) + settings.cacheId;
        inputs.advertisedBefore =
            engine::DirectoryExistsAnsi(engine::IncludeBackslash(cacheFolder) + "__ad");
    }
    return inputs;
}

UINT ApplyPatch(const MsiRunParameters& block, bool windowsNT, const std::string& patchSourceFolder,
                const std::string& commandLine)
{
    MsiApi().MsiSourceListAddSourceA(block.productCode.c_str(), nullptr, 0,
                                     patchSourceFolder.c_str());
    const std::string user = GetCurrentUserName(windowsNT);
    MsiApi().MsiSourceListAddSourceA(block.productCode.c_str(), user.c_str(), 0,
                                     patchSourceFolder.c_str());
    return MsiApi().MsiApplyPatchA(block.packagePath.c_str(), nullptr, INSTALLTYPE_DEFAULT,
                                   commandLine.c_str());
}

UINT CallInstaller(InstallerCall call, InstallerBridge& bridge, const CommandLineInputs& inputs)
{
    const MsiRunParameters& block = bridge.parameters;
    const std::string commandLine = BuildCommandLine(inputs);
    switch (call) {
        case InstallerCall::ApplyPatch:
            return ApplyPatch(block, bridge.settings.windowsNT, inputs.patchSourceFolder,
                              commandLine);
        case InstallerCall::InstallProduct:
            return InstallWithBusyRetry(bridge, block.packagePath, commandLine);
        case InstallerCall::RemoveByAction:
            return RemoveOnWindows9x(bridge, inputs);
    }
    return ERROR_SUCCESS;
}

}  // namespace

TMSIThread::~TMSIThread()
{
    Terminate();
    WaitFor();
}

void TMSIThread::Execute()
{
    // Whatever happens inside, the waiting side must learn that the run is over.
    try {
        Install();
    } catch (const std::exception& error) {
        m_bridge.outcome.failed = true;
        m_bridge.outcome.errorText = error.what();
    } catch (...) {
        m_bridge.outcome.failed = true;
        m_bridge.outcome.errorText = m_bridge.settings.generalFailureText;
    }
    ReportFinished();
}

void TMSIThread::ReportFinished()
{
    try {
        Synchronize([this] { RunReport(m_bridge.settings).SetFinished(true); });
    } catch (...) {
        RunReport(m_bridge.settings).SetFinished(true);
    }
    rtl::WakeMainThread();
}

void TMSIThread::Install()
{
    const MsiRunParameters& block = m_bridge.parameters;
    InstallOutcome& outcome = m_bridge.outcome;
    const InstallerSettings& settings = m_bridge.settings;
    HandlerSession& session = m_bridge.handler.session;
    session.titles = settings.titles;
    session.prompt = settings.prompt ? settings.prompt : &SystemPrompt();
    session.owner = block.ownerWindow;

    ClearTempPackages(block.productCode);
    const SourceFolders sources = PrepareSourceFolders(block);

    RunReport(settings).Progress("Windows Installer", 0, 100, 0);
    const HandoffFile handoff = BuildHandoffFile(
        {block.patchMode, sources.dataFolder, sources.patchSourceFolder, sources.mediaPackagePath,
         block.propertiesText, block.variablesText, settings.script.expand});
    session.silent = handoff.silent;
    session.caption = handoff.caption;
    HandoffFileGuard handoffFile(TempFolder() + block.productCode);
    WriteFileText(handoffFile.Path(), handoff.text);
    PreparePackage(m_bridge);

    m_bridge.busyDots.clear();
    const bool installed =
        MsiApi().MsiQueryProductStateA(block.productCode.c_str()) == INSTALLSTATE_DEFAULT;
    if (RunReport(settings).CancelRequested()) {
        outcome.cancelled = true;  // Windows Installer was never started
        return;
    }

    StartInstallerSession(m_bridge, sources);
    const CommandLineInputs inputs = CommandLineInputsOf(block, settings, sources, installed);
    const UINT code =
        CallInstaller(ChooseInstallerCall(inputs, settings.windowsNT), m_bridge, inputs);

    const bool cancelRequested = RunReport(settings).CancelRequested();
    if (code == kErrorInstallAlreadyRunning && cancelRequested)
        outcome.cancelled = true;  // given up while waiting: Windows Installer never ran it
    else
        ApplyInstallerResult(outcome, code, cancelRequested, &SystemErrorText);
    FinishErrorText(outcome, session.lastMessageText, settings.generalFailureText);
}

}  // namespace setup::sysconfig::installer
