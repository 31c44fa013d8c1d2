#include "suite/recyclebin/summary_dialog_win32.h"

#include "suite/common/dialog_helpers_win32.h"
#include "suite/recyclebin/dialog_painting_win32.h"
#include "suite/recyclebin/resource_ids.h"
#include "suite/recyclebin/shred_run.h"
#include "suite/recyclebin/suite_images_win32.h"

#include <cstdio>

namespace trashwipe {

std::wstring SummaryDialog::Text(std::wstring_view key)
{
    return m_environment.texts.Text(key, m_languageIndex);
}

void SummaryDialog::SetResult(bool anySuccess, bool anyFailure)
{
    m_anySuccess = anySuccess;
    m_anyFailure = anyFailure;
    std::printf("%d %d\n", anySuccess ? 1 : 0, anyFailure ? 1 : 0);
}

void SummaryDialog::Run()
{
    ::DialogBoxParamW(m_environment.module, MAKEINTRESOURCEW(IDD_SUMMARY), nullptr,
                      &suite::DialogProcedure<SummaryDialog>, reinterpret_cast<LPARAM>(this));
}

HWND SummaryDialog::Create()
{
    return ::CreateDialogParamW(m_environment.module, MAKEINTRESOURCEW(IDD_SUMMARY), nullptr,
                                &suite::DialogProcedure<SummaryDialog>,
                                reinterpret_cast<LPARAM>(this));
}

void SummaryDialog::SetResultPicture(HWND dialog, int bitmapId)
{
    HBITMAP picture = ::LoadBitmapW(m_environment.module, MAKEINTRESOURCEW(bitmapId));
    // Reported when the picture cannot be loaded, whatever the control held before.
    if (!picture) {
        m_environment.ui.Show(Text(L"pic_not_shown"), L"", suite::MessageIcon::Error);
        return;
    }
    suite::SetPicture(dialog, IDC_SUMMARY_PICTURE, picture);
}

void SummaryDialog::Initialise(HWND dialog)
{
    if (m_environment.settings.ReadShredLog())
        ::CheckDlgButton(dialog, IDC_SUMMARY_SHRED_LOG, BST_CHECKED);
    ::SetWindowTextW(dialog, Text(L"summary_title").c_str());
    m_statusFont.Reset(suite::CreateBoldDialogFont(24));
    ::SendDlgItemMessageW(dialog, IDC_SUMMARY_STATUS, WM_SETFONT,
                          reinterpret_cast<WPARAM>(m_statusFont.Get()), TRUE);
    ::SetDlgItemTextW(dialog, IDC_SUMMARY_STATUS, Text(L"operation_failed").c_str());
    ::SetDlgItemTextW(dialog, IDC_SUMMARY_EXPLANATION, Text(L"failure_dialog").c_str());
    ::SetDlgItemTextW(dialog, IDC_SUMMARY_HINT, Text(L"click_view_log").c_str());
    ::SetDlgItemTextW(dialog, IDC_SUMMARY_VIEW_LOG, Text(L"view_log").c_str());
    ::SetDlgItemTextW(dialog, IDOK, Text(L"OK-button").c_str());
    ::SetDlgItemTextW(dialog, IDC_SUMMARY_SHRED_LOG_TEXT, Text(L"shred_logfile").c_str());
    m_whiteBrush.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
    m_bottom.Reset(
        LoadSuiteImage(m_environment.locator, m_environment.ui, L"summary_botton_fading"));
    if (m_anySuccess && !m_anyFailure) {
        SetResultPicture(dialog, IDB_RESULT_SUCCESS);
        ::SetDlgItemTextW(dialog, IDC_SUMMARY_STATUS, Text(L"operation_successful").c_str());
        ::SetDlgItemTextW(dialog, IDC_SUMMARY_EXPLANATION, Text(L"success_dialog").c_str());
    } else if (m_anySuccess) {
        SetResultPicture(dialog, IDB_RESULT_ERRORS);
        ::SetDlgItemTextW(dialog, IDC_SUMMARY_STATUS, Text(L"completed_errors").c_str());
        ::SetDlgItemTextW(dialog, IDC_SUMMARY_EXPLANATION, Text(L"errors_dialog").c_str());
    }
    suite::CenterOnOwner(dialog);
}

void SummaryDialog::Destroyed(HWND dialog)
{
    const bool shredLog = ::IsDlgButtonChecked(dialog, IDC_SUMMARY_SHRED_LOG) == BST_CHECKED;
    m_environment.settings.WriteShredLog(shredLog);
    if (!shredLog)
        return;
    const ShredAlgorithmId algorithm = m_environment.settings.ReadShredAlgo(nullptr);
    const int result = m_environment.engine.ShredPath(m_logPath, algorithm, nullptr, nullptr);
    if (result != kShredSucceeded)
        m_environment.ui.Show(Text(L"error_shred0"),
                              m_environment.settings.ProductTitle(m_languageIndex),
                              suite::MessageIcon::Exclamation);
}

INT_PTR SummaryDialog::Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_INITDIALOG:
            Initialise(dialog);
            return TRUE;
        case WM_ERASEBKGND:
            // The bottom bitmap at the bottom-left corner.
            return PaintDialogBackground(
                dialog, reinterpret_cast<HDC>(wParam), static_cast<HBRUSH>(m_whiteBrush.Get()),
                static_cast<HBITMAP>(m_bottom.Get()), [](SIZE client, SIZE bitmap) {
                    return POINT{0, client.cy - bitmap.cy};
                });
        case WM_CTLCOLORSTATIC:
            if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_SUMMARY_SHRED_LOG) {
                ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
                ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            }
            return reinterpret_cast<INT_PTR>(::GetStockObject(HOLLOW_BRUSH));
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
            return reinterpret_cast<INT_PTR>(m_whiteBrush.Get());
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SUMMARY_VIEW_LOG:
                    m_environment.ui.OpenDocument(m_logPath);
                    return TRUE;
                case IDC_SUMMARY_SHRED_LOG_TEXT:
                    ::CheckDlgButton(
                        dialog, IDC_SUMMARY_SHRED_LOG,
                        ::IsDlgButtonChecked(dialog, IDC_SUMMARY_SHRED_LOG) == BST_CHECKED
                            ? BST_UNCHECKED
                            : BST_CHECKED);
                    return TRUE;
                case IDOK:
                case IDCANCEL:
                    ::EndDialog(dialog, LOWORD(wParam));
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_DESTROY:
            Destroyed(dialog);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace trashwipe
