// The component selector's lists over the page's real controls: a tree view and a check list box
// as the component model fills and reads them.
#pragma once

#include "setup/engine/components/component_controls.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/list_controls.h"

namespace setup::wizard {

class TreeViewAdapter final : public engine::IComponentTreeView
{
public:
    explicit TreeViewAdapter(ui::TTreeView& tree) : m_tree(tree) {}
    void ClearNodes() override;
    NodeId AddNode(std::optional<NodeId> parent, const std::string& text, int imageIndex,
                   std::intptr_t data) override;

private:
    ui::TTreeView& m_tree;
};

class CheckListAdapter final : public engine::IComponentCheckList
{
public:
    explicit CheckListAdapter(ui::TCheckListBox& list) : m_list(list) {}
    void ClearItems() override;
    void AddItem(const std::string& text, bool checked) override;
    std::size_t ItemCount() const override;
    std::string ItemText(std::size_t index) const override;
    bool IsChecked(std::size_t index) const override;
    void SetChecked(std::size_t index, bool checked) override;

private:
    ui::TCheckListBox& m_list;
};

}  // namespace setup::wizard
