// The inspector grid's arithmetic: row height from the font, the splitter's limits, the size of
// the drop-down value list, the indentation of levels and where the expand box answers a press.
#pragma once

#include "setup/ui/geometry.h"

namespace setup::ui {

enum TButtonType
{
    btNone,
    btDropDown,
    btUpDown,
    btDialog,
};
enum TInplaceEditorType
{
    ieNone,
    ieEdit,
    ieCheckBox,
};
enum TExpandState
{
    esNone,
    esExpand,
    esCollapse,
};
enum TPaintStyle
{
    psClassic,
    psTree,
    psKelvorn,
};

namespace inspector_layout {

constexpr int kMinSplitter = 32;
// The value column keeps at least this much of the client width.
constexpr int kValueReserve = 48;
// The drop-down list shows at most this many rows before it scrolls.
constexpr int kDropDownRows = 8;
// The expand and collapse boxes.
constexpr int kExpandBoxSize = 9;

int RowHeight(int fontHeight);
// Whether setting the splitter changes anything: the value is kept within the limits only for the
// comparison with the current splitter; the value itself is stored.
bool SplitterChanges(int current, int value, int clientWidth);
// A splitter drag's position kept within the limits.
int DragSplitter(int x, int clientWidth);
int DropDownHeight(int itemCount, int rowHeight);
// The list's client width: the widest text plus 6, plus the scroll bar when not every item fits,
// at least the value column's width.
int DropDownWidth(int widestText, int itemCount, int scrollBarWidth, int clientWidth,
                  int splitter);
// The list's top in screen coordinates: below the row, or above it when it would pass the
// screen's bottom.
int DropDownTop(int rowBottomOnScreen, int rowHeight, int listHeight, int screenHeight);
int LevelIndent(TPaintStyle style);
// A press on the expand box of a row at that level (x in the grid's client coordinates).
bool HitsExpandBox(int x, int level, int indent);

// Scrolling: the rows that fit whole in the client height (at least one), and the top row kept
// between the first and the one that fills the last page.
int VisibleRows(int clientHeight, int rowHeight);
int ClampTopIndex(int top, int itemCount, int visibleRows);

// What the scroll bar asks for.
enum class ScrollCode
{
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    Top,
    Bottom,
    Thumb,  // dragged or dropped at the row `thumb`
};
int ScrolledTop(int top, ScrollCode code, int thumb, int itemCount, int visibleRows);
// The wheel turned by `notches` (positive: away from the user, towards the first row), each
// moving `linesPerNotch` rows.
int WheelTop(int top, int notches, int linesPerNotch, int itemCount, int visibleRows);
// The row Page Up or Page Down selects: a page less one row away, within the rows.
int PageRow(int current, bool down, int itemCount, int visibleRows);

}  // namespace inspector_layout
}  // namespace setup::ui
