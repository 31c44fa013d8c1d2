// A report-style list view: columns, items with their sub-item texts and images, the selection,
// the column sorted by, and caption editing in the window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/ui/control.h"
#include "setup/ui/custom_draw.h"

namespace setup::ui {

enum TViewStyle
{
    vsIcon,
    vsSmallIcon,
    vsList,
    vsReport,
};

// Where a header shows the arrow of the sorted column.
enum TNsLvHeaderSortDisplayMode
{
    ptlvNone,
    ptlvLeftAlign,
    ptlvRightOfText,
    ptlvRightAlign,
};

struct TListColumn
{
    std::string caption;
    std::int32_t width = 50;
    TAlignment alignment = taLeftJustify;
};

struct TListItem
{
    std::string caption;
    std::vector<std::string> subItems;
    std::int32_t imageIndex = -1;
    // The overlay drawn over the picture (0 the first); -1 for none.
    std::int32_t overlayIndex = -1;
    // Drawn dimmed, as hidden items are.
    bool cut = false;
};

class TCustomListView : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomListView(forms::TComponent* owner);

    const std::vector<TListColumn>& Columns() const { return m_columns; }
    void SetColumns(std::vector<TListColumn> columns);
    void SetColumnWidth(std::size_t column, std::int32_t width);

    std::size_t Count() const { return m_items.size(); }
    const TListItem& Item(std::size_t index) const { return m_items.at(index); }
    std::vector<std::string> Captions() const;
    void SetItems(std::vector<TListItem> items);
    void SetItem(std::size_t index, TListItem item);
    void ClearItems() { SetItems({}); }

    // The focused item, selected alone when set; -1 for none.
    std::int32_t ItemIndex() const { return m_focused; }
    void SetItemIndex(std::int32_t index);
    bool Selected(std::size_t index) const;
    void SetSelected(std::size_t index, bool selected);
    void SelectAll();
    std::vector<std::size_t> SelectedIndexes() const;

    TViewStyle ViewStyle() const { return m_viewStyle; }
    void SetViewStyle(TViewStyle style);
    bool MultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool multi);
    bool readOnly = false;
    bool columnClick = true;
    bool rowSelect = false;
    bool hideSelection = true;
    // The items show the system's small icons.
    bool systemImages = false;

    // The column whose header shows the sort arrow; -1 for none.
    std::int32_t SortColumn() const { return m_sortColumn; }
    void SetSortColumn(std::int32_t column);
    bool SortAscending() const { return m_sortAscending; }
    void SetSortAscending(bool ascending);
    TNsLvHeaderSortDisplayMode HeaderSortDisplayMode() const { return m_sortDisplay; }
    void SetHeaderSortDisplayMode(TNsLvHeaderSortDisplayMode mode);

    // Starts editing the item's caption in the window, when the item may be edited.
    void EditItem(std::int32_t index);
    std::int32_t EditingItem() const { return m_editing; }
    virtual bool CanEditItem(std::int32_t index) const;
    // The text the edit box starts with.
    virtual std::string EditTextOf(std::int32_t index) const;
    // Editing ended: with the new text, or none when it was cancelled.
    virtual void EditedFromWindow(std::int32_t index, const std::string* text);

    // What the user did in the window.
    virtual void SelectionFromWindow(std::vector<bool> selected, std::int32_t focused);
    virtual void ColumnClickFromWindow(std::int32_t column);
    virtual void OpenFromWindow() {}
    // The user asked for the context menu, at a screen point.
    virtual void ContextMenuFromWindow(int x, int y) {}
    // The window answers the shell's question for the browser it lives in.
    virtual bool ServesShellBrowser() const { return false; }
    // The user began dragging the selection.
    virtual void BeginDragFromWindow(bool rightButton) {}
    // The item a drag would drop on; -1 for none.
    std::int32_t DropHighlight() const { return m_dropHighlight; }
    void SetDropHighlight(std::int32_t index);
    virtual void ColumnWidthFromWindow(std::size_t column, std::int32_t width);
    // A custom-draw stage of the window; `item` is -1 outside the item stages.
    virtual void CustomDraw(TNsCustomDraw& draw, std::int32_t item) {}

    TNotifyEvent onChange;

private:
    std::vector<TListColumn> m_columns;
    std::vector<TListItem> m_items;
    std::vector<bool> m_selected;
    std::int32_t m_focused = -1;
    std::int32_t m_editing = -1;
    std::int32_t m_dropHighlight = -1;
    TViewStyle m_viewStyle = vsIcon;
    bool m_multiSelect = false;
    std::int32_t m_sortColumn = -1;
    bool m_sortAscending = false;
    TNsLvHeaderSortDisplayMode m_sortDisplay = ptlvRightOfText;
};

}  // namespace setup::ui

UI_ENUM_TYPE(TViewStyle, "vsIcon", "vsSmallIcon", "vsList", "vsReport")
UI_ENUM_TYPE(TNsLvHeaderSortDisplayMode, "ptlvNone", "ptlvLeftAlign", "ptlvRightOfText",
             "ptlvRightAlign")
