#include "setup/engine/media/media_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>

#include "setup/engine/rtl/exceptions.h"

namespace {

using namespace setup::engine;

template <typename T>
T Next(std::deque<T>& queue)
{
    if (queue.empty())
        throw std::logic_error("unscripted call");
    T next = queue.front();
    queue.pop_front();
    return next;
}

// Folders and files by path, workers and forms answering from scripts, and one log of what ran.
class ScriptedMedia : public IMediaActions, public IMediaPrompts
{
public:
    std::set<std::string> folders, files;
    std::deque<WorkerOutcome> grabs, extractions;
    std::deque<ExtractAnswer> extractAnswers;
    std::deque<DownloadAnswer> downloadAnswers;
    std::deque<bool> proxyAnswers;
    WorkerOutcome offline{true};
    bool light = true;
    std::vector<std::string> log;

    bool FolderExists(const std::string& folder) override { return folders.count(folder) != 0; }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    void EmptyFolder(const std::string& folder) override { log.push_back("empty " + folder); }
    void RemoveFolder(const std::string& folder) override
    {
        folders.erase(folder);
        log.push_back("remove " + folder);
    }
    void CreateFolder(const std::string& folder, bool) override { folders.insert(folder); }
    void CreateEmptyFile(const std::string& path) override
    {
        files.insert(path);
        log.push_back("mark " + path);
    }
    void DeleteFile(const std::string& path) override
    {
        files.erase(path);
        log.push_back("delete " + path);
    }
    WorkerOutcome CopyOffline() override
    {
        log.push_back("copy");
        return offline;
    }
    WorkerOutcome Grab(const MediaRequest&, const MediaBlockState& settings,
                       const std::string& caption) override
    {
        log.push_back("grab " + caption + (settings.resume ? " resume" : ""));
        return Next(grabs);
    }
    WorkerOutcome Extract(const std::string& archive, bool local, const std::string&,
                          const std::string&) override
    {
        log.push_back("extract " + archive + (local ? " local" : ""));
        return Next(extractions);
    }
    bool LightAvailable() override { return light; }
    DownloadAnswer AskDownloadRetry() override
    {
        log.push_back("ask download");
        return Next(downloadAnswers);
    }
    bool AskProxy(ProxySettings& proxy) override
    {
        log.push_back("ask proxy " + proxy.server);
        proxy = {"127.0.0.1", "8080", "user", "secret"};
        return Next(proxyAnswers);
    }
    ExtractAnswer AskExtractRetry() override
    {
        log.push_back("ask extract");
        return Next(extractAnswers);
    }
};

class MediaDriverTest : public ::testing::Test
{
protected:
    MediaDriverTest()
    {
        setting.dataDir = "C:\\data\\";
        setting.cacheId = "{ID}";
        request = {"Core", {"http://127.0.0.1/Core.7zip"}, "C:\\data\\Core.7zip", "pw"};
    }
    std::string Acquire()
    {
        try {
            return AcquireMedia(media, media, setting, request, settings, failed) ? "true"
                                                                                  : "false";
        } catch (const setup::rtl::Exception& failure) {
            return failure.what();
        }
    }

