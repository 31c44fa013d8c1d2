// The progress dialog of a shred run: the current file's percent, the files done, Pause/Continue on
// the engine's pause event and Abort on the run's flag. It is also what the engine reports to; in
// a silent run it has no window, and every operation that needs one answers -1.
#pragma once

#include "core/unique_handle.h"
#include "suite/recyclebin/html_log_writer_win32.h"
#include "suite/recyclebin/recycled_items.h"
#include "suite/recyclebin/shred_worker.h"

#include <windows.h>

#include <atomic>
#include <mutex>

namespace trashwipe {

class ProgressDialog final : public IProgressView
{
public:
    ProgressDialog(HINSTANCE module, ILanguageTexts& texts, bool interactive, int languageIndex,
                   const RecycledItemList* resolver);
    ~ProgressDialog();
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    // Runs the window modally on this thread until it is closed; marks the modal loop over.
    void RunModal(HWND owner);
    // For a run without a modal loop (silent): no window will come.
    void MarkModalLoopEnded() noexcept { m_loopEnded = true; }
    HWND Window() const noexcept { return m_window.load(); }

    int SetTotal(int count);
    int SetCurrentPercent(int percent);
    int SetPauseEvent(void** pauseEvent);
    int OnFileFinished();
    void OnFileDone(std::wstring_view path, int result);
    void SetLog(HtmlLogWriter* log) noexcept { m_log = log; }

    // IProgressView
    void OnProgress(int percent, void** pauseEvent) override;
    void OnObjectDone(std::wstring_view path, int kind, int result) override;
    bool SetAbortFlag(volatile char* abortFlag) override;
    bool ModalLoopEnded() override { return m_loopEnded; }
    void EngineCallEnded() override;
    void Close() override;

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    std::wstring Text(std::wstring_view key);
    HWND Control(int id) const;
    bool HasControl(int id) const;
    void ShowTotals();
    void Initialise(HWND dialog);
    void TogglePause();
    void Abort();

    HINSTANCE m_module;
    ILanguageTexts& m_texts;
    const bool m_interactive;
    const int m_languageIndex;
    const RecycledItemList* m_resolver;
    std::atomic<HWND> m_window{nullptr};
    std::atomic<bool> m_loopEnded{false};
    int m_total = 0;
    bool m_totalKept = false;
    int m_done = 0;
    HtmlLogWriter* m_log = nullptr;
    volatile char* m_abortFlag = nullptr;

    // The engine call's pause event, held through our own duplicate so that a press after the
    // call ended never touches a closed handle; a pause pressed then carries over to the next call.
    std::mutex m_pauseLock;
    core::UniqueEvent m_pauseEvent;
    HANDLE m_reportedEvent = nullptr;
    bool m_paused = false;
    bool m_sawPauseEvent = false;

    core::UniqueGdiObject m_whiteBrush;
    core::UniqueGdiObject m_background;
};

}  // namespace trashwipe
