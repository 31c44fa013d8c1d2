#include "suite/recyclebin/progress_dialog_win32.h"

#include "suite/common/dialog_helpers_win32.h"
#include "suite/recyclebin/dialog_painting_win32.h"
#include "suite/recyclebin/resource_ids.h"
#include "suite/recyclebin/text_format.h"

#include <commctrl.h>

namespace trashwipe {

ProgressDialog::ProgressDialog(HINSTANCE module, ILanguageTexts& texts, bool interactive,
                               int languageIndex, const RecycledItemList* resolver)
    : m_module(module),
      m_texts(texts),
      m_interactive(interactive),
      m_languageIndex(languageIndex),
      m_resolver(resolver)
{}

ProgressDialog::~ProgressDialog() = default;

std::wstring ProgressDialog::Text(std::wstring_view key)
{
    return m_texts.Text(key, m_languageIndex);
}

HWND ProgressDialog::Control(int id) const
{
    HWND window = m_window.load();
    return window ? ::GetDlgItem(window, id) : nullptr;
}

bool ProgressDialog::HasControl(int id) const
{
    HWND control = Control(id);
    return control && ::IsWindow(control);
}

void ProgressDialog::RunModal(HWND owner)
{
    ::DialogBoxParamW(m_module, MAKEINTRESOURCEW(IDD_PROGRESS), owner,
                      &suite::DialogProcedure<ProgressDialog>, reinterpret_cast<LPARAM>(this));
    m_window = nullptr;
    m_loopEnded = true;
}

void ProgressDialog::ShowTotals()
{
    ::SetWindowTextW(Control(IDC_PROGRESS_TOTAL_TEXT),
                     FormatNumbers(Text(L"progress_total"), {m_done, m_total}).c_str());
}

int ProgressDialog::SetTotal(int count)
{
    m_total = count;
    if (!HasControl(IDC_PROGRESS_TOTAL_BAR)) {
        m_totalKept = true;
        return -1;
    }
    // The 32-bit range: a run of more than 65535 files must not wrap the bar.
    ::SendMessageW(Control(IDC_PROGRESS_TOTAL_BAR), PBM_SETRANGE32, 0, count);
    ShowTotals();
    return count;
}

int ProgressDialog::SetCurrentPercent(int percent)
{
    if (!HasControl(IDC_PROGRESS_CURRENT_BAR))
        return -1;
    ::SendMessageW(Control(IDC_PROGRESS_CURRENT_BAR), PBM_SETPOS, percent, 0);
    return percent;
}

int ProgressDialog::SetPauseEvent(void** pauseEvent)
{
    if (!HasControl(IDC_PROGRESS_ABORT))
        return -1;
    HANDLE reported = pauseEvent ? static_cast<HANDLE>(*pauseEvent) : nullptr;
    {
        std::lock_guard guard(m_pauseLock);
        if (reported && reported != m_reportedEvent) {
            HANDLE own = nullptr;
            ::DuplicateHandle(::GetCurrentProcess(), reported, ::GetCurrentProcess(), &own, 0,
                              FALSE, DUPLICATE_SAME_ACCESS);
            m_pauseEvent.Reset(own);
            m_reportedEvent = reported;
            m_sawPauseEvent = true;
            // A pause pressed between two engine calls holds the new call too.
            if (m_paused && m_pauseEvent)
                ::ResetEvent(m_pauseEvent.Get());
        }
    }
    ::ShowWindow(Control(IDC_PROGRESS_PAUSE), SW_SHOW);
    return 1;
}

void ProgressDialog::EngineCallEnded()
{
    std::lock_guard guard(m_pauseLock);
    m_pauseEvent.Reset();
    m_reportedEvent = nullptr;
}

int ProgressDialog::OnFileFinished()
{
    if (!HasControl(IDC_PROGRESS_TOTAL_BAR))
        return -1;
    ++m_done;
    ::SendMessageW(Control(IDC_PROGRESS_TOTAL_BAR), PBM_SETPOS, m_done, 0);
    ShowTotals();
    ::InvalidateRect(Control(IDC_PROGRESS_TOTAL_TEXT), nullptr, TRUE);
    return m_done;
}

void ProgressDialog::OnFileDone(std::wstring_view path, int result)
{
    if (!m_log)
        return;
    if (m_resolver)
        m_log->AddRow(result, m_resolver->Resolve(path).path, path);
    else
        m_log->AddRow(result, path, L"");
}

void ProgressDialog::OnProgress(int percent, void** pauseEvent)
{
    SetCurrentPercent(percent);
    SetPauseEvent(pauseEvent);
    if (percent == kFinishedFilePercent)
        OnFileFinished();
}

void ProgressDialog::OnObjectDone(std::wstring_view path, int, int result)
{
    OnFileDone(path, result);
}

bool ProgressDialog::SetAbortFlag(volatile char* abortFlag)
{
    if (!HasControl(IDC_PROGRESS_ABORT))
        return false;
    m_abortFlag = abortFlag;
    ::ShowWindow(Control(IDC_PROGRESS_ABORT), SW_SHOW);
    return true;
}

void ProgressDialog::Close()
{
    if (HWND window = m_window.load())
        ::PostMessageW(window, WM_CLOSE, 0, 0);
}

void ProgressDialog::TogglePause()
{
    std::lock_guard guard(m_pauseLock);
    if (!m_sawPauseEvent)
        return;
    if (m_paused) {
        if (m_pauseEvent)
            ::SetEvent(m_pauseEvent.Get());
        m_paused = false;
    } else {
        if (m_pauseEvent)
            ::ResetEvent(m_pauseEvent.Get());
        m_paused = true;
    }
    ::SetWindowTextW(Control(IDC_PROGRESS_PAUSE),
                     Text(m_paused ? L"continue_operation" : L"pause_operation").c_str());
}

void ProgressDialog::Abort()
{
    if (m_abortFlag)
        *m_abortFlag = 1;
    ::EnableWindow(Control(IDC_PROGRESS_ABORT), FALSE);
    // A paused engine waits on its event and would never read the flag: let it go on to stop.
    std::lock_guard guard(m_pauseLock);
    if (m_paused && m_pauseEvent)
        ::SetEvent(m_pauseEvent.Get());
    m_paused = false;
    ::SetWindowTextW(Control(IDC_PROGRESS_PAUSE), Text(L"pause_operation").c_str());
}

void ProgressDialog::Initialise(HWND dialog)
{
    m_window = dialog;
    m_whiteBrush.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
    m_background.Reset(::LoadBitmapW(m_module, MAKEINTRESOURCEW(IDB_PROGRESS_BACKGROUND)));
    ::SendMessageW(Control(IDC_PROGRESS_CURRENT_BAR), PBM_SETRANGE32, 0, 100);
    ::SendMessageW(Control(IDC_PROGRESS_TOTAL_BAR), PBM_SETRANGE32, 0, 100);
    ::SetWindowTextW(dialog, Text(L"progress_title").c_str());
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_MIDDLE, Text(L"progress_middle").c_str());
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_CURRENT_TEXT, Text(L"progress_current").c_str());
    ShowTotals();
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_PAUSE, Text(L"pause_operation").c_str());
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_ABORT, Text(L"abort_operation").c_str());
    if (m_totalKept)
        SetTotal(m_total);
    if (!m_interactive)
        ::ShowWindow(dialog, SW_HIDE);
}

