// Shows a progress page file as the setup redraws it while an install runs, and writes PNG
// pictures of it into the folder given first: a byte count above 2^31-1 half done
// ("<page>.png") and the marquee mode ("<page>_marquee.png"); with --download, also the page
// while a web media block downloads from a slow server of our own on 127.0.0.1, a quarter in
// ("<page>_download.png"). scripts/screenshot.sh runs it on the progress page of the tests and
// on the sample setup's.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "setup/engine/media/media_workers_win32.h"
#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/workers/worker_protocol.h"
#include "setup/forms/component_reader.h"
#include "setup/forms/text_form.h"
#include "setup/ui/application.h"
#include "setup/ui/capture_win32.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/timer.h"
#include "setup/ui/window_peer_win32.h"
#include "setup/wizard/progress/progress_page_cycle.h"
#include "setup/wizard/progress/progress_runtime.h"
#include "tests/support/loopback_http_server_win32.h"

namespace forms = setup::forms;
namespace ui = setup::ui;
namespace wizard = setup::wizard;

namespace {

// The page alone: captions expand their variables, no handlers, no rules.
class ShownPage final : public wizard::IProgressPage
{
public:
    ShownPage(wizard::ProgressRuntime& runtime, setup::engine::ScriptVariables& variables)
        : timer(new ui::TTimer(&form)), cycle(runtime, *this), m_variables(variables)
    {
        timer->SetEnabled(false);
    }

    ui::TForm& Form() override { return form; }
    ui::TTimer& PollTimer() override { return *timer; }
    wizard::ProgressPageCycle& Cycle() override { return cycle; }
    void AttachClickHandler(ui::TControl&, wizard::PageClickHandler) override {}
    void RefreshCaption(ui::TControl& control) override
    {
        control.SetCaption(m_variables.Expand(control.Caption()));
    }
    void ApplyControlRules() override {}
    void SetResultCode(int) override {}
    std::uintptr_t WindowHandle() override { return 0; }

    ui::TForm form;
    ui::TTimer* timer;
    wizard::ProgressPageCycle cycle;

private:
    setup::engine::ScriptVariables& m_variables;
};

// The pool of one page, on screen once it is there.
class OnePage final : public wizard::IProgressPages
{
public:
    std::string ActiveDialogName() override { return page ? "1" : ""; }
    wizard::IProgressPage* FindPage(const std::string&) override { return page; }

    wizard::IProgressPage* page = nullptr;
};

class NoInstallThread final : public wizard::IInstallThread
{
public:
    void SetProgressWindow(std::uintptr_t) override {}
    void Start() override {}
    void RunToEnd() override {}
};

void Save(ui::TApplication& app, ui::TForm& form, const std::filesystem::path& target)
{
    app.ProcessMessages();
    ui::SavePngFile(ui::CaptureForm(form), target.string());
    std::printf("%s\n", target.string().c_str());
}

// The page redrawn from the download worker's progress as the setup's page is; pictured once a
// quarter of the block has arrived.
void SaveWhileDownloading(ui::TApplication& app, ui::Win32TimerService& timers, ShownPage& shown,
                          wizard::ProgressRuntime& runtime, setup::engine::WorkerFlags& flags,
                          const std::filesystem::path& target)
{
    const std::string block(2 << 20, 'm');
    testsupport::LoopbackHttpServer server({{"/media/Docs.7zip", 200, block, 0, 60}});
    setup::engine::MediaWorkerRun run(runtime.Variables().Store(), flags);
    run.caption = "Downloading Web Media: Docs";
    download::DownloadState state;
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "Docs.7zip";
    download::DownloadRequest request;
    request.target = file.string();
    const setup::engine::GrabMediaJob job{{server.Url("/media/Docs.7zip")}, request, state, {}};
    runtime.SetThreadProgress(run.caption, 0, 100, 0);
    bool saved = false;
    const std::uintptr_t timer = timers.StartTimer(100, [&] {
        runtime.UpdateProgressDialog("$TARQ$", false, 0, 0, 0);
        const auto stored = setup::engine::ReadThreadProgress(runtime.Variables().Store());
        if (!saved && stored.position && *stored.position >= 25) {
            saved = true;
            Save(app, shown.form, target);
        }
    });
    const bool downloaded = setup::engine::GrabMedia(run, job);
    timers.StopTimer(timer);
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (!downloaded || !saved)
        throw std::runtime_error("the download was not pictured");
}

}  // namespace

int main(int argc, char** argv)
{
    const bool download = argc == 4 && std::string(argv[3]) == "--download";
    if (argc != 3 && !download) {
        std::fprintf(
            stderr,
            "usage: progress_screenshots <folder> <progress page text form> [--download]\n");
        return 2;
    }
    // The download worker reports through the GUI thread.
    setup::rtl::InitGuiThread();
    ui::Win32PeerFactory factory;
    ui::Win32MessageLoop loop;
    ui::Win32TimerService timers;
    ui::TApplication app(loop, &factory, &timers);
    loop.SetApplication(&app);

    setup::engine::ScriptVariables variables;
    setup::engine::WorkerFlags flags;
    OnePage pages;
    NoInstallThread installer;
    wizard::ProgressRuntime runtime({variables, flags, pages, installer, true});
    try {
        std::ifstream in(argv[2]);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        ShownPage shown(runtime, variables);
        pages.page = &shown;
        app.AddForm(shown.form);
        forms::ClassRegistry registry;
        ui::RegisterPageClasses(registry);
        forms::ComponentReader reader(registry);
        reader.OnError = [](const std::string&) { return true; };
        reader.ReadRootComponent(forms::ReadTextForm(text), shown.form);
        shown.form.Show();

        const std::filesystem::path folder = argv[1];
        const std::string stem = std::filesystem::path(argv[2]).stem().string();
        variables.Set("DOWNLOADED", "40", "demo");
        runtime.SetThreadProgress("Copying Wipestation.exe", 3000000000 / 2, 3000000000, 0);
        runtime.UpdateProgressDialog("$TARQ$", true, 0, 0, 0);
        Save(app, shown.form, folder / (stem + ".png"));

        variables.Set("PROGRESSMODE", "MARQUEE", "demo");
        runtime.SetThreadProgress("Waiting for Windows Installer", -1, 0, 0);
        runtime.UpdateProgressDialog("$TARQ$", true, 0, 0, 0);
        Save(app, shown.form, folder / (stem + "_marquee.png"));
        if (download) {
            variables.Set("PROGRESSMODE", "", "demo");
            SaveWhileDownloading(app, timers, shown, runtime, flags,
                                 folder / (stem + "_download.png"));
        }
        app.RemoveForm(shown.form);
        pages.page = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[2], error.what());
        return 1;
    }
    return 0;
}
