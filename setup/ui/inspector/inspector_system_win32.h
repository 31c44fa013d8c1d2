// The inspector's system under Windows: the message beep, the common font and colour dialogs,
// the open and save dialogs for pictures, and editor forms run in their own modal loop.
#pragma once

#include "setup/ui/inspector/inspector_system.h"

namespace setup::ui {

class Win32InspectorSystem final : public IInspectorSystem
{
public:
    void Beep() override;
    bool PickFont(TFont& font) override;
    bool PickColor(TColor& color) override;
    bool OpenPictureFile(const std::string& filter, std::string& path) override;
    bool SavePictureFile(const std::string& filter, std::string& path) override;
    int RunModal(TCustomForm& form) override;
    bool DragTreeNode(TTreeView& tree, TTreeNode* dragged, TTreeNode*& target,
                      DropPosition& position) override;
    int ScrollBarWidth() const override;
    int WheelScrollLines() const override;
};

}  // namespace setup::ui
