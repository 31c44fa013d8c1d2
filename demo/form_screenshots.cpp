// Shows each form file named on the command line (a page file, a bare binary form or a text form)
// with the page controls and writes a PNG picture of it into the folder given first, named after
// the file. scripts/screenshot.sh runs it on the forms of the tests. Shell folder trees that start
// at the desktop are pointed at a small folder tree made in the temporary folder, so the picture
// shows the same folders everywhere.
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
#include "setup/ui/shell_controls.h"

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

// A few folders and files below the temporary folder; its path.
std::string MakeDemoFolders()
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "Setup Folders";
    for (const char* folder : {"", "\\Documents", "\\Documents\\Letters", "\\Pictures",
                               "\\Programs", "\\Programs\\Tools"})
        ::CreateDirectoryA((root + folder).c_str(), nullptr);
    for (const char* file : {"\\readme.txt", "\\setup.log", "\\license.rtf"})
        std::ofstream(root + file) << "demo";
    return root;
}

void PointShellTreesAt(ui::TForm& form, const std::string& folder)
{
    for (std::size_t i = 0; i < form.ComponentCount(); ++i)
        if (auto* tree = dynamic_cast<ui::TNsShellTree*>(form.Component(i)))
            if (ui::IdListCount(tree->BaseFolder()->GetIdList()).value_or(0) == 0)
                tree->BaseFolder()->SetPath(folder);
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
    const std::string demoFolders = MakeDemoFolders();

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
            PointShellTreesAt(form, demoFolders);
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
