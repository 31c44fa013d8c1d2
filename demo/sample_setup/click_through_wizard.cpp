// Starts a setup with its wizard on screen and clicks through its pages as a user would, by
// posted clicks and keys: Next on the welcome page; the licence read to its end with Page Down
// (its Next stays disabled until then); Back from the folder page and forward again; a cancel on
// the components page answered No; Install; the progress page left to run; Finish. Prints each
// page it met and ends with the setup's exit code (99 when a page did not come).
//   click_through_wizard SETUP [ARGUMENTS]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Page
{
    HWND window = nullptr;
    std::vector<std::pair<HWND, std::string>> buttons;
    HWND memo = nullptr;
};

struct Search
{
    DWORD process = 0;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == search->process && ::IsWindowVisible(window))
        search->windows.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data)
{
    auto* page = reinterpret_cast<Page*>(data);
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    char text[128] = {};
    ::GetWindowTextA(window, text, sizeof text);
    if (_stricmp(className, "Button") == 0)
        page->buttons.emplace_back(window, text);
    else if (_stricmp(className, "Edit") == 0 && (::GetWindowLongA(window, GWL_STYLE) & ES_READONLY))
        page->memo = window;
    return TRUE;
}

// The page of the setup on screen now: its visible, enabled top-level window with buttons.
Page CurrentPage(DWORD process)
{
    Search search{process, {}};
    ::EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.windows) {
        Page page;
        page.window = window;
        ::EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&page));
        if (!page.buttons.empty())
            return page;
    }
    return {};
}

HWND Button(const Page& page, const std::string& text)
{
    for (const auto& [window, caption] : page.buttons)
        if (caption == text)
            return window;
    return nullptr;
}

std::string Name(const Page& page)
{
    if (Button(page, "&Finish"))
        return "finish";
    if (Button(page, "&I Agree"))
        return "licence";
    if (Button(page, "&Install"))
        return "components";
    if (Button(page, "B&rowse..."))
        return "folder";
    if (Button(page, "&Next >"))
        return "welcome";
    if (Button(page, "&Yes") || Button(page, "&No"))
        return "question";
    if (Button(page, "Cancel"))
        return "progress";
    return "unknown";
}

void Click(HWND button)
{
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: click_through_wizard SETUP [ARGUMENTS]\n");
        return 2;
    }
    std::string commandLine = "\"" + std::string(argv[1]) + "\"";
    for (int i = 2; i < argc; ++i)
        commandLine += " \"" + std::string(argv[i]) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s\n", argv[1]);
        return 2;
    }
    ::CloseHandle(process.hThread);

    // What to do on each page, in the order the pages should come.
    const std::vector<std::string> expected = {"welcome", "licence", "folder", "licence",
                                               "folder",  "components", "question",
                                               "components", "finish"};
    std::size_t step = 0;
    bool licenceLockedAtFirst = false;
    std::string last;
    int idle = 0;
    while (::WaitForSingleObject(process.hProcess, 250) == WAIT_TIMEOUT) {
        const Page page = CurrentPage(process.dwProcessId);
        const std::string name = page.window ? Name(page) : "";
        if (name.empty() || name == "progress" || name == "unknown" || step >= expected.size()) {
            if (++idle > 480) {  // two minutes without a page to act on
                std::printf("no page came after %s\n", last.c_str());
                ::TerminateProcess(process.hProcess, 99);
                break;
            }
            continue;
        }
        if (name != expected[step]) {
            if (++idle > 480) {
                std::printf("expected the %s page, saw %s\n", expected[step].c_str(), name.c_str());
                ::TerminateProcess(process.hProcess, 99);
                break;
            }
            continue;
        }
        idle = 0;
        std::printf("page %s\n", name.c_str());
        std::fflush(stdout);
        last = name;
        if (name == "welcome") {
            Click(Button(page, "&Next >"));
        } else if (name == "licence") {
            HWND agree = Button(page, "&I Agree");
            if (step == 1)
                licenceLockedAtFirst = !::IsWindowEnabled(agree);
            for (int i = 0; i < 200 && !::IsWindowEnabled(agree); ++i) {
                ::PostMessageA(page.memo, WM_KEYDOWN, VK_NEXT, 0);
                ::PostMessageA(page.memo, WM_KEYUP, VK_NEXT, 0xC0000001);
                ::Sleep(50);
            }
            std::printf("licence: I Agree %s at first, %s after reading\n",
                        licenceLockedAtFirst ? "disabled" : "enabled",
                        ::IsWindowEnabled(agree) ? "enabled" : "still disabled");
            Click(agree);
        } else if (name == "folder") {
            Click(Button(page, step == 2 ? "< &Back" : "&Next >"));
        } else if (name == "components") {
            Click(Button(page, step == 5 ? "Cancel" : "&Install"));
        } else if (name == "question") {
            Click(::GetDlgItem(page.window, IDNO));
        } else if (name == "finish") {
            Click(Button(page, "&Finish"));
        }
        ++step;
        // The page takes the click before the next look.
        ::Sleep(500);
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    std::printf("pages clicked: %zu of %zu; exit code %lu\n", step, expected.size(), exitCode);
    if (step != expected.size() || !licenceLockedAtFirst)
        return 99;
    return static_cast<int>(exitCode);
}
