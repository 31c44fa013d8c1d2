// TCustomInspector: a two-column grid of names and values with a movable splitter. Rows can form
// a tree; the current row gets an in-place edit (or a check box) and a button that drops down the
// admissible values, changes the value by dragging, or opens an external editor. The grid holds no
// data: every fact about a row comes from a virtual question whose default asks an event.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "setup/ui/control.h"
#include "setup/ui/inspector/inspector_layout.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {

class TCustomInspector;
class IInspectorSystem;

// The in-place edit: its keys go to the grid first.
class TInspectorEdit : public TEdit
{
public:
    FORMS_CLASS_INFO()
    TInspectorEdit(TCustomInspector& grid);
    // Set by every key press, cleared after each change report.
    bool typed = false;
    bool modified = false;
    void KeyDownFromWindow(std::uint16_t& key, TShiftState shift) override;
    void KeyPressFromWindow(char& c) override;
    void Change() override;
    void FocusFromWindow(bool gained) override;
    // The wheel scrolls the grid.
    bool MouseWheelFromWindow(int delta, TShiftState shift) override;
    // Enter, Esc and the arrows act on the grid, not on the dialog.
    unsigned WantedKeys() const override { return kwArrows | kwAllKeys; }

private:
    TCustomInspector& m_grid;
};

// The drop-down list of admissible values.
class TInspectorPopup : public TListBox
{
public:
    FORMS_CLASS_INFO()
    TInspectorPopup(TCustomInspector& grid);
    void KeyDownFromWindow(std::uint16_t& key, TShiftState shift) override;
    void ItemIndexFromWindow(std::int32_t index) override;
    unsigned WantedKeys() const override { return kwAllKeys; }

private:
    TCustomInspector& m_grid;
};

