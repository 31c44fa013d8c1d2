// What the inspector and its property editors ask of the system: a beep for a refused key, the
// font and colour dialogs, file names for pictures, and running an editor's form modally. The
// Win32 version is inspector_system_win32; without one nothing is shown and every dialog is
// cancelled, so tests put their own answers in.
#pragma once

#include <string>

#include "setup/ui/graphics.h"

namespace setup::ui {

class TCustomForm;
class TTreeNode;
class TTreeView;
enum class DropPosition;

class IInspectorSystem
{
public:
    virtual ~IInspectorSystem() = default;
    virtual void Beep() {}
    // The dialog starts with the value; true when the user confirmed it.
    virtual bool PickFont(TFont& font) { return false; }
    virtual bool PickColor(TColor& color) { return false; }
    // A file to read or write a picture; false when the user cancelled.
    virtual bool OpenPictureFile(const std::string& filter, std::string& path) { return false; }
    virtual bool SavePictureFile(const std::string& filter, std::string& path) { return false; }
    // Shows the form until it has a modal result; returns it.
    virtual int RunModal(TCustomForm& form);
    // Follows a node dragged in a tree view until the button is released; true with the node
    // it was dropped on and where, false when the drag was cancelled or ended on no node.
    virtual bool DragTreeNode(TTreeView& tree, TTreeNode* dragged, TTreeNode*& target,
                              DropPosition& position)
    {
        return false;
    }
    // The vertical scroll bar's width, for the grid and its drop-down list.
    virtual int ScrollBarWidth() const { return 16; }
    // Rows the wheel scrolls a notch.
    virtual int WheelScrollLines() const { return 3; }
};

// The system of a program without one: nothing shown.
IInspectorSystem& NoInspectorSystem();

}  // namespace setup::ui
