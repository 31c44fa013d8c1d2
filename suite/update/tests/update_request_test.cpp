#include "suite/update/update_request.h"
#include "suite/update/update_answer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace update {
namespace {

class FakeEnvironment final : public IUpdateEnvironment
{
public:
    std::wstring LanguageCode() override { return L"DE"; }
    std::wstring UserLanguageId() override { return L"0407"; }
    std::wstring OsVersionText() override { return L"6.1.7601"; }
    std::wstring TempFolder() override { return L"C:\\Temp\\"; }
    // A code page of the first 256 characters.
    bool FitsAnsiCodePage(std::wstring_view text) override
    {
        for (wchar_t c : text) {
            if (c > 0xFF)
                return false;
        }
        return true;
    }
    std::wstring FromAnsiCodePage(std::string_view bytes) override
    {
        return std::wstring(bytes.begin(), bytes.end());
    }
};

class FakeHttp final : public IHttpGet
{
public:
    HttpAnswer Get(const std::wstring& url, unsigned timeoutMs) override
    {
        urls.push_back(url);
        timeouts.push_back(timeoutMs);
        return answer;
    }
    HttpAnswer answer;
    std::vector<std::wstring> urls;
    std::vector<unsigned> timeouts;
};

HttpAnswer Answered(int status, std::string body)
{
    HttpAnswer answer;
    answer.outcome = HttpAnswer::Outcome::Answered;
    answer.status = status;
    answer.body = std::move(body);
    return answer;
}

TEST(UpdateRequest, QueryDescribesProductUserAndSystemInOrder)
{
    CRefreshkitSettings settings;
    settings.productId = L"42";
    settings.installedVersion = L"7.1";
    settings.userName = L"Ann Lee";
    settings.email = L"a+b@x.org";
    settings.company = L"A&B #1 100%";
    FakeEnvironment environment;
    EXPECT_EQ(BuildRequestUrl(L"http://host/check", settings, environment),
              L"http://host/check?productid=42&ver=7.1&name=Ann Lee&email=a%2Bb@x.org"
              L"&company=A%26B %231 100%25&vntlang=DE&lang=0407&os=6.1.7601");
}

TEST(UpdateRequest, TextsOutsideTheCodePageGoAsUnicodeEscapes)
{
    struct Case
    {
        const wchar_t* text;
        bool fits;
        const wchar_t* escaped;
    };
    const Case cases[] = {
        {L"J\u00fcrgen", true, L"J\u00fcrgen"},
        {L"\u0416a", false, L"%u0416%u0061"},
        {L"", true, L""},
        {L"&#+%", true, L"%26%23%2B%25"},
        {L"\uFFFF", false, L"%uffff"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EscapeQueryText(c.text, c.fits), c.escaped) << c.text;
}

TEST(UpdateRequest, ResultsFromWhatTheServerDid)
{
    HttpAnswer badUrl;
    badUrl.outcome = HttpAnswer::Outcome::BadUrl;
    HttpAnswer notSent;
    notSent.outcome = HttpAnswer::Outcome::SendFailed;
    notSent.error = L"The connection was refused";
    struct Case
    {
        const char* name;
        HttpAnswer answer;
        int result;
        int status;
        int silent;
    };
    const Case cases[] = {
        {"bad url", badUrl, kRequestFailed, -1, -5},
        {"not sent", notSent, kRequestFailed, -1, -5},
        {"404", Answered(404, "]version=9\r\n"), kErrorAnswer, 404, -2},
        {"error text", Answered(200, "Message: unknown product"), kErrorAnswer, 200, -2},
        {"same version", Answered(200, "]\r\nversion=7.1\r\n"), kAnswerRead, 200, -1},
        {"newer", Answered(200, "]\r\nversion=7.2\r\n"), kAnswerRead, 200, 2},
        {"older", Answered(200, "]\r\nversion=7.0\r\n"), kAnswerRead, 200, -1},
    };
    for (const Case& c : cases) {
        CRefreshkitSettings settings;
        settings.installedVersion = L"7.1";
        FakeEnvironment environment;
        FakeHttp http;
        http.answer = c.answer;
        const int result =
            RunUpdateRequest(L"http://host/check", 3000, settings, environment, http);
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(settings.httpStatus, c.status) << c.name;
        EXPECT_EQ(SilentCheckResult(result, settings), c.silent) << c.name;
        ASSERT_EQ(http.timeouts.size(), 1u);
        EXPECT_EQ(http.timeouts[0], 3000u);
        EXPECT_EQ(settings.requestUrl, http.urls[0]);
    }
}

TEST(UpdateRequest, SendFailureKeepsItsTextAndAnErrorPageLeavesTheMessage)
{
    CRefreshkitSettings settings;
    settings.serverMessage = L"earlier";
    FakeEnvironment environment;
    FakeHttp http;
    http.answer.outcome = HttpAnswer::Outcome::SendFailed;
    http.answer.error = std::wstring(300, L'e');
    RunUpdateRequest(L"http://host/", 300, settings, environment, http);
    EXPECT_EQ(settings.connectionError, std::wstring(255, L'e'));
    http.answer = Answered(500, "Message: internal");
    RunUpdateRequest(L"http://host/", 300, settings, environment, http);
    EXPECT_EQ(settings.serverMessage, L"earlier");
    EXPECT_EQ(settings.answer, L"");  // the body of an error page is not read
}

TEST(UpdateRequest, LocalInstallerPathIsInTheTemporaryFolderOrNowhere)
{
    struct Case
    {
        const char* filename;
        const wchar_t* path;
    };
    const Case cases[] = {
        {"http://host/files/setup.exe", L"C:\\Temp\\setup.exe"},
        {"http://host/..\\..\\evil.exe", L"C:\\Temp\\evil.exe"},
        {"http://host/files/..", L""},
        {"C:setup.exe", L""},
    };
    for (const Case& c : cases) {
        CRefreshkitSettings settings;
        FakeEnvironment environment;
        FakeHttp http;
        http.answer = Answered(200, std::string("]\r\nfilename=") + c.filename + "\r\n");
        EXPECT_EQ(RunUpdateRequest(L"http://host/", 300, settings, environment, http), kAnswerRead);
        EXPECT_EQ(settings.localInstallerPath, c.path) << c.filename;
    }
}

}  // namespace
}  // namespace update
