// Shows each form file named on the command line (a page file, a bare binary form or a text form)
// with the page controls and writes a PNG picture of it into the folder given first, named after
// the file. scripts/screenshot.sh runs it on the forms of the tests.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "setup/forms/binary_form.h"
#include "setup/forms/component_reader.h"
#include "setup/forms/form_errors.h"
#include "setup/forms/text_form.h"
#include "setup/ui/application.h"
#include "setup/ui/capture_win32.h"
#include "setup/ui/file_lister_win32.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/window_peer_win32.h"

#include "page_application_win32.h"

namespace forms = setup::forms;
namespace ui = setup::ui;

namespace {

forms::FormObject ReadForm(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.rfind("object", 0) == 0)
        return forms::ReadTextForm(bytes);
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             bytes.size());
    try {
        return forms::ReadBinaryForm(forms::SkipFormResourceHeader(data));
    } catch (const forms::EInvalidStreamFormat&) {
        return forms::ReadBinaryForm(data);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: form_screenshots <folder> <form file>...\n");
        return 2;
    }
    PageApplication page;
    ui::TApplication& app = page.app;
    forms::ClassRegistry& registry = page.registry;

    int status = 0;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path source = argv[i];
        try {
            ui::TForm form;
            app.AddForm(form);
            forms::ComponentReader reader(registry);
            // Handlers of the form's own class and properties of classes still to come are
            // skipped: the picture shows the controls.
            reader.OnError = [](const std::string&) { return true; };
            reader.ReadRootComponent(ReadForm(source.string()), form);
            form.Show();
            app.ProcessMessages();
            const std::string target =
                (std::filesystem::path(argv[1]) / source.stem()).string() + ".png";
            ui::SavePngFile(ui::CaptureForm(form), target);
            std::printf("%s\n", target.c_str());
            app.RemoveForm(form);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", source.string().c_str(), error.what());
            status = 1;
        }
    }
    return status;
}
