#include "setup/engine/media/media_driver.h"

#include <gtest/gtest.h>

#include <deque>

#include "setup/engine/rtl/exceptions.h"

namespace {

using namespace setup::engine;

// Folders and files by path, workers and forms answering from scripts, and a log of what ran.
class ScriptedMedia : public IMediaActions
{
public:
    std::set<std::string> folders, files;
    std::deque<WorkerOutcome> grabs, extractions;
    std::deque<ExtractRetry> extractAnswers;
    std::deque<bool> downloadAnswers;
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
    bool AskDownloadRetry(bool& resume) override
    {
        log.push_back("ask download");
        resume = true;
        return Next(downloadAnswers);
    }
    bool AskProxy(MediaBlockState& settings) override
    {
        log.push_back("ask proxy");
        settings.proxy = "127.0.0.1";
        return Next(downloadAnswers);
    }
    ExtractRetry AskExtractRetry() override
    {
        log.push_back("ask extract");
        return Next(extractAnswers);
    }

private:
    template <typename T>
    static T Next(std::deque<T>& queue)
    {
        if (queue.empty())
            throw std::logic_error("unscripted call");
        T next = queue.front();
        queue.pop_front();
        return next;
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
            return AcquireMedia(media, setting, request, settings, failed) ? "true" : "false";
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
    media.downloadAnswers = {true};
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
    media.downloadAnswers = {false};
    EXPECT_EQ(Acquire(), setting.texts.downloadFailed);
    EXPECT_EQ(settings.proxy, "127.0.0.1");

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
        media.extractAnswers = {ExtractRetry::Cancel};
        EXPECT_EQ(Acquire(), setting.texts.extractFailed);
        EXPECT_EQ(std::count(media.log.begin(), media.log.end(), "extract C:\\data\\Core.7zip"),
                  passwordFailure ? 10 : 1);
        EXPECT_EQ(media.log.back(), "ask extract");
    }
}

TEST_F(MediaDriverTest, AGivenUpLocalArchiveIsNeverUsedAgain)
{
    setting.localFolder = "D:\\setup";
    media.files.insert("D:\\setup\\Core.7zip");
    media.extractions = {{false}, {true}};
    media.extractAnswers = {ExtractRetry::Download};
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
    media.extractAnswers = {ExtractRetry::Download};
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

}  // namespace
