// The sort mark of a list view's header: the system's own arrows where the common controls draw
// them, otherwise an arrow the control draws beside, before or after the caption.
#pragma once

#include <cstdint>

#include "setup/ui/geometry.h"
#include "setup/ui/list_view.h"

namespace setup::ui {

// Header item format bits, with the system's values.
inline constexpr std::uint32_t kHeaderJustifyMask = 3;
inline constexpr std::uint32_t kHeaderRight = 1;
inline constexpr std::uint32_t kHeaderCenter = 2;
inline constexpr std::uint32_t kHeaderSortDown = 0x200;
inline constexpr std::uint32_t kHeaderSortUp = 0x400;
inline constexpr std::uint32_t kHeaderString = 0x4000;
inline constexpr std::uint32_t kHeaderOwnerDraw = 0x8000;

// Common controls versions as major * 100 + minor.
inline constexpr int kCommonControls470 = 470;
inline constexpr int kCommonControls600 = 600;

// Older common controls cannot show a sort mark at all.
TNsLvHeaderSortDisplayMode AcceptedDisplayMode(TNsLvHeaderSortDisplayMode mode, int version);
// True when the control draws the header items itself.
bool HeaderOwnerDrawn(TNsLvHeaderSortDisplayMode mode, int version);
// The format of a header item: its alignment bits kept, the rest from the mode.
std::uint32_t HeaderItemFormat(std::uint32_t current, bool sorted, bool ascending,
                               TNsLvHeaderSortDisplayMode mode, int version);

struct HeaderItemLayout
{
    TRect text;
    bool arrow = false;
    TRect arrowBox;
};

// Where an owner-drawn header item puts its caption and arrow: `item` is the item's rectangle,
// `textWidth` and `textHeight` the caption's measured extent.
HeaderItemLayout LayOutHeaderItem(TRect item, int textWidth, int textHeight, TAlignment alignment,
                                  TNsLvHeaderSortDisplayMode mode, bool sorted);

}  // namespace setup::ui
