#include "setup/ui/inspector/inspector_grid.h"

#include <algorithm>
#include <cstdlib>

#include "setup/forms/class_builder.h"
#include "setup/forms/strings.h"
#include "setup/ui/form.h"
#include "setup/ui/inspector/inspector_system.h"

namespace setup::ui {
namespace layout = inspector_layout;
namespace {

constexpr std::uint16_t kKeyTab = 0x09;
constexpr std::uint16_t kKeyPageUp = 0x21;
constexpr std::uint16_t kKeyPageDown = 0x22;
constexpr std::uint16_t kKeyEnd = 0x23;
constexpr std::uint16_t kKeyHome = 0x24;
constexpr std::uint16_t kKeyUp = 0x26;
constexpr std::uint16_t kKeyDown = 0x28;
constexpr int kWheelNotch = 120;

TCustomForm* FormOf(TControl* control)
{
    for (; control; control = control->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(control))
            return form;
    return nullptr;
}

// Where a control's client area starts in its form's client area.
TPoint OffsetInForm(const TControl* control)
{
    TPoint offset;
    for (; control && !dynamic_cast<const TCustomForm*>(control); control = control->Parent()) {
        offset.x += control->Left();
        offset.y += control->Top();
    }
    return offset;
}

}  // namespace

const forms::ClassInfo& TInspectorEdit::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TInspectorEdit>("TInspectorEdit", &TEdit::StaticClass()).Build();
    return info;
}

TInspectorEdit::TInspectorEdit(TCustomInspector& grid) : TEdit(&grid), m_grid(grid)
{
    borderStyle = bsNone;
    SetVisible(false);
}

void TInspectorEdit::KeyDownFromWindow(std::uint16_t& key, TShiftState shift)
{
    if (m_grid.SpecialKey(key, shift))
        key = 0;
}

void TInspectorEdit::KeyPressFromWindow(char& c)
{
    typed = true;
    // Enter and Esc were keys for the grid; as characters they would only beep.
    if (c == '\r' || c == '\x1b') {
        c = 0;
        return;
    }
    if (c >= ' ' && !m_grid.ValidateChar(m_grid.ItemIndex(), c)) {
        c = 0;
        if (IInspectorSystem* system = m_grid.system)
            system->Beep();
    }
}

void TInspectorEdit::Change()
{
    if (typed)
        modified = true;
    TEdit::Change();
    m_grid.ChangeValue(m_grid.ItemIndex(), typed, Text());
    typed = false;
}

void TInspectorEdit::FocusFromWindow(bool gained)
{
    if (!gained && m_grid.DroppedDown() && !m_grid.DropDownList()->Focused())
        m_grid.CloseDropDown(false);
}

bool TInspectorEdit::MouseWheelFromWindow(int delta, TShiftState shift)
{
    return m_grid.MouseWheelFromWindow(delta, shift);
}

const forms::ClassInfo& TInspectorPopup::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TInspectorPopup>("TInspectorPopup", &TListBox::StaticClass()).Build();
    return info;
}

TInspectorPopup::TInspectorPopup(TCustomInspector& grid) : TListBox(&grid), m_grid(grid)
{
    SetVisible(false);
}

void TInspectorPopup::KeyDownFromWindow(std::uint16_t& key, TShiftState shift)
{
    if (key == kKeyEnter)
        m_grid.CloseDropDown(true);
    else if (key == kKeyEscape || key == kKeyTab)
        m_grid.CloseDropDown(false);
    else
        return;
    key = 0;
}

void TInspectorPopup::ItemIndexFromWindow(std::int32_t index)
{
    TListBox::ItemIndexFromWindow(index);
    // Choosing an entry in the list takes it.
    if (index >= 0)
        m_grid.CloseDropDown(true);
}

const forms::ClassInfo& TCustomInspector::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TCustomInspector>("TCustomInspector", &TCustomControl::StaticClass())
            .Build();
    return info;
}

namespace {

// A question's default answer, which the event may change.
template <class T, class Event>
T Asked(const Event& event, int row, T value)
{
    if (event)
        event(row, value);
    return value;
}

}  // namespace

