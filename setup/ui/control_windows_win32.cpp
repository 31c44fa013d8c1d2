#include "setup/ui/control_windows_win32.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/text_convert.h"
#include "core/unique_handle.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/containers.h"
#include "setup/ui/file_controls.h"
#include "setup/ui/form.h"
#include "setup/ui/gdi_canvas_win32.h"
#include "setup/ui/glass_frame_win32.h"
#include "setup/ui/image_combo.h"
#include "setup/ui/image_list.h"
#include "setup/ui/inspector/inspector_grid.h"
#include "setup/ui/inspector/inspector_window_win32.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/list_view.h"
#include "setup/ui/list_view_window_win32.h"
#include "setup/ui/shell_drop_target_win32.h"
#include "setup/ui/skin/bmp_button.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/system_images_win32.h"

namespace setup::ui {
namespace {

template <class T>
T& As(TWinControl& control)
{
    return static_cast<T&>(control);
}

std::string WindowText(HWND window)
{
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The library's own window: the control paints itself and its windowless children.
class OwnWindow : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override { return {}; }
};

class FormWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& form = As<TCustomForm>(control);
        WindowParams params;
        const TBorderIcons icons = form.BorderIcons();
        DWORD system = icons.Has(biSystemMenu) ? WS_SYSMENU : 0;
        switch (form.BorderStyle()) {
            case TFormBorderStyle::bsNone:
                params.style = WS_POPUP;
                system = 0;
                break;
            case TFormBorderStyle::bsSingle:
                params.style = WS_CAPTION | (icons.Has(biMinimize) ? WS_MINIMIZEBOX : 0) |
                               (icons.Has(biMaximize) ? WS_MAXIMIZEBOX : 0);
                break;
            case TFormBorderStyle::bsDialog:
                params.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
                params.exStyle = WS_EX_DLGMODALFRAME;
                break;
            case TFormBorderStyle::bsToolWindow:
                params.style = WS_CAPTION;
                params.exStyle = WS_EX_TOOLWINDOW;
                break;
            case TFormBorderStyle::bsSizeToolWin:
                params.style = WS_CAPTION | WS_THICKFRAME;
                params.exStyle = WS_EX_TOOLWINDOW;
                break;
            case TFormBorderStyle::bsSizeable:
                params.style = WS_CAPTION | WS_THICKFRAME |
                               (icons.Has(biMinimize) ? WS_MINIMIZEBOX : 0) |
                               (icons.Has(biMaximize) ? WS_MAXIMIZEBOX : 0);
                break;
        }
        params.style |= system;
        params.exStyle |= form.ExtraExStyle();
        if (form.FormStyle() == TFormStyle::fsStayOnTop)
            params.exStyle |= WS_EX_TOPMOST;
        return params;
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& form = As<TCustomForm>(control);
        if (aspect == Aspect::State) {
            static constexpr int kShow[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
            if (form.Visible())
                ::ShowWindow(window, kShow[static_cast<int>(form.WindowState())]);
        }
        if (aspect == Aspect::Style)
            ::SetWindowPos(
                window, form.FormStyle() == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST,
                0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (aspect == Aspect::Shape)
            ApplyRegion(window, form.WindowRegion());
        if (aspect == Aspect::Glass)
            ApplyGlassFrame(window, form.GlassFrame());
        if (aspect == Aspect::UserMove) {
            ::ReleaseCapture();
            // SC_MOVE with the caption's hit code: the system's own move loop.
            ::SendMessageA(window, WM_SYSCOMMAND, SC_MOVE + 2, 0);
        }
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        if (As<TCustomForm>(control).WindowRegion())
            Push(window, control, Aspect::Shape);
        if (As<TCustomForm>(control).GlassFrame().enabled)
            Push(window, control, Aspect::Glass);
    }

private:
    static void ApplyRegion(HWND window, const std::optional<std::vector<TRect>>& rects)
    {
        HRGN region = nullptr;
        if (rects)
            for (const TRect& r : *rects) {
                HRGN part = ::CreateRectRgn(r.left, r.top, r.right, r.bottom);
                if (!region) {
                    region = part;
                    continue;
                }
                ::CombineRgn(region, region, part, RGN_OR);
                ::DeleteObject(part);
            }
        // The window owns the region from here on.
        if (!::SetWindowRgn(window, region, TRUE) && region)
            ::DeleteObject(region);
    }
};

class EditWindow : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& edit = As<TCustomEdit>(control);
        WindowParams params{"EDIT", ES_AUTOHSCROLL, 0};
        if (edit.borderStyle == bsSingle)
            params.exStyle |= WS_EX_CLIENTEDGE;
        if (edit.ReadOnly())
            params.style |= ES_READONLY;
        if (edit.CharCase() == ecUpperCase)
            params.style |= ES_UPPERCASE;
        else if (edit.CharCase() == ecLowerCase)
            params.style |= ES_LOWERCASE;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        Push(window, control, Aspect::Style);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& edit = As<TCustomEdit>(control);
        if (aspect == Aspect::ReadOnly)
            ::SendMessageA(window, EM_SETREADONLY, edit.ReadOnly(), 0);
        if (aspect == Aspect::Style) {
            ::SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(edit.MaxLength()), 0);
            ::SendMessageA(window, EM_SETPASSWORDCHAR,
                           static_cast<unsigned char>(edit.PasswordChar()), 0);
        }
    }
    bool Command(HWND window, TWinControl& control, int code) const override
    {
        if (code != EN_CHANGE)
            return false;
        const std::string text = WindowText(window);
        // The echo of a text the control set itself is still a change of the text: OnChange runs
        // once, here.
        As<TCustomEdit>(control).TextFromWindow(text);
        return true;
    }
};

