// Whole runs of the shredder over a fixture Recycle Bin through the real Filewipe: silent, aborted
// and interactive (on the test session's display), with the log they write.
#include "suite/recyclebin/contents_dialog_win32.h"
#include "suite/recyclebin/resource_ids.h"
#include "suite/recyclebin/tests/trashwipe_test_environment_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace trashwipe {
namespace {

using testing::TestEnvironment;

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

bool Gone(const std::wstring& path)
{
    return !testsupport::FileExists(path) && !testsupport::FolderExists(path);
}

// The engine a user stops with Abort after the first entry.
class AbortAfterFirstEntry final : public IShredEngine
{
public:
    explicit AbortAfterFirstEntry(IShredEngine& engine) : m_engine(engine) {}
    int ShredPath(const std::wstring& path, ShredAlgorithmId algorithm, IShredObserver* observer,
                  volatile char* abortFlag) override
    {
        const int result = m_engine.ShredPath(path, algorithm, observer, abortFlag);
        if (abortFlag)
            *abortFlag = 1;
        return result;
    }

private:
    IShredEngine& m_engine;
};

TEST(TrashwipeRun, SilentRunShredsEveryEntryOnceAndWritesTheLog)
{
    testsupport::ScratchFolder scratch;
    TestEnvironment test(scratch);
    TrashwipeEnvironment environment = test.Environment();
    ContentsDialog dialog(environment, false);
    const INT_PTR result = dialog.Run();
    if (result == -1)
        GTEST_SKIP() << "no dialog without a display";
    EXPECT_EQ(result, IDOK);
    for (const RecycledItem& item : dialog.Items().Items())
        EXPECT_TRUE(Gone(item.realPath));
    EXPECT_EQ(test.bin.emptyCalls, 1);
    EXPECT_TRUE(test.ui.shown.empty())
        << std::string(test.ui.shown[0].begin(), test.ui.shown[0].end());
    ASSERT_EQ(test.Logs(), (std::vector<std::wstring>{L"2023-11-14-2213.html"}));
    const std::string log = test.LogText(L"2023-11-14-2213.html");
    // Both same-place files, the folder's three files, its sub-folder and the folder itself.
    EXPECT_EQ(Count(log, "symb_success_small.gif error_shred1@0"), 7u);
    EXPECT_NE(log.find("C:\\Docs\\Folder\\sub\\b.txt | "), std::string::npos);
    EXPECT_EQ(Count(log, "C:\\Docs\\same.txt | "), 2u);
    EXPECT_NE(log.find("<img src=\"symb_success.gif\">successful@0 00:00:00"), std::string::npos);
    EXPECT_NE(log.find("var_text_title@0 2023-11-14 stream_d_files@0"), std::string::npos);
    EXPECT_NE(log.find("\r\n"), std::string::npos);
}

TEST(TrashwipeRun, AbortKeepsTheBinAndLogsTheRestAsAborted)
{
    testsupport::ScratchFolder scratch;
    TestEnvironment test(scratch);
    AbortAfterFirstEntry aborting(test.engine);
    TrashwipeEnvironment environment = test.Environment(&aborting);
    ContentsDialog dialog(environment, false);
    if (dialog.Run() == -1)
        GTEST_SKIP() << "no dialog without a display";
    EXPECT_EQ(test.bin.emptyCalls, 0);
    const std::vector<std::wstring> logs = test.Logs();
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = test.LogText(logs[0]);
    // The first row shown is the last entry enumerated: it goes, the other two stay.
    const auto& items = dialog.Items();
    EXPECT_TRUE(Gone(items[2].realPath));
    EXPECT_TRUE(testsupport::FileExists(items[0].realPath));
    EXPECT_TRUE(testsupport::FolderExists(items[1].realPath));
    EXPECT_EQ(Count(log, "symb_success_small.gif error_shred1@0"), 1u);
    EXPECT_GE(Count(log, "symb_failed_small.gif error_shred-6@0"), 2u);
    EXPECT_NE(log.find("completed_errors@0"), std::string::npos);
}

TEST(TrashwipeRun, TwoRunsInOneMinuteGetTwoLogs)
{
    testsupport::ScratchFolder scratch;
    TestEnvironment test(scratch);
    TrashwipeEnvironment environment = test.Environment();
    for (int run = 0; run < 2; ++run) {
        ContentsDialog dialog(environment, false);
        if (dialog.Run() == -1)
            GTEST_SKIP() << "no dialog without a display";
    }
    EXPECT_EQ(test.Logs(),
              (std::vector<std::wstring>{L"2023-11-14-2213(1).html", L"2023-11-14-2213.html"}));
}

TEST(TrashwipeRun, SilentRunWithAnUnwritableLogFolderNeverPrompts)
{
    testsupport::ScratchFolder scratch;
    TestEnvironment test(scratch);
    // A file where the log folder should be: the log cannot be created.
    scratch.Write("logs", "in the way");
    TrashwipeEnvironment environment = test.Environment();
    ContentsDialog dialog(environment, false);
    if (dialog.Run() == -1)
        GTEST_SKIP() << "no dialog without a display";
    EXPECT_TRUE(test.ui.savePrompts.empty());
    EXPECT_EQ(test.bin.emptyCalls, 1);
}

// Finds this process's visible dialogs by title and presses a button in each, once.
class DialogPresser
{
public:
    DialogPresser(std::vector<std::pair<std::wstring, int>> presses)
        : m_presses(std::move(presses)), m_thread([this] { Loop(); })
    {}
    ~DialogPresser()
    {
        m_stop = true;
        m_thread.join();
    }
    std::vector<std::wstring> Seen()
    {
        std::lock_guard guard(m_lock);
        return m_seen;
    }
    // The texts of a control of a dialog seen, by title and id.
    std::wstring TextSeen(const std::wstring& title, int id)
    {
        std::lock_guard guard(m_lock);
        return m_texts[title + L"#" + std::to_wstring(id)];
    }

private:
    void Loop()
    {
        while (!m_stop) {
            ::EnumWindows(&DialogPresser::Visit, reinterpret_cast<LPARAM>(this));
            ::Sleep(30);
        }
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM parameter)
    {
        auto* self = reinterpret_cast<DialogPresser*>(parameter);
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window))
            return TRUE;
        wchar_t title[128] = {};
        ::GetWindowTextW(window, title, 128);
        std::lock_guard guard(self->m_lock);
        for (auto& [wanted, button] : self->m_presses) {
            if (wanted != title || button == 0)
                continue;
            self->m_seen.emplace_back(title);
            for (int id : {IDC_SUMMARY_STATUS, IDC_PROGRESS_TOTAL_TEXT}) {
                wchar_t text[256] = {};
                ::GetDlgItemTextW(window, id, text, 256);
                self->m_texts[wanted + L"#" + std::to_wstring(id)] = text;
            }
            ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(window, button)));
            button = 0;
        }
        return TRUE;
    }

    std::mutex m_lock;
    std::vector<std::pair<std::wstring, int>> m_presses;
    std::vector<std::wstring> m_seen;
    std::map<std::wstring, std::wstring> m_texts;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST(TrashwipeRun, InteractiveRunGoesThroughItsThreeDialogs)
{
    testsupport::ScratchFolder scratch;
    TestEnvironment test(scratch);
    test.version = {5, 1};  // no previous-versions prompt
    TrashwipeEnvironment environment = test.Environment();
    DialogPresser presser({{testing::kTestProduct, IDOK}, {L"summary_title@0", IDOK}});
    ContentsDialog dialog(environment, true);
    const INT_PTR result = dialog.Run();
    if (result == -1)
        GTEST_SKIP() << "no dialog without a display";
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(presser.Seen(),
              (std::vector<std::wstring>{testing::kTestProduct, L"summary_title@0"}));
    EXPECT_EQ(presser.TextSeen(L"summary_title@0", IDC_SUMMARY_STATUS), L"operation_successful@0");
    for (const RecycledItem& item : dialog.Items().Items())
        EXPECT_TRUE(Gone(item.realPath));
    EXPECT_EQ(test.bin.emptyCalls, 1);
    // The summary's check box was left clear: ShredLog is written 0 and the log stays.
    ASSERT_EQ(test.store.writes.size(), 1u);
    EXPECT_EQ(test.store.writes[0].value, L"ShredLog");
    EXPECT_EQ(test.Logs().size(), 1u);
}

