// What a caller's path names, decided once: the full folder the engine searches and the name or
// pattern it searches for; and which names the system returns may be addressed as they are.
#pragma once

#include "shred/engine/shred_system.h"

#include <optional>
#include <string>
#include <string_view>

namespace shred {

// Folders deeper than this below the target are not entered: a loop the system does not report
// as a link (or a hostile tree) must not exhaust the stack.
inline constexpr int kMaxWalkDepth = 64;

struct ShredTarget
{
    std::wstring folder;  // full, without a trailing backslash ("C:" for the root of C:)
    std::wstring name;    // one name, or a pattern when isPattern
    bool isPattern = false;
};

// The caller's text resolved the way the system resolves a path: forward slashes, relative and
// drive-relative forms, "." and "..", repeated separators, a single trailing dot on a folder
// name, trailing dots and spaces on the last name. Nothing when the text names no object the
// engine may shred: empty, ending in a separator, a root, a device path, a stream, or wildcards
// before the last name.
std::optional<ShredTarget> ResolveShredTarget(IShredSystem& system, std::wstring_view path);

// A name the system returned that is addressed as folder + "\" + name and means that very
// object: not "." or "..", no separator or wildcard, and no trailing dot or space (the system
// would strip them and reach another object). A colon stays: where the system has no streams it
// is part of a name, and where it has, it reaches a stream of a sibling inside the same folder.
bool IsLiteralName(std::wstring_view name);

bool HasWildcard(std::wstring_view name);

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

}  // namespace shred
