#include "suite/recyclebin/html_log_writer_win32.h"

#include "suite/common/suite_paths_win32.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace trashwipe {
namespace {

std::wstring ComputerName()
{
    wchar_t name[250] = {};
    DWORD size = 250;
    if (!::GetComputerNameW(name, &size))
        return {};
    return std::wstring(name, size);
}

std::wstring TemplateFolderOf(TrashwipeEnvironment& environment, const std::wstring& productTitle)
{
    const std::wstring company = environment.settings.Company();
    const std::wstring installFolder =
        suite::GetInstallFolder(company, productTitle.empty() ? nullptr : productTitle.c_str());
    return environment.settings.TemplateFolder(productTitle, installFolder);
}

LogRunFacts FactsOf(const LogRunSetup& setup, const std::wstring& templateFolder)
{
    LogRunFacts facts;
    facts.fileCount = setup.fileCount;
    facts.languageIndex = setup.languageIndex;
    facts.algorithm = setup.algorithm;
    facts.templateFolder = templateFolder;
    facts.computerName = ComputerName();
    return facts;
}

std::optional<std::string> ReadBytes(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

HtmlLogWriter::HtmlLogWriter(TrashwipeEnvironment& environment, LogRunSetup setup)
    : m_environment(environment),
      m_setup(std::move(setup)),
      m_templateFolder(TemplateFolderOf(environment, m_setup.productTitle)),
      m_page(FactsOf(m_setup, m_templateFolder), environment.texts, environment.clock)
{
    const std::wstring templatePath = m_templateFolder + L"logfile.html";
    const std::optional<std::string> bytes = ReadBytes(templatePath);
    if (!bytes) {
        std::wstring text = m_environment.texts.Text(L"log_no_logfile", m_setup.languageIndex);
        const std::size_t at = text.find(L"%s");
        if (at != std::wstring::npos)
            text.replace(at, 2, templatePath);
        m_environment.ui.Show(text, m_environment.settings.ProductTitle(m_setup.languageIndex),
                              suite::MessageIcon::Error);
    }
    m_page.Begin(bytes);
}

void HtmlLogWriter::AddRow(int result, std::wstring_view source, std::wstring_view destination)
{
    std::printf("errorCode: %d\n", result);
    m_page.AddRow(result, source, destination);
}

std::wstring HtmlLogWriter::MakeLogFilePath()
{
    TrashwipeSettings& settings = m_environment.settings;
    std::wstring base = settings.ReadLogPath(m_setup.productTitle).value_or(L"");
    if (base.empty()) {
        base = suite::GetSpecialFolder(CSIDL_APPDATA);
        if (!base.empty())
            base += L"\\" + settings.Company() + L"\\" + m_setup.productTitle + L"\\Logs\\";
    }
    if (base.empty() || base.back() != L'\\')
        base += L'\\';
    for (const std::wstring& folder : FoldersToCreate(base))
        ::CreateDirectoryW(folder.c_str(), nullptr);
    // A date format with "/" or ":" would name no valid file.
    const std::wstring dateFormat = m_environment.texts.Text(L"dateformat", m_setup.languageIndex);
    const std::wstring name =
        base + FileNameSafe(m_page.FormatTime(m_page.StartTime(), dateFormat) +
                            m_page.FormatTime(m_page.StartTime(), L"-%H%M"));
    return PickLogFilePath(
        name, [](const std::wstring& path) { return ::PathFileExistsW(path.c_str()) != FALSE; });
}

std::optional<std::wstring> HtmlLogWriter::Finish(const SummaryPresenter& showSummary)
{
    m_page.Finish();
    std::wstring path = MakeLogFilePath();
    m_page.PutLogPath(path);
    const std::string bytes = LogFileBytes(m_page.Page());
    for (;;) {
        std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            break;
        }
        // A silent run has nobody to ask: it writes no log rather than wait on a dialog.
        if (!m_setup.showSummary)
            return std::nullopt;
        const auto chosen = m_environment.ui.AskSavePath(
            path, m_environment.texts.Text(L"all_files", m_setup.languageIndex));
        if (!chosen)
            return std::nullopt;
        path = *chosen;
    }
    if (m_environment.settings.ReadHideSummary(m_setup.languageIndex))
        m_setup.showSummary = false;
    else if (m_setup.showSummary && showSummary)
        showSummary(path, m_page.AnySuccess(), m_page.AnyFailure());
    return path;
}

}  // namespace trashwipe
