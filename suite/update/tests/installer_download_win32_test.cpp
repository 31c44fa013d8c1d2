// The installer download over WinINet into a scratch folder, against a server on 127.0.0.1.
#include "suite/update/installer_download.h"
#include "suite/update/wininet_win32.h"
#include "tests/support/loopback_http_server_win32.h"
#include "tests/support/scratch_folder_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace update {
namespace {

class CountingProgress final : public IDownloadProgress
{
public:
    void Percent(int percent) override { last = percent; }
    bool CancelRequested() override { return false; }
    int last = -1;
};

std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

TEST(InstallerDownloadWin32, WholeFilesOfEverySizeAndNoErrorPages)
{
    struct Case
    {
        const char* path;
        int status;
        std::size_t size;
        DownloadOutcome outcome;
        int percent;
    };
    const Case cases[] = {
        {"/empty.exe", 200, 0, DownloadOutcome::Complete, -1},
        {"/exact.exe", 200, 65536, DownloadOutcome::Complete, 100},
        {"/plus.exe", 200, 65537, DownloadOutcome::Complete, 100},
        {"/large.exe", 200, 300000, DownloadOutcome::Complete, 100},
        {"/missing.exe", 404, 20, DownloadOutcome::NoConnection, -1},
    };
    std::vector<testsupport::HttpRoute> routes;
    for (const Case& c : cases)
        routes.push_back({c.path, c.status, Pattern(c.size)});
    testsupport::LoopbackHttpServer server(routes);
    ASSERT_TRUE(server.Started());
    testsupport::ScratchFolder scratch;
    for (const Case& c : cases) {
        const std::wstring local = scratch / L"installer.exe";
        ::DeleteFileW(local.c_str());
        WinInetDownloadSource source;
        Win32InstallerFile file;
        CountingProgress progress;
        const DownloadResult result =
            DownloadInstaller(server.WideUrl(c.path), local, static_cast<std::int64_t>(c.size),
                              source, file, progress);
        EXPECT_EQ(result.outcome, c.outcome) << c.path;
        EXPECT_EQ(progress.last, c.percent) << c.path;
        if (c.outcome == DownloadOutcome::Complete) {
            const std::vector<std::uint8_t> saved = testsupport::ReadWholeFile(local);
            const std::string expected = Pattern(c.size);
            EXPECT_EQ(std::string(saved.begin(), saved.end()), expected) << c.path;
            EXPECT_EQ(result.bytes, c.size);
        } else {
            EXPECT_FALSE(testsupport::FileExists(local)) << c.path;
        }
    }
}

TEST(InstallerDownloadWin32, NothingListeningIsNoConnection)
{
    testsupport::ScratchFolder scratch;
    WinInetDownloadSource source;
    Win32InstallerFile file;
    CountingProgress progress;
    const std::wstring url = L"http://127.0.0.1:" +
                             std::to_wstring(testsupport::LoopbackHttpServer::ClosedPort()) +
                             L"/setup.exe";
    EXPECT_EQ(DownloadInstaller(url, scratch / L"setup.exe", 10, source, file, progress).outcome,
              DownloadOutcome::NoConnection);
    EXPECT_FALSE(testsupport::FileExists(scratch / L"setup.exe"));
}

}  // namespace
}  // namespace update
