// The driver over the engine's HTTP client and real files under Wine, against the project's
// origin peer and nginx (started around this program by setup/media/net/tests/peers).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "setup/media/download/download_files_win32.h"
#include "setup/media/download/http_transfer_win32.h"

namespace {

using namespace download;

std::string Port(const char* variable)
{
    const char* port = std::getenv(variable);
    return port == nullptr ? std::string() : port;
}

std::string Doc()
{
    std::string doc(10000, '\0');
    for (std::size_t i = 0; i < doc.size(); ++i)
        doc[i] = static_cast<char>((i * 13 + i / 251) & 0xFF);
    return doc;
}

class DownloadWin32Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (Port("NET_TEST_HTTP_PORT").empty())
            GTEST_SKIP() << "runs under the origin peer (setup_media_download_peer_tests)";
        char folder[MAX_PATH];
        ::GetTempPathA(MAX_PATH, folder);
        m_target = std::string(folder) + "download_win32_test.bin";
        ::DeleteFileA(m_target.c_str());
        http.timeoutMilliseconds = 30000;
    }
    void TearDown() override { ::DeleteFileA(m_target.c_str()); }

    bool Download(const std::string& url, bool resume)
    {
        DownloadServices services{nullptr, http, files, {}, {}};
        return DownloadFile(state, services, {url, m_target, {}, {}, {}, {}, resume},
                            [](std::uint64_t, const std::string&) { return true; });
    }
    std::string Origin(const std::string& path) { return "http://127.0.0.1:" + Port("NET_TEST_HTTP_PORT") + path; }
    std::string Target()
    {
        std::ifstream file(m_target, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    void Leave(const std::string& bytes)
    {
        std::ofstream(m_target, std::ios::binary) << bytes;
    }

    DownloadState state;
    HttpTransferWin32 http;
    DownloadFilesWin32 files;
    std::string m_target;
};

TEST_F(DownloadWin32Test, ResumesFromEveryLeftoverToTheSameBytes)
{
    for (const std::string path : {"/doc", "/norange"})
        for (const std::size_t left : {0u, 2048u, 2049u, 9000u})
            for (const bool resume : {false, true}) {
                SCOPED_TRACE(path + " " + std::to_string(left) + (resume ? " resume" : ""));
                Leave(left == 0 ? std::string("garbage") : Doc().substr(0, left));
                EXPECT_TRUE(Download(Origin(path), resume));
                EXPECT_EQ(Target() == Doc(), true);
            }
}

TEST_F(DownloadWin32Test, ACutTransferFailsThenResumesAndAMissingDocumentIsNotSaved)
{
    EXPECT_FALSE(Download(Origin("/flaky"), true));
    EXPECT_EQ(Target().size(), 6000u);
    EXPECT_TRUE(Download(Origin("/flaky"), true));
    EXPECT_TRUE(Target() == Doc());

    ::DeleteFileA(m_target.c_str());
    EXPECT_FALSE(Download(Origin("/missing"), false));
    EXPECT_EQ(::GetFileAttributesA(m_target.c_str()), INVALID_FILE_ATTRIBUTES);

    // A leftover longer than the document: the range is refused, then the whole is fetched.
    Leave(Doc() + Doc());
    EXPECT_TRUE(Download(Origin("/doc"), true));
    EXPECT_TRUE(Target() == Doc());
}

TEST_F(DownloadWin32Test, ResumesFromNginx)
{
    const std::string port = Port("NET_TEST_NGINX_PORT");
    if (port.empty())
        GTEST_SKIP() << "nginx is not installed";
    const std::string url = "http://127.0.0.1:" + port + "/big.bin";
    EXPECT_TRUE(Download(url, false));
    const std::string whole = Target();
    ASSERT_EQ(whole.size(), 100u * 1024);
    Leave(whole.substr(0, 50000) + std::string(100, 'x'));
    EXPECT_TRUE(Download(url, true));
    EXPECT_TRUE(Target() == whole);
    EXPECT_FALSE(Download("http://127.0.0.1:" + port + "/none.bin", false));
}

}  // namespace
