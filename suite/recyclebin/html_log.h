// The HTML log of a shred run: the template filled with language texts, dates and the run's
// figures, one row per object the engine reported, the overall status and the escaping of the
// page. The clock and the texts are interfaces; writing the file lives with the Win32 side.
#pragma once

#include "suite/recyclebin/shred_choice.h"
#include "suite/recyclebin/trashwipe_settings.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trashwipe {

class ILogClock
{
public:
    // Seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t Now() = 0;
    // Nothing when the time cannot be converted.
    virtual std::optional<std::tm> LocalTime(std::int64_t seconds) = 0;

protected:
    ~ILogClock() = default;
};

struct LogRunFacts
{
    int fileCount = 0;
    int languageIndex = 0;
    ShredAlgorithmId algorithm = 0;
    std::wstring templateFolder;  // ends in a backslash
    std::wstring computerName;
};

class HtmlLogPage
{
public:
    HtmlLogPage(LogRunFacts facts, ILanguageTexts& texts, ILogClock& clock);

    // The template's bytes, or nothing when it could not be read (the page stays empty).
    void Begin(const std::optional<std::string>& templateBytes);
    void AddRow(int result, std::wstring_view source, std::wstring_view destination);
    void AddPreviousVersionsLine(int answer);
    // Status, end time, duration, Korean styling and escaping; the log path goes in afterwards.
    void Finish();
    void PutLogPath(std::wstring_view path);

    const std::wstring& Page() const noexcept { return m_page; }
    bool AnySuccess() const noexcept { return m_anySuccess; }
    bool AnyFailure() const noexcept { return m_anyFailure; }
    std::int64_t StartTime() const noexcept { return m_start; }
    std::wstring FormatTime(std::int64_t seconds, std::wstring_view format);

private:
    std::wstring Text(std::wstring_view key);
    // The text of a key named by a "%d" pattern, such as "shred_algo_%d".
    std::wstring FormatNumber(std::wstring_view keyFormat, int number);
    void FillHeader();

    LogRunFacts m_facts;
    ILanguageTexts& m_texts;
    ILogClock& m_clock;
    std::int64_t m_start = 0;
    std::wstring m_page;
    std::wstring m_rowTemplate;
    bool m_anySuccess = false;
    bool m_anyFailure = false;
};

// Every occurrence, left to right.
void ReplaceAll(std::wstring& text, std::wstring_view marker, std::wstring_view replacement);
// A path as row text: "&", "<" and ">" as entities, so the page's escaping passes it whole.
std::wstring PathAsHtmlText(std::wstring_view path);
// Characters above 128 outside tags, entities and script or style blocks become "&#N;".
std::wstring EscapeHtml(std::wstring_view text);
// "HH:MM:SS" with the hours counted within a day.
std::wstring FormatDuration(std::int64_t seconds);
// The template's bytes as characters of the same number, lines ended with a line feed.
std::wstring PageFromTemplateBytes(std::string_view bytes);
// The page as the 8-bit file: CR LF line ends, characters above 255 as "?".
std::string LogFileBytes(std::wstring_view page);
// A file name part with characters Windows refuses in names turned into "-".
std::wstring FileNameSafe(std::wstring_view text);
// name + ".html", or the first name + "(n).html" that does not exist yet.
std::wstring PickLogFilePath(const std::wstring& name,
                             const std::function<bool(const std::wstring&)>& exists);
// The base folder and every folder above it, shortest first.
std::vector<std::wstring> FoldersToCreate(std::wstring_view base);
// The result text key of one row.
std::wstring_view RowMessageKey(int result);

}  // namespace trashwipe
