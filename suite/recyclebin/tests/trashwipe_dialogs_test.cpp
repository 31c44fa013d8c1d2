// Trashwipe's three dialogs on the test session's display: the contents list and its totals and
// methods, the progress dialog's bars, Pause and Abort, and the summary with its log shredding;
// and the Windows version decisions under Wine's per-program version setting.
#include "suite/recyclebin/contents_dialog_win32.h"
#include "suite/recyclebin/progress_dialog_win32.h"
#include "suite/recyclebin/resource_ids.h"
#include "suite/recyclebin/summary_dialog_win32.h"
#include "suite/recyclebin/tests/trashwipe_test_environment_win32.h"
#include "tests/support/process_runner_win32.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <thread>

namespace trashwipe {
namespace {

using testing::TestEnvironment;

std::wstring TextOf(HWND window, int id)
{
    wchar_t text[256] = {};
    ::GetDlgItemTextW(window, id, text, 256);
    return text;
}

std::wstring CellText(HWND list, int row, int column)
{
    wchar_t text[256] = {};
    ListView_GetItemText(list, row, column, text, 256);
    return text;
}

class ContentsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        test.texts.texts[{L"recbin_information", -1}] = L"%d files, %I64u MB";
    }
    void TearDown() override
    {
        if (window)
            ::DestroyWindow(window);
    }
    // The dialog in interactive form, not shown; none without a display.
    HWND Open()
    {
        environment = std::make_unique<TrashwipeEnvironment>(test.Environment());
        dialog = std::make_unique<ContentsDialog>(*environment, true);
        window = dialog->Create();
        return window;
    }
    void SetStoredMethod(std::uint32_t method)
    {
        test.store.dwords[L"Software\\company_ntv@0\\" + std::wstring(testing::kTestProduct) +
                          L"\\Shredding|ShredAlgo"] = method;
    }

    testsupport::ScratchFolder scratch;
    TestEnvironment test{scratch};
    std::unique_ptr<TrashwipeEnvironment> environment;
    std::unique_ptr<ContentsDialog> dialog;
    HWND window = nullptr;
};

TEST_F(ContentsDialogTest, ListsEveryEntryInReverseOrderWithItsFolderAndTotals)
{
    if (!Open())
        GTEST_SKIP() << "no display";
    HWND list = ::GetDlgItem(window, IDC_RB_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 3);
    // Rows in reverse enumeration order; the two same-place entries stay two rows.
    const std::wstring expected[3][2] = {
        {L"same.txt", L"C:\\Docs"}, {L"Folder", L"C:\\Docs"}, {L"same.txt", L"C:\\Docs"}};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(CellText(list, row, 0), expected[row][0]);
        EXPECT_EQ(CellText(list, row, 1), expected[row][1]);
        EXPECT_TRUE(ListView_GetCheckState(list, row));
    }
    // Four files (the folder's dot file not counted) of 13 bytes.
    EXPECT_EQ(dialog->FileCount(), 4);
    EXPECT_EQ(dialog->SizeTotal(), 13u);
    EXPECT_EQ(TextOf(window, IDC_RB_TOTALS), L"4 files, 0 MB");
    ListView_SetCheckState(list, 1, FALSE);
    EXPECT_EQ(dialog->FileCount(), 2);
    for (int row : {0, 2})
        ListView_SetCheckState(list, row, FALSE);
    EXPECT_EQ(TextOf(window, IDC_RB_TOTALS), L"0 files, 0 MB");
    EXPECT_EQ(dialog->FileCount(), 0);
}

TEST_F(ContentsDialogTest, Windows2000ShowsOneWideColumnAndTheOldBinItsOwnTotals)
{
    test.version = {5, 0};
    if (!Open())
        GTEST_SKIP() << "no display";
    HWND list = ::GetDlgItem(window, IDC_RB_LIST);
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 1);
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 518);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES);
    ::DestroyWindow(window);
    test.version = {4, 10};  // Windows 98
    scratch.Make("Recycled");
    scratch.Write("Recycled\\DC1.txt", "twelve bytes");
    test.oldBinFiles = {{scratch / L"Recycled\\INFO2", L"INFO2"},
                        {scratch / L"Recycled\\desktop.ini", L"desktop.ini"},
                        {scratch / L"Recycled\\DC1.txt", L"DC1.txt"}};
    if (!Open())
        GTEST_SKIP() << "no display";
    list = ::GetDlgItem(window, IDC_RB_LIST);
    EXPECT_FALSE(ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES);
    // The old bin's totals count its files, not its two housekeeping files.
    EXPECT_EQ(dialog->FileCount(), 1);
    EXPECT_EQ(dialog->SizeTotal(), 12u);
}

