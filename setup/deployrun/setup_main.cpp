#include "setup/deployrun/setup_main.h"

#include <exception>
#include <stdexcept>
#include <string>

#include "setup/engine/script/path_text.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/setup_script.h"

namespace setup::deployrun {

namespace {

// Setup message numbers.
constexpr int kResourceMissingMessage = 2;
constexpr int kExtractionFailedMessage = 3;
constexpr int kDatabaseMissingMessage = 4;
constexpr int kRuntimeErrorMessage = 5;
constexpr int kPreparingCaption = 23;
constexpr int kPreparingText = 24;

// Ends the start-up early with an exit code; the closing trace tags are not written and the
// support folder stays.
struct EarlyExit
{
    int exitCode;
};

class Startup
{
public:
    explicit Startup(const StartupServices& services)
        : m_services(services), m_system(services.system)
    {}

    int Run()
    {
        m_system.SetProcessAffinity();
        PrepareFolders();
        LoadLanguageStrings();
        ReadCommandLine();
        Trace("<Quillbay>");
        Trace("  <SetupSplash>");
        if (!m_facts.switches.noWindows) {
            m_services.windows.Show(m_facts.exeDir + "setup.bmp", Message(kPreparingCaption),
                                    Message(kPreparingText));
        }
        try {
            Prepare();
            RunScript();
        } catch (const EarlyExit& exit) {
            return exit.exitCode;
        } catch (const std::exception& failure) {
            // No owner: the preparing window may be what failed.
            ShowError(Message(kRuntimeErrorMessage) + failure.what(), false);
            m_exitCode = kStartupFailureExitCode;
        }
        CleanUp();
        return m_exitCode;
    }

private:
    void Trace(const std::string& line) { m_system.Trace(m_facts.switches.traceLogPath, line); }
    std::string Message(int n) const { return m_facts.messages->Text(n); }

    void ShowError(const std::string& text, bool owned)
    {
        if (!m_facts.switches.silent) {
            const std::string caption = m_scriptRan ? m_services.runner.WizardCaption()
                                                    : engine::GetWizardCaption("", false);
            m_services.prompt.ShowError(text, caption, owned);
        }
    }

    [[noreturn]] void Fail(const std::string& text, int exitCode)
    {
        ShowError(text, true);
        throw EarlyExit{exitCode};
    }

    void PrepareFolders()
    {
        m_facts.exeFile = m_system.ProgramFile();
        m_facts.exeDir = engine::ExtractFilePath(m_facts.exeFile);
        m_facts.exeName = engine::ExtractFileBaseName(m_facts.exeFile);
        m_facts.tempDir = m_system.TempDir();
        m_facts.windowsDir = m_system.WindowsDir();
    }

    // Read from memory: two setups starting at once must not share a temporary file.
    void LoadLanguageStrings()
    {
        const auto text = m_system.LibraryOverlay(m_facts.exeDir + "qbr.lib");
        if (text)
            m_facts.messages->LoadFromText(*text, m_system.UserLanguageName());
    }

    void ReadCommandLine()
    {
        m_facts.switches =
            engine::ParseStartupCommandLine(m_system.Arguments(), m_system.RawCommandLine());
    }

    void Prepare()
    {
        Trace("    <StubSize>");
        const auto overlay = m_system.ProgramOverlay();
        if (!overlay)
            Fail(kNoScriptMessage, kNoScriptExitCode);
        Trace("    </StubSize>");
        Trace("    <StubData>");
        Trace("    </StubData>");
        Trace("    <GlobalLists>");
        m_script = engine::ReadSetupScript(*overlay);
        Trace("    </GlobalLists>");

        Trace("    <SupportDir>");
        const auto supportDir = m_system.ClaimSupportDir(m_facts.tempDir);
        if (!supportDir)
            throw std::runtime_error("Unable to create the support folder under " +
                                     m_facts.tempDir);
        m_facts.supportDir = *supportDir;
        Trace("    </SupportDir>");

        ExtractResources();
        CopyPackages();
        m_facts.dataDir = m_facts.exeDir + "data\\";
        PreloadDialogs();
        if (!m_facts.switches.noWindows)
            m_services.windows.Close();
    }

    void ExtractResources()
    {
        Trace("    <ExtractArchive>");
        const std::string archive = m_facts.exeDir + m_facts.exeName + ".res";
        if (!m_system.FileExists(archive))
            Fail(Message(kResourceMissingMessage), kResourceMissingExitCode);
        std::string errorText;
        if (!m_services.archive.ExtractAll(archive, m_facts.supportDir, errorText))
            Fail(Message(kExtractionFailedMessage), kResourceExtractionExitCode);
        Trace("    </ExtractArchive>");
    }

    void CopyPackages()
    {
        Trace("    <ExtractResource>");
        const std::string base = m_facts.exeDir + m_facts.exeName;
        if (!m_system.FileExists(base + ".msi") && !m_system.FileExists(base + ".msp"))
            Fail(Message(kDatabaseMissingMessage), kDatabaseMissingExitCode);
        Trace("    </ExtractResource>");
        Trace("    <ResourcePath>");
        for (const char* extension : {".msi", ".msp"}) {
            if (m_system.FileExists(base + extension))
                m_system.CopyPackage(base + extension,
                                     m_facts.supportDir + m_facts.exeName + extension);
        }
        Trace("    </ResourcePath>");
    }

    void PreloadDialogs()
    {
        Trace("    <Dialogs>");
        std::vector<int> pages;
        for (size_t i = 0; i < m_script.CommandList.Count(); ++i) {
            const long long index = static_cast<long long>(i);
            if (m_script.CommandList[i] == "Display Dialog" &&
                m_script.StatementFlagList.ItemOrEmpty(index) != "C")
                pages.push_back(static_cast<int>(i));
        }
        const bool windows = !m_facts.switches.noWindows && m_services.windows.Shown();
        if (windows)
            m_services.windows.SetProgressRange(static_cast<int>(pages.size()));
        m_services.dialogs.InitDialogPool(m_facts.supportDir);
        for (const int index : pages) {
            const std::string key = m_script.StatementKeyList.ItemOrEmpty(index);
            const std::string name = engine::GetStatementParam(m_script.ParameterPools, key, 1);
            m_services.dialogs.LoadDialog(std::to_string(index),
                                          m_facts.supportDir + name + ".dfm");
            if (windows)
                m_services.windows.StepProgress();
        }
        Trace("    </Dialogs>");
    }

    void RunScript()
    {
        Trace("  </SetupSplash>");
        Trace("  <RunScript>");
        m_scriptRan = true;
        m_exitCode = m_services.runner.RunScript(m_script, m_facts,
                                                 m_facts.supportDir + m_facts.exeName + ".msi");
        Trace("  </RunScript>");
        Trace("  <Free>");
        m_script = engine::SetupScript();
        Trace("  </Free>");
    }

    void CleanUp()
    {
        Trace("  <CachedSupportDir>");
        if (!m_facts.supportDir.empty() && m_system.DirectoryExists(m_facts.supportDir))
            m_system.RemoveSupportDir(m_facts.supportDir);
        Trace("  </CachedSupportDir>");
        Trace("</Quillbay>");
    }

    const StartupServices& m_services;
    IStartupSystem& m_system;
    StartupFacts m_facts;
    engine::SetupScript m_script;
    bool m_scriptRan = false;
    int m_exitCode = 0;
};

}  // namespace

int SetupMain(const StartupServices& services)
{
    return Startup(services).Run();
}

}  // namespace setup::deployrun