TCustomInspector::TCustomInspector(forms::TComponent* owner)
    : TCustomControl(owner), m_edit(new TInspectorEdit(*this)), m_list(new TInspectorPopup(*this))
{
    SetColor(clBtnFace);
    SetTabStop(true);
    m_edit->SetParent(this);
    m_edit->SetColor(clWindow);
}

TCustomInspector::~TCustomInspector() = default;

IInspectorSystem& TCustomInspector::System() const
{
    return system ? *system : NoInspectorSystem();
}

int TCustomInspector::RowHeight() const
{
    return std::max(1, layout::RowHeight(Font()->Height()));
}

int TCustomInspector::VisibleRowCount() const
{
    return layout::VisibleRows(TCustomControl::ClientRect().Height(), RowHeight());
}

TRect TCustomInspector::ClientRect() const
{
    TRect client = TCustomControl::ClientRect();
    if (ScrollBarShown())
        client.right = std::max(client.left, client.right - System().ScrollBarWidth());
    return client;
}

void TCustomInspector::SetTop(int top)
{
    top = layout::ClampTopIndex(top, m_itemCount, VisibleRowCount());
    if (top == m_top)
        return;
    m_top = top;
    Changed(Aspect::Position);
}

void TCustomInspector::SetTopIndex(int top)
{
    const int before = m_top;
    SetTop(top);
    if (m_top == before)
        return;
    // The rows moved under the list and the editors.
    if (m_list->Visible())
        m_list->SetVisible(false);
    PlaceEditors();
    Changed(Aspect::Paint);
}

void TCustomInspector::ScrollFromWindow(layout::ScrollCode code, int thumb)
{
    SetTopIndex(layout::ScrolledTop(m_top, code, thumb, m_itemCount, VisibleRowCount()));
}

bool TCustomInspector::MouseWheelFromWindow(int delta, TShiftState shift)
{
    if (HasState(forms::csDesigning) || m_itemCount == 0)
        return false;
    m_wheelRest += delta;
    const int notches = m_wheelRest / kWheelNotch;
    m_wheelRest %= kWheelNotch;
    if (notches != 0)
        SetTopIndex(layout::WheelTop(m_top, notches, System().WheelScrollLines(), m_itemCount,
                                     VisibleRowCount()));
    return true;
}

TRect TCustomInspector::ItemRect(int row) const
{
    const int top = (row - m_top) * RowHeight();
    return {0, top, ClientRect().Width(), top + RowHeight()};
}

int TCustomInspector::RowAt(int y) const
{
    const int row = m_top + (y < 0 ? -1 : y / RowHeight());
    return std::min(std::max(row, 0), m_itemCount - 1);
}

void TCustomInspector::SetItemCount(int count)
{
    count = std::max(count, 0);
    // The rows may now be other properties: a pending text must not reach the wrong one.
    m_edit->modified = false;
    m_itemCount = count;
    if (m_current >= count)
        m_current = -1;
    Changed(Aspect::Range);
    SetTop(m_top);
    if (count > 0)
        SelectRow(std::min(std::max(GetDefaultIndex(), 0), count - 1), true);
    else
        m_current = -1;
    Update();
}

void TCustomInspector::SetSplitter(int value)
{
    if (!layout::SplitterChanges(m_splitter, value, ClientRect().Width()))
        return;
    m_splitter = value;
    PlaceEditors();
    Changed(Aspect::Paint);
}

void TCustomInspector::SetCheckBoxes(bool checkBoxes)
{
    m_checkBoxes = checkBoxes;
    Update();
}

void TCustomInspector::SetPaintStyle(TPaintStyle style)
{
    m_paintStyle = style;
    Changed(Aspect::Paint);
}

void TCustomInspector::SetBounds(int left, int top, int width, int height)
{
    TCustomControl::SetBounds(left, top, width, height);
    // A taller grid shows more rows: the scroll bar's page and the top row follow.
    Changed(Aspect::Range);
    SetTop(m_top);
    Update();
}

void TCustomInspector::ScrollIntoView(int row)
{
    const int visible = VisibleRowCount();
    if (row < m_top)
        SetTop(row);
    else if (row >= m_top + visible)
        SetTop(row - visible + 1);
}

