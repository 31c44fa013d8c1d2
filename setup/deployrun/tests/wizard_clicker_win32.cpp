// Runs a setup program and goes through the sample setup's wizard as a user would, by posting
// clicks and keys to its page windows: Next on the welcome page; on the licence page Next must be
// disabled until the text has been paged through to its end with the keyboard; on the folder page
// Back once and then Next; Install on the components page; the progress page is watched; Finish
// ends the run. Prints one line per step, the progress texts seen, the message boxes and the exit
// code; exits 0 only when every page was seen and the setup ended with 0.
//   wizard_clicker SETUP_PROGRAM TRACE_FILE [ARGUMENTS]
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/process_runner_win32.h"
#include "tests/support/program_windows_win32.h"

namespace {

struct Child
{
    HWND window;
    std::string className;
    std::string text;
};

struct Page
{
    HWND window = nullptr;
    std::string kind;  // welcome, licence, folder, components, progress, finish or empty
    std::vector<Child> children;
    HWND Find(const std::string& text) const
    {
        for (const Child& child : children)
            if (child.text == text)
                return child.window;
        return nullptr;
    }
    HWND FindClass(const std::string& className) const
    {
        for (const Child& child : children)
            if (_stricmp(child.className.c_str(), className.c_str()) == 0)
                return child.window;
        return nullptr;
    }
};

std::string WindowText(HWND window)
{
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data)
{
    char className[128] = {};
    ::GetClassNameA(window, className, sizeof className);
    reinterpret_cast<std::vector<Child>*>(data)->push_back({window, className, WindowText(window)});
    return TRUE;
}

std::string KindOf(const Page& page)
{
    if (page.Find("&I Agree"))
        return "licence";
    if (page.Find("B&rowse..."))
        return "folder";
    if (page.Find("&Install"))
        return "components";
    if (page.Find("&Finish"))
        return "finish";
    // The start-up's preparing window has a progress bar too, but no Cancel.
    if (page.FindClass("msctls_progress32") && page.Find("Cancel"))
        return "progress";
    if (page.Find("&Next >") && !page.Find("< &Back"))
        return "welcome";
    return {};
}

// The program's pages now on screen, each with its children and what it is.
std::vector<Page> PagesOf(const std::string& program)
{
    std::vector<Page> pages;
    for (HWND window : testsupport::VisibleWindowsOf(program)) {
        Page page;
        page.window = window;
        ::EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&page.children));
        page.kind = KindOf(page);
        pages.push_back(std::move(page));
    }
    return pages;
}

void Click(HWND control)
{
    RECT box{};
    ::GetClientRect(control, &box);
    const LPARAM centre = MAKELPARAM(box.right / 2, box.bottom / 2);
    ::PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::PostMessageA(control, WM_LBUTTONUP, 0, centre);
}

class Clicker
{
public:
    explicit Clicker(std::string program) : m_program(std::move(program)) {}

    void Run(const std::atomic<bool>& stop)
    {
        while (!stop) {
            // Only one page at a time: while the next one comes up the old one may still show.
            std::vector<const Page*> known;
            const std::vector<Page> pages = PagesOf(m_program);
            for (const Page& page : pages) {
                if (page.kind.empty())
                    Describe(page);
                else
                    known.push_back(&page);
            }
            if (known.size() == 1)
                Act(*known.front());
            ::Sleep(100);
        }
    }

    std::vector<std::string> steps;
    std::vector<std::string> progressTexts;
    std::set<std::string> seen;

private:
    void Step(const std::string& line)
    {
        steps.push_back(line);
        std::printf("  %s\n", line.c_str());
        std::fflush(stdout);
    }

