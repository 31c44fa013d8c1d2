#include "suite/update/refreshkit_dialogs_win32.h"

#include "suite/common/dialog_helpers_win32.h"
#include "suite/update/contact_view.h"
#include "suite/update/dialog_scale.h"
#include "suite/update/installer_download.h"
#include "suite/update/picture_control_win32.h"
#include "suite/update/resource_ids.h"
#include "suite/update/update_answer.h"
#include "suite/update/wininet_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <thread>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace update {
namespace {

constexpr COLORREF kDarkGrey = RGB(0x28, 0x28, 0x28);
constexpr UINT kDownloadFinished = WM_APP + 1;

// The information dialog's diagnostic keys go through a message hook, which has no user argument:
// the dialog and its settings wait in this thread's slots while it is shown.
thread_local const CRefreshkitSettings* t_diagnosedSettings = nullptr;
thread_local HWND t_diagnosedDialog = nullptr;

HINSTANCE ThisModule()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

PixelRect ChildRect(HWND dialog, HWND control)
{
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

void ScaleControl(HWND dialog, int id, ScaleFactors factors)
{
    HWND control = ::GetDlgItem(dialog, id);
    if (!control || factors.IsIdentity())
        return;
    const PixelRect scaled = ScaleControlRect(ChildRect(dialog, control), factors);
    ::InvalidateRect(control, nullptr, TRUE);
    ::MoveWindow(control, scaled.left, scaled.top, scaled.right - scaled.left,
                 scaled.bottom - scaled.top, TRUE);
}

using suite::CenterOnOwner;
using suite::DialogProcedure;
using suite::SetPicture;

// The information dialog: one row for the installed product.
class ContactDialog
{
public:
    explicit ContactDialog(const DialogServices& services) : m_services(services) {}
    ~ContactDialog()
    {
        if (m_whatsNew)
            ::DeleteObject(m_whatsNew);
        if (m_boldFont)
            ::DeleteObject(m_boldFont);
        if (m_whiteBrush)
            ::DeleteObject(m_whiteBrush);
    }

    template <typename Dialog>
    friend INT_PTR CALLBACK suite::DialogProcedure(HWND, UINT, WPARAM, LPARAM) noexcept;

    bool m_topmost = false;
    bool m_modeless = false;

private:
    std::wstring Text(std::wstring_view key) { return m_services.languages.GetString(key); }

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
            case WM_INITDIALOG:
                Initialise(dialog);
                return TRUE;
            case WM_CTLCOLORDLG:
                return reinterpret_cast<INT_PTR>(m_whiteBrush);
            case WM_CTLCOLORSTATIC:
                return ColourStatic(reinterpret_cast<HDC>(wParam),
                                    ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
            case WM_PAINT:
                Paint(dialog);
                return TRUE;
            case WM_COMMAND:
                return Command(dialog, LOWORD(wParam));
            default:
                return FALSE;
        }
    }

    void Initialise(HWND dialog)
    {
        CRefreshkitSettings& settings = m_services.settings;
        t_diagnosedDialog = dialog;
        CenterOnOwner(dialog);
        RECT client;
        ::GetClientRect(dialog, &client);
        const ScaleFactors scale =
            ComputeScale(client.right, client.bottom, kContactDesignWidth, kContactDesignHeight);
        settings.scaleX = scale.x;
        settings.scaleY = scale.y;
        std::printf("fDialogRatioX: %f rect.right %d original %d\n", scale.x,
                    static_cast<int>(client.right), 605);
        std::printf("fDialogRatioY: %f rect.bottom %d original %d\n", scale.y,
                    static_cast<int>(client.bottom), 410);

        ::SetWindowTextW(dialog, Text(L"update_name").c_str());
        ::SetDlgItemTextW(dialog, IDC_CONTACT_INFORMATION_HEADING, Text(L"information").c_str());
        ::SetDlgItemTextW(dialog, IDC_CONTACT_TEXT, Text(L"contact_text").c_str());
        ::SetDlgItemTextW(dialog, IDOK, Text(L"OK-button").c_str());
        ::SetDlgItemTextW(dialog, IDCANCEL, Text(L"Cancel-button").c_str());
        m_boldFont = CreateBoldDialogFont();
        ::SendDlgItemMessageW(dialog, IDC_CONTACT_INFORMATION_HEADING, WM_SETFONT,
                              reinterpret_cast<WPARAM>(m_boldFont), TRUE);
        if (!settings.extendedInfoButtonText.empty() && !settings.extendedInfoButtonLink.empty()) {
            ::SetDlgItemTextW(dialog, IDC_CONTACT_EXTENDED_BUTTON,
                              settings.extendedInfoButtonText.c_str());
            ::ShowWindow(::GetDlgItem(dialog, IDC_CONTACT_EXTENDED_BUTTON), SW_SHOW);
        }

        m_title.Attach(::GetDlgItem(dialog, IDC_CONTACT_TITLE_PICTURE));
        m_icon.Attach(::GetDlgItem(dialog, IDC_CONTACT_ICON_PICTURE));
        LoadPicture(m_services.languages, m_title, L"update_title", RT_BITMAP, scale);
        LoadPicture(m_services.languages, m_icon, L"title_icon_down", RT_BITMAP, scale);
        ScaleControl(dialog, IDC_CONTACT_TITLE_PICTURE, scale);
        ScaleControl(dialog, IDC_CONTACT_ICON_PICTURE, scale);
        m_whiteBrush = ::CreateSolidBrush(RGB(255, 255, 255));
        m_whatsNew = m_services.languages.LoadBitmap(L"whatsnew");

        FillList(dialog);
        if (m_topmost)
            ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    void FillList(HWND dialog)
    {
        HWND list = ::GetDlgItem(dialog, IDC_CONTACT_LIST);
        const struct
        {
            const wchar_t* key;
            int width;
        } columns[] = {{L"contact_product", 200}, {L"contact_status", 230}, {L"contact_size", 80}};
        for (int i = 0; i < 3; ++i) {
            std::wstring title = Text(columns[i].key);
            LVCOLUMNW column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.fmt = LVCFMT_LEFT;
            column.cx = columns[i].width;
            column.pszText = title.data();
            ListView_InsertColumn(list, i, &column);
        }
        ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
        ::ImageList_SetBkColor(images, CLR_NONE);
        for (int icon : {IDI_ROW_UP_TO_DATE, IDI_ROW_INFORMATION, IDI_ROW_UPDATE_AVAILABLE}) {
            HICON loaded = static_cast<HICON>(
                ::LoadImageW(m_services.module, MAKEINTRESOURCEW(icon), IMAGE_ICON, 16, 16, 0));
            ::ImageList_AddIcon(images, loaded);
            ::DestroyIcon(loaded);
        }
        // The list destroys its image list with itself.
        ListView_SetImageList(list, images, LVSIL_SMALL);

        const ContactView view = BuildContactView(
            m_services.settings, [this](std::wstring_view key) { return Text(key); });
        std::wstring title = m_services.settings.productTitle;
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.pszText = title.data();
        item.iImage = view.icon - kIconUpToDate;
        const int row = ListView_InsertItem(list, &item);
        std::wstring status = view.status;
        std::wstring size = view.sizeText;
        ListView_SetItemText(list, row, 1, status.data());
        ListView_SetItemText(list, row, 2, size.data());
        ListView_SetCheckState(list, row, view.checked);
        ::SetDlgItemTextW(dialog, IDC_CONTACT_INFORMATION, view.information.c_str());
        ::EnableWindow(::GetDlgItem(dialog, IDOK), view.okEnabled);
    }

    INT_PTR ColourStatic(HDC dc, int id)
    {
        ::SetBkMode(dc, TRANSPARENT);
        if (id == IDC_CONTACT_INFORMATION_HEADING || id == IDC_CONTACT_INFORMATION)
            ::SetTextColor(dc, kDarkGrey);
        else if (id == IDC_CONTACT_TEXT)
            ::SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<INT_PTR>(m_whiteBrush);
    }

    void Paint(HWND dialog)
    {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(dialog, &paint);
        RECT client;
        ::GetClientRect(dialog, &client);
        ::FillRect(dc, &client, m_whiteBrush);
        BITMAP info = {};
        if (m_whatsNew && ::GetObjectW(m_whatsNew, sizeof(info), &info)) {
            HDC memory = ::CreateCompatibleDC(dc);
            HGDIOBJ old = ::SelectObject(memory, m_whatsNew);
            const ScaleFactors scale{m_services.settings.scaleX, m_services.settings.scaleY};
            if (scale.IsIdentity()) {
                ::BitBlt(dc, (client.right - info.bmWidth) / 2, 250, info.bmWidth, info.bmHeight,
                         memory, 0, 0, SRCCOPY);
            } else {
                const int width = static_cast<int>(info.bmWidth * scale.x) + 2;
                const int height = static_cast<int>(info.bmHeight * scale.y) + 1;
                ::StretchBlt(dc, (client.right - width) / 2, static_cast<int>(250 * scale.y), width,
                             height, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
            }
            ::SelectObject(memory, old);
            ::DeleteDC(memory);
        }
        ::EndPaint(dialog, &paint);
    }

    INT_PTR Command(HWND dialog, int id)
    {
        const CRefreshkitSettings& settings = m_services.settings;
        switch (id) {
            case IDOK: {
                HWND list = ::GetDlgItem(dialog, IDC_CONTACT_LIST);
                bool accepted = false;
                const int rows = ListView_GetItemCount(list);
                for (int row = 0; row < rows; ++row) {
                    accepted =
                        AcceptsRow(ListView_GetCheckState(list, row) != 0, settings,
                                   [&] {
                                       return ::MessageBoxW(
                                                  dialog, settings.postOkText.c_str(),
                                                  settings.postOkCaption.c_str(),
                                                  static_cast<UINT>(settings.postOkType)) == IDYES;
                                   }) ||
                        accepted;
                }
                if (accepted)
                    Close(dialog, IDOK);
                return TRUE;
            }
            case IDCANCEL:
                Close(dialog, IDCANCEL);
                return TRUE;
            case IDC_CONTACT_EXTENDED_BUTTON:
                ::ShellExecuteW(nullptr, L"open", settings.extendedInfoButtonLink.c_str(), nullptr,
                                nullptr, SW_SHOWNORMAL);
                return TRUE;
            default:
                return FALSE;
        }
    }

    void Close(HWND dialog, int result)
    {
        if (m_modeless)
            m_result = result;
        else
            ::EndDialog(dialog, result);
    }

    const DialogServices& m_services;
    HBRUSH m_whiteBrush = nullptr;
    HFONT m_boldFont = nullptr;
    HBITMAP m_whatsNew = nullptr;
    CPictureEx m_title;
    CPictureEx m_icon;

public:
    int m_result = 0;
};

// The download dialog and its worker: the worker fetches the installer, moves the bars, starts the
// installer and tells the dialog to close.
class DownloadDialog final : public IDownloadProgress
{
public:
    explicit DownloadDialog(const DialogServices& services) : m_services(services) {}
    ~DownloadDialog()
    {
        if (m_worker.joinable())
            m_worker.join();
        if (m_whiteBrush)
            ::DeleteObject(m_whiteBrush);
    }

    template <typename Dialog>
    friend INT_PTR CALLBACK suite::DialogProcedure(HWND, UINT, WPARAM, LPARAM) noexcept;

    bool Cancelled() const { return m_cancel.load(); }

    void Percent(int percent) override
    {
        ::SendDlgItemMessageW(m_dialog, IDC_DOWNLOAD_CURRENT_BAR, PBM_SETPOS, percent, 0);
        ::SendDlgItemMessageW(m_dialog, IDC_DOWNLOAD_TOTAL_BAR, PBM_SETPOS, percent, 0);
    }
    bool CancelRequested() override { return m_cancel.load(); }

private:
    std::wstring Text(std::wstring_view key) { return m_services.languages.GetString(key); }

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
            case WM_INITDIALOG:
                Initialise(dialog);
                return TRUE;
            case WM_CTLCOLORDLG:
                return reinterpret_cast<INT_PTR>(m_whiteBrush);
            case WM_CTLCOLORSTATIC: {
                HDC dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, RGB(0, 0, 0));
                ::SetBkColor(dc, RGB(255, 255, 255));
                return reinterpret_cast<INT_PTR>(m_whiteBrush);
            }
            case WM_COMMAND:
                if (LOWORD(wParam) == IDC_DOWNLOAD_CANCEL || LOWORD(wParam) == IDCANCEL) {
                    m_cancel = true;
                    return TRUE;
                }
                return FALSE;
            case kDownloadFinished:
                if (m_worker.joinable())
                    m_worker.join();
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            case WM_DESTROY:
                SetPicture(dialog, IDC_DOWNLOAD_STEP_DOWNLOAD, nullptr);
                SetPicture(dialog, IDC_DOWNLOAD_STEP_INSTALL, nullptr);
                return FALSE;
            default:
                return FALSE;
        }
    }

