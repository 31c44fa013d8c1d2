#include "setup/forms/property_list.h"

#include <algorithm>

#include "setup/forms/property_text.h"
#include "setup/forms/property_types.h"

namespace setup::forms {
namespace {

constexpr std::size_t kMaxNameLength = 255;

}  // namespace

TProperty::TProperty(TPropertyList& owner, const PropInfo* info, TPersistent* instance,
                     TComponent* root, int member)
    : m_owner(owner), m_info(info), m_instance(instance), m_root(root), m_member(member)
{}

TProperty::~TProperty() = default;

const TypeInfo* TProperty::Type() const
{
    return m_info ? m_info->type : &TypeOf<bool>();
}

std::optional<TypeKind> TProperty::Kind() const
{
    const TypeInfo* type = Type();
    if (!type)
        return std::nullopt;
    return type->kind;
}

TProperty* TProperty::Parent() const
{
    return m_owner.Parent();
}

std::string TProperty::GetName() const
{
    std::string name;
    if (m_info)
        name = m_info->name;
    else if (const TProperty* set = Parent())
        name = EnumName(*set->Type()->elementType, m_member);
    if (name.size() > kMaxNameLength)
        name.resize(kMaxNameLength);
    return name;
}

std::string TProperty::FullName() const
{
    const TProperty* parent = Parent();
    return parent ? parent->FullName() + "." + GetName() : GetName();
}

int TProperty::Level() const
{
    int level = 0;
    for (const TProperty* parent = Parent(); parent; parent = parent->Parent())
        ++level;
    return level;
}

TPersistent* TProperty::ReferredObject() const
{
    if (!m_info || !m_info->type || m_info->type->kind != TypeKind::Class || !m_instance)
        return nullptr;
    return dynamic_cast<TPersistent*>(std::get<TObject*>(m_info->get(*m_instance)));
}

TPropertyList& TProperty::Properties()
{
    const TObject* object = ReferredObject();
    if (!m_subList || object != m_subListObject) {
        m_subList = CreateSubList();
        m_subListObject = object;
    }
    return *m_subList;
}

std::unique_ptr<TPropertyList> TProperty::CreateSubList()
{
    std::unique_ptr<TPropertyList> list = m_owner.CreateChildList(*this);
    list->settings = m_owner.settings;
    list->SetRoot(m_root);
    if (m_info && m_info->type && m_info->type->kind == TypeKind::Set)
        list->AddSetMembers();
    else
        list->SetInstance(ReferredObject());
    return list;
}

std::string TProperty::GetValueText() const
{
    if (!m_instance)
        return {};
    if (!m_info) {
        const TProperty* set = Parent();
        const auto bits = std::get<std::int64_t>(set->m_info->get(*m_instance));
        return (bits >> m_member) & 1 ? "True" : "False";
    }
    return GetPropertyText(*m_instance, *m_info, {m_root, m_owner.settings});
}

std::string TProperty::DisplayText() const
{
    if (m_info && m_info->type && m_info->type->kind == TypeKind::Class && m_instance) {
        const TObject* object = std::get<TObject*>(m_info->get(*m_instance));
        if (!object)
            return {};
        if (const auto* component = dynamic_cast<const TComponent*>(object))
            return component->Name();
        return "(" + object->ClassName() + ")";
    }
    return GetValueText();
}

void TProperty::SetValueText(std::string_view text)
{
    if (text == GetValueText())
        return;
    try {
        StoreValueText(text);
    } catch (const EPropertyException&) {
        throw;
    } catch (const std::exception&) {
        throw EPropertyException();
    }
}

void TProperty::StoreValueText(std::string_view text)
{
    if (!m_instance)
        return;
    if (!m_info) {
        const PropInfo& set = *Parent()->m_info;
        const auto member = EnumValue(TypeOf<bool>(), text);
        if (!member || !set.set)
            throw EPropertyException();
        auto bits = std::get<std::int64_t>(set.get(*m_instance));
        const std::int64_t bit = std::int64_t{1} << m_member;
        bits = *member ? bits | bit : bits & ~bit;
        set.set(*m_instance, bits);
        return;
    }
    // Objects other than components are never taken from text: a number there would be an
    // address, and any rule could then plant one.
    SetPropertyText(*m_instance, *m_info, text, {m_root, m_owner.settings});
}

std::vector<std::string> TProperty::GetValues() const
{
    if (!m_info)
        return TypeOf<bool>().enumNames;
    return GetPropertyValues(*m_info, {m_root, m_owner.settings});
}

TPropertyList::TPropertyList(TProperty* parent) : m_parent(parent) {}

TPropertyList::~TPropertyList() = default;

void TPropertyList::SetRoot(TComponent* root)
{
    if (root == m_root)
        return;
    m_root = root;
    Rebuild();
}

void TPropertyList::SetInstance(TPersistent* instance)
{
    if (instance == m_instance)
        return;
    m_instance = instance;
    Rebuild();
}

TProperty* TPropertyList::Item(std::size_t index) const
{
    return index < m_items.size() ? m_items[index].get() : nullptr;
}

TProperty* TPropertyList::Find(std::string_view fullName) const
{
    const std::size_t dot = fullName.find('.');
    const std::string_view first = fullName.substr(0, dot);
    for (const auto& item : m_items) {
        if (item->GetName() != first)
            continue;
        if (dot == std::string_view::npos)
            return item.get();
        return item->Properties().Find(fullName.substr(dot + 1));
    }
    return nullptr;
}

void TPropertyList::Rebuild()
{
    m_items.clear();
    if (!m_instance)
        return;
    for (const PropInfo* info : m_instance->ClassType().Properties()) {
        std::unique_ptr<TProperty> item = CreateItem(info);
        if (item && Filter(*item))
            m_items.push_back(std::move(item));
    }
    std::stable_sort(m_items.begin(), m_items.end(),
                     [this](const auto& a, const auto& b) { return Less(*a, *b); });
}

std::unique_ptr<TPropertyList> TPropertyList::CreateChildList(TProperty& parent)
{
    return std::make_unique<TPropertyList>(&parent);
}

std::unique_ptr<TProperty> TPropertyList::CreateItem(const PropInfo* info)
{
    return std::make_unique<TProperty>(*this, info, m_instance, m_root);
}

void TPropertyList::AddSetMembers()
{
    m_items.clear();
    if (!m_parent || !m_parent->Info())
        return;
    const TypeInfo* element = m_parent->Info()->type->elementType;
    m_instance = m_parent->Instance();
    for (std::int64_t ordinal = element->minValue; ordinal <= element->maxValue && ordinal < 32;
         ++ordinal)
        m_items.push_back(std::make_unique<TProperty>(*this, nullptr, m_instance, m_root,
                                                      static_cast<int>(ordinal)));
}

bool TPropertyList::Less(const TProperty& a, const TProperty& b) const
{
    if (m_parent)
        return m_parent->Owner().Less(a, b);
    return a.GetName() < b.GetName();
}

}  // namespace setup::forms
