#include "setup/media/download/download_driver.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace download;

class MemoryFiles : public IDownloadFiles
{
public:
    std::map<std::string, std::string> files;
    std::vector<std::string> deleted;

    std::optional<std::uint64_t> Size(const std::string& path) override
    {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional<std::uint64_t>(found->second.size());
    }
    bool OpenAt(const std::string& path, std::uint64_t position) override
    {
        m_open = &files[path];
        m_open->resize(std::min<std::uint64_t>(position, m_open->size()));
        return true;
    }
    bool Write(std::string_view bytes) override
    {
        m_open->append(bytes);
        return true;
    }
    void Close() override { m_open = nullptr; }
    void Delete(const std::string& path) override
    {
        deleted.push_back(path);
        files.erase(path);
    }
    bool CopyInto(const std::string& from, const std::string& to) override
    {
        files[to] = files.at(from);
        return true;
    }

private:
    std::string* m_open = nullptr;
};

std::string Document(std::size_t size)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('a' + i * 7 % 26);
    return text;
}

// A server of one document over the engine's client, with the faults a real one shows.
class FakeHttp : public IHttpTransfer
{
public:
    std::string document;
    int headStatus = 200;
    bool ignoresRanges = false;
    std::optional<std::size_t> cutAfter;  // the connection drops after so many body bytes
    std::vector<std::string> ranges;      // per GET, "" without a range

    HttpHeadResult Head(const DownloadRequest&) override
    {
        return {headStatus, {"HTTP/1.1 200 OK", "Content-Length: " + std::to_string(document.size())}};
    }
    HttpGetResult Get(const DownloadRequest&, const std::string& rangeBegin,
                      IHttpBodySink& sink) override
    {
        ranges.push_back(rangeBegin);
        HttpGetResult result;
        std::size_t from = 0;
        result.status = headStatus >= 400 ? headStatus : 200;
        if (!rangeBegin.empty() && !ignoresRanges) {
            from = std::stoul(rangeBegin);
            result.status = from >= document.size() ? 416 : 206;
        }
        const std::string body = result.status >= 400 ? "error page" : document.substr(from);
        result.contentLength = static_cast<std::int64_t>(body.size());
        if (!sink.Begin(result.status)) {
            result.aborted = result.status < 400;
            return result;
        }
        const std::size_t sent = std::min(body.size(), cutAfter.value_or(body.size()));
        for (std::size_t at = 0; at < sent; at += 1000) {
            const std::string_view piece = std::string_view(body).substr(at, std::min<std::size_t>(1000, sent - at));
            result.bodyBytes += piece.size();
            if (!sink.Data(piece)) {
                result.aborted = true;
                return result;
            }
        }
        return result;
    }
};

class DownloadDriverTest : public ::testing::Test
{
protected:
    bool Download(bool resume)
    {
        DownloadServices services{nullptr, http, files, {}, {}};
        const DownloadRequest request{"http://h/f.bin", "t", {}, {}, {}, {}, resume};
        return DownloadFile(state, services, request, [this](std::uint64_t percent, const std::string& text) {
            reports.push_back(std::to_string(percent) + " " + text);
            return reports.size() != stopAfter;
        });
    }

    DownloadState state;
    MemoryFiles files;
    FakeHttp http;
    std::vector<std::string> reports;
    std::size_t stopAfter = 0;
};

TEST_F(DownloadDriverTest, ResumesOnlyPastTheBackOffAndEndsWithTheWholeDocument)
{
    struct Case
    {
        std::size_t existing;
        bool resume;
        const char* range;
    };
    const Case cases[] = {{0, false, ""},     {0, true, ""},       {2048, true, ""},
                          {2049, true, "1"},  {2049, false, ""},   {10000, true, "7952"},
                          {10000, false, ""}, {20000, true, "17952"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.existing) + (c.resume ? " resume" : ""));
        files.files.clear();
        http = FakeHttp{};
        http.document = Document(20000);
        if (c.existing != 0)
            files.files["t"] = Document(20000).substr(0, c.existing);
        EXPECT_TRUE(Download(c.resume));
        EXPECT_EQ(http.ranges, (std::vector<std::string>{c.range}));
        EXPECT_EQ(files.files["t"], http.document);
    }
}

TEST_F(DownloadDriverTest, StartsAgainWhenTheServerIgnoresTheRangeOrRefusesIt)
{
    http.document = Document(10000);
    files.files["t"] = Document(10000).substr(0, 5000);
    http.ignoresRanges = true;
    EXPECT_TRUE(Download(true));
    EXPECT_EQ(files.files["t"], http.document);

    // The document shrank below the resume position: 416, then the whole document.
    http = FakeHttp{};
    http.document = Document(3000);
    files.files["t"] = Document(10000);
    EXPECT_TRUE(Download(true));
    EXPECT_EQ(http.ranges, (std::vector<std::string>{"7952", ""}));
    EXPECT_EQ(files.files["t"], http.document);
}

