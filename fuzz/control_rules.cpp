// Rule files applied to a page: any text either changes the page's controls or is refused as a
// value a property cannot take, and never reaches outside the page's own components.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "setup/forms/property_list.h"
#include "setup/ui/control_rules.h"
#include "setup/ui/form.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/std_controls.h"

namespace ui = setup::ui;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ui::TForm page;
    page.SetName("Page");
    (new ui::TEdit(&page))->SetName("Edit1");
    (new ui::TButton(&page))->SetName("Button1");
    (new ui::TMemo(&page))->SetName("Memo1");
    auto* label = new ui::TLabel(&page);
    label->SetName("Label1");
    (new ui::TComboBox(&page))->SetName("ComboBox1");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        ui::ApplyControlRules(page, text);
    } catch (const setup::forms::EPropertyException&) {
    }
    return 0;
}