TEST_F(ContentsDialogTest, StoredMethodChoosesTheButtonAndTheMiddleLabel)
{
    const struct
    {
        std::uint32_t stored;
        int checked;
        const wchar_t* middle;
        ShredAlgorithmId chosen;
    } cases[] = {
        {0, IDC_RB_METHOD_FIRST, L"shred_algo_short_12@0", 0},
        {5, IDC_RB_METHOD_MIDDLE, L"shred_algo_short_5@0", 5},
        {8, IDC_RB_METHOD_LAST, L"shred_algo_short_12@0", 8},
        {12, IDC_RB_METHOD_MIDDLE, L"shred_algo_short_12@0", 12},
    };
    for (const auto& c : cases) {
        SetStoredMethod(c.stored);
        if (window)
            ::DestroyWindow(window);
        if (!Open())
            GTEST_SKIP() << "no display";
        EXPECT_EQ(::IsDlgButtonChecked(window, c.checked), UINT{BST_CHECKED}) << c.stored;
        EXPECT_EQ(TextOf(window, IDC_RB_METHOD_MIDDLE), c.middle);
        EXPECT_EQ(dialog->ChosenAlgorithm(), c.chosen);
        // The middle button stands for the stored method, or 12 when another button offers it.
        ::CheckRadioButton(window, IDC_RB_METHOD_FIRST, IDC_RB_METHOD_LAST, IDC_RB_METHOD_MIDDLE);
        EXPECT_EQ(dialog->ChosenAlgorithm(),
                  c.stored == 0 || c.stored == 8 ? 12 : static_cast<int>(c.stored));
    }
}

TEST_F(ContentsDialogTest, MissingImageLibraryIsReportedPerPicture)
{
    test.locator.missing.insert(L"Glyphstore.dll");
    if (!Open())
        GTEST_SKIP() << "no display";
    EXPECT_EQ(test.ui.shown,
              std::vector<std::wstring>(4, L"Could not locate necessary dll 'Glyphstore.dll'"));
}

// The progress dialog run modally on a thread of its own, as the run's caller does, while the
// test plays the worker.
class ProgressDialogTest : public ::testing::Test
{
protected:
    void Start()
    {
        test.texts.texts[{L"progress_total", -1}] = L"%d/%d";
        dialog = std::make_unique<ProgressDialog>(test.module.Get(), test.texts, true, 0, nullptr);
        EXPECT_EQ(dialog->SetTotal(3), -1);  // kept until the window exists
        thread = std::thread([this] { dialog->RunModal(nullptr); });
        for (int i = 0; i < 200 && !dialog->Window(); ++i)
            ::Sleep(20);
    }
    void TearDown() override
    {
        if (dialog)
            dialog->Close();
        if (thread.joinable())
            thread.join();
    }
    void Press(int id)
    {
        ::SendMessageW(dialog->Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog->Window(), id)));
    }

    testsupport::ScratchFolder scratch;
    TestEnvironment test{scratch};
    std::unique_ptr<ProgressDialog> dialog;
    std::thread thread;
};