class MemoWindow final : public EditWindow
{
public:
    explicit MemoWindow(bool rich) : m_rich(rich) {}
    WindowParams Params(TWinControl& control) const override
    {
        auto& memo = As<TCustomMemo>(control);
        WindowParams params = EditWindow::Params(control);
        params.className = m_rich ? "RichEdit20A" : "EDIT";
        params.style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
        params.style |= ES_MULTILINE | ES_AUTOVSCROLL;
        if (memo.wantReturns)
            params.style |= ES_WANTRETURN;
        if (!memo.WordWrap())
            params.style |= ES_AUTOHSCROLL;
        if (memo.ScrollBars() == ssVertical || memo.ScrollBars() == ssBoth)
            params.style |= WS_VSCROLL;
        if (memo.ScrollBars() == ssHorizontal || memo.ScrollBars() == ssBoth)
            params.style |= WS_HSCROLL;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        if (m_rich)
            ::SendMessageA(window, EM_SETEVENTMASK, 0, ENM_CHANGE);
        Push(window, control, Aspect::Style);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        EditWindow::Push(window, control, aspect);
        // A memo's limit 0 means no limit; a rich edit's limit message takes the full range.
        if (aspect == Aspect::Style && m_rich) {
            const auto limit = As<TCustomEdit>(control).MaxLength();
            ::SendMessageA(window, EM_EXLIMITTEXT, 0, limit > 0 ? limit : 0x7FFFFFFE);
        }
    }

private:
    bool m_rich;
};

class ButtonWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto* button = dynamic_cast<TButton*>(&control);
        // A button with a glyph draws its own face.
        if (auto* bitButton = dynamic_cast<TBitBtn*>(&control);
            bitButton && !bitButton->Glyph()->Empty())
            return {"BUTTON", BS_OWNERDRAW, 0};
        return {"BUTTON",
                static_cast<DWORD>(button && button->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                0};
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        const bool ownerDrawn =
            (::GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
        if (auto* button = dynamic_cast<TButton*>(&control);
            button && aspect == Aspect::Style && !ownerDrawn)
            ::SendMessageA(window, BM_SETSTYLE,
                           button->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        if (aspect == Aspect::Paint)
            ::InvalidateRect(window, nullptr, TRUE);
    }
    bool Command(HWND window, TWinControl& control, int code) const override
    {
        if (code != BN_CLICKED)
            return false;
        control.Click();
        return true;
    }
    bool DrawItem(HWND window, TWinControl& control, DRAWITEMSTRUCT& item) const override
    {
        auto* button = dynamic_cast<TBitBtn*>(&control);
        if (!button)
            return false;
        RECT face = item.rcItem;
        const bool pushed = item.itemState & ODS_SELECTED;
        ::DrawFrameControl(item.hDC, &face, DFC_BUTTON,
                           DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0));
        GdiCanvasDevice device(item.hDC);
        TCanvas canvas(&device);
        TRect area{face.left, face.top, face.right, face.bottom};
        if (pushed)
            area = {area.left + 1, area.top + 1, area.right + 1, area.bottom + 1};
        button->PaintFace(canvas, area);
        if (item.itemState & ODS_FOCUS) {
            RECT focus = face;
            ::InflateRect(&focus, -1, -1);
            ::DrawFocusRect(item.hDC, &focus);
        }
        return true;
    }
};

// The skinned check box and radio button: the library's own window, drawn by the control, with
// the button's check query answered and Enter turned into Tab when the control asks for it.
class SkinnedCheckWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override { return {}; }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        // A radio button is a tab stop only while checked.
        if (aspect != Aspect::State)
            return;
        const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
        ::SetWindowLongPtrA(window, GWL_STYLE,
                            control.TabStop() ? style | WS_TABSTOP : style & ~LONG_PTR{WS_TABSTOP});
    }
    bool OwnMessage(HWND window, TWinControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT& result) const override
    {
        auto& button = As<skin::TSkCustomGlyphButton>(control);
        if (message == BM_GETCHECK) {
            auto* box = dynamic_cast<skin::TSkCustomCheckBox*>(&button);
            result = box ? box->State() : button.Checked() ? BST_CHECKED : BST_UNCHECKED;
            return true;
        }
        if (message == BM_CLICK) {
            button.Accelerator();
            return true;
        }
        if (message == WM_KEYDOWN && wParam == VK_RETURN && button.tabOnEnter) {
            ::PostMessageA(window, WM_KEYDOWN, VK_TAB, 0);
            return true;
        }
        return message == WM_KEYUP && wParam == VK_RETURN && button.tabOnEnter;
    }
};

