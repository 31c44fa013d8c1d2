#include "setup/ui/form_designer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "setup/engine/rtl/stream.h"
#include "setup/forms/binary_form.h"
#include "setup/forms/class_builder.h"
#include "setup/forms/component_writer.h"
#include "setup/forms/text_form.h"
#include "setup/ui/application.h"
#include "setup/ui/designer/alignment_palette.h"
#include "setup/ui/designer/component_container.h"
#include "setup/ui/designer/grab_handles.h"
#include "setup/ui/menus.h"

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
            .Property("MessageProcessor", &TFormDesigner::MessageProcessor,
                      &TFormDesigner::SetMessageProcessor)
            .Property("LockedControls", &TFormDesigner::LockedControls,
                      &TFormDesigner::SetLockedControls)
            .Property("LockedInverse", &TFormDesigner::LockedInverse,
                      &TFormDesigner::SetLockedInverse)
            .Property("LockChildren", &TFormDesigner::LockChildren, &TFormDesigner::SetLockChildren)
            .Property("ProtectedControls", &TFormDesigner::ProtectedControls,
                      &TFormDesigner::SetProtectedControls)
            .Property("ProtectedInverse", &TFormDesigner::ProtectedInverse,
                      &TFormDesigner::SetProtectedInverse)
            .Property("ProtectChildren", &TFormDesigner::ProtectChildren,
                      &TFormDesigner::SetProtectChildren)
            .Property("ProtectMode", &TFormDesigner::protectMode)
            .Property("TransparentControls", &TFormDesigner::TransparentControls,
                      &TFormDesigner::SetTransparentControls)
            .Property("TransparentInverse", &TFormDesigner::TransparentInverse,
                      &TFormDesigner::SetTransparentInverse)
            .Property("TransparentChildren", &TFormDesigner::TransparentChildren,
                      &TFormDesigner::SetTransparentChildren)
            .Property("PopupMenu", &TFormDesigner::popupMenu)
            .Property("GridStep", &TFormDesigner::GridStep, &TFormDesigner::SetGridStep)
            .Property("SnapToGrid", &TFormDesigner::snapToGrid)
            .Property("DisplayGrid", &TFormDesigner::displayGrid)
            .Property("DesignerColor", &TFormDesigner::designerColor)
            .Property("GridColor", &TFormDesigner::gridColor)
            .Property("ShowMoveSizeHint", &TFormDesigner::showMoveSizeHint)
            .Property("ShowComponentHint", &TFormDesigner::showComponentHint)
            .Property("GrabSize", &TFormDesigner::GrabSize, &TFormDesigner::SetGrabSize)
            .Property("AlignmentPalette", &TFormDesigner::AlignmentPalette,
                      &TFormDesigner::SetAlignmentPalette)
            .Property("NormalGrabBorder", &TFormDesigner::normalGrabBorder)
            .Property("NormalGrabFill", &TFormDesigner::normalGrabFill)
            .Property("MultiGrabBorder", &TFormDesigner::multiGrabBorder)
            .Property("MultiGrabFill", &TFormDesigner::multiGrabFill)
            .Property("LockedGrabBorder", &TFormDesigner::lockedGrabBorder)
            .Property("LockedGrabFill", &TFormDesigner::lockedGrabFill)
            .Property("KeySelect", &TFormDesigner::keySelect)
            .Property("KeyMove", &TFormDesigner::keyMove)
            .Property("ShowNonVisual", &TFormDesigner::ShowNonVisual,
                      &TFormDesigner::SetShowNonVisual)
            .Property("ShowComponentCaptions", &TFormDesigner::ShowComponentCaptions,
                      &TFormDesigner::SetShowComponentCaptions)
            .Property("MultiSelect", &TFormDesigner::MultiSelect, &TFormDesigner::SetMultiSelect)
            .Property("DesignControl", &TFormDesigner::DesignControl,
                      &TFormDesigner::SetDesignControl)
            .Build();
    return info;
}

TFormDesigner::TFormDesigner(forms::TComponent* owner)
    : forms::TComponent(owner),
      m_lockedList(std::make_unique<forms::TStrings>()),
      m_protectedList(std::make_unique<forms::TStrings>()),
      m_transparentList(std::make_unique<forms::TStrings>())
{
    m_palette = new TfrmAlignmentPalette(*this);
    m_lockedList->OnChange = [this] {
        NameRule rule = m_locked;
        rule.names = m_lockedList->Items();
        SetLockedRule(std::move(rule));
    };
    m_protectedList->OnChange = [this] {
        NameRule rule = m_protected;
        rule.names = m_protectedList->Items();
        SetProtectedRule(std::move(rule));
    };
    m_transparentList->OnChange = [this] {
        NameRule rule = m_transparent;
        rule.names = m_transparentList->Items();
        SetTransparentRule(std::move(rule));
    };
}