void TCustomInspector::SelectRow(int index, bool force)
{
    if (HasState(forms::csDesigning))
        return;
    if ((index == m_current || index == -1) && !force)
        return;
    if (index != -1 && m_current >= 0 && !GetReadOnly(m_current) && GetAutoApply(m_current))
        ApplyEditorValue();
    if (index != m_current) {
        if (m_current >= 0)
            DeselectItem(m_current);
    }
    const int previous = m_current;
    m_current = index;
    if (m_current >= 0)
        ScrollIntoView(m_current);
    PlaceEditors();
    if (onSelect)
        onSelect(index);
    if (index != previous && index >= 0)
        SelectItem(index);
    Changed(Aspect::Paint);
}

void TCustomInspector::ApplyEditorValue()
{
    if (m_current < 0 || GetInplaceEditorType(m_current) != ieEdit || !m_edit->modified)
        return;
    SetValue(m_current, m_edit->Text());
    m_edit->modified = false;
}

void TCustomInspector::RevertEditor()
{
    if (m_current < 0)
        return;
    const TInplaceEditorType type = GetInplaceEditorType(m_current);
    if (type == ieEdit) {
        m_edit->SetText(GetValue(m_current));
        m_edit->modified = false;
    } else if (type == ieCheckBox) {
        m_checkState = GetValue(m_current) == "True";
    }
}

TRect TCustomInspector::ButtonRect() const
{
    const TRect item = ItemRect(m_current);
    return {item.right - item.Height() + 1, item.top, item.right, item.bottom - 1};
}

void TCustomInspector::PlaceEditors()
{
    const bool hadFocus = Focused() || m_edit->Focused();
    if (HasState(forms::csDesigning) || m_itemCount == 0 || m_current < 0) {
        m_edit->SetVisible(false);
        m_buttonKind = btNone;
        return;
    }
    const int row = m_current;
    m_buttonKind = GetButtonType(row);
    const TRect item = ItemRect(row);
    TRect edit{m_splitter + 3, item.top + 1, item.right - 2, item.bottom - 3};
    if (m_buttonKind != btNone)
        edit.right -= ButtonRect().Width();
    edit = {edit.left - 1, edit.top + 1 - 1, edit.right + 1, edit.bottom - 1 + 1};
    m_edit->SetFont(Font());
    m_edit->SetBounds(edit.left, edit.top, edit.Width(), edit.Height());
    m_edit->SetReadOnly(GetReadOnly(row));
    m_edit->SetMaxLength(GetMaxLength(row));
    const bool typedBefore = m_edit->typed;
    m_edit->typed = false;
    m_edit->SetText(GetValue(row));
    m_edit->typed = typedBefore;
    m_edit->modified = false;
    const TInplaceEditorType type = GetInplaceEditorType(row);
    m_checkState = type == ieCheckBox && GetValue(row) == "True";
    m_edit->SetVisible(type == ieEdit);
    if (hadFocus && type == ieEdit && m_edit->HandleAllocated())
        m_edit->SetFocus();
    else if (hadFocus && HandleAllocated() && !Focused())
        SetFocus();
}

bool TCustomInspector::ActivateValue(int mode)
{
    if (m_current < 0 || !FormOf(this))
        return false;
    const int row = m_current;
    if (mode == 0) {
        bool enableDefault = true;
        if (onValueDoubleClick)
            onValueDoubleClick(row, enableDefault);
        bool result = false;
        if (enableDefault) {
            if (GetEnableExternalEditor(row)) {
                result = CallEditor(row);
            } else if (!GetReadOnly(row)) {
                SetValue(row, GetNextValue(row));
                result = true;
            }
        }
        if (result)
            Update();
        return result;
    }
    // Drop-down: the list in the grid's form, under the row (over it near the form's bottom).
    TCustomForm* form = FormOf(this);
    std::vector<std::string> values = GetValuesList(row);
    if (GetSortValuesList(row))
        std::sort(values.begin(), values.end());
    m_list->SetVisible(false);
    m_list->SetParent(form);
    m_list->SetFont(Font());
    m_list->Items()->Clear();
    int widest = 0;
    for (const std::string& value : values) {
        m_list->Items()->Add(value);
        widest = std::max(widest, static_cast<int>(value.size()) * RowHeight() / 2);
    }
    const int count = static_cast<int>(values.size());
    const int height = layout::DropDownHeight(count, RowHeight());
    const int width = layout::DropDownWidth(widest, count, System().ScrollBarWidth(),
                                            ClientRect().Width(), m_splitter);
    const TPoint origin = OffsetInForm(this);
    int left = std::min(m_splitter, ClientRect().Width() - width);
    const int top = layout::DropDownTop(origin.y + ItemRect(row).bottom, RowHeight(), height,
                                        form->ClientRect().Height());
    m_list->SetBounds(origin.x + left, top, width, height);
    const std::string selected = GetSelectedValue(row);
    const auto found = std::find(values.begin(), values.end(), selected);
    m_list->SetItemIndex(found == values.end() ? -1 : static_cast<int>(found - values.begin()));
    m_list->SetVisible(true);
    if (m_list->HandleAllocated())
        m_list->SetFocus();
    return true;
}

