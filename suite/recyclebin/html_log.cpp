#include "suite/recyclebin/html_log.h"

#include "suite/recyclebin/shred_run.h"
#include "suite/recyclebin/text_format.h"

#include <cwchar>
#include <cwctype>

namespace trashwipe {
namespace {

constexpr std::wstring_view kRowStart = L"<!--TABLE_ROW_START-->";
constexpr std::wstring_view kRowEnd = L"<!--TABLE_ROW_END-->";

// Header markers filled with the text of one key, in the template's fill order.
struct KeyedMarker
{
    std::wstring_view marker;
    std::wstring_view key;
};

bool StartsWithIgnoringCase(std::wstring_view text, std::size_t at, std::wstring_view prefix)
{
    if (text.size() - at < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (static_cast<wchar_t>(std::towlower(text[at + i])) != prefix[i])
            return false;
    return true;
}

// Copies text[at..] up to and including `closer`; everything to the end when it is missing.
std::size_t CopyThrough(std::wstring_view text, std::size_t at, std::wstring_view closer,
                        std::wstring& out)
{
    const std::size_t found = text.find(closer, at);
    const std::size_t end = found == std::wstring_view::npos ? text.size() : found + closer.size();
    out.append(text.substr(at, end - at));
    return end;
}

}  // namespace

std::wstring PathAsHtmlText(std::wstring_view path)
{
    std::wstring text(path);
    ReplaceAll(text, L"&", L"&amp;");
    ReplaceAll(text, L"<", L"&lt;");
    ReplaceAll(text, L">", L"&gt;");
    return text;
}

void ReplaceAll(std::wstring& text, std::wstring_view marker, std::wstring_view replacement)
{
    if (marker.empty())
        return;
    std::size_t at = 0;
    while ((at = text.find(marker, at)) != std::wstring::npos) {
        text.replace(at, marker.size(), replacement);
        at += replacement.size();
    }
}

std::wstring EscapeHtml(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        if (StartsWithIgnoringCase(text, at, L"<script")) {
            at = CopyThrough(text, at, L"</script>", out);
            continue;
        }
        if (StartsWithIgnoringCase(text, at, L"<style")) {
            at = CopyThrough(text, at, L"</style>", out);
            continue;
        }
        const wchar_t c = text[at];
        if (c == L'<')
            at = CopyThrough(text, at, L">", out);
        else if (c == L'&')
            at = CopyThrough(text, at, L";", out);
        else {
            if (c <= 128)
                out.push_back(c);
            else
                out += L"&#" + std::to_wstring(static_cast<unsigned>(c)) + L";";
            ++at;
        }
    }
    return out;
}

std::wstring FormatDuration(std::int64_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"%02d:%02d:%02d", static_cast<int>(seconds / 3600 % 24),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return buffer;
}

std::wstring PageFromTemplateBytes(std::string_view bytes)
{
    std::wstring page;
    page.reserve(bytes.size() + 1);
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        for (char c : line)
            page.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
        page.push_back(L'\n');
        at = next;
    }
    return page;
}

std::string LogFileBytes(std::wstring_view page)
{
    std::string out;
    out.reserve(page.size() + page.size() / 16);
    for (wchar_t c : page) {
        if (c == L'\n')
            out += "\r\n";
        else
            out.push_back(c > 255 ? '?' : static_cast<char>(static_cast<unsigned char>(c)));
    }
    return out;
}

std::wstring FileNameSafe(std::wstring_view text)
{
    std::wstring out(text);
    for (wchar_t& c : out)
        if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            c = L'-';
    return out;
}

std::wstring PickLogFilePath(const std::wstring& name,
                             const std::function<bool(const std::wstring&)>& exists)
{
    std::wstring path = name + L".html";
    for (int n = 1; exists(path); ++n)
        path = name + L"(" + std::to_wstring(n) + L").html";
    return path;
}

std::vector<std::wstring> FoldersToCreate(std::wstring_view base)
{
    std::vector<std::wstring> folders;
    std::wstring joined;
    std::size_t at = 0;
    while (at <= base.size()) {
        std::size_t end = base.find(L'\\', at);
        if (end == std::wstring_view::npos)
            end = base.size();
        if (end > at) {
            if (!joined.empty())
                joined += L'\\';
            joined.append(base.substr(at, end - at));
            folders.push_back(joined);
        }
        at = end + 1;
    }
    return folders;
}