// The skinned bitmap button: drawn by the control; dialog navigation's click is its accelerator.
class SkinnedButtonWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override { return {}; }
    bool OwnMessage(HWND window, TWinControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT& result) const override
    {
        if (message != BM_CLICK)
            return false;
        As<skin::TSkBmpButton>(control).Accelerator();
        return true;
    }
};

class StaticTextWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& text = As<TStaticText>(control);
        WindowParams params{"STATIC", SS_NOTIFY, 0};
        params.style |= text.alignment == taCenter         ? SS_CENTER
                        : text.alignment == taRightJustify ? SS_RIGHT
                                                           : SS_LEFT;
        if (!text.showAccelChar)
            params.style |= SS_NOPREFIX;
        if (text.borderStyle == sbsSingle)
            params.style |= WS_BORDER;
        else if (text.borderStyle == sbsSunken)
            params.style |= SS_SUNKEN;
        return params;
    }
    bool Command(HWND window, TWinControl& control, int code) const override
    {
        if (code != STN_CLICKED)
            return false;
        control.Click();
        return true;
    }
};

void FillList(HWND window, const forms::TStrings& items, UINT reset, UINT add)
{
    ::SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(window, reset, 0, 0);
    for (const std::string& item : items.Items())
        ::SendMessageA(window, add, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(window, nullptr, TRUE);
}

class ListBoxWindow : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& list = As<TCustomListBox>(control);
        WindowParams params{"LISTBOX", LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                            WS_EX_CLIENTEDGE};
        if (list.MultiSelect())
            params.style |= list.extendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
        if (list.columns > 0)
            params.style |= LBS_MULTICOLUMN | WS_HSCROLL;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        Push(window, control, Aspect::Items);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& list = As<TCustomListBox>(control);
        if (aspect == Aspect::Items)
            FillList(window, *list.Items(), LB_RESETCONTENT, LB_ADDSTRING);
        if (aspect == Aspect::Items || aspect == Aspect::ItemIndex || aspect == Aspect::State) {
            if (list.MultiSelect()) {
                for (std::size_t i = 0; i < list.Items()->Count(); ++i)
                    ::SendMessageA(window, LB_SETSEL, list.Selected(i), static_cast<LPARAM>(i));
            } else {
                ::SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(list.ItemIndex()), 0);
            }
            ::InvalidateRect(window, nullptr, TRUE);
        }
    }
    bool Command(HWND window, TWinControl& control, int code) const override
    {
        auto& list = As<TCustomListBox>(control);
        if (code == LBN_SELCHANGE) {
            if (list.MultiSelect()) {
                std::vector<bool> selected(list.Items()->Count());
                for (std::size_t i = 0; i < selected.size(); ++i)
                    selected[i] = ::SendMessageA(window, LB_GETSEL, i, 0) > 0;
                list.SelectionFromWindow(std::move(selected));
            }
            list.ItemIndexFromWindow(
                static_cast<std::int32_t>(::SendMessageA(window, LB_GETCURSEL, 0, 0)));
            return true;
        }
        if (code == LBN_DBLCLK) {
            if (auto* folders = dynamic_cast<TDirectoryListBox*>(&control))
                folders->OpenFromWindow(
                    static_cast<std::int32_t>(::SendMessageA(window, LB_GETCURSEL, 0, 0)));
            return true;
        }
        return false;
    }
};

