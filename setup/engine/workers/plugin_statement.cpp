#include "setup/engine/workers/plugin_statement.h"

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

constexpr int kLocateSourcesMessage = 17;
constexpr int kSourcesNotFoundMessage = 18;
constexpr int kGeneralFailureMessage = 19;

class PluginStatement
{
public:
    PluginStatement(const SetupScript& script, EngineState& engine, int index,
                    IPluginStatementHost& host, ISystemFacts& system)
        : m_script(script), m_engine(engine), m_index(index), m_host(host), m_system(system)
    {
        const std::string key = script.StatementKeyList.ItemOrEmpty(index);
        m_parameters = GetStatementParam(script.ParameterPools, key, 1);
        m_library = GetStatementParam(script.ParameterPools, key, 2);
        m_media = script.StatementMediaList.ItemOrEmpty(index);
    }

    void Run()
    {
        std::string path = LibraryPath();
        if (!m_media.empty() && m_script.SetupMode != 2 && !m_host.FileExists(path))
            path = LocateSources();
        const std::string variables = m_engine.Variables.AsCommaText();
        if (!m_host.FileExists(path)) {
            m_host.ShowPluginError(kPluginMissingMessage);
            return;
        }
        const std::string result = m_host.RunPlugin(path, variables, m_parameters);
        if (result.empty())
            throw rtl::Exception(m_engine.Messages->Text(kGeneralFailureMessage));
        m_engine.Variables.SetFromCommaText(result);
    }

private:
    std::string MediaPath() const { return m_engine.MediaDir + m_media + m_library; }

    std::string LibraryPath()
    {
        if (m_media.empty())
            return m_engine.process.supportDir + ExtractFileName(m_library);
        if (m_script.SetupMode == 2) {
            m_host.AcquireMediaBlock(m_media);
            return MediaPath();
        }
        std::string path = MediaPath();
        if (m_script.SetupMode == 3 && !m_host.FileExists(path)) {
            SelectPatchSources();
            path = MediaPath();
        }
        return path;
    }

    // A patch takes the plug-in from the installed product, the "/p=" folder, or the data
    // folder when that holds the source marker.
    void SelectPatchSources()
    {
        const bool machineHive =
            TextToBool(m_engine.Variables.Get("ALLUSERS")) || !GetOsVersionInfo(m_system).nt;
        m_engine.PreviousInstallFolder = ExtractFilePath(UninstallCommandPath(
            m_host.ReadUninstallString(m_engine.Variables.Get("TITLE"), machineHive)));
        if (!m_engine.SourceOverride.empty())
            m_engine.PreviousInstallFolder = IncludeBackslash(m_engine.SourceOverride);
        if (m_host.FileExists(m_engine.DataDir + m_engine.SourceMarkerName))
            m_engine.PreviousInstallFolder = m_engine.DataDir;
        m_engine.DataDir = m_engine.PreviousInstallFolder;
        m_engine.MediaDir = m_engine.PreviousInstallFolder;
    }

    bool HoldsMarker(const std::string& folder)
    {
        return !m_engine.SourceMarkerName.empty() &&
               m_host.FileExists(folder + m_engine.SourceMarkerName);
    }

    std::string LocateSources()
    {
        while (!m_engine.Variables.SilentMode) {
            const auto picked =
                m_host.BrowseForFolder(m_engine.Messages->Text(kLocateSourcesMessage));
            if (!picked || picked->empty())
                break;
            const std::string folder = IncludeBackslash(*picked);
            std::string accepted;
            if (HoldsMarker(folder))
                accepted = folder;
            else if (HoldsMarker(folder + "data\\"))
                accepted = folder + "data\\";
            if (!accepted.empty()) {
                m_engine.DataDir = accepted;
                m_engine.MediaDir = accepted;
                return MediaPath();
            }
        }
        throw rtl::Exception(m_engine.Messages->Text(kSourcesNotFoundMessage));
    }

    const SetupScript& m_script;
    EngineState& m_engine;
    int m_index;
    IPluginStatementHost& m_host;
    ISystemFacts& m_system;
    std::string m_parameters;
    std::string m_library;
    std::string m_media;
};

}  // namespace

void ExecutePluginStatement(const SetupScript& script, EngineState& engine, int index,
                            IPluginStatementHost& host, ISystemFacts& system)
{
    PluginStatement(script, engine, index, host, system).Run();
}

}  // namespace setup::engine
