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

// One acquisition's questions: the forms' timers may answer only a few in a row.
class Questions
{
public:
    Questions(IMediaPrompts& prompts, const MediaSetting& setting)
        : m_prompts(prompts), m_setting(setting)
    {}

    // False: give up with the download text.
    bool DownloadAgain(IMediaActions& actions, MediaBlockState& settings)
    {
        if (m_setting.silent)
            return false;
        if (actions.LightAvailable()) {
            const DownloadAnswer answer = m_prompts.AskDownloadRetry();
            if (!answer.retry || !Attended(answer.byTimer))
                return false;
            settings.resume = answer.resume;
            return true;
        }
        ProxySettings proxy{settings.proxy, settings.proxyPort, settings.proxyUser,
                            settings.proxyPassword};
        if (!m_prompts.AskProxy(proxy))
            return false;
        m_unattended = 0;
        settings.proxy = proxy.server;
        settings.proxyPort = proxy.port;
        settings.proxyUser = proxy.user;
        settings.proxyPassword = proxy.password;
        return true;
    }

    ExtractRetry ExtractAgain()
    {
        if (m_setting.silent)
            return ExtractRetry::Cancel;
        const ExtractAnswer answer = m_prompts.AskExtractRetry();
        return Attended(answer.byTimer) ? answer.choice : ExtractRetry::Cancel;
    }

private:
    // A person's answer starts the count again; too many timed-out ones end the acquisition.
    bool Attended(bool byTimer)
    {
        m_unattended = byTimer ? m_unattended + 1 : 0;
        return m_unattended <= kUnattendedRetries;
    }

    IMediaPrompts& m_prompts;
    const MediaSetting& m_setting;
    int m_unattended = 0;
};

void Download(IMediaActions& actions, Questions& questions, const MediaSetting& setting,
              const MediaRequest& request, MediaBlockState& settings)
{
    const std::string caption =
        setting.texts.downloadCaption + WithoutTrailingBackslash(request.name);
    for (;;) {
        const WorkerOutcome grabbed = actions.Grab(request, settings, caption);
        if (grabbed.cancelled)
            Fail(setting.texts.downloadFailed);
        if (grabbed.done)
            return;
        if (!questions.DownloadAgain(actions, settings))
            Fail(setting.texts.downloadFailed);
    }
}

}  // namespace

bool AcquireMedia(IMediaActions& actions, IMediaPrompts& prompts, const MediaSetting& setting,
                  const MediaRequest& request, MediaBlockState& settings,
                  FailedArchives& failedArchives)
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

    // A fresh download after a failed extraction starts over here, without resuming: a loop, so
    // that rounds do not pile up on the stack.
    Questions questions(prompts, setting);
    for (;;) {
        const std::string& localFolder = setting.sfxPath.empty() ? setting.exeDir : setting.sfxPath;
        const std::string local =
            IncludeBackslash(localFolder) + ExtractFileName(request.archivePath);
        const bool useLocal = !localFolder.empty() && actions.FileExists(local) &&
                              failedArchives.count(Upper(local)) == 0;
        if (!useLocal)
            Download(actions, questions, setting, request, settings);
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
            const ExtractRetry choice = questions.ExtractAgain();
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