std::wstring_view RowMessageKey(int result)
{
    if (result == kShredSucceeded)
        return L"error_shred1";
    if (result == kShredAbortedResult)
        return L"error_shred-6";
    return L"error_shred0";
}

HtmlLogPage::HtmlLogPage(LogRunFacts facts, ILanguageTexts& texts, ILogClock& clock)
    : m_facts(std::move(facts)), m_texts(texts), m_clock(clock), m_start(clock.Now())
{}

std::wstring HtmlLogPage::Text(std::wstring_view key)
{
    return m_texts.Text(key, m_facts.languageIndex);
}

std::wstring HtmlLogPage::FormatTime(std::int64_t seconds, std::wstring_view format)
{
    const std::optional<std::tm> local = m_clock.LocalTime(seconds);
    if (!local)
        return {};
    wchar_t buffer[128];
    const std::wstring formatText(format);
    const std::size_t length = std::wcsftime(buffer, 128, formatText.c_str(), &*local);
    return std::wstring(buffer, length);
}

void HtmlLogPage::Begin(const std::optional<std::string>& templateBytes)
{
    if (!templateBytes)
        return;
    m_page = PageFromTemplateBytes(*templateBytes);
    const std::size_t end = m_page.find(kRowEnd);
    std::wstring row = end == std::wstring::npos ? std::wstring() : m_page.substr(0, end);
    const std::size_t start = row.find(kRowStart);
    if (start != std::wstring::npos)
        row.erase(0, start);
    if (!row.empty())
        ReplaceAll(m_page, row, L"");
    m_rowTemplate = row + std::wstring(kRowEnd);
    FillHeader();
}