    void Initialise(HWND dialog)
    {
        m_dialog = dialog;
        CenterOnOwner(dialog);
        m_whiteBrush = ::CreateSolidBrush(RGB(255, 255, 255));
        SetPicture(dialog, IDC_DOWNLOAD_STEP_DOWNLOAD,
                   ::LoadBitmapW(m_services.module, MAKEINTRESOURCEW(IDB_STEP_CURRENT)));
        ::SetWindowTextW(dialog, Text(L"down_downloading").c_str());
        const struct
        {
            int id;
            const wchar_t* key;
        } texts[] = {
            {IDC_DOWNLOAD_GENERAL_GROUP, L"down_general"},
            {IDC_DOWNLOAD_INFO, L"down_info_txt"},
            {IDC_DOWNLOAD_DOWNLOADING_TEXT, L"down_downloading_txt"},
            {IDC_DOWNLOAD_INSTALLING_TEXT, L"down_installing_txt"},
            {IDC_DOWNLOAD_PROGRESS_GROUP, L"down_progress"},
            {IDC_DOWNLOAD_TOTAL_TEXT, L"down_total"},
            {IDC_DOWNLOAD_CANCEL, L"Cancel-button"},
        };
        for (const auto& text : texts)
            ::SetDlgItemTextW(dialog, text.id, Text(text.key).c_str());
        ::SetDlgItemTextW(
            dialog, IDC_DOWNLOAD_CURRENT_PRODUCT,
            FormatStringsOnly(Text(L"down_current_product"), {m_services.settings.productTitle})
                .c_str());
        for (int bar : {IDC_DOWNLOAD_CURRENT_BAR, IDC_DOWNLOAD_TOTAL_BAR})
            ::SendDlgItemMessageW(dialog, bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        m_cancel = false;
        m_worker = std::thread([this] { Work(); });
    }

    void Work()
    {
        const CRefreshkitSettings& settings = m_services.settings;
        WinInetDownloadSource source;
        Win32InstallerFile file;
        const DownloadResult result = DownloadInstaller(
            settings.downloadUrl, settings.localInstallerPath, settings.size, source, file, *this);
        const std::wstring caption = Text(L"update_name");
        switch (result.outcome) {
            case DownloadOutcome::NoConnection:
            case DownloadOutcome::ConnectionLost:
                ::MessageBoxW(
                    nullptr,
                    Text(result.outcome == DownloadOutcome::NoConnection ? L"no_internet"
                                                                         : L"internet_lost")
                        .c_str(),
                    caption.c_str(), MB_OK);
                m_cancel = true;
                break;
            case DownloadOutcome::Cancelled:
                m_cancel = true;
                break;
            case DownloadOutcome::Complete:
                SetPicture(m_dialog, IDC_DOWNLOAD_STEP_DOWNLOAD,
                           ::LoadBitmapW(m_services.module, MAKEINTRESOURCEW(IDB_STEP_DONE)));
                SetPicture(m_dialog, IDC_DOWNLOAD_STEP_INSTALL,
                           ::LoadBitmapW(m_services.module, MAKEINTRESOURCEW(IDB_STEP_CURRENT)));
                Percent(0);
                ::MessageBoxW(nullptr, Text(L"down_exit").c_str(), caption.c_str(), MB_OK);
                m_services.launcher.Launch(settings.localInstallerPath,
                                           settings.installerParameters);
                break;
        }
        ::PostMessageW(m_dialog, kDownloadFinished, 0, 0);
    }

    const DialogServices& m_services;
    HWND m_dialog = nullptr;
    HBRUSH m_whiteBrush = nullptr;
    std::atomic<bool> m_cancel{false};
    std::thread m_worker;
};

// The information dialog's diagnostic keys, seen before any control takes them: Pause shows the
// server's whole answer with its HTTP status, Scroll Lock the request's address (and is consumed).
LRESULT CALLBACK DiagnosticKeys(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_KEYDOWN &&
        t_diagnosedSettings && t_diagnosedDialog) {
        const CRefreshkitSettings& settings = *t_diagnosedSettings;
        if (message->wParam == VK_PAUSE) {
            const std::wstring caption = L"Status: " + std::to_wstring(settings.httpStatus);
            ::MessageBoxW(t_diagnosedDialog, settings.answer.c_str(), caption.c_str(), MB_OK);
        } else if (message->wParam == VK_SCROLL) {
            ::MessageBoxW(t_diagnosedDialog, settings.requestUrl.c_str(), L"", MB_OK);
            message->message = WM_NULL;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void EnsureCommonControls()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
}

}  // namespace

const wchar_t* LaunchVerb(unsigned majorVersion)
{
    return majorVersion >= 6 ? L"runas" : L"open";
}

void ShellInstallerLauncher::Launch(const std::wstring& path, const std::wstring& parameters)
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    ::ShellExecuteW(nullptr, LaunchVerb(info.dwMajorVersion), path.c_str(), parameters.c_str(),
                    nullptr, SW_SHOWNORMAL);
}