class CheckListBoxWindow final : public ListBoxWindow
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        WindowParams params = ListBoxWindow::Params(control);
        params.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
        return params;
    }
    bool DrawItem(HWND window, TWinControl& control, DRAWITEMSTRUCT& item) const override
    {
        auto& list = As<TCheckListBox>(control);
        if (item.itemID == static_cast<UINT>(-1))
            return true;
        const bool selected = item.itemState & ODS_SELECTED;
        ::FillRect(item.hDC, &item.rcItem,
                   ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        const int box = item.rcItem.bottom - item.rcItem.top;
        RECT check{item.rcItem.left + 1, item.rcItem.top + 1, item.rcItem.left + box - 1,
                   item.rcItem.bottom - 1};
        const TCheckBoxState state = list.State(item.itemID);
        ::DrawFrameControl(item.hDC, &check, DFC_BUTTON,
                           DFCS_BUTTONCHECK | (state == cbChecked ? DFCS_CHECKED : 0) |
                               (state == cbGrayed ? DFCS_CHECKED | DFCS_INACTIVE : 0));
        RECT text = item.rcItem;
        text.left += box + 2;
        ::SetBkMode(item.hDC, TRANSPARENT);
        ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        if (item.itemID < list.Items()->Count()) {
            const std::string& caption = (*list.Items())[item.itemID];
            ::DrawTextA(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &text,
                        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        return true;
    }
    bool OwnMessage(HWND window, TWinControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT& result) const override
    {
        auto& list = As<TCheckListBox>(control);
        int index = -1;
        if (message == WM_LBUTTONDOWN) {
            const DWORD hit =
                static_cast<DWORD>(::SendMessageA(window, LB_ITEMFROMPOINT, 0, lParam));
            const int x = static_cast<short>(LOWORD(lParam));
            const int height = static_cast<int>(::SendMessageA(window, LB_GETITEMHEIGHT, 0, 0));
            // Only a click on the box itself toggles it.
            if (!HIWORD(hit) && x < height)
                index = LOWORD(hit);
        } else if (message == WM_KEYDOWN && wParam == VK_SPACE) {
            index = static_cast<int>(::SendMessageA(window, LB_GETCURSEL, 0, 0));
        }
        if (index < 0)
            return false;
        list.ToggleFromWindow(static_cast<std::size_t>(index));
        ::InvalidateRect(window, nullptr, TRUE);
        return false;
    }
};

class ComboBoxWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& combo = As<TCustomComboBox>(control);
        static constexpr DWORD kStyles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                            CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                            CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
        WindowParams params{"COMBOBOX", kStyles[combo.Style()] | WS_VSCROLL | CBS_AUTOHSCROLL, 0};
        // Owner-drawn styles draw as plain lists here.
        params.style &= ~static_cast<DWORD>(CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE);
        if (combo.Style() != csSimple)
            params.extraHeight =
                combo.dropDownCount * (combo.itemHeight > 0 ? combo.itemHeight : 13);
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        Push(window, control, Aspect::Items);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& combo = As<TCustomComboBox>(control);
        if (aspect == Aspect::Items)
            FillList(window, *combo.Items(), CB_RESETCONTENT, CB_ADDSTRING);
        if (aspect == Aspect::Items || aspect == Aspect::ItemIndex) {
            ::SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(combo.ItemIndex()), 0);
            if (combo.ItemIndex() < 0 && combo.Style() != csDropDownList)
                ::SetWindowTextA(window, combo.Text().c_str());
        }
    }
    bool Command(HWND window, TWinControl& control, int code) const override
    {
        auto& combo = As<TCustomComboBox>(control);
        if (code == CBN_SELCHANGE) {
            combo.ItemIndexFromWindow(
                static_cast<std::int32_t>(::SendMessageA(window, CB_GETCURSEL, 0, 0)));
            return true;
        }
        if (code == CBN_EDITCHANGE) {
            combo.TextFromWindow(WindowText(window));
            return true;
        }
        return false;
    }
};

class PageControlWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& pages = As<TPageControl>(control);
        WindowParams params{WC_TABCONTROLA, WS_CLIPCHILDREN, 0};
        if (pages.multiLine)
            params.style |= TCS_MULTILINE;
        if (pages.TabPosition() == tpBottom)
            params.style |= TCS_BOTTOM;
        else if (pages.TabPosition() == tpLeft)
            params.style |= TCS_VERTICAL | TCS_MULTILINE;
        else if (pages.TabPosition() == tpRight)
            params.style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        Push(window, control, Aspect::Pages);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& pages = As<TPageControl>(control);
        if (aspect == Aspect::Pages) {
            ::SendMessageA(window, TCM_DELETEALLITEMS, 0, 0);
            int index = 0;
            for (TTabSheet* sheet : pages.Pages()) {
                if (!sheet->TabVisible())
                    continue;
                TCITEMA item{};
                item.mask = TCIF_TEXT;
                item.pszText = const_cast<char*>(sheet->Caption().c_str());
                ::SendMessageA(window, TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&item));
            }
        }
        if (aspect == Aspect::Pages || aspect == Aspect::ItemIndex) {
            const int tab = pages.ActivePage() ? pages.ActivePage()->TabIndex() : -1;
            ::SendMessageA(window, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
        }
    }
    bool Notify(HWND window, TWinControl& control, NMHDR& header, LRESULT& result) const override
    {
        if (header.code != static_cast<UINT>(TCN_SELCHANGE))
            return false;
        As<TPageControl>(control).TabIndexFromWindow(
            static_cast<int>(::SendMessageA(window, TCM_GETCURSEL, 0, 0)));
        return true;
    }
};

class TrackBarWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& bar = As<TTrackBar>(control);
        WindowParams params{TRACKBAR_CLASSA, 0, 0};
        params.style |= bar.orientation == trVertical ? TBS_VERT : TBS_HORZ;
        if (bar.tickStyle == tsNone)
            params.style |= TBS_NOTICKS;
        else if (bar.tickStyle == tsAuto)
            params.style |= TBS_AUTOTICKS;
        if (bar.tickMarks == tmBoth)
            params.style |= TBS_BOTH;
        else if (bar.tickMarks == tmTopLeft)
            params.style |= TBS_TOP;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        auto& bar = As<TTrackBar>(control);
        ::SendMessageA(window, TBM_SETLINESIZE, 0, bar.lineSize);
        ::SendMessageA(window, TBM_SETPAGESIZE, 0, bar.pageSize);
        Push(window, control, Aspect::Range);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& bar = As<TTrackBar>(control);
        if (aspect == Aspect::Range) {
            ::SendMessageA(window, TBM_SETRANGEMIN, FALSE, bar.Min());
            ::SendMessageA(window, TBM_SETRANGEMAX, FALSE, bar.Max());
            ::SendMessageA(window, TBM_SETTICFREQ, static_cast<WPARAM>(bar.frequency), 0);
        }
        if (aspect == Aspect::Range || aspect == Aspect::Position)
            ::SendMessageA(window, TBM_SETPOS, TRUE, bar.Position());
    }
    bool Scroll(HWND window, TWinControl& control) const override
    {
        As<TTrackBar>(control).PositionFromWindow(
            static_cast<std::int32_t>(::SendMessageA(window, TBM_GETPOS, 0, 0)));
        return true;
    }
};

class ProgressBarWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& bar = As<TProgressBar>(control);
        WindowParams params{PROGRESS_CLASSA, 0, 0};
        if (bar.smooth)
            params.style |= PBS_SMOOTH;
        if (bar.orientation == pbVertical)
            params.style |= PBS_VERTICAL;
        if (bar.Style() == pbstMarquee)
            params.style |= PBS_MARQUEE;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        Push(window, control, Aspect::Range);
        Push(window, control, Aspect::Style);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& bar = As<TProgressBar>(control);
        if (aspect == Aspect::Range)
            ::SendMessageA(window, PBM_SETRANGE32, static_cast<WPARAM>(bar.Min()), bar.Max());
        if (aspect == Aspect::Range || aspect == Aspect::Position)
            ::SendMessageA(window, PBM_SETPOS, static_cast<WPARAM>(bar.Position()), 0);
        if (aspect == Aspect::Style) {
            const bool marquee = bar.Style() == pbstMarquee;
            LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
            style = marquee ? style | PBS_MARQUEE : style & ~static_cast<LONG_PTR>(PBS_MARQUEE);
            ::SetWindowLongPtrA(window, GWL_STYLE, style);
            ::SendMessageA(window, PBM_SETMARQUEE, marquee, bar.marqueeInterval);
        }
    }
};

class UpDownWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& spin = As<TUpDown>(control);
        WindowParams params{UPDOWN_CLASSA, 0, 0};
        if (spin.orientation == udHorizontal)
            params.style |= UDS_HORZ;
        if (spin.wrap)
            params.style |= UDS_WRAP;
        if (spin.arrowKeys)
            params.style |= UDS_ARROWKEYS;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        Push(window, control, Aspect::Range);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& spin = As<TUpDown>(control);
        if (aspect == Aspect::Range)
            ::SendMessageA(window, UDM_SETRANGE32, static_cast<WPARAM>(spin.Min()), spin.Max());
        if (aspect == Aspect::Range || aspect == Aspect::Position)
            ::SendMessageA(window, UDM_SETPOS32, 0, spin.Position());
    }
    bool Notify(HWND window, TWinControl& control, NMHDR& header, LRESULT& result) const override
    {
        if (header.code != static_cast<UINT>(UDN_DELTAPOS))
            return false;
        const auto& delta = reinterpret_cast<NMUPDOWN&>(header);
        // The control moves the position itself: the arrows' step, wrapping and the associate
        // are the control's.
        As<TUpDown>(control).StepFromWindow(delta.iDelta);
        result = 1;
        ::SendMessageA(window, UDM_SETPOS32, 0, As<TUpDown>(control).Position());
        return true;
    }
};

class AnimateWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& animation = As<TAnimate>(control);
        WindowParams params{ANIMATE_CLASSA, 0, 0};
        if (animation.center)
            params.style |= ACS_CENTER;
        if (animation.transparent)
            params.style |= ACS_TRANSPARENT;
        if (animation.timers)
            params.style |= ACS_TIMER;
        // The common animations are resources of the shell's library.
        if (animation.commonAVI != aviNone)
            params.instance = ::GetModuleHandleA("shell32.dll");
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        auto& animation = As<TAnimate>(control);
        static constexpr int kResources[] = {0, 150, 151, 152, 160, 161, 162, 163, 164};
        // A missing clip or resource leaves the control empty; pages go on without it.
        if (animation.commonAVI != aviNone)
            ::SendMessageA(
                window, ACM_OPENA, 0,
                reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(kResources[animation.commonAVI])));
        else if (!animation.fileName.empty())
            ::SendMessageA(window, ACM_OPENA, 0,
                           reinterpret_cast<LPARAM>(animation.fileName.c_str()));
        Push(window, control, Aspect::State);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& animation = As<TAnimate>(control);
        if (aspect != Aspect::State)
            return;
        if (animation.Active()) {
            const UINT repeat =
                animation.repetitions > 0 ? animation.repetitions : static_cast<UINT>(-1);
            const int from = animation.startFrame > 0 ? animation.startFrame - 1 : 0;
            const int to = animation.stopFrame > 0 ? animation.stopFrame - 1 : -1;
            ::SendMessageA(window, ACM_PLAY, repeat, MAKELONG(from, to));
        } else {
            ::SendMessageA(window, ACM_STOP, 0, 0);
        }
    }
};

}  // namespace

