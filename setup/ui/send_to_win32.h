// The Send To submenu on the system: the user's Send To folder read into the process's list, the
// menu messages that fill, measure, draw and key it while the shell's menu cannot, and handing
// items to a chosen entry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "setup/ui/shell_send_to.h"

struct IDataObject;

namespace setup::ui {

// The entries the Send To submenu last offered.
const std::vector<SendToEntry>& SendToList();

// The submenu filling, sizing, drawing and keying of an open context menu; true when the message
// was the Send To menu's, with its answer.
class SendToMenuMessages
{
public:
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    HMENU m_filled = nullptr;
};

// Drops the data onto the entry of the folder: enter, over, then the drop with the hourglass
// shown; false when a step fails.
bool RunSendTo(const std::string& folderPath, const std::string& name, IDataObject& data);
// The user's Send To folder; empty when the system has none.
std::string SendToFolderPath();

}  // namespace setup::ui
