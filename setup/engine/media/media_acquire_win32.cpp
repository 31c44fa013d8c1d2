#include "setup/engine/media/media_acquire_win32.h"

#include <windows.h>

#include <memory>

#include "core/unique_handle.h"
#include "setup/engine/media/media_driver.h"
#include "setup/engine/media/media_files_win32.h"
#include "setup/engine/media/media_workers_win32.h"
#include "setup/engine/media/transfer_folder.h"
#include "setup/engine/media/worker_watchdog_win32.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/system/file_utils_win32.h"
#include "setup/engine/system/folder_walk.h"

namespace setup::engine {

namespace {

// The run's files and workers; the page pool's watchdog when it has one, else a timer of our own.
class Win32MediaActions : public IMediaActions
{
public:
    Win32MediaActions(EngineState& engine, const SetupScript& script)
        : m_engine(engine), m_script(script), m_block(engine.Parts.Get<MediaBlockState>())
    {
        m_watchdog = engine.Parts.Get<WorkerWatchdogSlot>().watchdog;
        if (m_watchdog == nullptr) {
            m_ownWatchdog = std::make_unique<WindowTimerWatchdog>();
            m_watchdog = m_ownWatchdog.get();
        }
    }

    bool FolderExists(const std::string& folder) override
    {
        return m_files.FolderExists(ExcludeBackslash(folder));
    }
    bool FileExists(const std::string& path) override { return m_files.FileExists(path); }
    void EmptyFolder(const std::string& folder) override
    {
        DeleteFolderTree(m_files, ExcludeBackslash(folder), true);
    }
    void RemoveFolder(const std::string& folder) override
    {
        EmptyFolder(folder);
        m_files.RemoveFolder(ExcludeBackslash(folder));
    }
    void CreateFolder(const std::string& folder, bool compress) override
    {
        ForceMediaFolder(m_files, folder);
        m_files.Compress(ExcludeBackslash(folder), compress);
    }
    void CreateEmptyFile(const std::string& path) override
    {
        core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    void DeleteFile(const std::string& path) override { m_files.RemoveFile(path); }

    WorkerOutcome CopyOffline() override
    {
        MediaWorkerRun run = Run("", MediaWorkerKind::Copy);
        CopyMediaJob job;
        job.media.sourceDataDir = m_script.SetupMode == 2 ? m_engine.OriginalDataDir : "";
        job.media.targetDataDir = m_engine.DataDir;
        job.media.temporaryFolder = GetTempDir();
        job.media.compress = Compress();
        job.copyWebBlock = Variable("COPYWEBLOCK");
        if (!Variable("SFXFILE").empty())
            job.sourcePackage =
                IncludeBackslash(GetLongPath(Variable("SFXPATH"))) + Variable("SFXFILE");
        const bool done = CopyMedia(run, job);
        return {done, Cancelled()};
    }
    WorkerOutcome Grab(const MediaRequest& request, const MediaBlockState& settings,
                       const std::string& caption) override
    {
        MediaWorkerRun run = Run(caption, MediaWorkerKind::Download);
        GrabMediaJob job{request.urls,
                         {"", request.archivePath, settings.proxy, settings.proxyPort,
                          settings.proxyUser, settings.proxyPassword, settings.resume},
                         m_block.download,
                         {Message(22), Message(21)}};
        const bool done = GrabMedia(run, job);
        return {done, Cancelled()};
    }
    WorkerOutcome Extract(const std::string& archive, bool local, const std::string& password,
                          const std::string& caption) override
    {
        MediaWorkerRun run = Run(caption, MediaWorkerKind::Extraction);
        ExtractMediaJob job;
        job.archivePath = archive;
        job.local = local;
        job.dataDir = m_engine.DataDir;
        job.password = password;
        job.fileTable = &m_script.FileTable.Items();
        job.copyWebBlock = Variable("COPYWEBLOCK");
        job.compressCache = Compress();
        job.temporaryFolder = GetTempDir();
        const ExtractMediaResult result = ExtractMedia(run, job);
        return {result.done, Cancelled(), result.passwordFailure};
    }

    bool LightAvailable() override { return m_block.download.lightAvailable; }

    bool Compress() const { return TextToBool(Variable("TARQ_COMPRESS_INSTALLER_CACHE")); }
    std::string Variable(const char* name) const { return m_engine.Variables.Get(name); }
    std::string Message(int n) const { return m_engine.Messages->Text(n); }

private:
    MediaWorkerRun Run(const std::string& caption, MediaWorkerKind kind)
    {
        WorkerFlags& flags = m_engine.Parts.Get<WorkerFlags>();
        flags.cancelled = false;
        MediaWorkerRun run(m_engine.Variables.Store(), flags);
        run.wait.holdWorkerBusy = false;  // held for the whole acquisition
        run.wait.silent = m_engine.Variables.SilentMode;
        run.wake = reinterpret_cast<HWND>(m_engine.ForegroundDialogWindow);
        run.caption = caption;
        run.percentComplete = Message(21);
        run.watchdog = m_watchdog;
        run.kind = kind;
        return run;
    }
    bool Cancelled() { return m_engine.Parts.Get<WorkerFlags>().cancelled; }

    EngineState& m_engine;
    const SetupScript& m_script;
    MediaBlockState& m_block;
    IMediaFiles& m_files = Win32MediaFiles();
    IWorkerWatchdog* m_watchdog = nullptr;
    std::unique_ptr<WindowTimerWatchdog> m_ownWatchdog;
};

// The data folder becomes the cache folder; when that changed (ALLUSERS did), the blocks of the
// old one move along, the last listed first.
void MoveToCacheFolder(EngineState& engine, MediaBlockState& block, const std::string& dataDir,
                       bool compress)
{
    engine.DataDir = dataDir;
    engine.MediaDir = dataDir;
    if (block.cacheFolder.empty())
        block.cacheFolder = dataDir;
    if (rtl::AnsiSameText(block.cacheFolder, dataDir))
        return;
    IMediaFiles& files = Win32MediaFiles();
    const std::vector<FileEntry> entries = files.List(block.cacheFolder + "*.*");
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if ((entry->attributes & kAttributeDirectory) == 0 || entry->name == "." ||
            entry->name == "..")
            continue;
        ForceMediaFolder(files, dataDir);
        files.Compress(ExcludeBackslash(dataDir), compress);
        TransferFolder(files, block.cacheFolder + entry->name, dataDir + entry->name, true);
    }
    block.cacheFolder = dataDir;
}

}  // namespace

void AcquireMediaBlockWin32(EngineState& engine, const SetupScript& script,
                            const std::string& blockName, const std::string& cacheDataDir)
{
    WorkerFlags& flags = engine.Parts.Get<WorkerFlags>();
    const WorkerBusyScope busy(flags);
    Win32MediaActions actions(engine, script);
    MediaBlockState& block = engine.Parts.Get<MediaBlockState>();
    if (script.SetupMode == 2 && !cacheDataDir.empty())
        MoveToCacheFolder(engine, block, IncludeBackslash(cacheDataDir), actions.Compress());
    MediaSetting setting;
    setting.dataDir = IncludeBackslash(engine.DataDir);
    setting.cacheId = script.CacheId;
    setting.remove = TextToBool(actions.Variable("REMOVE"));
    setting.compress = actions.Compress();
    setting.sfxPath = actions.Variable("SFXPATH");
    setting.exeDir = actions.Variable("EXEDIR");
    setting.silent = engine.Variables.SilentMode;
    setting.texts = {actions.Message(13), actions.Message(15), actions.Message(12),
                     actions.Message(14), actions.Message(16)};
    const MediaRequest request{blockName, block.urls, block.archivePath, block.password};
    CancellingMediaPrompts noPrompts;
    IMediaPrompts* prompts = engine.Parts.Get<MediaPromptsSlot>().prompts;
    AcquireMedia(actions, prompts ? *prompts : noPrompts, setting, request, block,
                 block.failedArchives);
}

}  // namespace setup::engine