TFormDesigner::~TFormDesigner()
{
    SetActive(false);
    SetForm(nullptr);
}

void TFormDesigner::SetLockedInverse(bool inverse)
{
    NameRule rule = m_locked;
    rule.inverse = inverse;
    SetLockedRule(std::move(rule));
}

void TFormDesigner::SetLockChildren(TChildrenMode mode)
{
    NameRule rule = m_locked;
    rule.children = mode;
    SetLockedRule(std::move(rule));
}

void TFormDesigner::SetProtectedInverse(bool inverse)
{
    NameRule rule = m_protected;
    rule.inverse = inverse;
    SetProtectedRule(std::move(rule));
}

void TFormDesigner::SetProtectChildren(TChildrenMode mode)
{
    NameRule rule = m_protected;
    rule.children = mode;
    SetProtectedRule(std::move(rule));
}

void TFormDesigner::SetTransparentInverse(bool inverse)
{
    NameRule rule = m_transparent;
    rule.inverse = inverse;
    SetTransparentRule(std::move(rule));
}

void TFormDesigner::SetTransparentChildren(TChildrenMode mode)
{
    NameRule rule = m_transparent;
    rule.children = mode;
    SetTransparentRule(std::move(rule));
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
    if (operation == forms::Operation::Insert) {
        // A component new on the form is still being built: its placeholder comes once it is
        // whole (at the end of a load, or before the next message in design mode).
        if (component->Owner() == Form() && component != this && !HasState(forms::csLoading))
            m_containersPending = true;
        return;
    }
    if (component == m_form)
        m_form = nullptr;
    if (component == popupMenu)
        popupMenu = nullptr;
    if (component == m_hinted)
        m_hinted = nullptr;
    if (component == m_designControl)
        m_designControl = nullptr;
    if (component == m_grabHandles)
        m_grabHandles = nullptr;
    if (component == m_palette)
        m_palette = nullptr;
    // A control being freed is only a component by now: compare addresses.
    const auto selected =
        std::find_if(m_selection.begin(), m_selection.end(), [component](TControl* control) {
            return static_cast<forms::TComponent*>(control) == component;
        });
    if (selected != m_selection.end()) {
        m_selection.erase(selected);
        if (m_grabHandles &&
            (!m_grabHandles->Control() ||
             static_cast<forms::TComponent*>(m_grabHandles->Control()) == component))
            m_grabHandles->SetControl(m_selection.empty() ? nullptr : m_selection.front());
        CancelDrag();
    }
    if (m_rightPressed && static_cast<forms::TComponent*>(m_rightPressed) == component)
        m_rightPressed = nullptr;
    if (m_bandContainer && static_cast<forms::TComponent*>(m_bandContainer) == component)
        m_bandContainer = nullptr;
}

void TFormDesigner::Clear()
{
    TCustomForm* form = Form();
    if (!form)
        return;
    const bool wasActive = m_active;
    SetActive(false);
    struct Restore
    {
        TFormDesigner& designer;
        bool active;
        ~Restore()
        {
            try {
                designer.SetActive(active);
            } catch (const std::exception&) {
                // The owner was checked when design mode first went on.
            }
        }
    } restore{*this, wasActive};
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
    DestroyContainers();
    if (clearBeforeLoad)
        Clear();
    // Whatever the outcome, the placeholders stand again where their components' positions say.
    struct Recreate
    {
        TFormDesigner& designer;
        ~Recreate()
        {
            if (designer.m_active || designer.m_containersPending)
                designer.CreateContainers();
            designer.PlaceContainers();
        }
    } recreate{*this};
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

forms::FormObject TFormDesigner::WriteForm()
{
    TCustomForm* form = Form();
    if (!form)
        throw EFormDesigner("TFormDesigner has no form to save.");
    forms::FormObject tree = forms::WriteRootComponent(*form);
    // The designer and its placeholders are the editing tools, not part of the page.
    std::erase_if(tree.children, [](const forms::FormObject& child) {
        return child.className == TFormDesigner::StaticClass().Name() ||
               child.className == TComponentContainer::StaticClass().Name();
    });
    return tree;
}

void TFormDesigner::SaveToFile(const std::string& path, FormFileLayout layout)
{
    const forms::FormObject tree = WriteForm();
    std::vector<std::uint8_t> bytes;
    if (layout == FormFileLayout::Text) {
        const std::string text = forms::WriteTextForm(tree);
        bytes.assign(text.begin(), text.end());
    } else {
        const std::vector<std::uint8_t> stream = forms::WriteBinaryForm(tree);
        bytes = forms::FormResourceHeader(tree.className, stream.size());
        bytes.insert(bytes.end(), stream.begin(), stream.end());
    }
    const std::unique_ptr<rtl::TStream> file =
        rtl::OpenFileStream(path, rtl::FileStreamMode::Create);
    file->WriteBuffer(bytes.data(), bytes.size());
}

}  // namespace setup::ui