INT_PTR ShowContactDialog(const DialogServices& services, HWND owner, bool topmost)
{
    EnsureCommonControls();
    ContactDialog dialog(services);
    dialog.m_topmost = topmost;
    t_diagnosedSettings = &services.settings;
    HHOOK hook =
        ::SetWindowsHookExW(WH_GETMESSAGE, &DiagnosticKeys, nullptr, ::GetCurrentThreadId());
    const INT_PTR result =
        ::DialogBoxParamW(services.module, MAKEINTRESOURCEW(IDD_UPDATE_CONTACT), owner,
                          &DialogProcedure<ContactDialog>, reinterpret_cast<LPARAM>(&dialog));
    if (hook)
        ::UnhookWindowsHookEx(hook);
    t_diagnosedSettings = nullptr;
    t_diagnosedDialog = nullptr;
    return result;
}

HWND CreateContactDialog(const DialogServices& services, HWND owner)
{
    EnsureCommonControls();
    // Lives as long as the window; the test destroys both through the window.
    static thread_local std::unique_ptr<ContactDialog> modeless;
    modeless = std::make_unique<ContactDialog>(services);
    modeless->m_modeless = true;
    return ::CreateDialogParamW(services.module, MAKEINTRESOURCEW(IDD_UPDATE_CONTACT), owner,
                                &DialogProcedure<ContactDialog>,
                                reinterpret_cast<LPARAM>(modeless.get()));
}

bool ShowDownloadDialog(const DialogServices& services, HWND owner)
{
    EnsureCommonControls();
    DownloadDialog dialog(services);
    ::DialogBoxParamW(services.module, MAKEINTRESOURCEW(IDD_UPDATE_DOWNLOAD), owner,
                      &DialogProcedure<DownloadDialog>, reinterpret_cast<LPARAM>(&dialog));
    return dialog.Cancelled();
}

int RunInteractiveUpdate(RefreshkitContext& context, bool topmost)
{
    ShellInstallerLauncher launcher;
    const DialogServices services{context.Settings(), context.Languages(), launcher, ThisModule()};
    if (ShowContactDialog(services, ::GetActiveWindow(), topmost) != IDOK)
        return -1;
    const CRefreshkitSettings& settings = context.Settings();
    if (IsNewerVersion(settings.installedVersion, settings.version))
        return ShowDownloadDialog(services, ::GetActiveWindow()) ? -1 : 1;
    ::MessageBoxW(nullptr, context.Text(L"msg_no_update").c_str(),
                  context.Text(L"update_name").c_str(), MB_OK);
    return 1;
}

}  // namespace update
