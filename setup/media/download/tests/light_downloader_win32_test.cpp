// The lightweight downloader through the system's URL-download service under Wine, against a
// server on 127.0.0.1 that the test starts and stops; and the driver when the service is missing.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include "setup/media/download/download_files_win32.h"
#include "setup/media/download/http_transfer_win32.h"
#include "setup/media/download/light_downloader_win32.h"
#include "tests/support/loopback_http_server_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

using namespace download;
using testsupport::HttpRoute;
using testsupport::LoopbackHttpServer;

DownloadRequest Request(const std::string& url, const std::string& target)
{
    DownloadRequest request;
    request.url = url;
    request.target = target;
    return request;
}

std::string Media(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 31 + i / 97) & 0xFF);
    return bytes;
}

class LightDownloaderTest : public ::testing::Test
{
protected:
    bool Download(LightDownloaderWin32* light, const std::string& url, const std::string& target,
                  std::vector<std::string>* texts = nullptr, bool answer = true)
    {
        DownloadServices services{light, http, files, {}, {}};
        return DownloadFile(state, services, {url, target, {}, {}, {}, {}, false},
                            [&](std::uint64_t, const std::string& text) {
                                if (texts != nullptr)
                                    texts->push_back(text);
                                return answer;
                            });
    }

    testsupport::ScratchFolder scratch;
    DownloadState state;
    HttpTransferWin32 http;
    DownloadFilesWin32 files;
};

TEST_F(LightDownloaderTest, DownloadsThroughTheServiceAndCopiesTheCacheFileToTheTarget)
{
    const std::string media = Media(300000);
    LoopbackHttpServer server({{"/media/block.7zip", 200, media}});
    ASSERT_TRUE(server.Started());
    LightDownloaderWin32 light;
    std::vector<std::string> texts;
    const std::string target = scratch.NarrowPath() + "data\\block.7zip";
    ASSERT_TRUE(Download(&light, server.Url("/media/block.7zip"), target, &texts));
    EXPECT_TRUE(state.lightAvailable);
    EXPECT_EQ(light.HttpStatus(), 200);
    EXPECT_TRUE(scratch.Read("data\\block.7zip") == media);
    EXPECT_FALSE(state.lightCacheFile.empty());
    EXPECT_FALSE(texts.empty());
}

