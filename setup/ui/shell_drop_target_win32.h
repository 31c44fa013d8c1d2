// The drop target a shell control's window registers: each step of a drag over the window is
// handed to the control's drop logic, with the control scrolled near its edges and a node the
// mouse rests on opened.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include <objidl.h>

#include "setup/ui/shell_namespace.h"

namespace setup::ui {

class TWinControl;

// A dragged data object as the shell's folders take it.
class Win32DragData final : public IDragData
{
public:
    explicit Win32DragData(IDataObject& data) : object(data) {}
    IDataObject& object;
};

// What the window shows under a client point: a list item's index, a tree node; -1 for none.
using DropHitTest = std::function<std::intptr_t(POINT client)>;

// Registers the window when its control is a drop site that takes drops; the window revokes it
// as it goes.
void RegisterShellDropTarget(HWND window, TWinControl& control, DropHitTest hitTest);
void RevokeShellDropTarget(HWND window);

}  // namespace setup::ui
