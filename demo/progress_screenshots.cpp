// Shows a progress page file as the setup redraws it while an install runs, and writes PNG
// pictures of it into the folder given first: a byte count above 2^31-1 half done
// ("<page>.png") and the marquee mode ("<page>_marquee.png"). scripts/screenshot.sh runs it on
// the progress page of the tests.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: progress_screenshots <folder> <progress page text form>\n");
        return 2;
    }
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
        app.RemoveForm(shown.form);
        pages.page = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[2], error.what());
        return 1;
    }
    return 0;
}
