#include "setup/htmlview/forms/control_host_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

namespace htmlview {

namespace {

// Controls wait here, out of sight, until painting moves them into place.
constexpr int kParkedX = -4000;
// A drop-down list's window includes its opened list.
constexpr int kDropDownRoom = 160;

bool IsList(ControlKind kind)
{
    return kind == ControlKind::ListBox || kind == ControlKind::MultiListBox;
}

struct WindowClass
{
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

WindowClass ClassOf(ControlKind kind)
{
    constexpr DWORD edge = WS_EX_CLIENTEDGE;
    switch (kind) {
        case ControlKind::Edit:
            return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, edge};
        case ControlKind::Password:
            return {L"EDIT", ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, edge};
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | BS_NOTIFY | WS_TABSTOP, 0};
        case ControlKind::Radio:
            return {L"BUTTON", BS_RADIOBUTTON | BS_NOTIFY, 0};
        case ControlKind::ListBox:
            return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, edge};
        case ControlKind::MultiListBox:
            return {L"LISTBOX",
                    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL | WS_VSCROLL | WS_TABSTOP,
                    edge};
        case ControlKind::ComboBox:
            return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::Memo:
            return {L"EDIT",
                    ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, edge};
        case ControlKind::MemoNoWrap:
            return {L"EDIT",
                    ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                        WS_HSCROLL | WS_TABSTOP,
                    edge};
        case ControlKind::Panel:
            return {L"STATIC", SS_WHITERECT | WS_BORDER, 0};
        case ControlKind::LinkStop:
            return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
    }
    return {L"EDIT", 0, 0};
}

const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

ControlHostWin32::ControlHostWin32(HWND parent)
    : m_parent(parent), m_font(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)))
{}

ControlHostWin32::~ControlHostWin32()
{
    // A control losing the focus as it goes reports it; nobody is left to hear that.
    onEvent = nullptr;
    const std::map<int, Entry> entries = std::move(m_entries);
    m_entries.clear();
    for (const auto& [id, entry] : entries)
        ::DestroyWindow(entry.window);
}

const ControlHostWin32::Entry* ControlHostWin32::Find(int id) const
{
    const auto found = m_entries.find(id);
    return found == m_entries.end() ? nullptr : &found->second;
}

HWND ControlHostWin32::WindowOf(int id) const
{
    const Entry* entry = Find(id);
    return entry ? entry->window : nullptr;
}

LRESULT ControlHostWin32::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    HWND window = WindowOf(id);
    return window ? ::SendMessageW(window, message, wParam, lParam) : 0;
}

int ControlHostWin32::Create(ControlKind kind, const std::u16string& text, bool enabled)
{
    const WindowClass c = ClassOf(kind);
    const int id = m_next++;
    HWND window = ::CreateWindowExW(
        c.exStyle, c.name, kind == ControlKind::ComboBox || IsList(kind) ? L"" : Wide(text),
        WS_CHILD | WS_VISIBLE | c.style | (enabled ? 0 : WS_DISABLED), kParkedX, 0, 10, 10,
        m_parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
        nullptr);
    if (!window)
        return -1;
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    // Enter in a text box or on a link, and arrow keys on a radio button, are the document's.
    if (kind == ControlKind::Edit || kind == ControlKind::Password ||
        kind == ControlKind::Radio || kind == ControlKind::LinkStop)
        ::SetWindowSubclass(window, KeyProc, static_cast<UINT_PTR>(id),
                            reinterpret_cast<DWORD_PTR>(this));
    m_entries[id] = {window, kind};
    return id;
}