bool TCustomInspector::DroppedDown() const
{
    return m_list->Visible();
}

void TCustomInspector::CloseDropDown(bool accept)
{
    if (!m_list->Visible())
        return;
    m_list->SetVisible(false);
    const int index = m_list->ItemIndex();
    if (accept && m_current >= 0 && index >= 0 &&
        static_cast<std::size_t>(index) < m_list->Items()->Count()) {
        m_edit->typed = true;
        SetValue(m_current, (*m_list->Items())[static_cast<std::size_t>(index)]);
    }
    if (HandleAllocated())
        SetFocus();
    PlaceEditors();
    Changed(Aspect::Paint);
}

void TCustomInspector::ToggleExpand(int row)
{
    const TExpandState state = GetExpandState(row);
    if (state == esExpand) {
        const int before = m_itemCount;
        Expand(row);
        const int added = m_itemCount - before;
        // The new rows come into view, the expanded one staying at the top at most.
        SetTop(std::min(std::max(m_top, row + added - VisibleRowCount() + 1), row));
        Update();
    } else if (state == esCollapse) {
        Collapse(row);
        SelectRow(row, true);
    }
}

void TCustomInspector::Update()
{
    if (m_updateCount > 0)
        return;
    if (m_list->Visible())
        m_list->SetVisible(false);
    Changed(Aspect::Paint);
    PlaceEditors();
    Updated();
    if (onUpdate)
        onUpdate();
}

bool TCustomInspector::EndUpdate()
{
    const bool was = m_updateCount > 0;
    if (was)
        --m_updateCount;
    return was;
}

bool TCustomInspector::SpecialKey(std::uint16_t key, TShiftState shift)
{
    if (HasState(forms::csDesigning))
        return false;
    const bool alt = shift.Has(ssAlt);
    const bool ctrl = shift.Has(ssCtrl);
    if (m_current >= 0 && alt && (key == kKeyEnter || key == kKeyDown)) {
        if (GetButtonType(m_current) == btDropDown)
            ActivateValue(1);
        return true;
    }
    switch (key) {
        case kKeyEnter:
            if (m_current < 0)
                return true;
            if (ctrl) {
                if (GetButtonType(m_current) == btDialog)
                    ActivateValue(0);
                return true;
            }
            m_edit->modified = true;
            ApplyEditorValue();
            Update();
            m_edit->modified = false;
            return true;
        case kKeyEscape:
            RevertEditor();
            Update();
            return true;
        case kKeyUp:
            if (m_current > 0)
                SelectRow(m_current - 1, false);
            return true;
        case kKeyDown:
            if (m_current + 1 < m_itemCount)
                SelectRow(m_current + 1, false);
            return true;
        case kKeyPageUp:
        case kKeyPageDown:
            if (m_itemCount > 0)
                SelectRow(layout::PageRow(m_current, key == kKeyPageDown, m_itemCount,
                                          VisibleRowCount()),
                          false);
            return true;
        default:
            return false;
    }
}

void TCustomInspector::KeyDownFromWindow(std::uint16_t& key, TShiftState shift)
{
    // Home and End move the edit's caret; on the grid itself they go to the first and last row.
    if ((key == kKeyHome || key == kKeyEnd) && m_itemCount > 0 &&
        !HasState(forms::csDesigning)) {
        SelectRow(key == kKeyHome ? 0 : m_itemCount - 1, false);
        key = 0;
        return;
    }
    if (SpecialKey(key, shift))
        key = 0;
}

void TCustomInspector::PressButton()
{
    m_buttonPressed = true;
    m_mouse = MouseMode::Button;
    Changed(Aspect::Paint);
}

