// The component lists on wizard pages: filling a tree view and a check list from the component
// model and reading the user's check marks back, through small interfaces that the dialog
// runtime adapts to its real controls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "setup/engine/components/components.h"

namespace setup::engine {

// The image of a node that stands for no component: the control's default.
inline constexpr int kDefaultNodeImage = -1;

class IComponentTreeView
{
public:
    using NodeId = std::uintptr_t;
    virtual ~IComponentTreeView() = default;
    virtual void ClearNodes() = 0;
    // A new last child of the parent (a root node without one). imageIndex is both the image and
    // the selected image; data is the component index + 1, 0 for a folder node.
    virtual NodeId AddNode(std::optional<NodeId> parent, const std::string& text, int imageIndex,
                           std::intptr_t data) = 0;
};

class IComponentCheckList
{
public:
    virtual ~IComponentCheckList() = default;
    virtual void ClearItems() = 0;
    virtual void AddItem(const std::string& text, bool checked) = 0;
    virtual std::size_t ItemCount() const = 0;
    virtual std::string ItemText(std::size_t index) const = 0;
    virtual bool IsChecked(std::size_t index) const = 0;
    virtual void SetChecked(std::size_t index, bool checked) = 0;
};

void FillComponentTree(const ComponentModel& model, IComponentTreeView& tree);
void FillComponentCheckList(const ComponentModel& model, IComponentCheckList& list);
// Writes the user's check marks into the model: an item stands for the component of its name and
// that component's sub-components; choice-locked ones keep their state.
void ReadComponentCheckList(ComponentModel& model, IComponentCheckList& list);

}  // namespace setup::engine
