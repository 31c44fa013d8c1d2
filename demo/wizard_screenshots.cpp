// Shows each page of the sample setup's wizard as the setup shows it (loaded into the page pool,
// bound to the sample's variables and components) and writes a PNG picture of it into the folder
// given first, named after the page; then the three media retry questions as they first appear
// (retry_extraction.png, retry_download.png, retry_proxy.png), and the language form.
// scripts/screenshot.sh runs it on demo/sample_setup/pages.
//   wizard_screenshots OUTPUT_FOLDER PAGES_FOLDER LICENCE_FILE PAGE...
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "setup/engine/components/statements_components.h"
#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/forms/binary_form.h"
#include "setup/forms/text_form.h"
#include "setup/ui/application.h"
#include "setup/ui/capture_win32.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/window_peer_win32.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/language_form.h"
#include "setup/wizard/media_retry_forms.h"
#include "setup/wizard/page_binding.h"
#include "setup/wizard/page_system_win32.h"
#include "setup/wizard/pool_template.h"

namespace fs = std::filesystem;
namespace wizard = setup::wizard;

namespace {

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The page file the setup reads: the text form compiled, with its resource header.
void WritePageFile(const fs::path& source, const fs::path& target)
{
    const auto stream = setup::forms::WriteBinaryForm(setup::forms::ReadTextForm(ReadText(source)));
    auto file = setup::forms::FormResourceHeader(source.stem().string(), stream.size());
    file.insert(file.end(), stream.begin(), stream.end());
    std::ofstream(target, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: wizard_screenshots OUTPUT PAGES LICENCE PAGE...\n");
        return 2;
    }
    const fs::path output = argv[1];
    const fs::path pages = argv[2];
    const fs::path support = fs::temp_directory_path() / "wizard-screenshots";
    fs::create_directories(support);
    fs::copy_file(argv[3], support / "license.txt", fs::copy_options::overwrite_existing);
    // The welcome page's HTML document and its picture lie beside the licence.
    for (const char* name : {"index.htm", "logo.png"})
        if (const fs::path beside = fs::path(argv[3]).parent_path() / name; fs::exists(beside))
            fs::copy_file(beside, support / name, fs::copy_options::overwrite_existing);

    setup::ui::Win32PeerFactory peers;
    setup::ui::Win32MessageLoop loop;
    setup::ui::Win32TimerService timers;
    setup::ui::TApplication application(loop, &peers, &timers);
    loop.SetApplication(&application);
    setup::engine::EngineState engine;
    auto& variables = engine.Variables;
    variables.Set("TITLE", "Vontar Wipestation Sample", "screenshots");
    variables.Set("TARGETDIR", "C:\\Program Files\\Vontar\\Wipestation Sample\\", "screenshots");
    variables.Set("PROGRESS", "40", "screenshots");
    variables.Set("PROGRESSTEXT", "Copying new files", "screenshots");
    variables.Set("RESULT", "SUCCESS", "screenshots");
    auto& components = setup::engine::RunComponentModel(engine);
    components.DefineComponent("Shredding libraries",
                               "The engine and the wipers that destroy files beyond recovery.", true);
    components.DefineComponent("Readme", "A short text about the sample.", true);
    wizard::Win32PageSystem system;
    wizard::DialogRuntime runtime(engine, application, system);
    wizard::InitDialogPool(runtime, support.string() + "\\");

    int status = 0;
    for (int i = 4; i < argc; ++i) {
        const std::string name = argv[i];
        try {
            const fs::path pageFile = support / (name + ".dfm");
            WritePageFile(pages / (name + ".txt"), pageFile);
            fs::copy_file(pages / (name + ".qbrf"), pageFile.string() + ".qbrf",
                          fs::copy_options::overwrite_existing);
            const std::string key = std::to_string(i);
            wizard::TPoolTemplate& page = wizard::LoadDialog(runtime, key, pageFile.string());
            wizard::PrepareDialog(runtime, key);
            wizard::ShowDialog(runtime, key, false, false);
            application.ProcessMessages();
            ::Sleep(200);
            application.ProcessMessages();
            const std::string target = (output / ("wizard_" + name + ".png")).string();
            setup::ui::SavePngFile(setup::ui::CaptureForm(page), target);
            std::printf("%s\n", target.c_str());
            wizard::ReleaseDialog(runtime, key);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), error.what());
            status = 1;
        }
    }
    try {
        wizard::TqbrExtract extraction(application, *engine.Messages);
        wizard::TqbrProxyEx download(application, *engine.Messages);
        wizard::TqbrProxy proxy(application, *engine.Messages);
        const std::pair<setup::ui::TForm*, const char*> questions[] = {
            {&extraction, "retry_extraction"},
            {&download, "retry_download"},
            {&proxy, "retry_proxy"}};
        for (const auto& [form, name] : questions) {
            form->Show();
            application.ProcessMessages();
            ::Sleep(200);
            application.ProcessMessages();
            const std::string target = (output / (std::string(name) + ".png")).string();
            setup::ui::SavePngFile(setup::ui::CaptureForm(*form), target);
            std::printf("%s\n", target.c_str());
            form->Hide();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "retry questions: %s\n", error.what());
    }

    // The language form the setup shows first when it offers translations.
    try {
        wizard::TSetLanguage language(application, *engine.Messages, {6, 1});
        for (const char* name : {"English", "German", "French"})
            language.langCombo->Items()->Add(name);
        language.langCombo->SetItemIndex(1);
        language.Show();
        application.ProcessMessages();
        ::Sleep(200);
        application.ProcessMessages();
        const std::string target = (output / "wizard_SetLanguage.png").string();
        setup::ui::SavePngFile(setup::ui::CaptureForm(language), target);
        std::printf("%s\n", target.c_str());
        language.Hide();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "SetLanguage: %s\n", error.what());
        status = 1;
    }
    wizard::FreeDialogPool(runtime);
    std::error_code ignored;
    fs::remove_all(support, ignored);
    return status;
}
