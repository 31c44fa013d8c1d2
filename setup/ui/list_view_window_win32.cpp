#include "setup/ui/list_view_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/ui/gdi_canvas_win32.h"
#include "setup/ui/header_sort.h"
#include "setup/ui/image_combo.h"
#include "setup/ui/list_view.h"
#include "setup/ui/shell_drop_target_win32.h"
#include "setup/ui/system_images_win32.h"

namespace setup::ui {
namespace {

class ListViewWindow final : public ControlBinding
{
public:
    void Destroying(HWND window) const override { RevokeShellDropTarget(window); }
    WindowParams Params(TWinControl& control) const override
    {
        auto& view = static_cast<TCustomListView&>(control);
        static constexpr DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        WindowParams params{WC_LISTVIEWA, kViews[view.ViewStyle()] | LVS_SHAREIMAGELISTS,
                            WS_EX_CLIENTEDGE};
        if (!view.MultiSelect())
            params.style |= LVS_SINGLESEL;
        if (!view.readOnly)
            params.style |= LVS_EDITLABELS;
        if (!view.hideSelection)
            params.style |= LVS_SHOWSELALWAYS;
        if (!view.columnClick)
            params.style |= LVS_NOSORTHEADER;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        auto& view = static_cast<TCustomListView&>(control);
        if (view.systemImages) {
            ::SendMessageA(window, LVM_SETIMAGELIST, LVSIL_SMALL,
                           reinterpret_cast<LPARAM>(SystemImages(true)));
            ::SendMessageA(window, LVM_SETIMAGELIST, LVSIL_NORMAL,
                           reinterpret_cast<LPARAM>(SystemImages(false)));
        }
        if (view.rowSelect)
            ::SendMessageA(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                           LVS_EX_FULLROWSELECT);
        Push(window, control, Aspect::Columns);
        Push(window, control, Aspect::Items);
        RegisterShellDropTarget(window, control, [window](POINT client) -> std::intptr_t {
            LVHITTESTINFO hit{};
            hit.pt = client;
            return ::SendMessageA(window, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        });
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& view = static_cast<TCustomListView&>(control);
        switch (aspect) {
            case Aspect::Columns:
                PushColumns(window, view);
                break;
            case Aspect::Items:
                PushItems(window, view);
                PushSelection(window, view);
                break;
            case Aspect::ItemIndex:
                PushSelection(window, view);
                break;
            case Aspect::DropHighlight:
                for (std::size_t i = 0; i < view.Count(); ++i) {
                    LVITEMA state{};
                    state.stateMask = LVIS_DROPHILITED;
                    state.state = static_cast<std::int32_t>(i) == view.DropHighlight()
                                      ? LVIS_DROPHILITED
                                      : 0;
                    ::SendMessageA(window, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
                }
                break;
            case Aspect::EditLabel:
                if (view.EditingItem() >= 0) {
                    ::SetFocus(window);
                    ::SendMessageA(window, LVM_EDITLABELA, static_cast<WPARAM>(view.EditingItem()),
                                   0);
                }
                break;
            default:
                break;
        }
    }
    bool Notify(HWND window, TWinControl& control, NMHDR& header, LRESULT& result) const override
    {
        auto& view = static_cast<TCustomListView&>(control);
        switch (header.code) {
            case LVN_ITEMCHANGED: {
                const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
                if (m_filling || !(change.uChanged & LVIF_STATE))
                    return false;
                std::vector<bool> selected(view.Count());
                for (std::size_t i = 0; i < selected.size(); ++i)
                    selected[i] = ::SendMessageA(window, LVM_GETITEMSTATE, i, LVIS_SELECTED) != 0;
                const auto focused = static_cast<std::int32_t>(
                    ::SendMessageA(window, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
                view.SelectionFromWindow(std::move(selected), focused);
                return true;
            }
            case LVN_BEGINLABELEDITA:
            case LVN_BEGINLABELEDITW: {
                const int index = reinterpret_cast<NMLVDISPINFOA&>(header).item.iItem;
                const bool allowed = view.CanEditItem(index);
                if (allowed)
                    if (HWND edit = reinterpret_cast<HWND>(
                            ::SendMessageA(window, LVM_GETEDITCONTROL, 0, 0)))
                        ::SetWindowTextA(edit, view.EditTextOf(index).c_str());
                // Non-zero refuses the edit.
                result = allowed ? FALSE : TRUE;
                return true;
            }
            case LVN_ENDLABELEDITA:
            case LVN_ENDLABELEDITW: {
                const auto& info = reinterpret_cast<NMLVDISPINFOA&>(header).item;
                std::string* text = NewEditedText(info.pszText, header.code == LVN_ENDLABELEDITW);
                // Told once the edit box is gone: the answer may rebuild every item.
                ::PostMessageA(window, kEdited, static_cast<WPARAM>(info.iItem),
                               reinterpret_cast<LPARAM>(text));
                result = FALSE;
                return true;
            }
            case LVN_BEGINDRAG:
            case LVN_BEGINRDRAG:
                view.BeginDragFromWindow(header.code == LVN_BEGINRDRAG);
                return true;
            case LVN_COLUMNCLICK:
                view.ColumnClickFromWindow(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
                return true;
            case NM_DBLCLK:
                view.OpenFromWindow();
                return true;
            case NM_CUSTOMDRAW:
                result = CustomDraw(window, view, reinterpret_cast<NMLVCUSTOMDRAW&>(header));
                return true;
            default:
                return false;
        }
    }
    bool OwnMessage(HWND window, TWinControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT& result) const override
    {
        auto& view = static_cast<TCustomListView&>(control);
        // Also when the window goes with its parent's.
        if (message == WM_DESTROY) {
            RevokeShellDropTarget(window);
            return false;
        }
        if (message == kGetShellBrowser && view.ServesShellBrowser()) {
            result = ShellBrowserOfProcess();
            return true;
        }
        if (message == WM_CONTEXTMENU) {
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            // From the keyboard: at the focused item's icon.
            if (lParam == -1) {
                RECT icon{};
                icon.left = LVIR_ICON;
                if (view.ItemIndex() < 0 ||
                    !::SendMessageA(window, LVM_GETITEMRECT,
                                    static_cast<WPARAM>(view.ItemIndex()),
                                    reinterpret_cast<LPARAM>(&icon))) {
                    result = 0;
                    return true;
                }
                at = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
                ::ClientToScreen(window, &at);
            }
            view.ContextMenuFromWindow(at.x, at.y);
            result = 0;
            return true;
        }
        if (message == kEdited) {
            std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(lParam));
            view.EditedFromWindow(static_cast<std::int32_t>(wParam), text.get());
            result = 0;
            return true;
        }
        HWND header = reinterpret_cast<HWND>(::SendMessageA(window, LVM_GETHEADER, 0, 0));
        if (message == WM_NOTIFY && header &&
            reinterpret_cast<NMHDR*>(lParam)->hwndFrom == header) {
            const auto& change = *reinterpret_cast<NMHEADERA*>(lParam);
            const bool changed = change.hdr.code == HDN_ITEMCHANGEDA ||
                                 change.hdr.code == HDN_ITEMCHANGEDW;
            if (changed && change.pitem && (change.pitem->mask & HDI_WIDTH) && !m_formatting)
                view.ColumnWidthFromWindow(static_cast<std::size_t>(change.iItem),
                                           change.pitem->cxy);
            return false;
        }
        if (message == WM_DRAWITEM && header) {
            auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (item.hwndItem != header)
                return false;
            DrawHeaderItem(view, item);
            result = TRUE;
            return true;
        }
        return false;
    }

private:
    static constexpr UINT kEdited = WM_APP + 41;
    static constexpr UINT kGetShellBrowser = WM_USER + 7;

    // The process's Explorer instance as a browser; the asker takes no reference, the instance
    // keeps its own.
    static LRESULT ShellBrowserOfProcess()
    {
        IUnknown* explorer = nullptr;
        if (FAILED(::SHGetInstanceExplorer(&explorer)) || !explorer)
            return 0;
        IShellBrowser* browser = nullptr;
        explorer->QueryInterface(IID_IShellBrowser, reinterpret_cast<void**>(&browser));
        explorer->Release();
        if (!browser)
            return 0;
        browser->Release();
        return reinterpret_cast<LRESULT>(browser);
    }

    static void PushColumns(HWND window, TCustomListView& view)
    {
        while (::SendMessageA(window, LVM_DELETECOLUMN, 0, 0)) {
        }
        const auto& columns = view.Columns();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            static constexpr int kFormats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
            column.fmt = kFormats[columns[i].alignment];
            column.cx = columns[i].width;
            column.pszText = const_cast<char*>(columns[i].caption.c_str());
            column.iSubItem = static_cast<int>(i);
            ::SendMessageA(window, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        }
        UpdateHeaderSortImages(window, view);
    }
    static void UpdateHeaderSortImages(HWND window, TCustomListView& view)
    {
        HWND header = reinterpret_cast<HWND>(::SendMessageA(window, LVM_GETHEADER, 0, 0));
        if (!header || m_formatting || view.ViewStyle() != vsReport)
            return;
        m_formatting = true;
        const int version = CommonControlsVersion();
        const TNsLvHeaderSortDisplayMode mode =
            AcceptedDisplayMode(view.HeaderSortDisplayMode(), version);
        const int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            HDITEMA item{};
            item.mask = HDI_FORMAT;
            ::SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            item.fmt = static_cast<int>(HeaderItemFormat(static_cast<std::uint32_t>(item.fmt),
                                                         i == view.SortColumn(),
                                                         view.SortAscending(), mode, version));
            ::SendMessageA(header, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        ::InvalidateRect(header, nullptr, TRUE);
        m_formatting = false;
    }
    static void DrawHeaderItem(TCustomListView& view, DRAWITEMSTRUCT& item)
    {
        const auto column = static_cast<std::size_t>(item.itemID);
        if (column >= view.Columns().size())
            return;
        const TListColumn& info = view.Columns()[column];
        HDC dc = item.hDC;
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, item.rcItem.left, item.rcItem.top, item.rcItem.right,
                            item.rcItem.bottom);
        ::FillRect(dc, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
        core::UniqueGdiObject font = CreateFontFor(*view.Font());
        ::SelectObject(dc, font.Get());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, info.caption.c_str(), static_cast<int>(info.caption.size()),
                                &extent);
        const TRect rect{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
        const HeaderItemLayout layout = LayOutHeaderItem(
            rect, extent.cx, extent.cy, info.alignment,
            AcceptedDisplayMode(view.HeaderSortDisplayMode(), CommonControlsVersion()),
            static_cast<std::int32_t>(column) == view.SortColumn());
        RECT text{layout.text.left, layout.text.top, layout.text.right, layout.text.bottom};
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
        if (info.alignment == taRightJustify)
            format |= DT_RIGHT;
        else if (info.alignment == taCenter)
            format |= DT_CENTER;
        ::DrawTextA(dc, info.caption.c_str(), static_cast<int>(info.caption.size()), &text, format);
        if (layout.arrow)
            DrawArrow(dc, layout.arrowBox, view.SortAscending());
        ::RestoreDC(dc, saved);
    }
    // A triangle with a lit and a shaded edge, pointing up for ascending order.
    static void DrawArrow(HDC dc, const TRect& box, bool up)
    {
        const int middle = (box.left + box.right) / 2;
        const POINT tip{middle, up ? box.top : box.bottom - 1};
        const POINT left{box.left, up ? box.bottom - 1 : box.top};
        const POINT right{box.right - 1, up ? box.bottom - 1 : box.top};
        core::UniqueGdiObject light(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT)));
        core::UniqueGdiObject shade(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
        HGDIOBJ old = ::SelectObject(dc, shade.Get());
        ::MoveToEx(dc, left.x, left.y, nullptr);
        ::LineTo(dc, tip.x, tip.y);
        if (up)
            ::SelectObject(dc, light.Get());
        ::LineTo(dc, right.x, right.y);
        ::SelectObject(dc, up ? light.Get() : shade.Get());
        ::LineTo(dc, left.x, left.y);
        ::SelectObject(dc, old);
    }
    static void PushItems(HWND window, TCustomListView& view)
    {
        m_filling = true;
        ::SendMessageA(window, WM_SETREDRAW, FALSE, 0);
        ::SendMessageA(window, LVM_DELETEALLITEMS, 0, 0);
        for (std::size_t i = 0; i < view.Count(); ++i) {
            const TListItem& source = view.Item(i);
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_STATE;
            item.iItem = static_cast<int>(i);
            item.pszText = const_cast<char*>(source.caption.c_str());
            if (source.imageIndex >= 0) {
                item.mask |= LVIF_IMAGE;
                item.iImage = source.imageIndex;
            }
            item.stateMask = LVIS_CUT | LVIS_OVERLAYMASK;
            item.state = (source.cut ? LVIS_CUT : 0) |
                         (source.overlayIndex >= 0 ? INDEXTOOVERLAYMASK(source.overlayIndex + 1) : 0);
            ::SendMessageA(window, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            for (std::size_t sub = 0; sub < source.subItems.size(); ++sub) {
                LVITEMA text{};
                text.iSubItem = static_cast<int>(sub + 1);
                text.pszText = const_cast<char*>(source.subItems[sub].c_str());
                ::SendMessageA(window, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&text));
            }
        }
        ::SendMessageA(window, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(window, nullptr, TRUE);
        m_filling = false;
    }
    static void PushSelection(HWND window, TCustomListView& view)
    {
        m_filling = true;
        for (std::size_t i = 0; i < view.Count(); ++i) {
            LVITEMA state{};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            state.state = (view.Selected(i) ? LVIS_SELECTED : 0) |
                          (static_cast<std::int32_t>(i) == view.ItemIndex() ? LVIS_FOCUSED : 0);
            ::SendMessageA(window, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
        }
        if (view.ItemIndex() >= 0)
            ::SendMessageA(window, LVM_ENSUREVISIBLE, static_cast<WPARAM>(view.ItemIndex()),
                           FALSE);
        m_filling = false;
    }
    static LRESULT CustomDraw(HWND window, TCustomListView& view, NMLVCUSTOMDRAW& record)
    {
        const bool itemStage = record.nmcd.dwDrawStage & CDDS_ITEM;
        TNsCustomDraw draw(record.nmcd.dwDrawStage, *view.Font(),
                           TColor(static_cast<std::int32_t>(record.clrText)),
                           TColor(static_cast<std::int32_t>(record.clrTextBk)), true);
        view.CustomDraw(draw,
                        itemStage ? static_cast<std::int32_t>(record.nmcd.dwItemSpec) : -1);
        draw.Apply(true);
        if (draw.Stage() == cdsItemPrePaint && !draw.skipDefault) {
            // The record's colours may be the system's "default" marks: only what changed is set.
            if (draw.FontChanged()) {
                // The font lives until the next notification, when the system is done with it.
                m_itemFont = CreateFontFor(draw.ItemFont());
                ::SelectObject(record.nmcd.hdc, m_itemFont.Get());
                record.clrText = ToColorRef(draw.TextColor());
            }
            if (draw.BrushChanged())
                record.clrTextBk = ToColorRef(draw.TextBackground());
        }
        return static_cast<LRESULT>(draw.result);
    }

    // Selection changes while the items are rebuilt are the window's, not the user's.
    inline static thread_local bool m_filling = false;
    inline static thread_local bool m_formatting = false;
    inline static thread_local core::UniqueGdiObject m_itemFont;
};

class ImageComboWindow final : public ControlBinding
{
public:
    WindowParams Params(TWinControl& control) const override
    {
        auto& combo = static_cast<TNsCustomImageCombo&>(control);
        WindowParams params{"COMBOBOX", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL, 0};
        params.extraHeight = combo.dropDownCount * 18;
        return params;
    }
    void PushAll(HWND window, TWinControl& control) const override
    {
        ::SendMessageA(window, CB_SETEXTENDEDUI, TRUE, 0);
        auto& combo = static_cast<TNsCustomImageCombo&>(control);
        HDC dc = ::GetDC(window);
        core::UniqueGdiObject font = CreateFontFor(*combo.Font());
        HGDIOBJ old = ::SelectObject(dc, font.Get());
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(dc, &metrics);
        ::SelectObject(dc, old);
        ::ReleaseDC(window, dc);
        int imageWidth = 0;
        int imageHeight = 0;
        if (combo.systemImages)
            ::ImageList_GetIconSize(SystemSmallImages(), &imageWidth, &imageHeight);
        const int height = ImageComboItemHeight(metrics.tmHeight, imageHeight);
        ::SendMessageA(window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
        ::SendMessageA(window, CB_SETITEMHEIGHT, 0, height);
        Push(window, control, Aspect::Items);
    }
    void Push(HWND window, TWinControl& control, Aspect aspect) const override
    {
        auto& combo = static_cast<TNsCustomImageCombo&>(control);
        if (aspect == Aspect::Items) {
            ::SendMessageA(window, CB_RESETCONTENT, 0, 0);
            for (std::size_t i = 0; i < combo.Items()->Count(); ++i)
                ::SendMessageA(window, CB_ADDSTRING, 0, static_cast<LPARAM>(i));
        }
        if (aspect == Aspect::Items || aspect == Aspect::ItemIndex)
            ::SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(combo.ItemIndex()), 0);
    }
    bool Command(HWND window, TWinControl& control, int code) const override
    {
        if (code != CBN_SELCHANGE)
            return false;
        static_cast<TNsCustomImageCombo&>(control).ItemIndexFromWindow(
            static_cast<std::int32_t>(::SendMessageA(window, CB_GETCURSEL, 0, 0)));
        return true;
    }
    bool DrawItem(HWND window, TWinControl& control, DRAWITEMSTRUCT& item) const override
    {
        auto& combo = static_cast<TNsCustomImageCombo&>(control);
        const bool selected = item.itemState & ODS_SELECTED;
        ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
        if (item.itemID == static_cast<UINT>(-1) || item.itemID >= combo.Items()->Count())
            return true;
        const std::string& text = (*combo.Items())[item.itemID];
        const TNsImageComboItem entry = combo.ImageItem(item.itemID);
        HIMAGELIST images = combo.systemImages ? SystemSmallImages() : nullptr;
        int imageWidth = 0;
        int imageHeight = 0;
        if (images && entry.imageIndex >= 0)
            ::ImageList_GetIconSize(images, &imageWidth, &imageHeight);
        SIZE extent{};
        ::GetTextExtentPoint32A(item.hDC, text.c_str(), static_cast<int>(text.size()), &extent);
        const TRect rect{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
        const ImageComboLayout layout =
            LayOutImageComboItem(rect, combo.indentPixels, entry.indent,
                                 item.itemState & ODS_COMBOBOXEDIT, imageWidth, imageHeight,
                                 extent.cx);
        if (imageWidth > 0)
            ::ImageList_Draw(images, entry.imageIndex, item.hDC, layout.imageLeft, layout.imageTop,
                             (selected ? ILD_SELECTED : ILD_NORMAL) |
                                 (entry.overlayIndex >= 0
                                      ? INDEXTOOVERLAYMASK(entry.overlayIndex + 1)
                                      : 0));
        RECT box{layout.textBox.left, layout.textBox.top, layout.textBox.right,
                 layout.textBox.bottom};
        if (selected)
            ::FillRect(item.hDC, &box, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        ::SetBkMode(item.hDC, TRANSPARENT);
        ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text_box{box.left + 1, box.top, box.right, box.bottom};
        ::DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &text_box,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return true;
    }
};

}  // namespace

const ControlBinding& ListViewBinding()
{
    static const ListViewWindow binding;
    return binding;
}

const ControlBinding& ImageComboBinding()
{
    static const ImageComboWindow binding;
    return binding;
}

}  // namespace setup::ui