// Sets an environment variable of this process while it lives.
class ScopedVariable
{
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : m_name(name)
    {
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(m_name, nullptr); }

private:
    const wchar_t* m_name;
};

TEST(TrashwipeRun, Version6OffersThePreviousVersionsPromptWithTheDriveLetters)
{
    const struct
    {
        const wchar_t* answer;
        bool leaveWritten;
        bool logLine;
    } cases[] = {{L"1", false, true}, {L"-2", true, false}};
    for (const auto& c : cases) {
        testsupport::ScratchFolder scratch;
        TestEnvironment test(scratch);
        test.version = {6, 1};
        test.texts.texts[{L"previousversions_log", -1}] = L"previous versions removed";
        // The template's settings part carries the previous-versions markers.
        scratch.Write("template\\logfile.html",
                      "<p><!--VAR_TEXT_SECURITY_SETTINGS_51--></p>\r\n"
                      "<table><!--TABLE_ROW_START--><tr><td><!--SRC_FILE_PATH--></td></tr>\r\n"
                      "<!--TABLE_ROW_END--></table>\r\n");
        ScopedVariable answer(L"SNAPPROMPT_ANSWER", c.answer);
        ScopedVariable record(L"SNAPPROMPT_RECORD", scratch / L"prompt.txt");
        TrashwipeEnvironment environment = test.Environment();
        DialogPresser presser({{testing::kTestProduct, IDOK}, {L"summary_title@0", IDOK}});
        ContentsDialog dialog(environment, true);
        if (dialog.Run() == -1)
            GTEST_SKIP() << "no dialog without a display";
        // Every fixture entry lies on the scratch folder's drive: one letter; no stored method
        // checks the first button, method 0.
        const auto bytes = testsupport::ReadWholeFile(scratch / L"prompt.txt");
        const std::wstring line(reinterpret_cast<const wchar_t*>(bytes.data()),
                                bytes.size() / sizeof(wchar_t));
        EXPECT_EQ(line, L"0|" + scratch.Path().substr(0, 1) + L"\n");
        const bool leaveWritten =
            std::any_of(test.store.writes.begin(), test.store.writes.end(),
                        [](const testing::FakeStore::Access& a) { return a.value == L"LeavePV"; });
        EXPECT_EQ(leaveWritten, c.leaveWritten);
        const std::vector<std::wstring> logs = test.Logs();
        ASSERT_EQ(logs.size(), 1u);
        EXPECT_EQ(
            test.LogText(logs[0]).find("<p>previous versions removed</p>") != std::string::npos,
            c.logLine);
    }
}

}  // namespace
}  // namespace trashwipe
