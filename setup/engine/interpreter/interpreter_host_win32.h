// The Windows services of the interpreter host: process exit, message pumping, the resume-value
// clean-up, the user's and the clock's facts, folder creation, file reads and the runtime-error
// box. Detection, pages, plug-ins, components and the installer cache belong to the host that
// derives from it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "setup/engine/interpreter/interpreter_host.h"
#include "setup/engine/script/text_lines.h"

namespace setup::engine {

class Win32InterpreterHostBase : public IRunControl,
                                 public ISetupRecords,
                                 public IUserEnvironment,
                                 public IInstallerCacheFacts,
                                 public IFileQueries,
                                 public IUserInterface
{
public:
    // The caption of engine message boxes, asked for when one is shown.
    explicit Win32InterpreterHostBase(std::function<std::string()> caption)
        : m_caption(std::move(caption))
    {}

    void ExitProcess(int exitCode) override;
    void ProcessMessages() override;
    void DeleteRunValue(const std::string& name) override;
    std::string RegisteredOwner() override;
    std::string RegisteredOrganization() override;
    std::string ShortDateText() override;
    std::string LongTimeText() override;
    std::uint64_t Milliseconds() override;
    bool ForceFoldersRecorded(const std::string& path, std::vector<std::string>& created) override;
    void RemoveRecordedFolders(const std::vector<std::string>& created) override;
    bool FileExists(const std::string& path) override;
    std::vector<std::string> FindFiles(const std::string& pattern) override;
    std::vector<std::string> ReadLines(const std::string& path) override;
    void ShowRuntimeError(const std::string& text) override;
    int ShowMessageBox(std::uintptr_t owner, const std::string& title, const std::string& text,
                       std::uint32_t flags) override;
    void MinimizeToTray(std::uintptr_t window) override;
    void RestoreFromTray(std::uintptr_t window) override;

private:
    std::function<std::string()> m_caption;
};

}  // namespace setup::engine
