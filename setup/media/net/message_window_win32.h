// A hidden message-only window whose procedure finds its owner in the window's extra bytes.
#pragma once

#include <windows.h>

#include "core/unique_handle.h"

namespace net {

// Registers the class once per process (any thread may ask) and creates the window, with
// `owner` stored at offset 0 of its extra bytes; an empty window when that fails.
core::UniqueWindow CreateMessageWindow(const wchar_t* className, WNDPROC procedure, void* owner);

}  // namespace net
