#include "setup/engine/media/media_driver.h"

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/path_text.h"

namespace setup::engine {

namespace {

constexpr int kPasswordTries = 10;

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string WithoutTrailingBackslash(const std::string& name)
{
    return !name.empty() && name.back() == '\\' ? name.substr(0, name.size() - 1) : name;
}

[[noreturn]] void Fail(const std::string& text)
{
    throw rtl::Exception(text);
}

bool MarkComplete(IMediaActions& actions, const MediaSetting& setting, const std::string& folder)
{
    actions.CreateFolder(folder, setting.compress);
    actions.CreateEmptyFile(IncludeBackslash(folder) + setting.cacheId);
    return true;
}

bool AcquireOffline(IMediaActions& actions, const MediaSetting& setting, const std::string& folder)
{
    actions.CreateFolder(folder, setting.compress);
    const WorkerOutcome copied = actions.CopyOffline();
    if (copied.cancelled)
        Fail(setting.texts.copyFailed);
    if (!copied.done) {
        actions.RemoveFolder(folder);
        Fail(setting.texts.copyFailed);
    }
    return MarkComplete(actions, setting, folder);
}

void Download(IMediaActions& actions, const MediaSetting& setting, const MediaRequest& request,
              MediaBlockState& settings)
{
    const std::string caption =
        setting.texts.downloadCaption + WithoutTrailingBackslash(request.name);
    for (;;) {
        const WorkerOutcome grabbed = actions.Grab(request, settings, caption);
        if (grabbed.cancelled)
            Fail(setting.texts.downloadFailed);
        if (grabbed.done)
            return;
        if (actions.LightAvailable()) {
            if (setting.silent || !actions.AskDownloadRetry(settings.resume))
                Fail(setting.texts.downloadFailed);
        } else if (setting.silent || !actions.AskProxy(settings)) {
            Fail(setting.texts.downloadFailed);
        }
    }
}

}  // namespace

bool AcquireMedia(IMediaActions& actions, const MediaSetting& setting, const MediaRequest& request,
                  MediaBlockState& settings, FailedArchives& failedArchives)
{
    if (setting.remove)
        return true;
    const std::string folder = setting.dataDir + request.name;
    if (actions.FolderExists(folder)) {
        if (actions.FileExists(IncludeBackslash(folder) + setting.cacheId))
            return true;
        actions.EmptyFolder(folder);
    }
    if (request.name == "OFFLINE\\")
        return AcquireOffline(actions, setting, folder);

    // A fresh download after a failed extraction starts over here, without resuming.
    for (;;) {
        const std::string local =
            IncludeBackslash(setting.localFolder) + ExtractFileName(request.archivePath);
        const bool useLocal = !setting.localFolder.empty() && actions.FileExists(local) &&
                              failedArchives.count(Upper(local)) == 0;
        if (!useLocal)
            Download(actions, setting, request, settings);
        const std::string archive = useLocal ? local : request.archivePath;
        const std::string caption =
            setting.texts.extractCaption + WithoutTrailingBackslash(request.name);

        bool freshDownload = false;
        int tries = 0;
        while (!freshDownload) {
            actions.CreateFolder(folder, setting.compress);
            const WorkerOutcome extracted =
                actions.Extract(archive, useLocal, request.password, caption);
            if (extracted.done && !extracted.cancelled)
                return MarkComplete(actions, setting, folder);
            actions.RemoveFolder(folder);
            if (!extracted.cancelled && extracted.passwordFailure && ++tries < kPasswordTries)
                continue;
            if (extracted.cancelled)
                Fail(setting.texts.extractFailed);
            const ExtractRetry choice =
                setting.silent ? ExtractRetry::Cancel : actions.AskExtractRetry();
            if (choice == ExtractRetry::Cancel)
                Fail(setting.texts.extractFailed);
            if (choice == ExtractRetry::Download) {
                if (useLocal)
                    failedArchives.insert(Upper(local));
                else
                    actions.DeleteFile(request.archivePath);
                settings.resume = false;
                freshDownload = true;
            }
        }
    }
}

}  // namespace setup::engine
