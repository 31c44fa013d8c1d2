#include "setup/engine/components/component_controls.h"

#include <vector>

#include "setup/engine/rtl/code_page.h"

namespace setup::engine {
namespace {

struct TreeNode
{
    std::optional<std::size_t> parent;
    std::string text;
    int imageIndex = kDefaultNodeImage;
    std::intptr_t data = 0;
    std::vector<std::size_t> children;
};

// The nodes in the order they are made; a parent is always made before its children.
class TreePlan
{
public:
    // The node of the part among the parent's children (among the roots without a parent); made
    // when missing.
    std::size_t NodeFor(std::optional<std::size_t> parent, const std::string& part)
    {
        const std::vector<std::size_t>& candidates = parent ? m_nodes[*parent].children : m_roots;
        for (const std::size_t node : candidates) {
            if (rtl::AnsiSameText(m_nodes[node].text, part))
                return node;
        }
        const std::size_t made = m_nodes.size();
        m_nodes.push_back({parent, part, kDefaultNodeImage, 0, {}});
        (parent ? m_nodes[*parent].children : m_roots).push_back(made);
        return made;
    }
    TreeNode& operator[](std::size_t node) { return m_nodes[node]; }
    const std::vector<TreeNode>& Nodes() const { return m_nodes; }

private:
    std::vector<TreeNode> m_nodes;
    std::vector<std::size_t> m_roots;
};

std::vector<std::string> SplitAtBackslashes(const std::string& name)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t slash; (slash = name.find('\\', start)) != std::string::npos;
         start = slash + 1)
        parts.push_back(name.substr(start, slash - start));
    parts.push_back(name.substr(start));
    return parts;
}

bool IsPredefined(const std::string& name)
{
    return rtl::AnsiSameText(name, kPredefinedComponent);
}

// The item stands for the component of its own name and for that component's sub-components,
// never for a longer name that merely starts with the same letters.
bool ItemCovers(const std::string& itemUpper, const std::string& componentName)
{
    const std::string nameUpper = rtl::AnsiUpperCase(componentName);
    if (nameUpper == itemUpper)
        return true;
    return nameUpper.size() > itemUpper.size() && nameUpper.starts_with(itemUpper) &&
           nameUpper[itemUpper.size()] == '\\';
}

}  // namespace

void FillComponentTree(const ComponentModel& model, IComponentTreeView& tree)
{
    TreePlan plan;
    for (std::size_t i = 0; i < model.ComponentNames.Count(); ++i) {
        const std::string& name = model.ComponentNames[i];
        if (IsPredefined(name) || model.IsComponentDeleted(name) ||
            model.IsComponentOrParentHidden(name))
            continue;
        std::optional<std::size_t> node;
        for (const std::string& part : SplitAtBackslashes(name))
            node = plan.NodeFor(node, part);
        plan[*node].imageIndex = model.StateAt(i) == "TRUE" ? 1 : 0;
        plan[*node].data = static_cast<std::intptr_t>(i) + 1;
    }

    tree.ClearNodes();
    std::vector<IComponentTreeView::NodeId> made;
    for (const TreeNode& node : plan.Nodes()) {
        std::optional<IComponentTreeView::NodeId> parent;
        if (node.parent)
            parent = made[*node.parent];
        made.push_back(tree.AddNode(parent, node.text, node.imageIndex, node.data));
    }
}

void FillComponentCheckList(const ComponentModel& model, IComponentCheckList& list)
{
    list.ClearItems();
    for (std::size_t i = 0; i < model.ComponentNames.Count(); ++i) {
        const std::string& name = model.ComponentNames[i];
        if (IsPredefined(name) || model.IsComponentDeleted(name) || model.IsComponentHidden(name) ||
            name.find('\\') != std::string::npos)
            continue;
        list.AddItem(name, model.StateAt(i) == "TRUE");
    }
}

void ReadComponentCheckList(ComponentModel& model, IComponentCheckList& list)
{
    for (std::size_t item = 0; item < list.ItemCount(); ++item) {
        const std::string text = list.ItemText(item);
        const std::string itemUpper = rtl::AnsiUpperCase(text);
        const bool ticked = list.IsChecked(item);
        for (std::size_t c = 0; c < model.ComponentNames.Count(); ++c) {
            const std::string& name = model.ComponentNames[c];
            if (!ItemCovers(itemUpper, name))
                continue;
            if (!model.IsComponentChoiceLocked(name))
                model.SetComponentSelected(static_cast<int>(c), ticked);
            // The last component the item covers decides its mark, so an item over a locked
            // component springs back to that component's state.
            if (text.find('\\') == std::string::npos)
                list.SetChecked(item, model.StateAt(c) == "TRUE");
        }
    }
}

}  // namespace setup::engine
