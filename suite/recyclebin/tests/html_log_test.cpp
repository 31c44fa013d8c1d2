#include "suite/recyclebin/html_log.h"

#include "suite/recyclebin/shred_run.h"
#include "suite/recyclebin/tests/fake_texts.h"

#include <gtest/gtest.h>

#include <set>

namespace trashwipe {
namespace {

using testing::FakeTexts;

// A clock that reads as UTC and moves only when told.
class FixedClock final : public ILogClock
{
public:
    std::int64_t Now() override { return now; }
    std::optional<std::tm> LocalTime(std::int64_t seconds) override
    {
        const std::time_t t = static_cast<std::time_t>(seconds);
        const std::tm* out = std::gmtime(&t);
        if (!out)
            return std::nullopt;
        return *out;
    }
    std::int64_t now = 1700000000;  // 2023-11-14 22:13:20 UTC
};

const char kTemplate[] =
    "<html><!--VAR_TEXT_TITLE--> <!--VAR_DATE--> <!--VAR_TIME-->\r\n"
    "<p><!--VAR_TEXT_SECURITY_SETTINGS_32--> <!--VAR_TEXT_SUMMERY_12--></p>\r\n"
    "<table><!--TABLE_ROW_START--><tr><td><!--IMG_ARROW--><!--SRC_FILE_PATH--> "
    "<!--DEST_FILE--> <!--IMG_STATUS_SMALL--> "
    "<!--VAR_TEXT_DETAILED_REPORT_PROCESS_OPERATION_MESSAGE_1--></td></tr>\n"
    "<!--TABLE_ROW_END--></table>\n"
    "<img src=\"<!--IMG_STATUS-->\"><!--VAR_TEXT_OVERARCHING_STATUS_2--> "
    "<!--VAR_TEXT_SUMMERY_52--> <!--VAR_TEXT_SUMMERY_51--> <!--VAR_TEXT_SUMMERY_62-->\n"
    "<font>\xe9</font><script>var s=\"\xe9\";</script>";

struct LogFixture
{
    FakeTexts texts;
    FixedClock clock;
    LogFixture()
    {
        texts.texts[{L"dateformat", -1}] = L"%Y-%m-%d";
        texts.texts[{L"stream_shred_d_files", -1}] = L"%d files 100%";
    }
    HtmlLogPage Page(int fileCount = 3)
    {
        return HtmlLogPage({.fileCount = fileCount,
                            .languageIndex = 1,
                            .algorithm = 8,
                            .templateFolder = L"C:\\Tpl\\",
                            .computerName = L"PC"},
                           texts, clock);
    }
};

TEST(HtmlLog, HeaderRowsAndStatusAgainstAFixedClock)
{
    LogFixture f;
    HtmlLogPage page = f.Page();
    page.Begin(std::string(kTemplate));
    page.AddRow(kShredSucceeded, L"C:\\Docs\\caf\u00e9 & co.txt", L"C:\\Bin\\$R1.txt");
    page.AddRow(kShredAbortedResult, L"C:\\Docs\\b.txt", L"C:\\Bin\\$R2.txt");
    f.clock.now += 3723;
    page.Finish();
    page.PutLogPath(L"C:\\Logs\\x.html");
    const std::wstring& html = page.Page();
    const std::wstring expectedParts[] = {
        L"var_text_title@1 2023-11-14 22:13\n",
        L"<p>shred_algo_8@1 3 files 100%</p>",
        // Rows in the order reported, each with the arrow image from the template folder.
        L"<tr><td><img src=\"C:\\Tpl\\img/arrow.gif\" width=\"13\" height=\"12\" "
        L"align=\"absmiddle\">C:\\Docs\\caf&#233; &amp; co.txt C:\\Bin\\$R1.txt "
        L"symb_success_small.gif error_shred1@1</td></tr>\n"
        L"<!--TABLE_ROW_START--><tr><td><img src=\"C:\\Tpl\\img/arrow.gif\" width=\"13\" "
        L"height=\"12\" align=\"absmiddle\">C:\\Docs\\b.txt C:\\Bin\\$R2.txt "
        L"symb_failed_small.gif error_shred-6@1</td></tr>\n<!--TABLE_ROW_END--></table>",
        L"<img src=\"symb_failed.gif\">completed_errors@1 01:02:03 "
        L"var_text_summary_51@1 C:\\Logs\\x.html",
        // Outside tags a character above 128 is an entity; inside a script it stays.
        L"<font>&#233;</font><script>var s=\"\u00e9\";</script>",
    };
    for (const std::wstring& part : expectedParts)
        EXPECT_NE(html.find(part), std::wstring::npos) << std::string(part.begin(), part.end());
    EXPECT_TRUE(page.AnySuccess());
    EXPECT_TRUE(page.AnyFailure());
}

TEST(HtmlLog, OverallStatusFollowsTheRows)
{
    struct Case
    {
        std::vector<int> results;
        const wchar_t* image;
        const wchar_t* text;
    };
    const Case cases[] = {
        {{-100, -100}, L"symb_success.gif", L"successful@1"},
        {{-100, -4}, L"symb_failed.gif", L"completed_errors@1"},
        {{-6, 0}, L"symb_failed.gif", L"failed@1"},
        {{}, L"symb_failed.gif", L"failed@1"},
    };
    for (const Case& c : cases) {
        LogFixture f;
        HtmlLogPage page = f.Page();
        page.Begin(std::string("<!--IMG_STATUS-->|<!--VAR_TEXT_OVERARCHING_STATUS_2-->"));
        for (int result : c.results)
            page.AddRow(result, L"s", L"d");
        page.Finish();
        EXPECT_EQ(page.Page(), std::wstring(c.image) + L"|" + c.text + L"\n");
    }
}

TEST(HtmlLog, MissingTemplateLeavesAnEmptyPage)
{
    LogFixture f;
    HtmlLogPage page = f.Page();
    page.Begin(std::nullopt);
    page.AddRow(kShredSucceeded, L"a", L"b");
    page.Finish();
    EXPECT_EQ(page.Page(), L"");
}

TEST(HtmlLog, PreviousVersionsLineOnlyForAnswerOne)
{
    for (int answer : {-2, 0, 1}) {
        LogFixture f;
        HtmlLogPage page = f.Page();
        page.Begin(std::string("<!--VAR_TEXT_SECURITY_SETTINGS_51-->"));
        page.AddPreviousVersionsLine(answer);
        EXPECT_EQ(page.Page() == L"previousversions_log@1\n", answer == 1) << answer;
    }
}

TEST(HtmlLog, KoreanPagesGetTheBatangFont)
{
    LogFixture f;
    f.texts.texts[{L"Language_codes", 1}] = L"KOR";
    HtmlLogPage page = f.Page();
    page.Begin(std::string("<p>x</p><font size=1>y</font><pre>"));
    page.Finish();
    EXPECT_EQ(page.Page(),
              L"<p style='font-family:Batang'>x</p><font style='font-family:Batang' "
              L"size=1>y</font><p style='font-family:Batang're>\n");
}

TEST(HtmlLog, Escaping)
{
    struct Case
    {
        const wchar_t* in;
        const wchar_t* out;
    };
    const Case cases[] = {
        {L"caf\u00e9", L"caf&#233;"},
        {L"<a title=\"\u00e9\">\u00e9</a>", L"<a title=\"\u00e9\">&#233;</a>"},
        {L"&eacute;\u00e9", L"&eacute;&#233;"},
        {L"<SCRIPT>\u00e9</script>\u00e9", L"<SCRIPT>\u00e9</script>&#233;"},
        {L"<Style>\u0100</style>", L"<Style>\u0100</style>"},
        {L"\u0080\u0081", L"\u0080&#129;"},
        {L"<b", L"<b"},  // a tag without its end stays as it is
    };
    for (const Case& c : cases)
        EXPECT_EQ(EscapeHtml(c.in), c.out);
}

TEST(HtmlLog, HostilePathsStayTextThroughTheEscaping)
{
    const struct
    {
        const wchar_t* path;
        const wchar_t* row;
    } cases[] = {
        {L"C:\\a&b\u00e9.txt", L"C:\\a&amp;b&#233;.txt"},
        {L"C:\\<script>alert(1)</script>\u00e9",
         L"C:\\&lt;script&gt;alert(1)&lt;/script&gt;&#233;"},
        {L"C:\\x&#60;y", L"C:\\x&amp;#60;y"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapeHtml(PathAsHtmlText(c.path)), c.row);
}

TEST(HtmlLog, DurationsCountHoursWithinADay)
{
    EXPECT_EQ(FormatDuration(3723), L"01:02:03");
    EXPECT_EQ(FormatDuration(25 * 3600), L"01:00:00");
    EXPECT_EQ(FormatDuration(0), L"00:00:00");
}

TEST(HtmlLog, FileNamesAndFolders)
{
    std::set<std::wstring> existing{L"C:\\L\\2023-11-14-2213.html"};
    auto exists = [&](const std::wstring& p) { return existing.count(p) > 0; };
    EXPECT_EQ(PickLogFilePath(L"C:\\L\\2023-11-13-2213", exists), L"C:\\L\\2023-11-13-2213.html");
    EXPECT_EQ(PickLogFilePath(L"C:\\L\\2023-11-14-2213", exists),
              L"C:\\L\\2023-11-14-2213(1).html");
    existing.insert(L"C:\\L\\2023-11-14-2213(1).html");
    EXPECT_EQ(PickLogFilePath(L"C:\\L\\2023-11-14-2213", exists),
              L"C:\\L\\2023-11-14-2213(2).html");
    EXPECT_EQ(FileNameSafe(L"14/11/2023 10:12"), L"14-11-2023 10-12");
    EXPECT_EQ(FoldersToCreate(L"C:\\A\\\\B\\"),
              (std::vector<std::wstring>{L"C:", L"C:\\A", L"C:\\A\\B"}));
}

TEST(HtmlLog, FileBytesAreEightBitWithCrLf)
{
    EXPECT_EQ(LogFileBytes(L"a\n\u00e9\u0100"), std::string("a\r\n\xe9?"));
    EXPECT_EQ(PageFromTemplateBytes("a\r\nb\n\xff"), L"a\nb\n\u00ff\n");
}

}  // namespace
}  // namespace trashwipe
