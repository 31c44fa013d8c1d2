// What a drag or the clipboard carries of shell items, in the shell's own layouts:
// "Shell IDList Array" (the parent folder's absolute list and each item's relative list) and the
// file-drop list of full paths. Blocks from another program are read within their bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/ui/shell_id_list.h"

namespace setup::ui {

struct IdListArray
{
    IdList parent;
    std::vector<IdList> items;
};

// A 32-bit count n, n + 1 offsets from the block's start, then the parent list and the items.
std::string BuildIdListArray(const IdListArray& array);
// None when the count, an offset or a list does not fit inside the block.
std::optional<IdListArray> ParseIdListArray(std::string_view block);

// A DROPFILES header (list at 20, wide names) and each path in UTF-16 with its zero, then one more
// zero: sized from the real lengths, so no name is cut and none loses its characters.
std::string BuildDropFiles(const std::vector<std::u16string>& paths);

// Drop effects; a shell item's copy, move and link attributes have the same bits.
inline constexpr std::uint32_t kDropCopy = 1;
inline constexpr std::uint32_t kDropMove = 2;
inline constexpr std::uint32_t kDropLink = 4;
inline constexpr std::uint32_t kDropAll = kDropCopy | kDropMove | kDropLink;

enum class DragAnswer
{
    Continue,
    Drop,
    Cancel
};
// Mouse-button bits of a key state.
inline constexpr std::uint32_t kKeyLeftButton = 1;
inline constexpr std::uint32_t kKeyRightButton = 2;
inline constexpr std::uint32_t kKeyMiddleButton = 16;
// A drag goes on while its button is held, drops when it is let go, and stops on Escape or when
// another button goes down.
DragAnswer ContinueDrag(bool escapePressed, std::uint32_t keyState, std::uint32_t dragButton);

}  // namespace setup::ui
