// The media worker threads under Wine: extraction through the archive library beside the test
// program, waited for in the engine's worker loop.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "setup/engine/media/media_workers_win32.h"
#include "setup/engine/media/worker_watchdog_win32.h"
#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/script/variables.h"
#include "tests/support/loopback_http_server_win32.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/support/tiny_7z_writer.h"

namespace {

using namespace setup::engine;
using standins::archive::testing::TinyEntry;

class MediaWorkersTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(setup::rtl::InitGuiThread()); }

    std::string Archive(const std::string& name, const std::vector<TinyEntry>& entries)
    {
        const std::vector<std::uint8_t> bytes = standins::archive::testing::WriteTiny7z(entries);
        const std::string path = scratch.NarrowPath() + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string Path(const std::string& relative) { return scratch.NarrowPath() + relative; }

    testsupport::ScratchFolder scratch;
    ScriptVariables variables;
    WorkerFlags flags;
    MediaWorkerRun run{variables.Store(), flags};
};

TEST_F(MediaWorkersTest, DirectExtractionWritesTheArchiveAndReportsProgress)
{
    const std::string archive =
        Archive("direct.7z", {{u"one.txt", "first"}, {u"dir\\two.txt", "second"}});
    std::string error = "unchanged";
    DirectExtractJob job{archive, Path("out\\deeper"), "", true, true};
    ASSERT_TRUE(DirectExtract(run, job, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(scratch.Read("out\\deeper\\one.txt"), "first");
    EXPECT_EQ(scratch.Read("out\\deeper\\dir\\two.txt"), "second");
    EXPECT_EQ(variables.Get("TARQ_thProgress"), "100");

    job.archivePath = Path("missing.7z");
    EXPECT_FALSE(DirectExtract(run, job, error));
    EXPECT_EQ(error, "The archive file was not found");
}

TEST_F(MediaWorkersTest, WebMediaIsExtractedPlacedAndOnlyThenDeleted)
{
    const std::string archive = Archive(
        "Core.7zip", {{u"Core\\0000000A\\app.exe", "app"}, {u"Core\\docs\\readme.txt", "read me"}});
    scratch.Make("temp\\tarq\\Core\\stale");
    std::ofstream(Path("temp\\tarq\\Core\\stale\\left.txt")) << "from an earlier run";
    const std::vector<std::string> table{"Core", "0000000A\\app.exe", "bin"};
    ExtractMediaJob job;
    job.archivePath = archive;
    job.dataDir = Path("data\\");
    job.fileTable = &table;
    job.temporaryFolder = Path("temp");
    job.copyWebBlock = Path("cache");
    run.caption = "Extracting Web Media: ";

    // A table row whose file the archive lacks: the download stays for another try.
    const std::vector<std::string> broken{"Core", "0000000B\\none.exe", "bin"};
    job.fileTable = &broken;
    ExtractMediaResult result = ExtractMedia(run, job);
    EXPECT_FALSE(result.done);
    EXPECT_FALSE(result.passwordFailure);
    EXPECT_TRUE(testsupport::FileExists(scratch / L"Core.7zip"));

    job.fileTable = &table;
    result = ExtractMedia(run, job);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(scratch.Read("data\\bin\\app.exe"), "app");
    EXPECT_EQ(scratch.Read("data\\Core\\docs\\readme.txt"), "read me");
    EXPECT_FALSE(testsupport::FolderExists(scratch / L"data\\Core\\stale"));
    EXPECT_FALSE(testsupport::FileExists(scratch / L"Core.7zip"));
    EXPECT_TRUE(testsupport::FileExists(scratch / L"cache\\Core.7zip"));
    EXPECT_EQ(variables.Get("TARQ_thProgressText").rfind("Extracting Web Media: \r", 0), 0u);
}

TEST_F(MediaWorkersTest, AnArchiveThatCannotBeOpenedIsAPasswordFailure)
{
    std::ofstream(Path("Bad.7zip")) << "not an archive at all";
    ExtractMediaJob job;
    job.archivePath = Path("Bad.7zip");
    job.dataDir = Path("data");
    job.temporaryFolder = Path("temp");
    const ExtractMediaResult result = ExtractMedia(run, job);
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.passwordFailure);
}

TEST_F(MediaWorkersTest, GrabbingWithoutAddressesMakesNoRequest)
{
    download::DownloadState state;
    download::DownloadRequest request;
    request.target = Path("a.7zip");
    GrabMediaJob job{{}, request, state, {}};
    EXPECT_FALSE(GrabMedia(run, job));
    EXPECT_FALSE(testsupport::FileExists(scratch / L"a.7zip"));
}

TEST_F(MediaWorkersTest, ACancelledDownloadEndsWhileTheServerKeepsItWaiting)
{
    // The server keeps the download waiting far longer than the watchdog gives it.
    testsupport::LoopbackHttpServer server(
        {{"/media/Core.7zip", 200, "body", 1500}, {"/media/Docs.7zip", 200, "docs"}}, 8000);
    ASSERT_TRUE(server.Started());
    WindowTimerWatchdog watchdog(300);
    run.watchdog = &watchdog;
    run.kind = MediaWorkerKind::Download;
    run.wait.checkCancel = [] { return -1; };  // the user cancelled at once
    download::DownloadState state;
    download::DownloadRequest request;
    request.target = Path("Core.7zip");
    const GrabMediaJob job{{server.Url("/media/Core.7zip")}, request, state, {}};
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(GrabMedia(run, job));
    EXPECT_LT(::GetTickCount() - start, 1000u);
    // Nothing the worker could have held stays taken.
    SetThreadProgress(variables.Store(), "after", 1, 100, 0);
    EXPECT_EQ(ReadThreadProgress(variables.Store()).text, "after");
    std::vector<std::string> allocations(10000, std::string(64, 'x'));
    EXPECT_EQ(allocations.size(), 10000u);

    // The server answers the abandoned request meanwhile; the next download still works.
    ::Sleep(2000);
    run.wait.checkCancel = nullptr;
    request.target = Path("Docs.7zip");
    const GrabMediaJob next{{server.Url("/media/Docs.7zip")}, request, state, {}};
    EXPECT_TRUE(GrabMedia(run, next));
    EXPECT_EQ(scratch.Read("Docs.7zip"), "docs");
}

}  // namespace