    void Act(const Page& page)
    {
        if (page.kind == "progress") {
            WatchProgress(page);
            return;
        }
        // One action per appearance of a page; a page left waiting for 5 s gets it again.
        const bool same = page.window == m_lastWindow && page.kind == m_lastKind;
        if (same && ::GetTickCount() - m_lastAction < 5000)
            return;
        if (!same)
            Step("page " + page.kind);
        seen.insert(page.kind);
        m_lastWindow = page.window;
        m_lastKind = page.kind;
        m_lastAction = ::GetTickCount();
        if (page.kind == "welcome") {
            Click(page.Find("&Next >"));
        } else if (page.kind == "licence") {
            ReadLicence(page);
        } else if (page.kind == "folder") {
            if (!m_wentBack) {
                m_wentBack = true;
                Step("back from the folder page");
                Click(page.Find("< &Back"));
            } else {
                Click(page.Find("&Next >"));
            }
        } else if (page.kind == "components") {
            Click(page.Find("&Install"));
        } else if (page.kind == "finish") {
            Click(page.Find("&Finish"));
        }
    }

    // A window that is none of the pages (a message box, an unexpected page), told once.
    void Describe(const Page& page)
    {
        if (!m_described.insert(page.window).second)
            return;
        std::string line = "other window \"" + WindowText(page.window) + "\":";
        for (const Child& child : page.children)
            line += " " + child.className + "[" + child.text + "]";
        Step(line);
    }

    // Next stays disabled until the keyboard has paged the text to its end.
    void ReadLicence(const Page& page)
    {
        HWND next = page.Find("&I Agree");
        HWND memo = page.FindClass("Edit");
        if (!::IsWindowEnabled(next)) {
            Step("licence: Next disabled before the text was read");
            for (int key = 0; key < 40 && !::IsWindowEnabled(next); ++key) {
                ::PostMessageA(memo, WM_KEYDOWN, VK_NEXT, 1);
                ::PostMessageA(memo, WM_KEYUP, VK_NEXT, 0xC0000001);
                ::Sleep(100);
            }
            if (!::IsWindowEnabled(next)) {
                Step("licence: Next still disabled after paging to the end");
                return;
            }
            Step("licence: Next enabled at the end of the text");
        }
        Click(next);
    }

    void WatchProgress(const Page& page)
    {
        if (seen.insert("progress").second)
            Step("page progress");
        for (const Child& child : page.children)
            if (_stricmp(child.className.c_str(), "Static") == 0) {
                const std::string text = WindowText(child.window);
                if (!text.empty() && (progressTexts.empty() || progressTexts.back() != text))
                    progressTexts.push_back(text);
            }
    }

    std::string m_program;
    HWND m_lastWindow = nullptr;
    std::string m_lastKind;
    DWORD m_lastAction = 0;
    bool m_wentBack = false;
    std::set<HWND> m_described;
};

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: wizard_clicker SETUP_PROGRAM TRACE_FILE [ARGUMENTS]\n");
        return 2;
    }
    const std::string program = FullPath(argv[1]);
    testsupport::ProcessOptions options;
    options.traceFile = argv[2];
    options.arguments = "/l=" + options.traceFile;
    for (int i = 3; i < argc; ++i)
        options.arguments += std::string(" ") + argv[i];
    options.timeoutMs = 240000;

    Clicker clicker(program);
    std::atomic<bool> stop{false};
    testsupport::RunningProcess setup(program, options);
    std::thread driver([&] { clicker.Run(stop); });
    const testsupport::ProcessResult result = setup.Wait();
    stop = true;
    driver.join();

    std::printf("  progress texts:");
    for (const std::string& text : clicker.progressTexts)
        std::printf(" [%s]", text.c_str());
    std::printf("\n");
    for (const std::string& box : result.messageBoxes)
        std::printf("  message box: %s\n", box.c_str());
    std::printf("  exit code %lu%s\n", static_cast<unsigned long>(result.exitCode),
                result.timedOut ? " (timed out)" : "");
    bool complete = true;
    for (const char* kind : {"welcome", "licence", "folder", "components", "progress", "finish"})
        if (!clicker.seen.count(kind)) {
            std::printf("  never saw the %s page\n", kind);
            complete = false;
        }
    return complete && result.started && !result.timedOut && result.exitCode == 0 ? 0 : 1;
}
