// Worker threads whose completion routines run on the GUI thread. Synchronisation goes through a
// message-only window owned by the GUI thread, so it works without a display and inside modal
// loops (they dispatch to every window of the thread); a GUI-thread WaitFor also serves it
// without any message loop (silent mode).
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>
#include <string>

#include "core/unique_handle.h"

namespace setup::rtl {

// Makes the calling thread the GUI thread: creates the synchronisation window. Call once at
// start-up, and DoneGuiThread on the same thread at the end.
bool InitGuiThread();
void DoneGuiThread();
bool IsGuiThread();

// Runs the routines that workers have queued; on the GUI thread only. True when any ran.
bool CheckSynchronize();

// Lets the GUI thread handle one window message, waiting for one when none is queued. False once
// WM_QUIT was seen (it is posted again for outer loops).
bool HandleMessage();
// Handles every queued message without waiting.
void ProcessMessages();
// Wakes a GUI thread that waits for a message (a null message to the synchronisation window).
void WakeMainThread();

class TThread
{
public:
    // The thread is created suspended: Start runs it once the derived object is complete.
    TThread();
    // Waits for the thread (asking it to terminate first). A derived class whose members Execute
    // uses must call Terminate and WaitFor in its own destructor.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    // Asks Execute to end; it must poll Terminated().
    void Terminate() { m_terminated = true; }
    bool Terminated() const { return m_terminated; }
    bool Finished() const { return m_finished; }
    // Ends a thread that did not end when asked, never while it holds a heap or the
    // synchronisation queue, and marks it finished. A last resort: what the thread had open
    // stays open.
    void Kill();
    // Waits for the end of a started thread; on the GUI thread it runs queued routines meanwhile.
    void WaitFor();
    HANDLE Handle() const { return m_handle.Get(); }
    // The message of an exception that ended Execute; empty when none did.
    std::string FatalMessage() const;

protected:
    virtual void Execute() = 0;
    // Runs the routine on the GUI thread and waits for it; an exception it raises is raised again
    // here, on the worker. Called on the GUI thread itself it runs at once.
    void Synchronize(const std::function<void()>& routine);

private:
    static DWORD WINAPI ThreadProc(void* self) noexcept;

    core::UniqueThread m_handle;
    DWORD m_id = 0;
    std::atomic<bool> m_terminated{false};
    std::atomic<bool> m_finished{false};
    bool m_started = false;
    std::atomic<bool> m_abandoned{false};  // destroyed before Start: Execute never runs
    std::exception_ptr m_fatal;
};

}  // namespace setup::rtl
