#include "setup/media/download/light_binding.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace download;

struct Recorder
{
    int downloading = 0;
    std::vector<std::pair<int, std::string>> progress;  // status and its name
    std::vector<std::string> ends;
    bool cancelOnDownloading = false;
    int cancelAtStatus = -1;
    LightEvents events;

    Recorder()
    {
        events.onDownloading = [this](std::uint64_t, bool& cancel) {
            ++downloading;
            cancel = cancelOnDownloading;
        };
        events.onProgress = [this](const LightReport& report, const std::string& name,
                                   bool& cancel) {
            progress.emplace_back(report.status, name);
            cancel = report.status == cancelAtStatus;
        };
        events.onEnd = [this](bool aborted, bool error, std::int32_t, const std::string& text) {
            ends.push_back(std::string(aborted ? "aborted" : "") + (error ? "error" : "") + ":" +
                           text);
        };
    }
};

TEST(LightBinding, DownloadingFiresOnceAndUnknownStatusesCountAsNone)
{
    Recorder recorder;
    LightBinding binding(recorder.events);
    EXPECT_EQ(binding.Progress(0, 0, 2, "127.0.0.1"), kResultOk);
    EXPECT_EQ(binding.Progress(10, 100, 5, ""), kResultOk);
    EXPECT_EQ(binding.Progress(20, 100, 5, ""), kResultOk);
    EXPECT_EQ(binding.Progress(0, 0, 34, "new"), kResultOk);
    EXPECT_EQ(recorder.downloading, 1);
    ASSERT_EQ(recorder.progress.size(), 4u);
    EXPECT_EQ(recorder.progress[0], std::make_pair(2, std::string("Connecting")));
    EXPECT_EQ(recorder.progress[1], std::make_pair(5, std::string("Downloading data")));
    EXPECT_EQ(recorder.progress[3], std::make_pair(0, std::string("NULL")));
}

TEST(LightBinding, ACancelAnswersAbort)
{
    Recorder early;
    early.cancelOnDownloading = true;
    LightBinding first(early.events);
    EXPECT_EQ(first.Progress(0, 10, 5, ""), kResultAbort);
    EXPECT_TRUE(early.progress.empty());

    Recorder late;
    late.cancelAtStatus = 4;
    LightBinding second(late.events);
    EXPECT_EQ(second.Progress(0, 0, 4, ""), kResultAbort);
}

TEST(LightBinding, StopTellsAbortedAndErrorByTheCode)
{
    const struct
    {
        std::int32_t code;
        const char* told;
    } cases[] = {{kResultOk, ":t"},
                 {kResultFalse, ":t"},
                 {kResultAbort, "aborted:t"},
                 {kResultFail, "error:t"},
                 {static_cast<std::int32_t>(0x800C0005u), "error:t"}};
    for (const auto& c : cases) {
        Recorder recorder;
        LightBinding binding(recorder.events);
        binding.Stop(c.code, "t");
        EXPECT_EQ(binding.LastResult(), c.code);
        ASSERT_EQ(recorder.ends.size(), 1u);
        EXPECT_EQ(recorder.ends[0], c.told) << c.code;
    }
}

TEST(LightBinding, AHandlersExceptionIsRaisedAgainAfterwardsOnlyOnce)
{
    LightEvents events;
    int raised = 0;
    events.onBegin = [] { throw std::invalid_argument("begin"); };
    events.onProgress = [&](const LightReport&, const std::string&, bool&) {
        ++raised;
        throw std::runtime_error("progress");
    };
    LightBinding binding(events);
    EXPECT_EQ(binding.Begin(), kResultInvalidArgument);
    EXPECT_EQ(binding.Progress(1, 2, 5, ""), kResultAbort);
    EXPECT_EQ(raised, 1);
    // The first one recorded is the one raised, with its own class.
    EXPECT_THROW(binding.RethrowRecorded(), std::invalid_argument);

    LightBinding quiet(LightEvents{});
    EXPECT_NO_THROW(quiet.RethrowRecorded());
}

}  // namespace