class TCustomInspector : public TCustomControl
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomInspector(forms::TComponent* owner);
    ~TCustomInspector() override;

    int ItemCount() const { return m_itemCount; }
    void SetItemCount(int count);
    int Splitter() const { return m_splitter; }
    void SetSplitter(int value);
    bool CheckBoxes() const { return m_checkBoxes; }
    void SetCheckBoxes(bool checkBoxes);
    TPaintStyle PaintStyle() const { return m_paintStyle; }
    void SetPaintStyle(TPaintStyle style);
    int ItemIndex() const { return m_current; }
    // The first row shown; the grid scrolls by it, a whole row at a time.
    int TopIndex() const { return m_top; }
    void SetTopIndex(int top);
    int VisibleRowCount() const;
    // The vertical scroll bar shows while not every row fits.
    bool ScrollBarShown() const { return m_itemCount > VisibleRowCount(); }
    // The scroll bar or the wheel moved the rows.
    void ScrollFromWindow(inspector_layout::ScrollCode code, int thumb);
    bool MouseWheelFromWindow(int delta, TShiftState shift) override;
    // Less the scroll bar while it shows.
    TRect ClientRect() const override;
    int RowHeight() const;
    TRect ItemRect(int row) const;
    int RowAt(int y) const;

    void SelectRow(int index, bool force);
    // Stores a modified edit's text as the current row's value.
    void ApplyEditorValue();
    void RevertEditor();
    void PlaceEditors();
    // Mode 0 activates the value (external editor, or the next value), mode 1 drops the list down.
    bool ActivateValue(int mode);
    void ToggleExpand(int row);
    void Update();
    void BeginUpdate() { ++m_updateCount; }
    bool EndUpdate();
    // Closes the drop-down list, taking its selected value when accepting.
    void CloseDropDown(bool accept);
    bool DroppedDown() const;

    TInspectorEdit* Editor() const { return m_edit; }
    TInspectorPopup* DropDownList() const { return m_list; }
    // Whether the current row's check box is shown ticked.
    bool CheckBoxChecked() const { return m_checkState; }
    TRect ButtonRect() const;
    TButtonType ButtonKind() const { return m_buttonKind; }
    bool ButtonVisible() const { return m_buttonKind != btNone && m_current >= 0; }

    // Keys of the grid and of its edit; true when the grid took the key.
    bool SpecialKey(std::uint16_t key, TShiftState shift);

    IInspectorSystem* system = nullptr;

    // The events the questions ask by default.
    std::function<void(int row)> onSelect;
    std::function<void()> onUpdate;
    std::function<bool(int row, char& key)> onValidateChar;
    std::function<void(int row, bool editing, const std::string& value)> onChangeValue;
    std::function<void(int row, std::string& value)> onGetName;
    std::function<void(int row, std::string& value)> onGetValue;
    std::function<void(int row, std::string& value)> onGetNextValue;
    std::function<void(int row, const std::string& value)> onSetValue;
    std::function<void(int row, TButtonType& type)> onGetButtonType;
    std::function<void(int row, TInplaceEditorType& type)> onGetInplaceEditorType;
    std::function<void(int row, bool& value)> onGetReadOnly;
    std::function<void(int row, bool& value)> onGetEnableExternalEditor;
    std::function<void(int row, TExpandState& state)> onGetExpandState;
    std::function<void(int row, int& level)> onGetLevel;
    std::function<void(int row, std::vector<std::string>& values)> onGetValuesList;
    std::function<bool(int row)> onCallEditor;
    std::function<void(int row, bool& enableDefault)> onValueDoubleClick;
    std::function<void(int row)> onExpand;
    std::function<void(int row)> onCollapse;

    // The questions.
    virtual int GetDefaultIndex() { return 0; }
    virtual bool ValidateChar(int row, char& key);
    virtual void ChangeValue(int row, bool editing, const std::string& text);
    virtual std::string GetName(int row);
    virtual std::string GetValue(int row);
    virtual std::string GetNextValue(int row);
    virtual void SetValue(int row, const std::string& text);
    virtual void ChangeByDelta(int row, int delta) {}
    virtual TButtonType GetButtonType(int row);
    virtual TInplaceEditorType GetInplaceEditorType(int row);
    virtual int GetMaxLength(int row) { return 0; }
    virtual bool GetEnableExternalEditor(int row);
    virtual bool GetReadOnly(int row);
    virtual TExpandState GetExpandState(int row);
    virtual int GetLevel(int row);
    virtual std::vector<std::string> GetValuesList(int row);
    virtual bool GetSortValuesList(int row) { return false; }
    virtual std::string GetSelectedValue(int row) { return GetValue(row); }
    virtual bool GetAutoApply(int row) { return false; }
    virtual TColor GetNameColor(int row);
    virtual TColor GetValueColor(int row) { return Color(); }
    virtual bool CallEditor(int row);
    virtual void Expand(int row);
    virtual void Collapse(int row);
    virtual void SelectItem(int row) {}
    virtual void DeselectItem(int row) {}
    virtual void DrawName(TCanvas& canvas, int row, const TRect& rect);
    virtual void DrawValue(TCanvas& canvas, int row, const TRect& rect);

    void Paint(TCanvas& canvas) override;
    void SetBounds(int left, int top, int width, int height) override;
    void MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMoveFromWindow(TShiftState shift, int x, int y) override;
    void KeyDownFromWindow(std::uint16_t& key, TShiftState shift) override;
    unsigned WantedKeys() const override { return kwArrows | kwAllKeys; }

protected:
    IInspectorSystem& System() const;
    // The grid was brought up to date (before OnUpdate).
    virtual void Updated() {}

private:
    enum class MouseMode
    {
        None,
        Tracking,
        Splitter,
        Button,
    };
    void ScrollIntoView(int row);
    // The top row within its limits, the scroll bar told.
    void SetTop(int top);
    void DrawRow(TCanvas& canvas, int row);
    void DrawButton(TCanvas& canvas);
    void PressButton();

    int m_itemCount = 0;
    int m_splitter = 100;
    bool m_checkBoxes = false;
    TPaintStyle m_paintStyle = psClassic;
    int m_current = -1;
    int m_top = 0;
    // Wheel turns short of a notch, kept for the next.
    int m_wheelRest = 0;
    int m_updateCount = 0;
    MouseMode m_mouse = MouseMode::None;
    int m_splitterDrag = 0;
    bool m_buttonPressed = false;
    TButtonType m_buttonKind = btNone;
    bool m_checkState = false;
    TInspectorEdit* m_edit = nullptr;
    TInspectorPopup* m_list = nullptr;
};

}  // namespace setup::ui

UI_ENUM_TYPE(TPaintStyle, "psClassic", "psTree", "psKelvorn")
