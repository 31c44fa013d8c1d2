// Removal of an overwritten object: its name is replaced by a random, a long and a one-letter name
// before the file is cut to nothing, re-dated and deleted, or the folder removed.
#pragma once

#include "shred/engine/crt_random.h"
#include "shred/engine/shred_system.h"
#include "shred/engine/shred_types.h"

#include <string>

namespace shred {

// Draws for a free random name before the object keeps its own name.
inline constexpr int kMaxRandomNameDraws = 1000;

// -100, -3 (the first rename failed), -4 (reopening or deleting the file failed) or -5.
ShredResult WipeNameAndRemove(IShredSystem& system, const std::wstring& path);

// Replaces every character of the file-name part but its last dot with a random lower-case
// letter until no object has that name. False (path unchanged) when no free name was drawn.
bool MakeRandomName(IShredSystem& system, CrtRandom& random, std::wstring& path);

// Deletes without overwriting: 1 done, -1 nothing matches or a file cannot be deleted, -2 a
// folder cannot be removed. Links are removed, never entered; names that are not literal
// (IsLiteralName) are left alone.
int DeleteTree(IShredSystem& system, const std::wstring& path);

}  // namespace shred
