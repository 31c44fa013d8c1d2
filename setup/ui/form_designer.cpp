#include "setup/ui/form_designer.h"

#include <cstdint>
#include <vector>

#include "setup/engine/rtl/stream.h"
#include "setup/forms/binary_form.h"
#include "setup/forms/class_builder.h"
#include "setup/forms/text_form.h"
#include "setup/ui/application.h"

namespace setup::ui {
namespace {

std::vector<std::uint8_t> ReadWholeFile(const std::string& path)
{
    const std::unique_ptr<rtl::TStream> file =
        rtl::OpenFileStream(path, rtl::FileStreamMode::OpenReadDenyWrite);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file->Size()));
    file->ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

}  // namespace

const forms::ClassInfo& TFormDesigner::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TFormDesigner>("TFormDesigner", &forms::TComponent::StaticClass())
            .Property("ClearBeforeLoad", &TFormDesigner::clearBeforeLoad)
            .Build();
    return info;
}

TFormDesigner::TFormDesigner(forms::TComponent* owner) : forms::TComponent(owner) {}

TFormDesigner::~TFormDesigner()
{
    SetForm(nullptr);
}

TCustomForm* TFormDesigner::Form() const
{
    if (m_form)
        return m_form;
    return dynamic_cast<TCustomForm*>(Owner());
}

void TFormDesigner::SetForm(TCustomForm* form)
{
    if (m_form)
        RemoveFreeNotification(m_form);
    m_form = form;
    if (m_form)
        FreeNotification(m_form);
}

void TFormDesigner::Notification(forms::TComponent* component, forms::Operation operation)
{
    forms::TComponent::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_form)
        m_form = nullptr;
}

void TFormDesigner::Clear()
{
    TCustomForm* form = Form();
    if (!form)
        return;
    // Freeing one component may free others it owns: walk from the front each time.
    for (std::size_t index = 0; index < form->ComponentCount();) {
        forms::TComponent* component = form->Component(index);
        if (component == this)
            ++index;
        else
            delete component;
    }
}

bool TFormDesigner::IsFormNameTaken(const TCustomForm& form, const std::string& name) const
{
    if (!form.Application())
        return false;
    for (const TCustomForm* other : form.Application()->Screen().Forms())
        if (other != &form && forms::SameName(other->Name(), name))
            return true;
    return false;
}

void TFormDesigner::NameComponent(forms::TComponent& component, const std::string& name)
{
    forms::TComponent* owner = component.Owner();
    if (!owner || !Form() || name.empty())
        return;
    // A clash takes the class name without its leading letter and the next free number.
    std::string candidate = name;
    const std::string stem = component.ClassName().substr(1);
    for (int counter = 2; owner->FindComponent(candidate); ++counter)
        candidate = stem + std::to_string(counter);
    try {
        component.SetName(candidate);
    } catch (const forms::EComponentError&) {
        component.SetName("");
    }
}

void TFormDesigner::LoadFromFile(const std::string& path, FormFileLayout layout)
{
    TCustomForm* form = Form();
    if (!form)
        return;
    if (clearBeforeLoad)
        Clear();
    const std::vector<std::uint8_t> file = ReadWholeFile(path);
    // The whole file is parsed before any component exists, so a damaged file adds nothing.
    const forms::FormObject tree = layout == FormFileLayout::Text
                                       ? forms::ReadTextForm(std::string(file.begin(), file.end()))
                                       : forms::ReadBinaryForm(forms::SkipFormResourceHeader(file));

    form->SetName("");
    const forms::ClassRegistry noClasses;
    forms::ComponentReader reader(registry ? *registry : noClasses);
    reader.OnError = [this, &reader](const std::string& message) {
        bool handled = true;
        if (onReadError)
            onReadError(reader, message, handled);
        return handled;
    };
    reader.OnSetName = [this](forms::TComponent& component, const std::string& name) {
        NameComponent(component, name);
    };
    reader.IsRootNameTaken = [this, form](const std::string& name) {
        return IsFormNameTaken(*form, name);
    };
    reader.ReadRootComponent(tree, *form);
    form->Changed(Aspect::Paint);
}

}  // namespace setup::ui