LRESULT CALLBACK ControlHostWin32::KeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR host)
{
    auto* self = reinterpret_cast<ControlHostWin32*>(host);
    const int control = static_cast<int>(id);
    const Entry* entry = self->Find(control);
    const bool takesEnter = entry && entry->kind != ControlKind::Radio;
    switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = ::DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTARROWS;
            // Without this the dialog takes Enter for its default button and the box never
            // sees it.
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            if (takesEnter && pending && pending->message == WM_KEYDOWN &&
                pending->wParam == VK_RETURN)
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_CHAR:
            if (wParam == VK_RETURN && takesEnter && self->onEvent) {
                self->onEvent(control, ControlEvent::Return);
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // A link's stop is no system control with focus notifications of its own.
            if (entry && entry->kind == ControlKind::LinkStop && self->onEvent)
                self->onEvent(control, message == WM_SETFOCUS ? ControlEvent::Enter
                                                              : ControlEvent::Leave);
            break;
        case WM_KEYDOWN:
            if (entry && entry->kind == ControlKind::Radio &&
                wParam >= VK_LEFT && wParam <= VK_DOWN && self->onEvent) {
                self->onEvent(control, wParam == VK_LEFT || wParam == VK_UP
                                           ? ControlEvent::ArrowBack
                                           : ControlEvent::ArrowForward);
                return 0;
            }
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, KeyProc, id);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

void ControlHostWin32::Destroy(int id)
{
    const auto found = m_entries.find(id);
    if (found == m_entries.end())
        return;
    // Forgotten first: a focused control reports losing the focus while it is destroyed, and
    // its object is going away.
    HWND window = found->second.window;
    m_entries.erase(found);
    ::DestroyWindow(window);
}

void ControlHostWin32::Move(int id, int x, int y, int width, int height)
{
    const Entry* entry = Find(id);
    if (!entry)
        return;
    if (height <= 0)
        height = Size(id).height;
    if (entry->kind == ControlKind::ComboBox)
        height += kDropDownRoom;
    ::SetWindowPos(entry->window, nullptr, x + m_originX, y + m_originY, std::max(0, width), std::max(0, height),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

ControlSize ControlHostWin32::Size(int id) const
{
    const Entry* entry = Find(id);
    if (!entry)
        return {};
    RECT r{};
    ::GetWindowRect(entry->window, &r);
    if (entry->kind == ControlKind::ComboBox) {
        // The closed box only: its selection field and edges.
        const LRESULT field =
            ::SendMessageW(entry->window, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        return {r.right - r.left, static_cast<int>(field) + 6};
    }
    if (entry->kind == ControlKind::Edit || entry->kind == ControlKind::Password) {
        // A one-line text box is as high as its font's line and its edges.
        const ControlSize letter = TextSize(id, u"A");
        return {r.right - r.left, std::max<int>(r.bottom - r.top, letter.height + 8)};
    }
    return {r.right - r.left, r.bottom - r.top};
}

std::u16string ControlHostWin32::Text(int id) const
{
    HWND window = WindowOf(id);
    if (!window)
        return {};
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return {text.begin(), text.end()};
}

void ControlHostWin32::SetText(int id, const std::u16string& text)
{
    if (HWND window = WindowOf(id))
        ::SetWindowTextW(window, Wide(text));
}

bool ControlHostWin32::Checked(int id) const
{
    return Send(id, BM_GETCHECK) == BST_CHECKED;
}

void ControlHostWin32::SetChecked(int id, bool checked)
{
    Send(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void ControlHostWin32::SetTabStop(int id, bool tabStop)
{
    HWND window = WindowOf(id);
    if (!window)
        return;
    LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    ::SetWindowLongPtrW(window, GWL_STYLE, style);
}

void ControlHostWin32::SetMaxLength(int id, int length)
{
    Send(id, EM_LIMITTEXT, static_cast<WPARAM>(length));
}

void ControlHostWin32::SetFocus(int id)
{
    if (HWND window = WindowOf(id))
        ::SetFocus(window);
}

void ControlHostWin32::SetTabOrder(const std::vector<int>& ids)
{
    // Dialog navigation steps into the paint area only while it holds tab stops.
    LONG_PTR exStyle = ::GetWindowLongPtrW(m_parent, GWL_EXSTYLE);
    exStyle = ids.empty() ? (exStyle & ~static_cast<LONG_PTR>(WS_EX_CONTROLPARENT))
                          : (exStyle | WS_EX_CONTROLPARENT);
    ::SetWindowLongPtrW(m_parent, GWL_EXSTYLE, exStyle);
    // It follows the windows' Z order.
    HWND after = HWND_TOP;
    for (int id : ids)
        if (HWND window = WindowOf(id)) {
            ::SetWindowPos(window, after, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
            after = window;
        }
}

void ControlHostWin32::SetOrigin(int x, int y)
{
    m_originX = x;
    m_originY = y;
}

int ControlHostWin32::AverageCharWidth(int id) const
{
    HWND window = WindowOf(id);
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, m_font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return metrics.tmAveCharWidth;
}

ControlSize ControlHostWin32::TextSize(int id, const std::u16string& text) const
{
    HWND window = WindowOf(id);
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, m_font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, Wide(text), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return {size.cx, size.cy};
}

int ControlHostWin32::ScrollBarWidth() const
{
    return ::GetSystemMetrics(SM_CXVSCROLL);
}

void ControlHostWin32::ClearItems(int id)
{
    const Entry* entry = Find(id);
    if (entry)
        Send(id, IsList(entry->kind) ? LB_RESETCONTENT : CB_RESETCONTENT);
}

void ControlHostWin32::AddItem(int id, const std::u16string& text)
{
    const Entry* entry = Find(id);
    if (entry)
        Send(id, IsList(entry->kind) ? LB_ADDSTRING : CB_ADDSTRING, 0,
             reinterpret_cast<LPARAM>(Wide(text)));
}

int ControlHostWin32::ItemCount(int id) const
{
    const Entry* entry = Find(id);
    return entry
               ? std::max(
                     0, static_cast<int>(Send(id, IsList(entry->kind) ? LB_GETCOUNT : CB_GETCOUNT)))
               : 0;
}

bool ControlHostWin32::ItemSelected(int id, int index) const
{
    const Entry* entry = Find(id);
    if (!entry || index < 0)
        return false;
    if (entry->kind == ControlKind::MultiListBox)
        return Send(id, LB_GETSEL, static_cast<WPARAM>(index)) > 0;
    return ItemIndex(id) == index;
}

void ControlHostWin32::SelectItem(int id, int index, bool selected)
{
    const Entry* entry = Find(id);
    if (entry && entry->kind == ControlKind::MultiListBox)
        Send(id, LB_SETSEL, selected ? TRUE : FALSE, index);
    else if (selected)
        SetItemIndex(id, index);
}

int ControlHostWin32::ItemIndex(int id) const
{
    const Entry* entry = Find(id);
    if (!entry)
        return -1;
    const LRESULT index = Send(id, IsList(entry->kind) ? LB_GETCURSEL : CB_GETCURSEL);
    return index < 0 ? -1 : static_cast<int>(index);
}

void ControlHostWin32::SetItemIndex(int id, int index)
{
    const Entry* entry = Find(id);
    if (entry)
        Send(id, IsList(entry->kind) ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index));
}

std::vector<std::u16string> ControlHostWin32::ShownLines(int id) const
{
    std::vector<std::u16string> lines;
    const int count = static_cast<int>(Send(id, EM_GETLINECOUNT));
    for (int line = 0; line < count; ++line) {
        const LRESULT start = Send(id, EM_LINEINDEX, static_cast<WPARAM>(line));
        const int length = static_cast<int>(Send(id, EM_LINELENGTH, static_cast<WPARAM>(start)));
        // The buffer's first word tells the control how much it may write.
        std::wstring buffer(static_cast<std::size_t>(std::max(length, 1)) + 1, L'\0');
        buffer[0] = static_cast<wchar_t>(buffer.size());
        const int copied = static_cast<int>(Send(id, EM_GETLINE, static_cast<WPARAM>(line),
                                                 reinterpret_cast<LPARAM>(buffer.data())));
        lines.emplace_back(buffer.begin(), buffer.begin() + std::clamp(copied, 0, length));
    }
    return lines;
}

bool ControlHostWin32::HandleCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const Entry* entry = Find(id);
    if (!entry || entry->window != reinterpret_cast<HWND>(lParam))
        return false;
    const WORD code = HIWORD(wParam);
    std::optional<ControlEvent> event;
    switch (entry->kind) {
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::Radio:
            event = code == BN_CLICKED     ? std::optional(ControlEvent::Click)
                    : code == BN_SETFOCUS  ? std::optional(ControlEvent::Enter)
                    : code == BN_KILLFOCUS ? std::optional(ControlEvent::Leave)
                                           : std::nullopt;
            break;
        case ControlKind::ListBox:
        case ControlKind::MultiListBox:
            event = code == LBN_SETFOCUS    ? std::optional(ControlEvent::Enter)
                    : code == LBN_KILLFOCUS ? std::optional(ControlEvent::Leave)
                                            : std::nullopt;
            break;
        case ControlKind::ComboBox:
            event = code == CBN_SETFOCUS    ? std::optional(ControlEvent::Enter)
                    : code == CBN_KILLFOCUS ? std::optional(ControlEvent::Leave)
                                            : std::nullopt;
            break;
        default:
            event = code == EN_SETFOCUS    ? std::optional(ControlEvent::Enter)
                    : code == EN_KILLFOCUS ? std::optional(ControlEvent::Leave)
                                           : std::nullopt;
            break;
    }
    if (event && onEvent)
        onEvent(id, *event);
    return true;
}

}  // namespace htmlview
