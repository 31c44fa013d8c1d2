// Trashwipe at work: a fixture Recycle Bin (a folder and a manifest of former paths, since Wine's
// bin keeps neither) shredded silently through the real Filewipe, and the HTML log it wrote. The
// texts are the tests' own, which show each text's key and language ("successful@0").
#include "demo/captured_output.h"
#include "suite/recyclebin/contents_dialog_win32.h"
#include "suite/recyclebin/tests/trashwipe_test_environment_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The shred engine prints "milliseconds;MiB per second" for each object and Trashwipe the object's
// result code after it; shown as one line per object.
void PrintEngineLines(const std::vector<std::string>& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t semicolon = line.find(';');
        std::string shown = semicolon == std::string::npos
                                ? line
                                : "shredded in " + line.substr(0, semicolon) + " ms";
        if (i + 1 < lines.size() && lines[i + 1].rfind("errorCode: ", 0) == 0)
            shown += ", result " + lines[++i].substr(11);
        std::printf("  %-30s %s\n", "the engine printed", shown.c_str());
    }
}

}  // namespace

int main()
{
    std::printf("== Trashwipe: a fixture Recycle Bin shredded silently through Filewipe\n");
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    testsupport::ScratchFolder scratch;
    trashwipe::testing::TestEnvironment test(scratch);
    trashwipe::TrashwipeEnvironment environment = test.Environment();
    trashwipe::ContentsDialog dialog(environment, false);
    demo::CapturedOutput engineOutput;
    const int run = dialog.Run();
    const std::vector<std::string> engineLines = engineOutput.Stop();
    if (run == -1) {
        std::printf("  the dialog could not be created\n");
        return 1;
    }
    PrintEngineLines(engineLines);
    bool ok = true;
    for (const trashwipe::RecycledItem& item : dialog.Items().Items()) {
        const bool gone =
            !testsupport::FileExists(item.realPath) && !testsupport::FolderExists(item.realPath);
        std::printf("  %-30ls %d file(s), %llu bytes, %s\n", item.displayPath.c_str(),
                    item.fileCount, static_cast<unsigned long long>(item.size),
                    gone ? "shredded" : "STILL THERE");
        ok = ok && gone;
    }
    std::printf("  %-30s %d time(s)\n", "Recycle Bin emptied", test.bin.emptyCalls);
    const std::vector<std::wstring> logs = test.Logs();
    ok = ok && logs.size() == 1;
    for (const std::wstring& name : logs) {
        std::printf("  %-30s %ls\\%ls, its text:\n", "HTML log written", test.logFolder.c_str(),
                    name.c_str());
        // Its text without the markup, line by line.
        std::string line;
        bool inTag = false;
        for (const char c : test.LogText(name) + "\n") {
            if (c == '<' || c == '>') {
                inTag = c == '<';
            } else if (c == '\n') {
                if (!line.empty())
                    std::printf("    %s\n", line.c_str());
                line.clear();
            } else if (!inTag && c != '\r') {
                line += c;
            }
        }
    }
    std::fflush(stdout);
    return ok ? 0 : 1;
}