HTREEITEM TreeItemOf(HWND window, const TTreeNode* node)
{
    std::vector<HTREEITEM> stack{
        reinterpret_cast<HTREEITEM>(::SendMessageA(window, TVM_GETNEXTITEM, TVGN_ROOT, 0))};
    while (node && !stack.empty()) {
        HTREEITEM item = stack.back();
        stack.pop_back();
        if (!item)
            continue;
        TVITEMA data{};
        data.mask = TVIF_PARAM;
        data.hItem = item;
        ::SendMessageA(window, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        if (reinterpret_cast<const TTreeNode*>(data.lParam) == node)
            return item;
        stack.push_back(reinterpret_cast<HTREEITEM>(::SendMessageA(
            window, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))));
        stack.push_back(reinterpret_cast<HTREEITEM>(::SendMessageA(
            window, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))));
    }
    return nullptr;
}

namespace {

class TreeViewWindow final : public ControlBinding
{
public:
    void Destroying(HWND window) const override { RevokeShellDropTarget(window); }
    WindowParams Params(TWinControl& control) const override
    {
        auto& tree = As<TTreeView>(control);
        WindowParams params{WC_TREEVIEWA, 0, WS_EX_CLIENTEDGE};
        if (tree.showButtons)
            params.style |= TVS_HASBUTTONS;
        if (tree.showLines)
            params.style |= TVS_HASLINES;
        if (tree.showRoot)
            params.style |= TVS_LINESATROOT;
        if (!tree.hideSelection)
            params.style |= TVS_SHOWSELALWAYS;
        if (!tree.readOnly)
            params.style |= TVS_EDITLABELS;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        ::SendMessageA(window, TVM_SETINDENT, static_cast<WPARAM>(As<TTreeView>(control).indent),
                       0);
        if (As<TTreeView>(control).systemImages)
            ::SendMessageA(window, TVM_SETIMAGELIST, TVSIL_NORMAL,
                           reinterpret_cast<LPARAM>(SystemSmallImages()));
        else if (const TImageList* images = As<TTreeView>(control).images)
            ReplaceImages(window, SystemImageList(*images));
        Push(window, control, Aspect::Nodes);
        RegisterShellDropTarget(window, control, [window](POINT client) -> std::intptr_t {
            TVHITTESTINFO hit{};
            hit.pt = client;
            return reinterpret_cast<std::intptr_t>(NodeOf(
                window, reinterpret_cast<HTREEITEM>(::SendMessageA(
                            window, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)))));
        });
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& tree = As<TTreeView>(control);
        if (aspect == Aspect::Nodes) {
            m_filling = true;
            ::SendMessageA(window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
            for (const auto& root : tree.Items()->Roots())
                Insert(window, *root, TVI_ROOT);
            m_filling = false;
        }
        if (aspect == Aspect::Nodes || aspect == Aspect::ItemIndex)
            Select(window, tree.Selected());
        if (aspect == Aspect::DropHighlight || aspect == Aspect::Nodes)
            ::SendMessageA(window, TVM_SELECTITEM, TVGN_DROPHILITE,
                           reinterpret_cast<LPARAM>(Find(window, tree.DropHighlight())));
        if (aspect == Aspect::EditLabel)
            if (HTREEITEM item = Find(window, tree.EditingNode())) {
                ::SetFocus(window);
                ::SendMessageA(window, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item));
            }
    }
    bool Notify(HWND window, TWinControl& control, NMHDR& header, LRESULT& result) const override
    {
        auto& tree = As<TTreeView>(control);
        switch (header.code) {
            case TVN_BEGINLABELEDITA:
            case TVN_BEGINLABELEDITW: {
                TTreeNode* node =
                    NodeOf(window, reinterpret_cast<NMTVDISPINFOA&>(header).item.hItem);
                // Non-zero refuses the edit.
                result = tree.CanEditNode(node) ? FALSE : TRUE;
                return true;
            }
            case TVN_ENDLABELEDITA:
            case TVN_ENDLABELEDITW: {
                const auto& info = reinterpret_cast<NMTVDISPINFOA&>(header).item;
                std::string* text = NewEditedText(info.pszText, header.code == TVN_ENDLABELEDITW);
                // Told once the edit box is gone: the answer may rebuild every item.
                ::PostMessageA(window, kEdited,
                               reinterpret_cast<WPARAM>(NodeOf(window, info.hItem)),
                               reinterpret_cast<LPARAM>(text));
                result = FALSE;
                return true;
            }
            case TVN_BEGINDRAGA:
            case TVN_BEGINDRAGW:
            case TVN_BEGINRDRAGA:
            case TVN_BEGINRDRAGW: {
                const auto& drag = reinterpret_cast<NMTREEVIEWA&>(header);
                tree.BeginDragFromWindow(
                    NodeOf(window, drag.itemNew.hItem),
                    header.code == TVN_BEGINRDRAGA || header.code == TVN_BEGINRDRAGW);
                return true;
            }
            case TVN_ITEMEXPANDINGA:
            case TVN_ITEMEXPANDINGW: {
                if (m_filling)
                    return false;
                const auto& change = reinterpret_cast<NMTREEVIEWA&>(header);
                auto* node = reinterpret_cast<TTreeNode*>(change.itemNew.lParam);
                if (!node)
                    return false;
                // Kept by the node, so the window shows it so again when it is rebuilt.
                node->expanded = (change.action & TVE_EXPAND) != 0;
                if (node->expanded)
                    ::PostMessageA(window, kExpanded, reinterpret_cast<WPARAM>(node), 0);
                result = FALSE;
                return true;
            }
            case TVN_SELCHANGEDA: {
                if (m_filling)
                    return false;
                const auto& change = reinterpret_cast<NMTREEVIEWA&>(header);
                tree.SelectedFromWindow(reinterpret_cast<TTreeNode*>(change.itemNew.lParam),
                                        change.action == TVC_BYKEYBOARD);
                return true;
            }
            default:
                return false;
        }
    }
    bool OwnMessage(HWND window, TWinControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT& result) const override
    {
        // Also when the window goes with its parent's.
        if (message == WM_DESTROY) {
            // The system's icons are shared: they are only let go.
            if (As<TTreeView>(control).systemImages)
                ::SendMessageA(window, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
            else
                ReplaceImages(window, nullptr);
            RevokeShellDropTarget(window);
            return false;
        }
        if (message == WM_CONTEXTMENU) {
            ContextMenu(window, As<TTreeView>(control), lParam);
            result = 0;
            return true;
        }
        if (message == kExpanded) {
            auto& tree = As<TTreeView>(control);
            if (TTreeNode* node = NodeStillIn(tree, wParam))
                tree.ExpandedFromWindow(node);
            result = 0;
            return true;
        }
        if (message != kEdited)
            return false;
        std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(lParam));
        auto& tree = As<TTreeView>(control);
        tree.EditedFromWindow(NodeStillIn(tree, wParam), text.get());
        result = 0;
        return true;
    }

private:
    // From the keyboard the selected node's menu shows at its text, otherwise the menu of the
    // node under the mouse.
    static void ContextMenu(HWND window, TTreeView& tree, LPARAM lParam)
    {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        TTreeNode* node = nullptr;
        if (lParam == -1) {
            node = tree.Selected();
            HTREEITEM item = Find(window, node);
            RECT text{};
            if (!item || !TreeView_GetItemRect(window, item, &text, TRUE))
                return;
            at = {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
            ::ClientToScreen(window, &at);
        } else {
            TVHITTESTINFO hit{};
            hit.pt = at;
            ::ScreenToClient(window, &hit.pt);
            node = NodeOf(window, reinterpret_cast<HTREEITEM>(::SendMessageA(
                                      window, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))));
        }
        tree.ContextMenuFromWindow(node, at.x, at.y);
    }
    // A posted message names a node that may have gone meanwhile.
    static TTreeNode* NodeStillIn(const TTreeView& tree, WPARAM wParam)
    {
        auto* node = reinterpret_cast<TTreeNode*>(wParam);
        const auto all = tree.Items()->All();
        return std::find(all.begin(), all.end(), node) == all.end() ? nullptr : node;
    }
    static void Insert(HWND window, const TTreeNode& node, HTREEITEM parent)
    {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
        insert.item.pszText = const_cast<char*>(node.Text().c_str());
        insert.item.lParam = reinterpret_cast<LPARAM>(&node);
        insert.item.cChildren = node.hasChildren || !node.Children().empty() ? 1 : 0;
        insert.item.stateMask = TVIS_OVERLAYMASK | TVIS_CUT;
        insert.item.state = (node.overlayIndex >= 0 ? INDEXTOOVERLAYMASK(node.overlayIndex + 1) : 0) |
                            (node.cut ? TVIS_CUT : 0);
        if (node.ImageIndex() >= 0) {
            insert.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            insert.item.iImage = node.ImageIndex();
            insert.item.iSelectedImage =
                node.selectedIndex >= 0 ? node.selectedIndex : node.ImageIndex();
        }
        auto* item = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(window, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        for (const auto& child : node.Children())
            Insert(window, *child, item);
        if (node.expanded)
            ::SendMessageA(window, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }
    static constexpr UINT kEdited = WM_APP + 40;
    static constexpr UINT kExpanded = WM_APP + 41;
    // The window keeps the system's copy of the pictures; the one it had goes.
    static void ReplaceImages(HWND window, HIMAGELIST images)
    {
        auto old = reinterpret_cast<HIMAGELIST>(
            ::SendMessageA(window, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images)));
        if (old && old != images)
            ::ImageList_Destroy(old);
    }
    // The pictures with their transparent colour masked out.
    static HIMAGELIST SystemImageList(const TImageList& images)
    {
        constexpr COLORREF kKey = RGB(kImageListTransparent.red, kImageListTransparent.green,
                                      kImageListTransparent.blue);
        HIMAGELIST list = ::ImageList_Create(images.Width(), images.Height(),
                                             ILC_COLOR24 | ILC_MASK, images.Count(), 0);
        HDC screen = ::GetDC(nullptr);
        core::UniqueMemoryDc dc(::CreateCompatibleDC(screen));
        for (int i = 0; list && i < images.Count(); ++i) {
            core::UniqueGdiObject bitmap(
                ::CreateCompatibleBitmap(screen, images.Width(), images.Height()));
            HGDIOBJ old = ::SelectObject(dc.Get(), bitmap.Get());
            GdiCanvasDevice device(dc.Get());
            device.DrawImage(TRect::Bounds(0, 0, images.Width(), images.Height()), *images.Image(i));
            ::SelectObject(dc.Get(), old);
            ::ImageList_AddMasked(list, static_cast<HBITMAP>(bitmap.Get()), kKey);
        }
        ::ReleaseDC(nullptr, screen);
        return list;
    }
    static TTreeNode* NodeOf(HWND window, HTREEITEM item)
    {
        TVITEMA data{};
        data.mask = TVIF_PARAM;
        data.hItem = item;
        if (!item || !::SendMessageA(window, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)))
            return nullptr;
        return reinterpret_cast<TTreeNode*>(data.lParam);
    }
    static void Select(HWND window, const TTreeNode* node)
    {
        if (HTREEITEM item = Find(window, node))
            ::SendMessageA(window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
    static HTREEITEM Find(HWND window, const TTreeNode* node)
    {
        return TreeItemOf(window, node);
    }
    // Selection changes while the items are rebuilt are the window's, not the user's.
    inline static thread_local bool m_filling = false;
};

struct Entry
{
    const forms::ClassInfo* info;
    const ControlBinding* binding;
};

}  // namespace

std::string* NewEditedText(const char* text, bool wide)
{
    if (!text)
        return nullptr;
    return new std::string(wide ? core::WideToAnsi(reinterpret_cast<const wchar_t*>(text))
                                : std::string(text));
}

const ControlBinding& BindingFor(const TWinControl& control)
{
    static const FormWindow form;
    static const OwnWindow own;
    static const EditWindow edit;
    static const MemoWindow memo(false);
    static const MemoWindow rich(true);
    static const ButtonWindow button;
    static const SkinnedCheckWindow skinnedCheck;
    static const SkinnedButtonWindow skinnedButton;
    static const StaticTextWindow staticText;
    static const ListBoxWindow listBox;
    static const CheckListBoxWindow checkList;
    static const ComboBoxWindow comboBox;
    static const PageControlWindow pageControl;
    static const TrackBarWindow trackBar;
    static const ProgressBarWindow progressBar;
    static const UpDownWindow upDown;
    static const AnimateWindow animate;
    static const TreeViewWindow treeView;
    // The most derived class first: the first entry the control's class inherits from wins.
    static const Entry entries[] = {
        {&TCustomForm::StaticClass(), &form},
        {&TRichEdit::StaticClass(), &rich},
        {&TCustomMemo::StaticClass(), &memo},
        {&TCustomEdit::StaticClass(), &edit},
        {&TButton::StaticClass(), &button},
        {&skin::TSkCustomGlyphButton::StaticClass(), &skinnedCheck},
        {&skin::TSkBmpButton::StaticClass(), &skinnedButton},
        {&TStaticText::StaticClass(), &staticText},
        {&TCheckListBox::StaticClass(), &checkList},
        {&TCustomListBox::StaticClass(), &listBox},
        {&TNsCustomImageCombo::StaticClass(), &ImageComboBinding()},
        {&TCustomComboBox::StaticClass(), &comboBox},
        {&TCustomListView::StaticClass(), &ListViewBinding()},
        {&TPageControl::StaticClass(), &pageControl},
        {&TTrackBar::StaticClass(), &trackBar},
        {&TProgressBar::StaticClass(), &progressBar},
        {&TUpDown::StaticClass(), &upDown},
        {&TAnimate::StaticClass(), &animate},
        {&TTreeView::StaticClass(), &treeView},
        {&TCustomInspector::StaticClass(), &InspectorGridBinding()},
    };
    for (const Entry& entry : entries)
        if (control.InheritsFrom(*entry.info))
            return *entry.binding;
    return own;
}

}  // namespace setup::ui