void TCustomInspector::MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x,
                                       int y)
{
    TCustomControl::MouseFromWindow(down, button, shift, x, y);
    if (HasState(forms::csDesigning) || m_itemCount == 0)
        return;
    if (button == mbRight) {
        if (down)
            SelectRow(RowAt(y), false);
        return;
    }
    if (down && shift.Has(ssDouble)) {
        m_buttonPressed = false;
        m_mouse = MouseMode::None;
        CloseDropDown(false);
        const int row = RowAt(y);
        if (x < m_splitter)
            ToggleExpand(row);
        else if (row == m_current)
            ActivateValue(0);
        return;
    }
    if (down) {
        if (DroppedDown()) {
            CloseDropDown(false);
            return;
        }
        if (ButtonVisible() && ButtonRect().Contains({x, y})) {
            PressButton();
            return;
        }
        if (std::abs(x - m_splitter) <= 2) {
            m_mouse = MouseMode::Splitter;
            m_splitterDrag = m_splitter;
            return;
        }
        const int row = RowAt(y);
        SelectRow(row, false);
        if (GetExpandState(row) != esNone &&
            layout::HitsExpandBox(x, GetLevel(row), layout::LevelIndent(m_paintStyle)))
            ToggleExpand(row);
        else if (GetInplaceEditorType(row) == ieCheckBox && m_checkBoxes && x > m_splitter &&
                 !GetReadOnly(row)) {
            m_edit->typed = true;
            SetValue(row, GetValue(row) == "True" ? "False" : "True");
            Update();
        } else {
            m_mouse = MouseMode::Tracking;
        }
        return;
    }
    const MouseMode mode = m_mouse;
    m_mouse = MouseMode::None;
    if (mode == MouseMode::Splitter) {
        SetSplitter(m_splitterDrag);
    } else if (mode == MouseMode::Button && m_buttonPressed) {
        m_buttonPressed = false;
        Changed(Aspect::Paint);
        if (m_buttonKind == btDropDown) {
            ActivateValue(1);
        } else if (m_buttonKind == btDialog) {
            ActivateValue(0);
        } else if (m_buttonKind == btUpDown) {
            ApplyEditorValue();
            Update();
        }
    }
}

void TCustomInspector::MouseMoveFromWindow(TShiftState shift, int x, int y)
{
    if (!shift.Has(ssLeft))
        return;
    switch (m_mouse) {
        case MouseMode::Tracking:
            SelectRow(RowAt(y), false);
            break;
        case MouseMode::Splitter:
            m_splitterDrag = layout::DragSplitter(x, ClientRect().Width());
            Changed(Aspect::Paint);
            break;
        case MouseMode::Button:
            if (m_buttonKind == btUpDown) {
                const TRect button = ButtonRect();
                ChangeByDelta(m_current, y - (button.top + button.bottom) / 2);
            } else {
                m_buttonPressed = ButtonRect().Contains({x, y});
                Changed(Aspect::Paint);
            }
            break;
        default:
            break;
    }
}

bool TCustomInspector::ValidateChar(int row, char& key)
{
    return onValidateChar ? onValidateChar(row, key) : true;
}

void TCustomInspector::ChangeValue(int row, bool editing, const std::string& text)
{
    if (onChangeValue)
        onChangeValue(row, editing, text);
}

std::string TCustomInspector::GetName(int row)
{
    return Asked(onGetName, row, std::string());
}

std::string TCustomInspector::GetValue(int row)
{
    return Asked(onGetValue, row, std::string());
}

std::string TCustomInspector::GetNextValue(int row)
{
    return Asked(onGetNextValue, row, std::string());
}

void TCustomInspector::SetValue(int row, const std::string& text)
{
    if (onSetValue)
        onSetValue(row, text);
}

TButtonType TCustomInspector::GetButtonType(int row)
{
    return Asked(onGetButtonType, row, btNone);
}

TInplaceEditorType TCustomInspector::GetInplaceEditorType(int row)
{
    return Asked(onGetInplaceEditorType, row, ieEdit);
}

bool TCustomInspector::GetEnableExternalEditor(int row)
{
    return Asked(onGetEnableExternalEditor, row, false);
}

