#include "setup/ui/inspector/component_inspector_model.h"

#include <algorithm>
#include <cctype>


namespace setup::ui {
namespace {

bool IsUpperName(const std::string& name)
{
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper == "NAME";
}

}  // namespace

TCompInspPropertyList::TCompInspPropertyList(TCompInspList& model, TCompInspMode mode,
                                             forms::TProperty* parent)
    : TPropertyList(parent), m_model(model), m_mode(mode)
{}

void TCompInspPropertyList::SetMode(TCompInspMode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    Rebuild();
}

bool TCompInspPropertyList::Filter(const forms::TProperty& item) const
{
    const forms::PropInfo* info = item.Info();
    const auto kind = item.Kind();
    const bool method = kind == forms::TypeKind::Method;
    bool keep = method == (m_mode == imEvents) &&
                (kind == forms::TypeKind::Class || (info && info->get && info->set));
    if (m_model.onFilter)
        m_model.onFilter(item, keep);
    return keep;
}

bool TCompInspPropertyList::Less(const forms::TProperty& a, const forms::TProperty& b) const
{
    bool less = TPropertyList::Less(a, b);
    if (m_model.onCompare)
        m_model.onCompare(a, b, less);
    return less;
}

std::unique_ptr<forms::TPropertyList> TCompInspPropertyList::CreateChildList(
    forms::TProperty& parent)
{
    return std::make_unique<TCompInspPropertyList>(m_model, m_mode, &parent);
}

void TCompInspList::SetMode(TCompInspMode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    for (auto& list : m_lists)
        list->SetMode(mode);
    BuildRows();
}

void TCompInspList::SetRoot(forms::TComponent* root)
{
    m_root = root;
    for (auto& list : m_lists)
        list->SetRoot(root);
    BuildRows();
}

void TCompInspList::Rebuild()
{
    for (auto& list : m_lists)
        list->Rebuild();
    BuildRows();
}

void TCompInspList::Add(forms::TComponent* component)
{
    if (!component || Inspects(component))
        return;
    auto list = std::make_unique<TCompInspPropertyList>(*this, m_mode);
    list->SetRoot(m_root);
    list->SetInstance(component);
    m_lists.push_back(std::move(list));
    Rebuild();
}

void TCompInspList::Remove(forms::TComponent* component)
{
    const auto found = std::find_if(m_lists.begin(), m_lists.end(), [component](const auto& list) {
        return list->Instance() == component;
    });
    if (found == m_lists.end())
        return;
    // The rows point into the list: they go first.
    m_rows.clear();
    m_lists.erase(found);
    Rebuild();
}

void TCompInspList::SetInstance(forms::TComponent* component)
{
    m_rows.clear();
    m_lists.clear();
    if (component)
        Add(component);
    else
        BuildRows();
}

void TCompInspList::Clear()
{
    SetInstance(nullptr);
}

forms::TComponent* TCompInspList::Instance() const
{
    return m_lists.empty() ? nullptr : Component(0);
}

forms::TComponent* TCompInspList::Component(std::size_t index) const
{
    return dynamic_cast<forms::TComponent*>(m_lists.at(index)->Instance());
}

bool TCompInspList::Inspects(const forms::TComponent* component) const
{
    return std::any_of(m_lists.begin(), m_lists.end(),
                       [component](const auto& list) { return list->Instance() == component; });
}

forms::TProperty* TCompInspList::Row(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < m_rows.size()
               ? m_rows[static_cast<std::size_t>(index)]
               : nullptr;
}

int TCompInspList::FindRow(const std::string& fullName) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i]->FullName() == fullName)
            return static_cast<int>(i);
    return -1;
}

void TCompInspList::AddRows(forms::TPropertyList& list)
{
    for (std::size_t i = 0; i < list.Count(); ++i) {
        forms::TProperty* item = list.Item(i);
        m_rows.push_back(item);
        if (IsExpanded(item->FullName()))
            AddRows(item->Properties());
    }
}

bool TCompInspList::AllHave(const forms::TProperty& row) const
{
    const std::string fullName = row.FullName();
    std::vector<const forms::ClassInfo*> seen;
    for (std::size_t i = 1; i < m_lists.size(); ++i) {
        const forms::TPersistent* instance = m_lists[i]->Instance();
        const forms::ClassInfo* type = instance ? &instance->ClassType() : nullptr;
        if (std::find(seen.begin(), seen.end(), type) != seen.end())
            continue;
        seen.push_back(type);
        const forms::TProperty* other = m_lists[i]->Find(fullName);
        if (!other || other->Type() != row.Type())
            return false;
    }
    return true;
}

void TCompInspList::BuildRows()
{
    m_rows.clear();
    if (!m_lists.empty()) {
        AddRows(*m_lists.front());
        if (m_lists.size() > 1)
            std::erase_if(m_rows, [this](const forms::TProperty* row) {
                return (row->Level() == 0 && IsUpperName(row->GetName())) || !AllHave(*row);
            });
    }
    if (onRowsChanged)
        onRowsChanged();
}

int TCompInspList::Expand(int row)
{
    forms::TProperty* item = Row(row);
    if (!item)
        return 0;
    m_expanded.insert(item->FullName());
    forms::TPropertyList& children = item->Properties();
    std::vector<forms::TProperty*> added;
    for (std::size_t i = 0; i < children.Count(); ++i)
        if (m_lists.size() < 2 || AllHave(*children.Item(i)))
            added.push_back(children.Item(i));
    m_rows.insert(m_rows.begin() + row + 1, added.begin(), added.end());
    if (onRowsChanged)
        onRowsChanged();
    return static_cast<int>(added.size());
}

void TCompInspList::Collapse(int row)
{
    forms::TProperty* item = Row(row);
    if (!item)
        return;
    m_expanded.erase(item->FullName());
    const int level = item->Level();
    auto end = m_rows.begin() + row + 1;
    while (end != m_rows.end() && (*end)->Level() > level)
        ++end;
    m_rows.erase(m_rows.begin() + row + 1, end);
    if (onRowsChanged)
        onRowsChanged();
}

}  // namespace setup::ui