TEST_F(ProgressDialogTest, TotalsAbortAndPause)
{
    Start();
    HWND window = dialog->Window();
    if (!window)
        GTEST_SKIP() << "no display";
    EXPECT_EQ(TextOf(window, IDC_PROGRESS_TOTAL_TEXT), L"0/3");
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(dialog->OnFileFinished(), i);
    EXPECT_EQ(TextOf(window, IDC_PROGRESS_TOTAL_TEXT), L"3/3");
    // A total beyond 16 bits keeps its range.
    EXPECT_EQ(dialog->SetTotal(70000), 70000);
    EXPECT_EQ(::SendDlgItemMessageW(window, IDC_PROGRESS_TOTAL_BAR, PBM_GETRANGE, FALSE, 0),
              LRESULT{70000});

    HWND abort = ::GetDlgItem(window, IDC_PROGRESS_ABORT);
    EXPECT_FALSE(::IsWindowVisible(abort));
    char abortFlag = 0;
    EXPECT_TRUE(dialog->SetAbortFlag(&abortFlag));
    EXPECT_TRUE(::IsWindowVisible(abort));

    // Pause resets the engine's event, Continue sets it again.
    core::UniqueEvent first(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    HANDLE reported = first.Get();
    EXPECT_EQ(dialog->SetPauseEvent(reinterpret_cast<void**>(&reported)), 1);
    Press(IDC_PROGRESS_PAUSE);
    EXPECT_EQ(::WaitForSingleObject(first.Get(), 0), DWORD{WAIT_TIMEOUT});
    EXPECT_EQ(TextOf(window, IDC_PROGRESS_PAUSE), L"continue_operation@0");
    Press(IDC_PROGRESS_PAUSE);
    EXPECT_EQ(::WaitForSingleObject(first.Get(), 0), DWORD{WAIT_OBJECT_0});
    EXPECT_EQ(TextOf(window, IDC_PROGRESS_PAUSE), L"pause_operation@0");

    // A pause pressed after that engine call ended holds the next call's event.
    dialog->EngineCallEnded();
    first.Reset();
    Press(IDC_PROGRESS_PAUSE);
    core::UniqueEvent second(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    reported = second.Get();
    dialog->SetPauseEvent(reinterpret_cast<void**>(&reported));
    EXPECT_EQ(::WaitForSingleObject(second.Get(), 0), DWORD{WAIT_TIMEOUT});

    // Abort while paused lets the engine run on to read the flag.
    Press(IDC_PROGRESS_ABORT);
    EXPECT_EQ(abortFlag, 1);
    EXPECT_FALSE(::IsWindowEnabled(abort));
    EXPECT_EQ(::WaitForSingleObject(second.Get(), 0), DWORD{WAIT_OBJECT_0});
}

TEST_F(ProgressDialogTest, WithoutAWindowEveryOperationAnswersMinusOneButRowsAreLogged)
{
    ProgressDialog silent(test.module.Get(), test.texts, false, 0, nullptr);
    EXPECT_EQ(silent.SetTotal(3), -1);
    EXPECT_EQ(silent.SetCurrentPercent(50), -1);
    EXPECT_EQ(silent.OnFileFinished(), -1);
    char flag = 0;
    EXPECT_FALSE(silent.SetAbortFlag(&flag));
    HANDLE event = nullptr;
    EXPECT_EQ(silent.SetPauseEvent(reinterpret_cast<void**>(&event)), -1);
}

class SummaryDialogTest : public ::testing::Test
{
protected:
    HWND Open(bool anySuccess, bool anyFailure)
    {
        environment = std::make_unique<TrashwipeEnvironment>(test.Environment());
        dialog = std::make_unique<SummaryDialog>(*environment, 0);
        dialog->SetLogPath(logPath);
        dialog->SetResult(anySuccess, anyFailure);
        return dialog->Create();
    }
    std::wstring ShredLogKey() const
    {
        return L"Software\\company_ntv@0\\" + std::wstring(testing::kTestProduct) +
               L"\\Settings|ShredLog";
    }

    testsupport::ScratchFolder scratch;
    TestEnvironment test{scratch};
    std::unique_ptr<TrashwipeEnvironment> environment;
    std::unique_ptr<SummaryDialog> dialog;
    std::wstring logPath = scratch / L"run.html";
};

TEST_F(SummaryDialogTest, ResultPictureAndStatusFollowTheRows)
{
    const struct
    {
        bool success;
        bool failure;
        const wchar_t* status;
        const wchar_t* explanation;
    } cases[] = {
        {true, false, L"operation_successful@0", L"success_dialog@0"},
        {true, true, L"completed_errors@0", L"errors_dialog@0"},
        {false, true, L"operation_failed@0", L"failure_dialog@0"},
        {false, false, L"operation_failed@0", L"failure_dialog@0"},
    };
    for (const auto& c : cases) {
        HWND window = Open(c.success, c.failure);
        if (!window)
            GTEST_SKIP() << "no display";
        EXPECT_EQ(TextOf(window, IDC_SUMMARY_STATUS), c.status);
        EXPECT_EQ(TextOf(window, IDC_SUMMARY_EXPLANATION), c.explanation);
        EXPECT_NE(::SendDlgItemMessageW(window, IDC_SUMMARY_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0),
                  0);
        ::DestroyWindow(window);
    }
    EXPECT_TRUE(test.ui.shown.empty());
}

TEST_F(SummaryDialogTest, StoredChoiceShredsTheLogWhenTheDialogCloses)
{
    scratch.Write("run.html", "<html></html>");
    test.store.dwords[ShredLogKey()] = 1;
    HWND window = Open(true, false);
    if (!window)
        GTEST_SKIP() << "no display";
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_SUMMARY_SHRED_LOG), UINT{BST_CHECKED});
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_SUMMARY_VIEW_LOG, BN_CLICKED), 0);
    EXPECT_EQ(test.ui.opened, std::vector<std::wstring>{logPath});
    ::DestroyWindow(window);
    EXPECT_FALSE(testsupport::FileExists(logPath));
    EXPECT_EQ(test.store.dwords[ShredLogKey()], 1u);
    EXPECT_TRUE(test.ui.shown.empty());
}

