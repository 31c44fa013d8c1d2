// Trashwipe at work: a fixture Recycle Bin (a folder and a manifest of former paths, since Wine's
// bin keeps neither) shredded silently through the real Filewipe, and the HTML log it wrote.
#include "suite/recyclebin/contents_dialog_win32.h"
#include "suite/recyclebin/tests/trashwipe_test_environment_win32.h"

#include <commctrl.h>

#include <cstdio>

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    testsupport::ScratchFolder scratch;
    trashwipe::testing::TestEnvironment test(scratch);
    trashwipe::TrashwipeEnvironment environment = test.Environment();
    trashwipe::ContentsDialog dialog(environment, false);
    if (dialog.Run() == -1) {
        std::printf("trashwipe: the dialog could not be created\n");
        return 1;
    }
    bool ok = true;
    for (const trashwipe::RecycledItem& item : dialog.Items().Items()) {
        const bool gone =
            !testsupport::FileExists(item.realPath) && !testsupport::FolderExists(item.realPath);
        std::printf("trashwipe: %ls (%d files, %llu bytes) %s\n", item.displayPath.c_str(),
                    item.fileCount, static_cast<unsigned long long>(item.size),
                    gone ? "shred" : "STILL THERE");
        ok = ok && gone;
    }
    std::printf("trashwipe: Recycle Bin emptied %d time(s)\n", test.bin.emptyCalls);
    const std::vector<std::wstring> logs = test.Logs();
    ok = ok && logs.size() == 1;
    for (const std::wstring& name : logs) {
        std::printf("trashwipe: log %ls\\%ls:\n", test.logFolder.c_str(), name.c_str());
        std::printf("%s\n", test.LogText(name).c_str());
    }
    std::printf("%s\n", ok ? "trashwipe demo finished" : "trashwipe demo failed");
    return ok ? 0 : 1;
}
