// The rows a component inspector shows: one property list per inspected component, the first
// list's items flattened with the children of expanded rows, and with several components only the
// rows every one of them has with the same type (never "Name").
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "setup/forms/property_list.h"

namespace setup::ui {

enum TCompInspMode
{
    imProperties,
    imEvents,
};

class TCompInspList;

// Properties or events of one object, sorted by name.
class TCompInspPropertyList : public forms::TPropertyList
{
public:
    TCompInspPropertyList(TCompInspList& model, TCompInspMode mode,
                          forms::TProperty* parent = nullptr);
    TCompInspMode Mode() const { return m_mode; }
    void SetMode(TCompInspMode mode);

protected:
    bool Filter(const forms::TProperty& item) const override;
    bool Less(const forms::TProperty& a, const forms::TProperty& b) const override;
    std::unique_ptr<forms::TPropertyList> CreateChildList(forms::TProperty& parent) override;

private:
    TCompInspList& m_model;
    TCompInspMode m_mode;
};

class TCompInspList
{
public:
    TCompInspMode Mode() const { return m_mode; }
    void SetMode(TCompInspMode mode);
    forms::TComponent* Root() const { return m_root; }
    void SetRoot(forms::TComponent* root);

    // The lists again from the components, then the rows.
    void Rebuild();
    // Adds a component not yet inspected; removing frees its list. Both rebuild.
    void Add(forms::TComponent* component);
    void Remove(forms::TComponent* component);
    // That component alone (none: nothing).
    void SetInstance(forms::TComponent* component);
    void Clear();
    forms::TComponent* Instance() const;
    bool Inspects(const forms::TComponent* component) const;
    std::size_t ListCount() const { return m_lists.size(); }
    forms::TComponent* Component(std::size_t index) const;
    TCompInspPropertyList& List(std::size_t index) const { return *m_lists.at(index); }

    const std::vector<forms::TProperty*>& Rows() const { return m_rows; }
    forms::TProperty* Row(int index) const;
    // Row index of a full name, -1 when none shows.
    int FindRow(const std::string& fullName) const;
    bool IsExpanded(const std::string& fullName) const { return m_expanded.count(fullName) != 0; }
    // Shows a row's children under it; returns how many rows were added.
    int Expand(int row);
    void Collapse(int row);

    // The inspector's say on filtering and sorting.
    std::function<void(const forms::TProperty& item, bool& keep)> onFilter;
    std::function<void(const forms::TProperty& a, const forms::TProperty& b, bool& less)>
        onCompare;
    // The number of rows changed.
    std::function<void()> onRowsChanged;

private:
    void BuildRows();
    void AddRows(forms::TPropertyList& list);
    bool AllHave(const forms::TProperty& row) const;

    TCompInspMode m_mode = imProperties;
    forms::TComponent* m_root = nullptr;
    std::vector<std::unique_ptr<TCompInspPropertyList>> m_lists;
    std::vector<forms::TProperty*> m_rows;
    std::set<std::string> m_expanded;
};

}  // namespace setup::ui