bool TCustomInspector::GetReadOnly(int row)
{
    return Asked(onGetReadOnly, row, false);
}

TExpandState TCustomInspector::GetExpandState(int row)
{
    return Asked(onGetExpandState, row, esNone);
}

int TCustomInspector::GetLevel(int row)
{
    return Asked(onGetLevel, row, 0);
}

std::vector<std::string> TCustomInspector::GetValuesList(int row)
{
    return Asked(onGetValuesList, row, std::vector<std::string>());
}

TColor TCustomInspector::GetNameColor(int row)
{
    if (m_paintStyle != psClassic && row == m_current)
        return clHighlight;
    return Color();
}

bool TCustomInspector::CallEditor(int row)
{
    return onCallEditor ? onCallEditor(row) : false;
}

void TCustomInspector::Expand(int row)
{
    if (onExpand)
        onExpand(row);
}

void TCustomInspector::Collapse(int row)
{
    if (onCollapse)
        onCollapse(row);
}

void TCustomInspector::DrawName(TCanvas& canvas, int row, const TRect& rect)
{
    canvas.Brush().SetColor(GetNameColor(row));
    canvas.Font().SetColor(m_paintStyle != psClassic && row == m_current ? clHighlightText
                                                                          : clWindowText);
    canvas.FillRect(rect);
    const int indent = layout::LevelIndent(m_paintStyle);
    const int level = GetLevel(row);
    const int step = m_paintStyle == psClassic ? indent : indent + 2;
    const TExpandState state = GetExpandState(row);
    if (state != esNone) {
        const int box = layout::kExpandBoxSize;
        const TRect square = TRect::Bounds(rect.left + level * step + 2,
                                           rect.top + (rect.Height() - box) / 2, box, box);
        canvas.Pen().SetColor(clBtnShadow);
        canvas.Brush().SetColor(clWindow);
        canvas.Rectangle(square);
        const int middle = square.top + box / 2;
        canvas.Pen().SetColor(clWindowText);
        canvas.MoveTo(square.left + 2, middle);
        canvas.LineTo(square.right - 2, middle);
        if (state == esExpand) {
            const int centre = square.left + box / 2;
            canvas.MoveTo(centre, square.top + 2);
            canvas.LineTo(centre, square.bottom - 2);
        }
        canvas.Brush().SetColor(GetNameColor(row));
    }
    TRect text{rect.left + (level + 1) * step + (m_paintStyle == psClassic ? 4 : 2), rect.top,
               rect.right, rect.bottom};
    canvas.Brush().SetStyle(bsClear);
    canvas.TextRect(text, GetName(row), tfSingleLine | tfVCenter | tfNoPrefix);
    canvas.Brush().SetStyle(bsSolid);
}

void TCustomInspector::DrawValue(TCanvas& canvas, int row, const TRect& rect)
{
    canvas.Brush().SetColor(GetValueColor(row));
    canvas.Font().SetColor(clNavy);
    canvas.FillRect(rect);
    if (GetInplaceEditorType(row) == ieCheckBox && m_checkBoxes) {
        const bool ticked = row == m_current ? m_checkState : GetValue(row) == "True";
        const int size = std::min(13, rect.Height() - 2);
        const TRect box = TRect::Bounds(rect.left + 1, rect.top + (rect.Height() - size) / 2,
                                        size, size);
        canvas.Pen().SetColor(clBtnShadow);
        canvas.Brush().SetColor(clWindow);
        canvas.Rectangle(box);
        if (ticked) {
            canvas.Pen().SetColor(clWindowText);
            canvas.MoveTo(box.left + 3, box.top + size / 2);
            canvas.LineTo(box.left + size / 2 - 1, box.bottom - 4);
            canvas.LineTo(box.right - 3, box.top + 3);
        }
        return;
    }
    TRect text{rect.left + 1, rect.top, rect.right, rect.bottom};
    canvas.Brush().SetStyle(bsClear);
    canvas.TextRect(text, GetValue(row), tfSingleLine | tfVCenter | tfNoPrefix);
    canvas.Brush().SetStyle(bsSolid);
}

