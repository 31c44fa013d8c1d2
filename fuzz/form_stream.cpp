// The binary form stream of page files, with or without its resource header: whatever is read
// writes back to the same tree, its text form reads back to the same text, and the component
// reader applies it to plain components with every read error skipped, and the components write
// back to a form that reads again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "setup/forms/binary_form.h"
#include "setup/forms/component_reader.h"
#include "setup/forms/component_writer.h"
#include "setup/forms/form_errors.h"
#include "setup/forms/text_form.h"

namespace forms = setup::forms;

namespace {

void CheckTree(const forms::FormObject& tree)
{
    if (forms::ReadBinaryForm(forms::WriteBinaryForm(tree)) != tree)
        std::abort();
    std::string text;
    try {
        text = forms::WriteTextForm(tree);
    } catch (const forms::EFilerError&) {
        return;  // a name or float that text cannot express
    }
    if (forms::WriteTextForm(forms::ReadTextForm(text)) != text)
        std::abort();

    forms::ClassRegistry registry;
    registry.Register(forms::TComponent::StaticClass());
    forms::ComponentReader reader(registry);
    reader.OnError = [](const std::string&) { return true; };
    reader.OnSetName = [](forms::TComponent& component, const std::string& name) {
        try {
            component.SetName(name);
        } catch (const forms::EComponentError&) {
        }
    };
    forms::TComponent root(nullptr);
    try {
        reader.ReadRootComponent(tree, root);
    } catch (const forms::EComponentError&) {
        // the root's own name is not an identifier
    }
    // What was read writes back as a form that reads again.
    forms::FormObject written;
    try {
        written = forms::WriteRootComponent(root);
    } catch (const forms::EFilerError&) {
        return;
    }
    forms::TComponent again(nullptr);
    try {
        reader.ReadRootComponent(forms::ReadBinaryForm(forms::WriteBinaryForm(written)), again);
    } catch (const forms::EComponentError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    for (const bool withHeader : {false, true}) {
        forms::FormObject tree;
        try {
            tree = withHeader ? forms::ReadBinaryForm(forms::SkipFormResourceHeader(bytes))
                              : forms::ReadBinaryForm(bytes);
        } catch (const forms::EInvalidStreamFormat&) {
            continue;
        }
        CheckTree(tree);
    }
    return 0;
}
