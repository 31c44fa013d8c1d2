#include "setup/engine/rtl/thread_win32.h"

#include "setup/engine/rtl/exceptions.h"

namespace setup::rtl {

// Shared with the synchronisation window's module.
void SynchronizeWithGuiThread(const std::function<void()>& routine);
HANDLE SyncSignal();
void EndThreadOutsideLocks(HANDLE thread, DWORD threadId);

TThread::TThread()
{
    m_handle.Reset(::CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &m_id));
    if (!m_handle)
        throw Exception("Thread creation error: " + std::to_string(::GetLastError()));
}

TThread::~TThread()
{
    if (!m_started) {
        m_abandoned = true;
        m_terminated = true;
        Start();
    } else if (!m_finished) {
        Terminate();
    }
    WaitFor();
}

void TThread::Start()
{
    if (m_started && !m_abandoned)
        return;
    m_started = true;
    ::ResumeThread(m_handle.Get());
}

DWORD WINAPI TThread::ThreadProc(void* self) noexcept
{
    auto* thread = static_cast<TThread*>(self);
    if (!thread->m_abandoned) {
        try {
            thread->Execute();
        } catch (...) {
            thread->m_fatal = std::current_exception();
        }
    }
    thread->m_finished = true;
    return 0;
}

void TThread::WaitFor()
{
    if (!m_started)
        return;  // a suspended thread would never end
    if (!IsGuiThread()) {
        ::WaitForSingleObject(m_handle.Get(), INFINITE);
        return;
    }
    // The worker may be waiting for a routine of ours: serve those while waiting.
    const HANDLE handles[2] = {m_handle.Get(), SyncSignal()};
    for (;;) {
        const DWORD result =
            ::MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0 + 1) {
            CheckSynchronize();
        } else if (result == WAIT_OBJECT_0 + 2) {
            MSG message;
            ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // delivers sent messages
        } else {
            break;
        }
    }
    CheckSynchronize();
}

void TThread::Kill()
{
    if (!m_started || m_finished)
        return;
    EndThreadOutsideLocks(m_handle.Get(), m_id);
    m_finished = true;
}

std::string TThread::FatalMessage() const
{
    if (!m_fatal)
        return {};
    try {
        std::rethrow_exception(m_fatal);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

void TThread::Synchronize(const std::function<void()>& routine)
{
    SynchronizeWithGuiThread(routine);
}

}  // namespace setup::rtl