    ScriptedMedia media;
    MediaSetting setting;
    MediaRequest request;
    MediaBlockState settings;
    FailedArchives failed;
};

TEST_F(MediaDriverTest, ACompleteBlockOrARemovalAcquiresNothing)
{
    media.folders.insert("C:\\data\\Core");
    media.files.insert("C:\\data\\Core\\{ID}");
    EXPECT_EQ(Acquire(), "true");
    media.files.clear();
    setting.remove = true;
    EXPECT_EQ(Acquire(), "true");
    EXPECT_TRUE(media.log.empty());
}

TEST_F(MediaDriverTest, AnIncompleteBlockIsEmptiedDownloadedExtractedAndMarked)
{
    media.folders.insert("C:\\data\\Core");
    media.grabs = {{true}};
    media.extractions = {{true}};
    EXPECT_EQ(Acquire(), "true");
    EXPECT_EQ(media.log, (std::vector<std::string>{
                             "empty C:\\data\\Core", "grab Downloading Web Media: Core",
                             "extract C:\\data\\Core.7zip", "mark C:\\data\\Core\\{ID}"}));
}

TEST_F(MediaDriverTest, DownloadFailuresAskWithTheFormTheServiceChoosesOrRaiseWhenSilent)
{
    media.grabs = {{false}, {true}};
    media.downloadAnswers = {{true, true}};
    media.extractions = {{true}};
    EXPECT_EQ(Acquire(), "true");
    EXPECT_EQ(media.log[1], "ask download");
    EXPECT_EQ(media.log[2], "grab Downloading Web Media: Core resume");

    // Each round acquires the block afresh.
    media.files.clear();
    media.folders.clear();
    media.log.clear();
    media.light = false;
    media.grabs = {{false}};
    media.proxyAnswers = {false};
    EXPECT_EQ(Acquire(), setting.texts.downloadFailed);

    media.log.clear();
    setting.silent = true;
    media.grabs = {{false}};
    EXPECT_EQ(Acquire(), setting.texts.downloadFailed);
    EXPECT_EQ(media.log.size(), 1u);

    media.grabs = {{true, true}};
    EXPECT_EQ(Acquire(), setting.texts.downloadFailed);
}

TEST_F(MediaDriverTest, TenPasswordFailuresComeBeforeTheQuestionOtherFailuresAfterOne)
{
    for (const bool passwordFailure : {true, false}) {
        media.log.clear();
        media.grabs = {{true}};
        media.extractions.assign(passwordFailure ? 10 : 1,
                                 WorkerOutcome{false, false, passwordFailure});
        media.extractAnswers = {{ExtractRetry::Cancel}};
        EXPECT_EQ(Acquire(), setting.texts.extractFailed);
        EXPECT_EQ(std::count(media.log.begin(), media.log.end(), "extract C:\\data\\Core.7zip"),
                  passwordFailure ? 10 : 1);
        EXPECT_EQ(media.log.back(), "ask extract");
    }
}

TEST_F(MediaDriverTest, AGivenUpLocalArchiveIsNeverUsedAgain)
{
    setting.exeDir = "D:\\setup";
    media.files.insert("D:\\setup\\Core.7zip");
    media.extractions = {{false}, {true}};
    media.extractAnswers = {{ExtractRetry::Download}};
    media.grabs = {{true}};
    settings.resume = true;
    EXPECT_EQ(Acquire(), "true");
    EXPECT_EQ(media.log, (std::vector<std::string>{
                             "extract D:\\setup\\Core.7zip local", "remove C:\\data\\Core",
                             "ask extract", "grab Downloading Web Media: Core",
                             "extract C:\\data\\Core.7zip", "mark C:\\data\\Core\\{ID}"}));
    EXPECT_EQ(failed.count("D:\\SETUP\\CORE.7ZIP"), 1u);

    // A downloaded archive the user gives up on is deleted before the fresh download.
    media.log.clear();
    media.files.clear();
    media.folders.clear();
    media.grabs = {{true}, {true}};
    media.extractions = {{false}, {true}};
    media.extractAnswers = {{ExtractRetry::Download}};
    EXPECT_EQ(Acquire(), "true");
    EXPECT_EQ(media.log[4], "delete C:\\data\\Core.7zip");
}

TEST_F(MediaDriverTest, OfflineMediaAreCopiedAndAFailureRemovesTheFolder)
{
    request.name = "OFFLINE\\";
    EXPECT_EQ(Acquire(), "true");
    EXPECT_EQ(media.log, (std::vector<std::string>{"copy", "mark C:\\data\\OFFLINE\\{ID}"}));
    media.log.clear();
    media.files.clear();
    media.offline = {false};
    EXPECT_EQ(Acquire(), setting.texts.copyFailed);
    EXPECT_EQ(media.log.back(), "remove C:\\data\\OFFLINE\\");
}

TEST_F(MediaDriverTest, ScriptedAcquisitions)
{
    constexpr int kTimed = kUnattendedRetries + 1;  // the round the timers may not answer
    const auto count = [&](const std::string& entry) {
        return static_cast<int>(std::count(media.log.begin(), media.log.end(), entry));
    };
    struct Row
    {
        const char* name;
        std::function<void()> arrange;
        std::string result;            // "true", or the text raised
        std::vector<std::string> log;  // empty: not compared
        std::function<void()> check;
    };
    const WorkerOutcome done{true}, failedRun{false}, cancelledDone{true, true};
    const WorkerOutcome wrongPassword{false, false, true};
    const std::string grab = "grab Downloading Web Media: Core";
    const std::string extractDownload = "extract C:\\data\\Core.7zip";
    const std::string mark = "mark C:\\data\\Core\\{ID}";
    const std::vector<Row> rows = {
        {"REMOVE set, with the block missing",
         [&] { setting.remove = true; },
         "true",
         {},
         [&] { EXPECT_TRUE(media.log.empty()); }},
        {"the self-extractor's folder comes before the program's",
         [&] {
             setting.sfxPath = "E:\\sfx";
             setting.exeDir = "D:\\setup";
             media.files = {"E:\\sfx\\Core.7zip", "D:\\setup\\Core.7zip"};
             media.extractions = {done};
         },
         "true",
         {"extract E:\\sfx\\Core.7zip local", mark},
         nullptr},
        {"without a self-extractor the program's folder holds the local archive",
         [&] {
             setting.exeDir = "D:\\setup\\";
             media.files = {"D:\\setup\\Core.7zip"};
             media.extractions = {done};
         },
         "true",
         {"extract D:\\setup\\Core.7zip local", mark},
         nullptr},
        {"a local archive given up on earlier in the run is downloaded instead",
         [&] {
             setting.exeDir = "d:\\Setup";
             media.files = {"d:\\Setup\\Core.7zip"};
             failed = {"D:\\SETUP\\CORE.7ZIP"};
             media.grabs = {done};
             media.extractions = {done};
         },
         "true",
         {grab, extractDownload, mark},
         nullptr},
        {"silent: an extraction failure raises without a question",
         [&] {
             setting.silent = true;
             media.grabs = {done};
             media.extractions = {failedRun};
         },
         setting.texts.extractFailed,
         {grab, extractDownload, "remove C:\\data\\Core"},
         nullptr},
        {"silent: a download failure raises without the proxy form either",
         [&] {
             setting.silent = true;
             media.light = false;
             media.grabs = {failedRun};
         },
         setting.texts.downloadFailed,
         {grab},
         nullptr},
        {"silent: a failed offline copy raises the copy text",
         [&] {
             setting.silent = true;
             request.name = "OFFLINE\\";
             media.offline = failedRun;
         },
         setting.texts.copyFailed,
         {"copy", "remove C:\\data\\OFFLINE\\"},
         nullptr},
        {"a download cancelled as it finished raises",
         [&] { media.grabs = {cancelledDone}; },
         setting.texts.downloadFailed,
         {grab},
         nullptr},
        {"an extraction cancelled as it finished raises without a question",
         [&] {
             media.grabs = {done};
             media.extractions = {cancelledDone};
         },
         setting.texts.extractFailed,
         {grab, extractDownload, "remove C:\\data\\Core"},
         nullptr},
        {"a cancelled password failure is not tried again",
         [&] {
             media.grabs = {done};
             media.extractions = {{false, true, true}};
         },
         setting.texts.extractFailed,
         {grab, extractDownload, "remove C:\\data\\Core"},
         nullptr},
        {"a cancelled offline copy keeps its folder",
         [&] {
             request.name = "OFFLINE\\";
             media.offline = cancelledDone;
         },
         setting.texts.copyFailed,
         {"copy"},
         nullptr},
        {"Extract chosen tries the same archive, the password count going on",
         [&] {
             media.grabs = {done};
             media.extractions.assign(11, wrongPassword);
             media.extractions.push_back(done);
             media.extractAnswers = {{ExtractRetry::Extract}, {ExtractRetry::Extract}};
         },
         "true",
         {},
         [&] {
             EXPECT_EQ(count(extractDownload), 12);
             EXPECT_EQ(count("ask extract"), 2);
             EXPECT_EQ(count(grab), 1);
         }},
        {"the proxy form's fields go to the next download",
         [&] {
             media.light = false;
             settings.proxy = "old";
             media.grabs = {failedRun, done};
             media.proxyAnswers = {true};
             media.extractions = {done};
         },
         "true",
         {grab, "ask proxy old", grab, extractDownload, mark},
         [&] {
             EXPECT_EQ(settings.proxy, "127.0.0.1");
             EXPECT_EQ(settings.proxyPort, "8080");
             EXPECT_EQ(settings.proxyUser, "user");
             EXPECT_EQ(settings.proxyPassword, "secret");
         }},
        {"the download form's choice sets the resume flag",
         [&] {
             settings.resume = true;
             media.grabs = {failedRun, done};
             media.downloadAnswers = {{true, false}};
             media.extractions = {done};
         },
         "true",
         {grab + " resume", "ask download", grab, extractDownload, mark},
         nullptr},
        {"unanswered, a bad archive is downloaded afresh only a few times",
         [&] {
             media.grabs.assign(kTimed, done);
             media.extractions.assign(kTimed, failedRun);
             media.extractAnswers.assign(kTimed, {ExtractRetry::Download, true});
         },
         setting.texts.extractFailed,
         {},
         [&] {
             EXPECT_EQ(count(grab), kTimed);
             EXPECT_EQ(count("ask extract"), kTimed);
         }},
        {"unanswered, a failing download is retried only a few times",
         [&] {
             media.grabs.assign(kTimed, failedRun);
             media.downloadAnswers.assign(kTimed, {true, true, true});
         },
         setting.texts.downloadFailed,
         {},
         [&] { EXPECT_EQ(count("ask download"), kTimed); }},
        {"a person's answer starts the unanswered count again",
         [&] {
             media.grabs.assign(2 * kUnattendedRetries, failedRun);
             media.grabs.push_back(done);
             media.downloadAnswers.assign(2 * kUnattendedRetries, {true, true, true});
             media.downloadAnswers[kUnattendedRetries - 1].byTimer = false;
             media.extractions = {done};
         },
         "true",
         {},
         [&] { EXPECT_EQ(count("ask download"), 2 * kUnattendedRetries); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        media = ScriptedMedia{};
        setting = MediaSetting{};
        setting.dataDir = "C:\\data\\";
        setting.cacheId = "{ID}";
        request = {"Core", {"http://127.0.0.1/Core.7zip"}, "C:\\data\\Core.7zip", "pw"};
        settings = MediaBlockState{};
        failed.clear();
        row.arrange();
        EXPECT_EQ(Acquire(), row.result);
        if (!row.log.empty()) {
            EXPECT_EQ(media.log, row.log);
        }
        if (row.check)
            row.check();
    }
}

}  // namespace