void HtmlLogPage::FillHeader()
{
    static constexpr KeyedMarker kOpening[] = {
        {L"<!--VAR_META_CHARSET-->", L"var_meta_charset"},
        {L"<!--VAR_TEXT_APPNAME-->", L"vnt_recyclebin"},
        {L"<!--VAR_TEXT_PROGRAM_12-->", L"vnt_recyclebin"},
        {L"<!--VAR_TEXT_TITLE-->", L"var_text_title"},
    };
    for (const KeyedMarker& m : kOpening)
        ReplaceAll(m_page, m.marker, Text(m.key));
    std::wstring imageFolder = m_facts.templateFolder;
    for (wchar_t& c : imageFolder)
        if (c == L'\\')
            c = L'/';
    ReplaceAll(m_page, L"<!--DEST_PATH_IMG-->", imageFolder);
    static constexpr KeyedMarker kIntroduction[] = {
        {L"<!--IMG_TITLE_LOGFILE-->", L"IMG_TITLE_LOGFILE"},
        {L"<!--VAR_TEXT_INTRODUCTION_1-->", L"var_text_introduction_1"},
        {L"<!--VAR_TEXT_OPERATION-->", L"var_text_operation_3"},
        {L"<!--VAR_TEXT_SECURITY_SETTINGS_12-->", L"var_text_security_settings_na"},
        {L"<!--VAR_TEXT_SECURITY_SETTINGS_22-->", L"var_text_security_settings_22_shred"},
    };
    for (const KeyedMarker& m : kIntroduction)
        ReplaceAll(m_page, m.marker, Text(m.key));
    ReplaceAll(m_page, L"<!--VAR_TEXT_SECURITY_SETTINGS_32-->",
               FormatNumber(L"shred_algo_%d", m_facts.algorithm));
    ReplaceAll(m_page, L"<!--VAR_TEXT_SECURITY_SETTINGS_42-->",
               Text(L"var_text_security_settings_na"));
    ReplaceAll(m_page, L"<!--VAR_TEXT_SUMMERY_12-->",
               FormatNumbers(Text(L"stream_shred_d_files"), {m_facts.fileCount}));
    ReplaceAll(m_page, L"<!--VAR_TEXT_INTRODUCTION_2-->", Text(L"var_text_introduction_2"));
    ReplaceAll(m_page, L"<!--VAR_NO_OF_FILES-->",
               FormatNumbers(Text(L"stream_d_files"), {m_facts.fileCount}));
    const std::wstring dateFormat = Text(L"dateformat");
    ReplaceAll(m_page, L"<!--VAR_DATE-->", FormatTime(m_start, dateFormat));
    ReplaceAll(m_page, L"<!--VAR_TEXT_INTRODUCTION_3-->", Text(L"var_text_introduction_3"));
    ReplaceAll(m_page, L"<!--VAR_TIME-->", FormatTime(m_start, L"%H:%M"));
    static constexpr KeyedMarker kBody[] = {
        {L"<!--VAR_TEXT_DOT-->", L"var_text_dot"},
        {L"<!--VAR_TEXT_OVERARCHING_STATUS_TITLE-->", L"var_text_overarching_status_title"},
        {L"<!--VAR_TEXT_OVERARCHING_STATUS_1-->", L"var_text_overarching_status_1"},
        {L"<!--VAR_TEXT_DETAILED_REPORT_TITLE-->", L"var_text_detailed_report_title"},
        {L"<!--VAR_TEXT_DETAILED_REPORT_TABLE_STATUS-->", L"var_text_detailed_report_table_status"},
        {L"<!--VAR_TEXT_DETAILED_REPORT_TABLE_FILE_NAME-->",
         L"var_text_detailed_report_table_file_name"},
        {L"<!--VAR_TEXT_DETAILED_REPORT_PROCESS-->", L"var_text_detailed_report_process"},
        {L"<!--VAR_TEXT_SECURITY_SETTINGS_TITLE-->", L"var_text_security_settings_title"},
        {L"<!--VAR_TEXT_SECURITY_SETTINGS_11-->", L"var_text_security_settings_11"},
        {L"<!--VAR_TEXT_SECURITY_SETTINGS_21-->", L"var_text_security_settings_21"},
        {L"<!--VAR_TEXT_SECURITY_SETTINGS_31-->", L"var_text_security_settings_31"},
        {L"<!--VAR_TEXT_SECURITY_SETTINGS_41-->", L"var_text_security_settings_41"},
        {L"<!--VAR_TEXT_PROGRAM_TITLE-->", L"var_text_program_title"},
        {L"<!--VAR_TEXT_PROGRAM_11-->", L"var_text_program_11"},
        {L"<!--VAR_TEXT_PROGRAM_21-->", L"var_text_program_21"},
        {L"<!--VAR_TEXT_PROGRAM_22-->", L"application_year"},
        {L"<!--VAR_TEXT_SUMMERY_TITLE-->", L"var_text_summary_title"},
        {L"<!--VAR_TEXT_SUMMERY_11-->", L"var_text_summary_11"},
        {L"<!--VAR_TEXT_SUMMERY_21-->", L"var_text_summary_21"},
        {L"<!--VAR_TEXT_SUMMERY_22-->", L"var_text_summary_22"},
        {L"<!--VAR_TEXT_SUMMERY_31-->", L"var_text_summary_31"},
    };
    for (const KeyedMarker& m : kBody)
        ReplaceAll(m_page, m.marker, Text(m.key));
    ReplaceAll(m_page, L"<!--VAR_TEXT_SUMMERY_32-->", FormatTime(m_start, dateFormat + L" %H:%M"));
    static constexpr KeyedMarker kClosing[] = {
        {L"<!--VAR_TEXT_SUMMERY_41-->", L"var_text_summary_41"},
        {L"<!--VAR_TEXT_SUMMERY_51-->", L"var_text_summary_51"},
        {L"<!--VAR_TEXT_SUMMERY_61-->", L"var_text_summary_61"},
        {L"<!--VAR_TEXT_COMPUTERNAME-->", L"var_text_computername"},
    };
    for (const KeyedMarker& m : kClosing)
        ReplaceAll(m_page, m.marker, Text(m.key));
    ReplaceAll(m_page, L"<!--VAR_COMPUTERNAME-->", m_facts.computerName);
    ReplaceAll(m_page, L"<!--VAR_TEXT_END_OF_LOG_FILE-->", Text(L"var_text_end_of_log_file"));
    ReplaceAll(m_page, L"<!--VAR_TEXT_VONTAR_SECURITY_SOFTWARE-->",
               L"Vo</font></font><font color=\"#333333\" size=\"2\" "
               L"face=\"Arial, Helvetica, sans-serif\"><font size=\"1\">ntar Security</font>");
    ReplaceAll(m_page, L"<!--VAR_TEXT_WWW_SITE-->", Text(L"www_homepage"));
}

