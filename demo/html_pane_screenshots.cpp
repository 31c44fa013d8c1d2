// Shows an HTML document with a form in the page's HTML pane, types into its first text box and
// gives the box the focus, then writes a PNG picture of the page into the folder given first.
// scripts/write_screenshots.sh runs it on demo/html_pane_form.htm.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "setup/forms/component_reader.h"
#include "setup/forms/text_form.h"
#include "setup/ui/capture_win32.h"
#include "setup/ui/html_pane.h"

#include "page_application_win32.h"

namespace forms = setup::forms;
namespace ui = setup::ui;

namespace {

constexpr const char* kPage = R"(object HtmlFormPage: TForm
  Left = 60
  Top = 40
  BorderStyle = bsDialog
  Caption = 'HTML pane with a form'
  ClientWidth = 480
  ClientHeight = 360
  object Pane: THtmlPane
    Left = 8
    Top = 8
    Width = 464
    Height = 344
    BorderStyle = htSingle
  end
end
)";

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: html_pane_screenshots <folder> <html file>\n");
        return 2;
    }
    PageApplication page;
    try {
        ui::TForm form;
        page.app.AddForm(form);
        forms::ComponentReader reader(page.registry);
        reader.OnError = [](const std::string&) { return true; };
        reader.ReadRootComponent(forms::ReadTextForm(kPage), form);
        form.Show();
        page.app.ProcessMessages();
        auto* pane = dynamic_cast<ui::THtmlPane*>(form.FindComponent("Pane"));
        if (!pane)
            return 1;
        pane->LoadFromFile(argv[2]);
        page.app.ProcessMessages();
        // The first text box as a user leaves it: typed into, with the focus.
        HWND paneWindow = reinterpret_cast<HWND>(pane->Peer()->Handle());
        for (HWND child = ::GetWindow(paneWindow, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            char name[16] = {};
            ::GetClassNameA(child, name, sizeof(name));
            if (_stricmp(name, "Edit") == 0 && !(::GetWindowLongA(child, GWL_STYLE) & ES_MULTILINE)) {
                ::SetWindowTextA(child, "Ann Example");
                ::SetFocus(child);
                break;
            }
        }
        page.app.ProcessMessages();
        const std::string target =
            (std::filesystem::path(argv[1]) / "html_pane_form.png").string();
        ui::SavePngFile(ui::CaptureForm(form), target);
        std::printf("%s\n", target.c_str());
        page.app.RemoveForm(form);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
