// The named data streams of a file, read from its backup stream.
#pragma once

#include "shred/engine/shred_system.h"

#include <string>
#include <vector>

namespace shred {

// Names exactly as the stream headers give them (":name:$DATA"); appended to the file's path they
// address the stream. Empty when the file cannot be read for backup.
std::vector<std::wstring> ListAlternateStreams(IShredSystem& system, const std::wstring& path);

}  // namespace shred