std::wstring HtmlLogPage::FormatNumber(std::wstring_view keyFormat, int number)
{
    wchar_t key[64];
    const std::wstring format(keyFormat);
    std::swprintf(key, 64, format.c_str(), number);
    return Text(key);
}

void HtmlLogPage::AddRow(int result, std::wstring_view source, std::wstring_view destination)
{
    std::wstring row = m_rowTemplate;
    ReplaceAll(row, L"<!--IMG_ARROW-->",
               L"<img src=\"<!--DEST_PATH_IMG-->img/arrow.gif\" width=\"13\" height=\"12\" "
               L"align=\"absmiddle\">");
    ReplaceAll(row, L"<!--DEST_PATH_IMG-->", m_facts.templateFolder);
    // An ampersand in a file name would otherwise swallow the text up to the next ';' when the
    // page is escaped, and an angle bracket from a path the shell reported would open a tag.
    std::wstring sourceText = PathAsHtmlText(source);
    std::wstring destinationText = PathAsHtmlText(destination);
    ReplaceAll(row, L"<!--SRC_FILE_PATH-->", sourceText);
    ReplaceAll(row, L"<!--DEST_FILE-->", destinationText);
    if (result == kShredSucceeded) {
        ReplaceAll(row, L"<!--IMG_STATUS_SMALL-->", L"symb_success_small.gif");
        m_anySuccess = true;
    } else {
        ReplaceAll(row, L"<!--IMG_STATUS_SMALL-->", L"symb_failed_small.gif");
        m_anyFailure = true;
    }
    ReplaceAll(row, L"<!--VAR_TEXT_DETAILED_REPORT_PROCESS_OPERATION_MESSAGE_1-->",
               Text(RowMessageKey(result)));
    ReplaceAll(m_page, kRowEnd, row);
}

void HtmlLogPage::AddPreviousVersionsLine(int answer)
{
    if (answer != 1)
        return;
    ReplaceAll(m_page, L"<!--VAR_TEXT_SECURITY_SETTINGS_51-->", Text(L"previousversions_log"));
    ReplaceAll(m_page, L"<!--VAR_TEXT_SECURITY_SETTINGS_52-->",
               Text(L"var_text_security_settings_42_yes"));
}

void HtmlLogPage::Finish()
{
    const bool success = m_anySuccess && !m_anyFailure;
    ReplaceAll(m_page, L"<!--IMG_STATUS-->", success ? L"symb_success.gif" : L"symb_failed.gif");
    ReplaceAll(m_page, L"<!--VAR_TEXT_OVERARCHING_STATUS_2-->",
               Text(success        ? L"successful"
                    : m_anySuccess ? L"completed_errors"
                                   : L"failed"));
    const std::int64_t end = m_clock.Now();
    ReplaceAll(m_page, L"<!--VAR_TEXT_SUMMERY_42-->",
               FormatTime(end, Text(L"dateformat") + L" %H:%M"));
    ReplaceAll(m_page, L"<!--VAR_TEXT_SUMMERY_52-->", FormatDuration(end - m_start));
    if (Text(L"Language_codes") == L"KOR") {
        ReplaceAll(m_page, L"<font", L"<font style='font-family:Batang'");
        ReplaceAll(m_page, L"<p", L"<p style='font-family:Batang'");
    }
    m_page = EscapeHtml(m_page);
}

void HtmlLogPage::PutLogPath(std::wstring_view path)
{
    ReplaceAll(m_page, L"<!--VAR_TEXT_SUMMERY_62-->", path);
}

}  // namespace trashwipe
