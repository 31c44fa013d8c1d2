// Draws Trashwipe's three dialogs over a fixture Recycle Bin and writes each as a 24-bit BMP into
// the folder given as the argument: the contents list, the progress of a run and its summary.
#include "suite/recyclebin/contents_dialog_win32.h"
#include "suite/recyclebin/progress_dialog_win32.h"
#include "suite/recyclebin/summary_dialog_win32.h"
#include "suite/recyclebin/tests/trashwipe_test_environment_win32.h"
#include "tests/support/window_capture_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <thread>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const std::wstring folder = std::wstring(argv[1]) + L"\\";
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    testsupport::ScratchFolder scratch;
    trashwipe::testing::TestEnvironment test(scratch);
    test.texts.texts[{L"recbin_information", -1}] = L"%d files, %I64u MB";
    test.texts.texts[{L"progress_total", -1}] = L"Total progress (%d/%d)";
    trashwipe::TrashwipeEnvironment environment = test.Environment();
    int status = 0;

    trashwipe::ContentsDialog contents(environment, true);
    if (!testsupport::CaptureAndClose(contents.Create(), folder + L"trashwipe_contents.bmp"))
        status = 4;

    trashwipe::ProgressDialog progress(test.module.Get(), test.texts, true, 0, nullptr);
    progress.SetTotal(3);
    std::thread run([&] { progress.RunModal(nullptr); });
    for (int i = 0; i < 200 && !progress.Window(); ++i)
        ::Sleep(20);
    char abortFlag = 0;
    progress.SetAbortFlag(&abortFlag);
    progress.OnFileFinished();
    progress.SetCurrentPercent(60);
    ::Sleep(700);
    if (!progress.Window() ||
        !testsupport::SaveWindow(progress.Window(), folder + L"trashwipe_progress.bmp"))
        status = 5;
    progress.Close();
    run.join();

    trashwipe::SummaryDialog summary(environment, 0);
    summary.SetLogPath(scratch / L"run.html");
    summary.SetResult(true, true);
    if (!testsupport::CaptureAndClose(summary.Create(), folder + L"trashwipe_summary.bmp"))
        status = 7;
    std::printf("%s\n",
                status == 0 ? "trashwipe screenshots written" : "trashwipe screenshots failed");
    return status;
}
