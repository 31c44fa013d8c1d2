// Page files read into live page controls: any stream is either refused as damaged or becomes a
// component tree with every read error skipped, whose pictures decode or are left undrawn, and
// which writes back as a form.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "setup/forms/binary_form.h"
#include "setup/forms/component_reader.h"
#include "setup/forms/component_writer.h"
#include "setup/forms/form_errors.h"
#include "setup/ui/edit_mask.h"
#include "setup/ui/form.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/std_controls.h"

namespace forms = setup::forms;
namespace ui = setup::ui;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    forms::FormObject tree;
    try {
        tree = forms::ReadBinaryForm(forms::SkipFormResourceHeader({data, size}));
    } catch (const forms::EInvalidStreamFormat&) {
        try {
            tree = forms::ReadBinaryForm({data, size});
        } catch (const forms::EInvalidStreamFormat&) {
            return 0;
        }
    }
    forms::ClassRegistry registry;
    ui::RegisterPageClasses(registry);
    forms::ComponentReader reader(registry);
    reader.OnError = [](const std::string&) { return true; };
    reader.OnSetName = [](forms::TComponent& component, const std::string& name) {
        try {
            component.SetName(name);
        } catch (const forms::EComponentError&) {
        }
    };
    ui::TForm page;
    try {
        reader.ReadRootComponent(tree, page);
    } catch (const forms::EComponentError&) {
        return 0;
    }
    for (std::size_t i = 0; i < page.ComponentCount(); ++i) {
        if (auto* image = dynamic_cast<ui::TImage*>(page.Component(i)))
            if (const ui::TGraphic* graphic = image->Picture()->Graphic())
                (void)graphic->Pixels();
        if (auto* edit = dynamic_cast<ui::TMaskEdit*>(page.Component(i)))
            (void)ui::EditMaskComplete(edit->EditMask(), edit->Text());
    }
    try {
        (void)forms::WriteRootComponent(page);
    } catch (const forms::EFilerError&) {
    }
    return 0;
}
