// A headless interpreter host for tests: the statement side's fake with scripted files, facts and
// detection; every call that acts is recorded as one line of text in `events`. One object stands
// behind every interface but the Windows facts, which come from `system`.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/components/statements_components.h"
#include "setup/engine/interpreter/interpreter_host.h"
#include "setup/engine/testing/fake_statement_host.h"
#include "setup/engine/testing/system_info_fakes.h"

namespace setup::engine::testing {

class FakeInterpreterHost : public FakeStatementHost,
                            public IRunControl,
                            public IInstallationDetection,
                            public IComponentReset,
                            public IUserEnvironment,
                            public IInstallerCacheFacts,
                            public IFileQueries,
                            public IPluginRunner,
                            public IInterpreterResources,
                            public IRemovableMedia
{
public:
    std::vector<std::string> traces;
    std::vector<int> exitCodes;  // ExitProcess calls
    std::set<std::string> files;
    std::map<std::string, std::vector<std::string>> fileLines;
    FakeSystemFacts system;  // Windows XP, an administrator
    bool createFoldersSucceeds = true;
    std::string defaultTargetDir;
    std::string userLanguage = "French";
    std::string uninstallString;
    int detections = 0;
    int messagePumps = 0;
    int cacheRootQueries = 0;
    std::uint64_t milliseconds = 0;  // the steady clock; tests move it

    InterpreterHost Bundle()
    {
        return {*this, *this, *this, *this, *this, system,
                *this, *this, *this, *this, *this, *this};
    }

    void Trace(const std::string& line) override { traces.push_back(line); }
    void ExitProcess(int exitCode) override { exitCodes.push_back(exitCode); }
    void ProcessMessages() override { ++messagePumps; }
    void DetectInstallation() override
    {
        ++detections;
        events.push_back("detect");
    }
    std::string DefaultTargetDir() override { return defaultTargetDir; }
    void TakeOverPatchState() override { events.push_back("patch"); }
    void ResetComponents(EngineState& engine) override
    {
        events.push_back("reset components");
        ResetComponentModel(RunComponentModel(engine));
    }
    void DefinePredefinedComponent(EngineState& engine) override
    {
        events.push_back("predefined component");
        engine::DefinePredefinedComponent(RunComponentModel(engine));
    }
    std::string RegisteredOwner() override { return "Owner"; }
    std::string RegisteredOrganization() override { return "Organization"; }
    std::string ShortDateText() override { return "10.12.2026"; }
    std::string LongTimeText() override { return "13:45:00"; }
    std::uint64_t Milliseconds() override { return milliseconds; }
    std::string UserLanguageName() override { return userLanguage; }
    std::string GetCacheRoot(bool allUsers) override
    {
        ++cacheRootQueries;
        return allUsers ? "C:\\ProgramData\\Cache\\" : "C:\\Users\\Me\\Cache\\";
    }
    std::string LanguageCacheFolder(const std::string&) override { return "C:\\Cache\\Id\\"; }
    std::string ReadUninstallString(const std::string& title, bool machineHive) override
    {
        events.push_back("uninstall string " + title + (machineHive ? " machine" : " user"));
        return uninstallString;
    }
    bool ForceFoldersRecorded(const std::string& path, std::vector<std::string>& created) override
    {
        events.push_back("create " + path);
        if (createFoldersSucceeds)
            created.push_back(path);
        return createFoldersSucceeds;
    }
    void RemoveRecordedFolders(const std::vector<std::string>& created) override
    {
        for (const std::string& folder : created)
            events.push_back("remove " + folder);
    }
    bool FileExists(const std::string& path) override
    {
        return files.count(path) != 0 || fileLines.count(path) != 0;
    }
    std::vector<std::string> FindFiles(const std::string& pattern) override;
    std::vector<std::string> ReadLines(const std::string& path) override;
    void ExecutePlugin(int statementIndex) override
    {
        events.push_back("plugin " + std::to_string(statementIndex));
    }
    void CloseInterpreterResources() override { events.push_back("close"); }
    bool IsRemovableMediaGone(const std::string&) override { return false; }
    void EndAfterMediaRemoved(int exitCode) override
    {
        events.push_back("media gone " + std::to_string(exitCode));
    }
};

}  // namespace setup::engine::testing
