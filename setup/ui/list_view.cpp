#include "setup/ui/list_view.h"

#include "setup/forms/class_builder.h"

namespace setup::ui {

const forms::ClassInfo& TCustomListView::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TCustomListView>("TCustomListView", &TWinControl::StaticClass())
            .Property("ColumnClick", &TCustomListView::columnClick)
            .Property("HeaderSortDisplayMode", &TCustomListView::HeaderSortDisplayMode,
                      &TCustomListView::SetHeaderSortDisplayMode)
            .Property("HideSelection", &TCustomListView::hideSelection)
            .Property("MultiSelect", &TCustomListView::MultiSelect,
                      &TCustomListView::SetMultiSelect)
            .Property("ReadOnly", &TCustomListView::readOnly)
            .Property("RowSelect", &TCustomListView::rowSelect)
            .Property("ViewStyle", &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle)
            .Property("OnChange", &TCustomListView::onChange)
            .Build();
    return info;
}

TCustomListView::TCustomListView(forms::TComponent* owner) : TWinControl(owner)
{
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 250, 150);
}

void TCustomListView::SetColumns(std::vector<TListColumn> columns)
{
    m_columns = std::move(columns);
    if (m_sortColumn >= static_cast<std::int32_t>(m_columns.size()))
        m_sortColumn = -1;
    Changed(Aspect::Columns);
}

void TCustomListView::SetColumnWidth(std::size_t column, std::int32_t width)
{
    if (column >= m_columns.size() || m_columns[column].width == width)
        return;
    m_columns[column].width = width;
    Changed(Aspect::Columns);
}

void TCustomListView::ColumnWidthFromWindow(std::size_t column, std::int32_t width)
{
    if (column < m_columns.size())
        m_columns[column].width = width;
}

std::vector<std::string> TCustomListView::Captions() const
{
    std::vector<std::string> captions;
    captions.reserve(m_items.size());
    for (const TListItem& item : m_items)
        captions.push_back(item.caption);
    return captions;
}

void TCustomListView::SetItems(std::vector<TListItem> items)
{
    m_items = std::move(items);
    m_selected.assign(m_items.size(), false);
    m_focused = -1;
    m_editing = -1;
    m_dropHighlight = -1;
    Changed(Aspect::Items);
}

void TCustomListView::SetItem(std::size_t index, TListItem item)
{
    if (index >= m_items.size())
        return;
    m_items[index] = std::move(item);
    Changed(Aspect::Items);
}

void TCustomListView::SetItemIndex(std::int32_t index)
{
    if (index < -1 || index >= static_cast<std::int32_t>(m_items.size()))
        index = -1;
    m_selected.assign(m_items.size(), false);
    if (index >= 0)
        m_selected[index] = true;
    m_focused = index;
    Changed(Aspect::ItemIndex);
}

bool TCustomListView::Selected(std::size_t index) const
{
    return index < m_selected.size() && m_selected[index];
}

void TCustomListView::SetSelected(std::size_t index, bool selected)
{
    if (index >= m_items.size())
        return;
    if (selected && !m_multiSelect)
        m_selected.assign(m_items.size(), false);
    m_selected[index] = selected;
    // Selecting more leaves the focus where it was.
    if (selected && (m_focused < 0 || !m_multiSelect))
        m_focused = static_cast<std::int32_t>(index);
    Changed(Aspect::ItemIndex);
}

void TCustomListView::SelectAll()
{
    if (!m_multiSelect || m_items.empty())
        return;
    m_selected.assign(m_items.size(), true);
    if (m_focused < 0)
        m_focused = 0;
    Changed(Aspect::ItemIndex);
}

std::vector<std::size_t> TCustomListView::SelectedIndexes() const
{
    std::vector<std::size_t> indexes;
    for (std::size_t i = 0; i < m_selected.size(); ++i)
        if (m_selected[i])
            indexes.push_back(i);
    return indexes;
}

void TCustomListView::SetViewStyle(TViewStyle style)
{
    if (style == m_viewStyle)
        return;
    m_viewStyle = style;
    RecreateWnd();
}

void TCustomListView::SetMultiSelect(bool multi)
{
    if (multi == m_multiSelect)
        return;
    m_multiSelect = multi;
    SetItemIndex(m_focused);
    RecreateWnd();
}

void TCustomListView::SetSortColumn(std::int32_t column)
{
    if (column == m_sortColumn)
        return;
    m_sortColumn = column;
    Changed(Aspect::Columns);
}

void TCustomListView::SetSortAscending(bool ascending)
{
    if (ascending == m_sortAscending)
        return;
    m_sortAscending = ascending;
    Changed(Aspect::Columns);
}

void TCustomListView::SetHeaderSortDisplayMode(TNsLvHeaderSortDisplayMode mode)
{
    if (mode == m_sortDisplay)
        return;
    m_sortDisplay = mode;
    Changed(Aspect::Columns);
}

bool TCustomListView::CanEditItem(std::int32_t index) const
{
    return !readOnly && index >= 0 && index < static_cast<std::int32_t>(m_items.size());
}

std::string TCustomListView::EditTextOf(std::int32_t index) const
{
    return index >= 0 && index < static_cast<std::int32_t>(m_items.size()) ? m_items[index].caption
                                                                          : std::string();
}

void TCustomListView::EditItem(std::int32_t index)
{
    if (!CanEditItem(index))
        return;
    m_editing = index;
    Changed(Aspect::EditLabel);
}

void TCustomListView::EditedFromWindow(std::int32_t index, const std::string* text)
{
    m_editing = -1;
    if (text && index >= 0 && index < static_cast<std::int32_t>(m_items.size()))
        m_items[index].caption = *text;
}

void TCustomListView::SelectionFromWindow(std::vector<bool> selected, std::int32_t focused)
{
    selected.resize(m_items.size(), false);
    const bool changed = selected != m_selected || focused != m_focused;
    m_selected = std::move(selected);
    m_focused = focused >= 0 && focused < static_cast<std::int32_t>(m_items.size()) ? focused : -1;
    if (changed)
        onChange(this);
}

void TCustomListView::ColumnClickFromWindow(std::int32_t column) {}

void TCustomListView::SetDropHighlight(std::int32_t index)
{
    if (index < -1 || index >= static_cast<std::int32_t>(m_items.size()))
        index = -1;
    if (index == m_dropHighlight)
        return;
    m_dropHighlight = index;
    Changed(Aspect::DropHighlight);
}

}  // namespace setup::ui
