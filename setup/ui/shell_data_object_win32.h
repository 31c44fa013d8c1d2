// The COM objects of a shell drag or a clipboard transfer: the data object that carries shell
// items as "Shell IDList Array" and as a file-drop list, the drop source of a drag, and what a
// foreign data object allows to be done with its items.
#pragma once

#include <windows.h>

#include <objidl.h>
#include <oleidl.h>
#include <shlobj.h>

#include <cstdint>
#include <vector>

#include "setup/ui/shell_id_list.h"

namespace setup::ui {

// A new data object (one reference) for the items of the folder; null when there are none. The
// file-drop names are the items' for-parsing names through `folder`.
IDataObject* MakeShellDataObject(IShellFolder& folder, const IdList& folderList,
                                 const std::vector<IdList>& items);
// A new drop source (one reference) for a drag with the given mouse-button bit.
IDropSource* MakeDropSource(std::uint32_t dragButton);
// What the items of a foreign data object allow (copy, move, link); all of it when it carries no
// readable "Shell IDList Array".
std::uint32_t AllowedEffectsOfData(IDataObject& data, IShellFolder& desktop);
// The registered clipboard format "Shell IDList Array".
CLIPFORMAT IdListArrayFormat();

}  // namespace setup::ui
