// Item ID lists as bytes: a chain of items, each led by its 16-bit little-endian byte count (the
// count included), ended by a 16-bit zero. The empty list (the terminator alone) names the desktop;
// an empty string is a missing list. Every reader here stays inside the bytes it was given.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace setup::ui {

using IdList = std::string;

// The desktop: the terminator alone.
IdList DesktopIdList();
// One item holding the bytes (at most 65533 of them).
IdList MakeIdItem(std::string_view bytes);
// The item count when the chain is well formed inside the bytes and ends with its terminator.
std::optional<std::size_t> IdListCount(std::string_view list);
// Bytes up to and including the terminator; 0 for a missing or malformed list.
std::size_t IdListSize(std::string_view list);
// Either part may be missing; the result is missing only when both are.
IdList ConcatIdLists(std::string_view first, std::string_view second);
// The first count - n items; missing when n exceeds the count.
IdList IdListParent(std::string_view list, std::size_t n);
// Item i alone as a one-item list; missing when out of range.
IdList IdListItem(std::string_view list, std::size_t i);
// The last item alone; missing for the desktop.
IdList IdListLast(std::string_view list);
// The bytes of the item's payload (after its count); empty for a malformed one-item list.
std::string_view IdItemPayload(std::string_view item);

}  // namespace setup::ui