INT_PTR ProgressDialog::Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_INITDIALOG:
            Initialise(dialog);
            return TRUE;
        case WM_SHOWWINDOW:
            suite::CenterOnOwner(dialog);
            return FALSE;
        case WM_ERASEBKGND:
            // Right-aligned 10 pixels from the edge, centred vertically.
            return PaintDialogBackground(
                dialog, reinterpret_cast<HDC>(wParam), static_cast<HBRUSH>(m_whiteBrush.Get()),
                static_cast<HBITMAP>(m_background.Get()), [](SIZE client, SIZE bitmap) {
                    return POINT{client.cx - bitmap.cx - 10, (client.cy - bitmap.cy) / 2};
                });
        case WM_CTLCOLORSTATIC:
            ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
            ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
            return reinterpret_cast<INT_PTR>(::GetStockObject(HOLLOW_BRUSH));
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
            return reinterpret_cast<INT_PTR>(m_whiteBrush.Get());
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_PROGRESS_PAUSE)
                TogglePause();
            else if (LOWORD(wParam) == IDC_PROGRESS_ABORT)
                Abort();
            else if (LOWORD(wParam) == IDCANCEL)
                ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        case WM_CLOSE:
            ::EndDialog(dialog, IDOK);
            return TRUE;
        case WM_DESTROY:
            m_window = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace trashwipe
