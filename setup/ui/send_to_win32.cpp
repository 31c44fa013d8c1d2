#include "setup/ui/send_to_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "core/text_convert.h"
#include "core/unique_handle.h"
#include "setup/ui/gdi_canvas_win32.h"
#include "setup/ui/system_images_win32.h"

namespace setup::ui {
namespace {

constexpr int kSendToFolder = 9;

std::vector<SendToEntry>& List()
{
    static std::vector<SendToEntry> list;
    return list;
}

void FillSendToList()
{
    std::vector<SendToFile> files;
    const std::string folder = SendToFolderPath();
    WIN32_FIND_DATAA found{};
    HANDLE search =
        folder.empty() ? INVALID_HANDLE_VALUE : ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            SendToFile file;
            file.name = found.cFileName;
            file.folder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
            file.hidden = found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN;
            SHFILEINFOA info{};
            if (!file.folder &&
                ::SHGetFileInfoA((folder + "\\" + file.name).c_str(), 0, &info, sizeof(info),
                                 SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
                file.iconIndex = info.iIcon;
            files.push_back(std::move(file));
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    List() = SendToEntries(std::move(files));
}

// Draws on the menu's device context in the menu font.
class GdiSendToPainter final : public ISendToPainter
{
public:
    explicit GdiSendToPainter(HDC dc) : m_dc(dc)
    {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            m_font.Reset(::CreateFontIndirectA(&metrics.lfMenuFont));
        m_old = ::SelectObject(m_dc, m_font ? m_font.Get() : ::GetStockObject(DEFAULT_GUI_FONT));
    }
    ~GdiSendToPainter() override { ::SelectObject(m_dc, m_old); }
    GdiSendToPainter(const GdiSendToPainter&) = delete;
    GdiSendToPainter& operator=(const GdiSendToPainter&) = delete;

    int TextWidth(const std::string& text) override
    {
        SIZE size{};
        ::GetTextExtentPoint32A(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    void Fill(const TRect& rect, TColor colour) override
    {
        RECT area{rect.left, rect.top, rect.right, rect.bottom};
        core::UniqueGdiObject brush(::CreateSolidBrush(ToColorRef(colour)));
        ::FillRect(m_dc, &area, static_cast<HBRUSH>(brush.Get()));
    }
    void Text(int x, int y, const std::string& text, TColor colour) override
    {
        ::SetBkMode(m_dc, TRANSPARENT);
        ::SetTextColor(m_dc, ToColorRef(colour));
        ::TextOutA(m_dc, x, y, text.c_str(), static_cast<int>(text.size()));
    }
    void Icon(int iconIndex, int x, int y) override
    {
        if (iconIndex >= 0)
            ::ImageList_Draw(SystemSmallImages(), iconIndex, m_dc, x, y, ILD_TRANSPARENT);
    }

private:
    HDC m_dc;
    core::UniqueGdiObject m_font;
    HGDIOBJ m_old = nullptr;
};

const SendToEntry* EntryOfItem(UINT type, UINT id, ULONG_PTR data)
{
    const int index = SendToIndexOfCommand(static_cast<int>(id), List().size());
    if (type != ODT_MENU || data >= 1000 || index < 0)
        return nullptr;
    return &List()[static_cast<std::size_t>(index)];
}

int HighlightedItem(HMENU menu)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            return i;
    return -1;
}

}  // namespace

const std::vector<SendToEntry>& SendToList()
{
    return List();
}

std::string SendToFolderPath()
{
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, kSendToFolder, nullptr, 0, path)))
        return {};
    return path;
}

bool SendToMenuMessages::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
        case WM_INITMENUPOPUP: {
            auto menu = reinterpret_cast<HMENU>(wParam);
            const bool disabled =
                ::GetMenuState(menu, 0, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED);
            if (!IsSendToPlaceholder(::GetMenuItemCount(menu), disabled))
                return false;
            ::DeleteMenu(menu, 0, MF_BYPOSITION);
            FillSendToList();
            for (std::size_t i = 0; i < List().size(); ++i)
                ::AppendMenuA(menu, MF_OWNERDRAW, static_cast<UINT_PTR>(SendToCommandId(i)),
                              reinterpret_cast<LPCSTR>(i));
            m_filled = menu;
            result = 0;
            return true;
        }
        case WM_MEASUREITEM: {
            auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            const SendToEntry* entry = EntryOfItem(item.CtlType, item.itemID, item.itemData);
            if (!entry)
                return false;
            HDC dc = ::GetDC(nullptr);
            {
                GdiSendToPainter painter(dc);
                const TPoint size =
                    MeasureSendToItem(painter, *entry, ::GetSystemMetrics(SM_CYMENU));
                item.itemWidth = static_cast<UINT>(size.x);
                item.itemHeight = static_cast<UINT>(size.y);
            }
            ::ReleaseDC(nullptr, dc);
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            const SendToEntry* entry = EntryOfItem(item.CtlType, item.itemID, item.itemData);
            if (!entry)
                return false;
            GdiSendToPainter painter(item.hDC);
            DrawSendToItem(painter, *entry,
                           {item.rcItem.left, item.rcItem.top, item.rcItem.right,
                            item.rcItem.bottom},
                           item.itemState & ODS_SELECTED);
            result = TRUE;
            return true;
        }
        case WM_MENUCHAR: {
            auto menu = reinterpret_cast<HMENU>(lParam);
            if (!(HIWORD(wParam) & MF_POPUP) || !m_filled || menu != m_filled)
                return false;
            const SendToMenuChar answer = AnswerSendToMenuChar(
                List(), static_cast<char>(LOWORD(wParam)), HighlightedItem(menu));
            result = answer.action == SendToMenuChar::None ? 1
                                                           : MAKELRESULT(answer.index, answer.action);
            return true;
        }
        default:
            return false;
    }
}

bool RunSendTo(const std::string& folderPath, const std::string& name, IDataObject& data)
{
    IShellFolder* desktop = nullptr;
    if (folderPath.empty() || FAILED(::SHGetDesktopFolder(&desktop)))
        return false;
    bool done = false;
    std::wstring path = core::AnsiToWide(folderPath + "\\" + name);
    LPITEMIDLIST absolute = nullptr;
    IShellFolder* parent = nullptr;
    LPCITEMIDLIST last = nullptr;
    IDropTarget* target = nullptr;
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, path.data(), nullptr, &absolute,
                                            nullptr)) &&
        SUCCEEDED(::SHBindToParent(absolute, IID_IShellFolder, reinterpret_cast<void**>(&parent),
                                   &last)) &&
        SUCCEEDED(parent->GetUIObjectOf(nullptr, 1, &last, IID_IDropTarget, nullptr,
                                        reinterpret_cast<void**>(&target)))) {
        DWORD effect = DROPEFFECT_COPY;
        POINTL origin{0, 0};
        if (SUCCEEDED(target->DragEnter(&data, MK_LBUTTON, origin, &effect)) &&
            SUCCEEDED(target->DragOver(MK_LBUTTON, origin, &effect))) {
            HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
            done = SUCCEEDED(target->Drop(&data, MK_LBUTTON, origin, &effect));
            ::SetCursor(previous);
        }
    }
    if (target)
        target->Release();
    if (parent)
        parent->Release();
    ::CoTaskMemFree(absolute);
    desktop->Release();
    return done;
}

}  // namespace setup::ui
