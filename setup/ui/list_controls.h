// List boxes, check list boxes and combo boxes: items, the selected index and the check states
// in fields; the window reports selections and checks the user made.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setup/forms/strings.h"
#include "setup/ui/control.h"

namespace setup::ui {

enum TListBoxStyle
{
    lbStandard,
    lbOwnerDrawFixed,
    lbOwnerDrawVariable,
    lbVirtual,
    lbVirtualOwnerDraw,
};
enum TComboBoxStyle
{
    csDropDown,
    csSimple,
    csDropDownList,
    csOwnerDrawFixed,
    csOwnerDrawVariable,
};
enum TCheckBoxState
{
    cbUnchecked,
    cbChecked,
    cbGrayed,
};

// What list boxes and combo boxes share: the items, kept sorted when asked, and the index.
class TListControl : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TListControl(forms::TComponent* owner);

    forms::TStrings* Items() const { return m_items.get(); }
    void SetItems(forms::TStrings* items) { m_items->Assign(*items); }
    // -1 for none; out-of-range values select nothing.
    std::int32_t ItemIndex() const { return m_itemIndex; }
    virtual void SetItemIndex(std::int32_t index);
    bool Sorted() const { return m_sorted; }
    void SetSorted(bool sorted);
    // The selection the user made in the window.
    virtual void ItemIndexFromWindow(std::int32_t index);

protected:
    // Called after the items changed (and were sorted when asked).
    virtual void ItemsChanged();

private:
    void SortItems();

    std::unique_ptr<forms::TStrings> m_items;
    std::int32_t m_itemIndex = -1;
    bool m_sorted = false;
    bool m_sorting = false;
};

class TCustomListBox : public TListControl
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomListBox(forms::TComponent* owner);

    void SetItemIndex(std::int32_t index) override;
    bool MultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool multi);
    bool Selected(std::size_t index) const;
    void SetSelected(std::size_t index, bool selected);
    // The selection flags the window holds, for multi-selection lists.
    void SelectionFromWindow(std::vector<bool> selected);
    std::int32_t SelCount() const;

    bool extendedSelect = true;
    TListBoxStyle style = lbStandard;
    std::int32_t itemHeight = 16;
    std::int32_t columns = 0;
    bool integralHeight = false;

    void ItemIndexFromWindow(std::int32_t index) override;

protected:
    void ItemsChanged() override;

private:
    bool m_multiSelect = false;
    std::vector<bool> m_selected;
};

class TListBox : public TCustomListBox
{
public:
    FORMS_CLASS_INFO()
    using TCustomListBox::TCustomListBox;
};

class TCheckListBox : public TCustomListBox
{
public:
    FORMS_CLASS_INFO()
    using TCustomListBox::TCustomListBox;

    bool Checked(std::size_t index) const { return State(index) == cbChecked; }
    void SetChecked(std::size_t index, bool checked);
    TCheckBoxState State(std::size_t index) const;
    void SetState(std::size_t index, TCheckBoxState state);
    // The user toggled the item's box: unchecked, checked, then grayed when allowed.
    void ToggleFromWindow(std::size_t index);

    bool allowGrayed = false;
    TNotifyEvent onClickCheck;

protected:
    void ItemsChanged() override;

private:
    std::vector<TCheckBoxState> m_states;
};

class TCustomComboBox : public TListControl
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomComboBox(forms::TComponent* owner);

    TComboBoxStyle Style() const { return m_style; }
    void SetStyle(TComboBoxStyle style);
    void SetItemIndex(std::int32_t index) override;
    // A drop-down list shows only items: its text follows the selection.
    void SetCaption(const std::string& text) override;
    std::int32_t dropDownCount = 8;
    std::int32_t maxLength = 0;
    std::int32_t itemHeight = 13;

    void ItemIndexFromWindow(std::int32_t index) override;
    void TextFromWindow(const std::string& text);

    TNotifyEvent onChange;
    TNotifyEvent onSelect;

private:
    TComboBoxStyle m_style = csDropDown;
};

class TComboBox : public TCustomComboBox
{
public:
    FORMS_CLASS_INFO()
    using TCustomComboBox::TCustomComboBox;
};

}  // namespace setup::ui

UI_ENUM_TYPE(TListBoxStyle, "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable", "lbVirtual",
             "lbVirtualOwnerDraw")
UI_ENUM_TYPE(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
             "csOwnerDrawVariable")
UI_ENUM_TYPE(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")