TEST_F(LightDownloaderTest, AnErrorPageIsNeverSavedAsMedia)
{
    LoopbackHttpServer server({{"/gone.7zip", 404, "<html>not here</html>"}});
    ASSERT_TRUE(server.Started());
    LightDownloaderWin32 light;
    const std::string target = scratch.NarrowPath() + "gone.7zip";
    EXPECT_FALSE(Download(&light, server.Url("/gone.7zip"), target));
    EXPECT_EQ(light.HttpStatus(), 404);
    EXPECT_EQ(::GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LightDownloaderTest, WithoutTheCacheTheFileIsNamedPlainlyBelowTheFolder)
{
    LoopbackHttpServer server({{"/a/%5C..%5Cescape.bin", 200, "inside"}});
    ASSERT_TRUE(server.Started());
    LightDownloaderWin32 light;
    light.url = server.Url("/a/%5C..%5Cescape.bin");
    light.destinationFolder = scratch.Make("into");
    bool available = false;
    EXPECT_TRUE(light.Download(false, available));
    EXPECT_TRUE(available);
    EXPECT_EQ(scratch.Read("into\\escape.bin"), "inside");
    EXPECT_FALSE(testsupport::FileExists(scratch / L"escape.bin"));
}

TEST_F(LightDownloaderTest, AMissingServiceLeavesTheHttpClientToDownload)
{
    const std::string media = Media(5000);
    LoopbackHttpServer server({{"/media.7zip", 200, media}});
    ASSERT_TRUE(server.Started());
    LightDownloaderWin32 light;
    light.serviceLibrary = "no-such-service.dll";
    const std::string target = scratch.NarrowPath() + "media.7zip";
    EXPECT_TRUE(Download(&light, server.Url("/media.7zip"), target));
    EXPECT_FALSE(state.lightAvailable);
    EXPECT_TRUE(scratch.Read("media.7zip") == media);
}

TEST_F(LightDownloaderTest, AStopAskedWhileTheServerIsSilentAbortsTheTransfer)
{
    // No status reaches the callback while the server keeps the answer back.
    LoopbackHttpServer server({{"/slow.7zip", 200, "late", 4000}, {"/quick.7zip", 200, "quick"}},
                              8000);
    ASSERT_TRUE(server.Started());
    LightDownloaderWin32 light;
    light.control = std::make_shared<LightTransferControl>();
    light.url = server.Url("/slow.7zip");
    const DWORD start = ::GetTickCount();
    std::thread stopper([control = light.control] {
        ::Sleep(300);
        control->RequestStop();
    });
    bool available = false;
    EXPECT_FALSE(light.Download(true, available));
    EXPECT_LT(::GetTickCount() - start, 2000u);
    stopper.join();
    // A later transfer of the stopped downloader does not start.
    EXPECT_FALSE(light.Download(true, available));

    // The service took nothing along that a later transfer needs.
    LightDownloaderWin32 next;
    const std::string target = scratch.NarrowPath() + "quick.7zip";
    ASSERT_TRUE(Download(&next, server.Url("/quick.7zip"), target));
    EXPECT_EQ(scratch.Read("quick.7zip"), "quick");
}

// The transfer of a thread that the test ends by force.
struct ForcedTransfer
{
    LightDownloaderWin32 light;
    bool available = false;

    static DWORD WINAPI Run(void* self)
    {
        auto* transfer = static_cast<ForcedTransfer*>(self);
        transfer->light.Download(true, transfer->available);
        return 0;
    }
};

TEST_F(LightDownloaderTest, ATransferWhoseThreadIsEndedByForceLeavesTheServiceWorking)
{
    LoopbackHttpServer server(
        {{"/slow.7zip", 200, Media(100000), 1000}, {"/quick.7zip", 200, "quick"}}, 8000);
    ASSERT_TRUE(server.Started());
    // The thread's downloader lives in memory that goes with the thread; the status callback the
    // service keeps must not reach it once the server answers.
    auto* transfer = new ForcedTransfer;
    transfer->light.url = server.Url("/slow.7zip");
    transfer->light.control = std::make_shared<LightTransferControl>();
    std::uint64_t reports = 0;
    transfer->light.events.onProgress = [&reports](const LightReport&, const std::string&, bool&) {
        ++reports;
    };
    const auto control = transfer->light.control;
    HANDLE thread = ::CreateThread(nullptr, 0, &ForcedTransfer::Run, transfer, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ::Sleep(300);
    control->ForcedEnd();
    const std::uint64_t reportsBefore = reports;
    ::TerminateThread(thread, 1);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    std::memset(static_cast<void*>(transfer), 0xDD, sizeof(ForcedTransfer));
    ::Sleep(1500);  // the server answers the ended transfer meanwhile

    EXPECT_EQ(reports, reportsBefore);
    LightDownloaderWin32 next;
    const std::string target = scratch.NarrowPath() + "quick.7zip";
    ASSERT_TRUE(Download(&next, server.Url("/quick.7zip"), target));
    EXPECT_EQ(scratch.Read("quick.7zip"), "quick");
}

// Run with the service switched off by a DLL override (setup_media_download_without_service_tests).
TEST(LightDownloaderWithoutService, TheDriverFallsBackToItsOwnClient)
{
    const char* overrides = std::getenv("WINEDLLOVERRIDES");
    if (overrides == nullptr || std::string(overrides).find("urlmon=d") == std::string::npos)
        GTEST_SKIP() << "runs with urlmon switched off";
    const std::string media = Media(70000);
    LoopbackHttpServer server({{"/block.7zip", 200, media}, {"/missing.7zip", 404, "no"}});
    ASSERT_TRUE(server.Started());
    testsupport::ScratchFolder scratch;
    DownloadState state;
    HttpTransferWin32 http;
    http.timeoutMilliseconds = 30000;
    DownloadFilesWin32 files;
    LightDownloaderWin32 light;
    DownloadServices services{&light, http, files, {}, {}};
    const auto go = [](std::uint64_t, const std::string&) { return true; };
    const std::string target = scratch.NarrowPath() + "block.7zip";
    EXPECT_TRUE(DownloadFile(state, services, Request(server.Url("/block.7zip"), target), go));
    EXPECT_FALSE(state.lightAvailable);
    EXPECT_TRUE(scratch.Read("block.7zip") == media);
    const std::string missing = scratch.NarrowPath() + "missing.7zip";
    EXPECT_FALSE(DownloadFile(state, services, Request(server.Url("/missing.7zip"), missing), go));
    EXPECT_EQ(::GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
