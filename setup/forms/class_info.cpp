#include "setup/forms/class_info.h"

#include "setup/forms/persistent.h"

namespace setup::forms {

void TMethod::Call(TObject* sender) const
{
    TEvent<> event;
    static_cast<TMethod&>(event) = *this;
    event(sender);
}

ClassInfo::ClassInfo(std::string name, const ClassInfo* parent)
    : m_name(std::move(name)), m_parent(parent)
{
    m_type.kind = TypeKind::Class;
    m_type.name = m_name;
    m_type.classType = this;
}

ClassInfo::ClassInfo(ClassInfo&& other) noexcept
    : m_name(std::move(other.m_name)),
      m_parent(other.m_parent),
      m_type(std::move(other.m_type)),
      m_properties(std::move(other.m_properties)),
      m_methods(std::move(other.m_methods)),
      m_create(std::move(other.m_create))
{
    m_type.classType = this;
}

bool ClassInfo::InheritsFrom(const ClassInfo& other) const
{
    for (const ClassInfo* info = this; info; info = info->m_parent)
        if (info == &other)
            return true;
    return false;
}

std::vector<const PropInfo*> ClassInfo::Properties() const
{
    std::vector<const PropInfo*> all =
        m_parent ? m_parent->Properties() : std::vector<const PropInfo*>{};
    for (const PropInfo& property : m_properties)
        all.push_back(&property);
    return all;
}

const PropInfo* ClassInfo::FindProperty(std::string_view name) const
{
    for (const ClassInfo* info = this; info; info = info->m_parent)
        for (const PropInfo& property : info->m_properties)
            if (SameName(property.name, name))
                return &property;
    return nullptr;
}

const MethodInfo* ClassInfo::FindMethod(std::string_view name) const
{
    for (const ClassInfo* info = this; info; info = info->m_parent)
        for (const MethodInfo& method : info->m_methods)
            if (SameName(method.name, name))
                return &method;
    return nullptr;
}

void ClassRegistry::Register(const ClassInfo& info)
{
    for (const ClassInfo* known : m_classes)
        if (known == &info)
            return;
    m_classes.push_back(&info);
}

const ClassInfo* ClassRegistry::Find(std::string_view name) const
{
    for (const ClassInfo* known : m_classes)
        if (SameName(known->Name(), name))
            return known;
    return nullptr;
}

}  // namespace setup::forms
