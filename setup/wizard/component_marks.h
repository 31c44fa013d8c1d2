// Marking component-tree nodes as installed or not from the component pop-up menu: the node's
// component takes the choice and the node shows it; a sub-tree follows except where a component
// is locked against the user's choice.
#pragma once

#include "setup/engine/components/components.h"
#include "setup/ui/common_controls.h"

namespace setup::wizard {

// What marking needs of the component model; indices are 0-based.
class IComponentMarks
{
public:
    virtual ~IComponentMarks() = default;
    virtual void SetSelected(int index, bool selected) = 0;
    virtual bool IsChoiceLocked(int index) const = 0;
};

class ModelComponentMarks final : public IComponentMarks
{
public:
    explicit ModelComponentMarks(engine::ComponentModel& model) : m_model(model) {}
    void SetSelected(int index, bool selected) override;
    bool IsChoiceLocked(int index) const override;

private:
    engine::ComponentModel& m_model;
};

// The node images of the component tree.
inline constexpr int kNotInstalledImage = 0;
inline constexpr int kInstalledImage = 1;

// Marks the node (a node's data is its component index + 1; 0 for a folder node); with its
// sub-tree, every child not locked against choice follows, each with its own sub-tree.
void MarkComponentNode(ui::TTreeNode& node, bool withSubTree, bool install,
                       IComponentMarks& marks);
// Installing a node installs every ancestor too: a part cannot come without its feature.
void MarkAncestorsInstalled(ui::TTreeNode& node, IComponentMarks& marks);

}  // namespace setup::wizard
