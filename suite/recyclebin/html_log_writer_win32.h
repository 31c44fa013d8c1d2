// The HTML log of one run on disk: the template read from the template folder, the rows the
// progress dialog adds, and at the end the file written into the log folder (a save dialog when
// it cannot be created, never in a silent run) and the summary shown.
#pragma once

#include "suite/recyclebin/html_log.h"
#include "suite/recyclebin/trashwipe_environment_win32.h"

#include <functional>
#include <optional>
#include <string>

namespace trashwipe {

struct LogRunSetup
{
    int fileCount = 0;
    int languageIndex = 0;
    ShredAlgorithmId algorithm = 0;
    bool showSummary = false;
    std::wstring productTitle;  // the caller's product name, empty for none
};

// Shows the summary of a written log: its path and whether any row succeeded or failed.
using SummaryPresenter =
    std::function<void(const std::wstring& path, bool anySuccess, bool anyFailure)>;

class HtmlLogWriter
{
public:
    // Reads the template and fills the header.
    HtmlLogWriter(TrashwipeEnvironment& environment, LogRunSetup setup);

    void AddRow(int result, std::wstring_view source, std::wstring_view destination);
    void AddPreviousVersionsLine(int answer) { m_page.AddPreviousVersionsLine(answer); }
    // The file written, or nothing when the user cancelled the save dialog.
    std::optional<std::wstring> Finish(const SummaryPresenter& showSummary);

    bool ShowSummary() const noexcept { return m_setup.showSummary; }
    std::wstring MakeLogFilePath();

private:
    TrashwipeEnvironment& m_environment;
    LogRunSetup m_setup;
    std::wstring m_templateFolder;
    HtmlLogPage m_page;
};

}  // namespace trashwipe