TEST_F(DownloadDriverTest, ACutBodyFailsAndTheNextRunResumesItToTheSameBytes)
{
    http.document = Document(10000);
    http.cutAfter = 6500;
    EXPECT_FALSE(Download(true));
    EXPECT_EQ(files.files["t"].size(), 6500u);
    http.cutAfter.reset();
    EXPECT_TRUE(Download(true));
    EXPECT_EQ(http.ranges.back(), "4452");
    EXPECT_EQ(files.files["t"], http.document);
}

TEST_F(DownloadDriverTest, NeverSavesAnErrorPage)
{
    http.document = Document(100);
    http.headStatus = 404;
    EXPECT_FALSE(Download(false));
    EXPECT_TRUE(http.ranges.empty());
    EXPECT_FALSE(files.files.contains("t"));
}

TEST_F(DownloadDriverTest, ReportsBytesAndPercentAndStopsWhenTheCallerSaysSo)
{
    http.document = Document(2500);
    EXPECT_TRUE(Download(false));
    EXPECT_EQ(reports, (std::vector<std::string>{"41 1,000 bytes received, 41% complete",
                                                 "81 2,000 bytes received, 81% complete",
                                                 "100 2,500 bytes received, 100% complete"}));
    reports.clear();
    stopAfter = 2;
    EXPECT_FALSE(Download(false));
}

// The service's side: the cache file it names is copied over the target only when the answer was
// no error and the copy holds the whole document.
class FakeLight : public ILightDownloader
{
public:
    bool available = true;
    LightResult result{true, 200, {}};
    std::vector<LightReport> reports;

    LightResult DownloadToCache(const std::string&,
                                const std::function<bool(const LightReport&)>& onProgress,
                                bool& availableOut) override
    {
        availableOut = available;
        if (!available)
            return {};
        for (const LightReport& report : reports)
            if (!onProgress(report))
                return {};
        return result;
    }
};

TEST_F(DownloadDriverTest, LightPathCopiesTheCacheFileOrFallsBackWhenTheServiceIsMissing)
{
    FakeLight light;
    files.files["cache"] = "12345";
    light.reports = {{0, 0, 14, "cache"}, {5, 5, 5, ""}, {5, 5, 6, ""}};
    DownloadServices services{&light, http, files, {}, {}};
    std::vector<std::string> texts;
    const auto show = [&texts](std::uint64_t percent, const std::string& text) {
        texts.push_back(std::to_string(percent) + " " + text);
        return true;
    };
    const DownloadRequest request{"http://h/f", "t", {}, {}, {}, {}, false};
    EXPECT_TRUE(DownloadFile(state, services, request, show));
    EXPECT_EQ(files.files["t"], "12345");
    EXPECT_EQ(texts, (std::vector<std::string>{"1 Saving download information cache",
                                               "100 5 bytes received, 100% complete",
                                               "100 Finishing data transfer"}));

    // A 404 the service answered as success is not saved.
    files.files.erase("t");
    light.result = {true, 404, {}};
    EXPECT_FALSE(DownloadFile(state, services, request, show));
    EXPECT_FALSE(files.files.contains("t"));
    EXPECT_TRUE(state.lightAvailable);  // no fallback while the service is there

    light.available = false;
    http.document = "via http";
    EXPECT_TRUE(DownloadFile(state, services, request, show));
    EXPECT_EQ(files.files["t"], "via http");
    EXPECT_FALSE(state.lightAvailable);
}

TEST(DownloadHeader, ReadsTheLastContentLengthInSixtyFourBits)
{
    EXPECT_EQ(ContentLengthOf({"Content-Length: 12", "content-length:  6000000000 "}), 6000000000u);
    EXPECT_EQ(ContentLengthOf({"Content-Length: 12", "Content-Length: x"}), std::nullopt);
    EXPECT_EQ(ContentLengthOf({"Server: a"}), std::nullopt);
    EXPECT_EQ(PlanResume(6000002048ull, true).rangeBegin, "6000000000");
}

TEST(DownloadProgress, CountsRoundWithoutATotalAndGroupsThousands)
{
    ProgressCounter counter;
    std::uint64_t percent = 0;
    for (int i = 0; i < 101; ++i)
        percent = counter.Next(10, 0);
    EXPECT_EQ(percent, 0u);
    EXPECT_EQ(counter.Next(10, 0), 1u);
    EXPECT_EQ(counter.Next(6000000000ull, 6000000000ull), 100u);
    EXPECT_EQ(FormatThousands(1234567, 3), "1,234,567");
    EXPECT_EQ(FormatThousands(123, 3), "123");
    EXPECT_EQ(ProgressText({}, 1000, 0, 3), "1,000 bytes received");
}

}  // namespace