void TCustomInspector::DrawRow(TCanvas& canvas, int row)
{
    const TRect item = ItemRect(row);
    canvas.Font().Assign(*Font());
    DrawName(canvas, row, {item.left, item.top, m_splitter, item.bottom});
    const TRect value{m_splitter + 1, item.top, item.right, item.bottom};
    canvas.Font().Assign(*Font());
    if (HasState(forms::csDesigning) || row != m_current ||
        GetInplaceEditorType(row) != ieEdit) {
        DrawValue(canvas, row, value);
    } else {
        canvas.Brush().SetColor(clWindow);
        canvas.FillRect(value);
    }
    // Separator on the row's last line.
    canvas.Pen().SetColor(clBtnShadow);
    const int y = item.bottom - 1;
    if (m_paintStyle == psClassic) {
        for (int x = item.left; x < item.right; x += 2) {
            canvas.MoveTo(x, y);
            canvas.LineTo(x + 1, y);
        }
    } else {
        canvas.MoveTo(m_paintStyle == psTree ? m_splitter : item.left, y);
        canvas.LineTo(item.right, y);
    }
    // Splitter.
    canvas.MoveTo(m_splitter - 1, item.top);
    canvas.LineTo(m_splitter - 1, item.bottom);
    if (m_paintStyle == psClassic) {
        canvas.Pen().SetColor(clBtnHighlight);
        canvas.MoveTo(m_splitter, item.top);
        canvas.LineTo(m_splitter, item.bottom);
    }
    // The current row's sunken frame.
    if (row == m_current && m_paintStyle == psClassic) {
        const TRect frame{item.left, item.top - 2, item.right, item.bottom};
        canvas.Pen().SetColor(clBtnShadow);
        canvas.MoveTo(frame.left, frame.bottom - 1);
        canvas.LineTo(frame.left, frame.top);
        canvas.LineTo(frame.right - 1, frame.top);
        canvas.Pen().SetColor(clBtnHighlight);
        canvas.LineTo(frame.right - 1, frame.bottom - 1);
        canvas.LineTo(frame.left, frame.bottom - 1);
    }
}

void TCustomInspector::DrawButton(TCanvas& canvas)
{
    const TRect r = ButtonRect();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(r);
    const int shift = m_buttonPressed ? 1 : 0;
    if (m_buttonPressed) {
        canvas.Pen().SetColor(clBtnShadow);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(r);
        canvas.Brush().SetStyle(bsSolid);
    } else {
        canvas.Pen().SetColor(cl3DLight);
        canvas.MoveTo(r.left, r.bottom - 1);
        canvas.LineTo(r.left, r.top);
        canvas.LineTo(r.right - 1, r.top);
        canvas.Pen().SetColor(cl3DDkShadow);
        canvas.LineTo(r.right - 1, r.bottom - 1);
        canvas.LineTo(r.left - 1, r.bottom - 1);
    }
    const int cx = (r.left + r.right) / 2 + shift;
    const int cy = (r.top + r.bottom) / 2 + shift;
    canvas.Pen().SetColor(clBlack);
    if (m_buttonKind == btDropDown || m_buttonKind == btUpDown) {
        const int gap = m_buttonKind == btUpDown ? 3 : 0;
        for (int i = 0; i < 4; ++i) {
            canvas.MoveTo(cx - 3 + i, cy - 1 + i + gap - (gap ? 1 : 0));
            canvas.LineTo(cx + 4 - i, cy - 1 + i + gap - (gap ? 1 : 0));
            if (gap) {
                canvas.MoveTo(cx - 3 + i, cy - 2 - i);
                canvas.LineTo(cx + 4 - i, cy - 2 - i);
            }
        }
    } else {
        for (int dot = -4; dot <= 4; dot += 4) {
            canvas.MoveTo(cx + dot, cy + 2);
            canvas.LineTo(cx + dot + 2, cy + 2);
        }
    }
}

void TCustomInspector::Paint(TCanvas& canvas)
{
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
    const int visible = ClientRect().Height() / RowHeight() + 1;
    for (int row = m_top; row < m_itemCount && row < m_top + visible; ++row)
        DrawRow(canvas, row);
    if (ButtonVisible())
        DrawButton(canvas);
    if (m_mouse == MouseMode::Splitter) {
        canvas.Pen().SetColor(clBlack);
        canvas.MoveTo(m_splitterDrag, 0);
        canvas.LineTo(m_splitterDrag, ClientRect().Height());
    }
}

}  // namespace setup::ui
