#include "setup/forms/component.h"

#include <algorithm>
#include <optional>

#include "setup/forms/class_builder.h"
#include "setup/forms/text_form_lexis.h"

namespace setup::forms {

const ClassInfo& TComponent::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TComponent>("TComponent", &TPersistent::StaticClass())
            .Property("Name", &TComponent::Name, &TComponent::SetName)
            .Property("Tag", &TComponent::m_tag)
            .Build();
    return info;
}

bool IsValidIdent(std::string_view name)
{
    return IsFormIdentifier(name, false);
}

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    m_state |= csDestroying;
    // Whoever asked to hear of this component's end hears of it now.
    while (!m_freeNotifies.empty()) {
        TComponent* other = m_freeNotifies.back();
        m_freeNotifies.pop_back();
        std::erase(other->m_freeNotifies, this);
        other->Notification(this, Operation::Remove);
    }
    DestroyComponents();
    if (m_owner)
        m_owner->RemoveComponent(this);
}

void TComponent::ValidateRename(const std::string& name) const
{
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (m_owner && !name.empty()) {
        const TComponent* existing = m_owner->FindComponent(name);
        if (existing && existing != this)
            throw EComponentError("A component named " + name + " already exists");
    }
}

void TComponent::SetName(const std::string& name)
{
    if (name == m_name)
        return;
    ValidateRename(name);
    m_name = name;
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* component : m_components)
        if (SameName(component->m_name, name))
            return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component->m_name.empty() && FindComponent(component->m_name))
        throw EComponentError("A component named " + component->m_name + " already exists");
    if (component->m_owner)
        component->m_owner->RemoveComponent(component);
    m_components.push_back(component);
    component->m_owner = this;
    if (HasState(csDesigning))
        component->SetDesigning(true);
    Notification(component, Operation::Insert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    const auto found = std::find(m_components.begin(), m_components.end(), component);
    if (found == m_components.end())
        return;
    Notification(component, Operation::Remove);
    // Looked up again: a notification handler may have changed the list.
    std::erase(m_components, component);
    component->m_owner = nullptr;
}

int TComponent::ComponentIndex() const
{
    if (!m_owner)
        return -1;
    const auto& list = m_owner->m_components;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::SetComponentIndex(int index)
{
    if (!m_owner)
        return;
    auto& list = m_owner->m_components;
    const int last = static_cast<int>(list.size()) - 1;
    index = std::clamp(index, 0, last);
    const int current = ComponentIndex();
    if (current == index)
        return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + index, this);
}

void TComponent::SetChildOrder(TComponent* child, int order)
{
    if (child && child->m_owner == this)
        child->SetComponentIndex(order);
}

void TComponent::DestroyComponents()
{
    while (!m_components.empty()) {
        TComponent* last = m_components.back();
        RemoveComponent(last);
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), component) == m_freeNotifies.end())
        m_freeNotifies.push_back(component);
    if (std::find(component->m_freeNotifies.begin(), component->m_freeNotifies.end(), this) ==
        component->m_freeNotifies.end())
        component->m_freeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    std::erase(m_freeNotifies, component);
    std::erase(component->m_freeNotifies, this);
}

void TComponent::Notification(TComponent* component, Operation operation)
{
    if (operation == Operation::Remove)
        RemoveFreeNotification(component);
    // A copy: handlers may free or add components while the notice goes round.
    const std::vector<TComponent*> owned = m_components;
    for (TComponent* child : owned)
        if (std::find(m_components.begin(), m_components.end(), child) != m_components.end())
            child->Notification(component, operation);
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        m_state |= csDesigning;
    else
        m_state &= ~csDesigning;
    for (TComponent* child : m_components)
        child->SetDesigning(designing);
}

void TComponent::DefineProperties(PropertyDefiner& definer)
{
    // Controls publish Left and Top; for other components they are the design position.
    const auto readWord = [](const FormValue& value) -> std::uint32_t {
        if (!value.IsInteger())
            throw EComponentError("Invalid property value");
        return static_cast<std::uint32_t>(value.integer) & 0xFFFF;
    };
    const auto writeWord = [](std::uint32_t word) -> std::optional<FormValue> {
        if (word == 0)
            return std::nullopt;
        return FormValue::Integer(word);
    };
    definer.DefineProperty(
        "Left",
        [this, readWord](const FormValue& value) {
            m_designInfo = (m_designInfo & 0xFFFF0000u) | readWord(value);
        },
        [this, writeWord] { return writeWord(m_designInfo & 0xFFFF); });
    definer.DefineProperty(
        "Top",
        [this, readWord](const FormValue& value) {
            m_designInfo = (m_designInfo & 0x0000FFFFu) | (readWord(value) << 16);
        },
        [this, writeWord] { return writeWord(m_designInfo >> 16); });
}

}  // namespace setup::forms