TEST_F(SummaryDialogTest, ClearingTheChoiceKeepsTheLogAndAFailedShredIsReported)
{
    scratch.Write("run.html", "<html></html>");
    test.store.dwords[ShredLogKey()] = 1;
    HWND window = Open(true, false);
    if (!window)
        GTEST_SKIP() << "no display";
    // A click on the text toggles the box.
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_SUMMARY_SHRED_LOG_TEXT, STN_CLICKED), 0);
    ::DestroyWindow(window);
    EXPECT_EQ(test.store.dwords[ShredLogKey()], 0u);
    EXPECT_TRUE(testsupport::FileExists(logPath));

    test.locator.missing.insert(kShredLibrary);
    window = Open(true, false);
    ::CheckDlgButton(window, IDC_SUMMARY_SHRED_LOG, BST_CHECKED);
    ::DestroyWindow(window);
    EXPECT_EQ(test.ui.shown,
              (std::vector<std::wstring>{L"Could not locate necessary dll 'Filewipe.dll'",
                                         L"error_shred0@0"}));
    EXPECT_EQ(test.ui.captions.back(), testing::kTestProduct);
}

// Wine's per-program version setting reaches every version branch of the shredder.
TEST(TrashwipeVersions, DecisionsUnderWinesVersionSetting)
{
    const wchar_t* key = L"Software\\Wine\\AppDefaults\\trashwipe_version_probe.exe";
    const struct
    {
        const wchar_t* setting;
        unsigned major;
        unsigned minor;
        bool newBin;
        bool folderColumn;
        bool version6;
    } cases[] = {
        {L"win98", 4, 10, false, false, false}, {L"nt40", 4, 0, false, false, false},
        {L"win2k", 5, 0, true, false, false},   {L"winxp", 5, 1, true, true, false},
        {L"vista", 6, 0, true, true, true},     {L"win10", 6, 2, true, true, true},
    };
    const std::string probe = testsupport::TestProgramFolder() + "trashwipe_version_probe.exe";
    for (const auto& c : cases) {
        testsupport::WriteRegistryText(HKEY_CURRENT_USER, key, L"Version", c.setting);
        const testsupport::ProcessResult result = testsupport::RunProcess(probe, {});
        ASSERT_TRUE(result.started);
        const std::uint32_t code = result.exitCode;
        EXPECT_EQ((code >> 4) & 0xFF, c.major) << std::string(c.setting, c.setting + 5);
        EXPECT_EQ(code >> 12, c.minor);
        EXPECT_EQ((code & 1) != 0, c.newBin);
        EXPECT_EQ((code & 2) != 0, c.folderColumn);
        EXPECT_EQ((code & 4) != 0, c.version6);
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key);
}

TEST(TrashwipeExport, SilentCallOverAnEmptyBinAnswersZero)
{
    const std::string driver = testsupport::TestProgramFolder() + "trashwipe_driver.exe";
    testsupport::ProcessOptions options;
    options.timeoutMs = 60000;
    const testsupport::ProcessResult result = testsupport::RunProcess(driver, options);
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
}

}  // namespace
}  // namespace trashwipe
