#include "setup/ui/list_controls.h"

#include <algorithm>

#include "setup/forms/class_builder.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
}

}  // namespace

const ClassInfo& TListControl::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TListControl>("TListControl", &TWinControl::StaticClass())
            .Property("Items", &TListControl::Items, &TListControl::SetItems)
            .Property("ItemIndex", &TListControl::ItemIndex, &TListControl::SetItemIndex)
            .Property("Sorted", &TListControl::Sorted, &TListControl::SetSorted)
            .Build();
    return info;
}

TListControl::TListControl(forms::TComponent* owner)
    : TWinControl(owner), m_items(std::make_unique<forms::TStrings>())
{
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    m_items->OnChange = [this] {
        if (m_sorting)
            return;
        if (m_sorted)
            SortItems();
        ItemsChanged();
    };
}

void TListControl::SetItemIndex(std::int32_t index)
{
    // Form files store ItemIndex before or after Items; the index is kept until both are read.
    if (!HasState(forms::csLoading) &&
        (index < -1 || index >= static_cast<std::int32_t>(m_items->Count())))
        index = -1;
    if (index == m_itemIndex)
        return;
    m_itemIndex = index;
    Changed(Aspect::ItemIndex);
}

void TListControl::ItemIndexFromWindow(std::int32_t index)
{
    m_itemIndex = index;
}

void TListControl::SetSorted(bool sorted)
{
    m_sorted = sorted;
    if (sorted) {
        SortItems();
        ItemsChanged();
    }
}

void TListControl::SortItems()
{
    std::vector<std::string> items = m_items->Items();
    std::stable_sort(items.begin(), items.end(), LessIgnoringCase);
    m_sorting = true;
    m_items->SetItems(std::move(items));
    m_sorting = false;
}

void TListControl::ItemsChanged()
{
    if (!HasState(forms::csLoading) && m_itemIndex >= static_cast<std::int32_t>(m_items->Count()))
        m_itemIndex = -1;
    Changed(Aspect::Items);
}

const ClassInfo& TCustomListBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomListBox>("TCustomListBox", &TListControl::StaticClass())
            .Property("Columns", &TCustomListBox::columns)
            .Property("ExtendedSelect", &TCustomListBox::extendedSelect)
            .Property("IntegralHeight", &TCustomListBox::integralHeight)
            .Property("ItemHeight", &TCustomListBox::itemHeight)
            .Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
            .Property("Style", &TCustomListBox::style)
            .Build();
    return info;
}

TCustomListBox::TCustomListBox(forms::TComponent* owner) : TListControl(owner)
{
    SetBounds(0, 0, 121, 97);
}

void TCustomListBox::SetItemIndex(std::int32_t index)
{
    TListControl::SetItemIndex(index);
    if (!m_multiSelect)
        return;
    m_selected.assign(Items()->Count(), false);
    if (ItemIndex() >= 0 && static_cast<std::size_t>(ItemIndex()) < m_selected.size())
        m_selected[ItemIndex()] = true;
}

void TCustomListBox::SetMultiSelect(bool multi)
{
    if (multi == m_multiSelect)
        return;
    m_multiSelect = multi;
    m_selected.assign(Items()->Count(), false);
    RecreateWnd();
}

bool TCustomListBox::Selected(std::size_t index) const
{
    if (!m_multiSelect)
        return ItemIndex() >= 0 && static_cast<std::size_t>(ItemIndex()) == index;
    return index < m_selected.size() && m_selected[index];
}

void TCustomListBox::SetSelected(std::size_t index, bool selected)
{
    if (index >= Items()->Count())
        return;
    if (!m_multiSelect) {
        if (selected)
            SetItemIndex(static_cast<std::int32_t>(index));
        else if (ItemIndex() == static_cast<std::int32_t>(index))
            SetItemIndex(-1);
        return;
    }
    m_selected.resize(Items()->Count(), false);
    m_selected[index] = selected;
    Changed(Aspect::State);
}

void TCustomListBox::SelectionFromWindow(std::vector<bool> selected)
{
    m_selected = std::move(selected);
    m_selected.resize(Items()->Count(), false);
}

std::int32_t TCustomListBox::SelCount() const
{
    if (!m_multiSelect)
        return ItemIndex() >= 0 ? 1 : 0;
    return static_cast<std::int32_t>(std::count(m_selected.begin(), m_selected.end(), true));
}

void TCustomListBox::ItemIndexFromWindow(std::int32_t index)
{
    TListControl::ItemIndexFromWindow(index);
    Click();
}

void TCustomListBox::ItemsChanged()
{
    m_selected.resize(Items()->Count(), false);
    TListControl::ItemsChanged();
}

const ClassInfo& TListBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TListBox>("TListBox", &TCustomListBox::StaticClass()).Build();
    return info;
}

const ClassInfo& TCheckListBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCheckListBox>("TCheckListBox", &TCustomListBox::StaticClass())
            .Property("AllowGrayed", &TCheckListBox::allowGrayed)
            .Property("OnClickCheck", &TCheckListBox::onClickCheck)
            .Build();
    return info;
}

TCheckBoxState TCheckListBox::State(std::size_t index) const
{
    return index < m_states.size() ? m_states[index] : cbUnchecked;
}

void TCheckListBox::SetChecked(std::size_t index, bool checked)
{
    SetState(index, checked ? cbChecked : cbUnchecked);
}

void TCheckListBox::SetState(std::size_t index, TCheckBoxState state)
{
    if (index >= Items()->Count())
        return;
    m_states.resize(Items()->Count(), cbUnchecked);
    if (m_states[index] == state)
        return;
    m_states[index] = state;
    Changed(Aspect::State);
}

void TCheckListBox::ToggleFromWindow(std::size_t index)
{
    if (index >= Items()->Count())
        return;
    const TCheckBoxState state = State(index);
    TCheckBoxState next = cbUnchecked;
    if (state == cbUnchecked)
        next = cbChecked;
    else if (state == cbChecked && allowGrayed)
        next = cbGrayed;
    SetState(index, next);
    onClickCheck(this);
}

void TCheckListBox::ItemsChanged()
{
    // The check states go with their items only as far as the count goes; a new list of items
    // starts unchecked where there was no item before.
    m_states.resize(Items()->Count(), cbUnchecked);
    TCustomListBox::ItemsChanged();
}

const ClassInfo& TCustomComboBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomComboBox>("TCustomComboBox", &TListControl::StaticClass())
            .Property("DropDownCount", &TCustomComboBox::dropDownCount)
            .Property("ItemHeight", &TCustomComboBox::itemHeight)
            .Property("MaxLength", &TCustomComboBox::maxLength)
            .Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle)
            .Property("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText)
            .Property("OnChange", &TCustomComboBox::onChange)
            .Property("OnSelect", &TCustomComboBox::onSelect)
            .Build();
    return info;
}

TCustomComboBox::TCustomComboBox(forms::TComponent* owner) : TListControl(owner)
{
    SetBounds(0, 0, 145, 21);
}

void TCustomComboBox::SetStyle(TComboBoxStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    RecreateWnd();
}

void TCustomComboBox::SetItemIndex(std::int32_t index)
{
    TListControl::SetItemIndex(index);
    const std::int32_t current = ItemIndex();
    if (current >= 0 && static_cast<std::size_t>(current) < Items()->Count())
        m_text = (*Items())[current];
    else if (m_style == csDropDownList && !HasState(forms::csLoading))
        m_text.clear();
}

void TCustomComboBox::SetCaption(const std::string& text)
{
    if (m_style == csDropDownList && !HasState(forms::csLoading)) {
        SetItemIndex(Items()->IndexOf(text));
        return;
    }
    TListControl::SetCaption(text);
}

void TCustomComboBox::ItemIndexFromWindow(std::int32_t index)
{
    TListControl::ItemIndexFromWindow(index);
    if (index >= 0 && static_cast<std::size_t>(index) < Items()->Count())
        m_text = (*Items())[index];
    Click();
    onSelect(this);
    onChange(this);
}

void TCustomComboBox::TextFromWindow(const std::string& text)
{
    m_text = text;
    TListControl::ItemIndexFromWindow(Items()->IndexOf(text));
    onChange(this);
}

const ClassInfo& TComboBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TComboBox>("TComboBox", &TCustomComboBox::StaticClass()).Build();
    return info;
}

}  // namespace setup::ui
