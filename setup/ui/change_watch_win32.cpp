#include "setup/ui/change_watch_win32.h"

#include <vector>

namespace setup::ui {

namespace {

constexpr DWORD kAnswerMilliseconds = 2000;
constexpr DWORD kStopMilliseconds = 30000;

}  // namespace

ChangeWatchThread::ChangeWatchThread(HWND owner, UINT message) : m_owner(owner), m_message(message)
{
    m_slots.fill(INVALID_HANDLE_VALUE);
    m_command = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    m_done = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    m_thread = ::CreateThread(nullptr, 0, &ChangeWatchThread::Run, this, 0, nullptr);
}

ChangeWatchThread::~ChangeWatchThread()
{
    if (m_thread) {
        {
            std::lock_guard guard(m_lock);
            m_pending = Command::Stop;
        }
        ::SetEvent(m_command);
        if (::WaitForSingleObject(m_thread, kStopMilliseconds) != WAIT_OBJECT_0)
            ::TerminateThread(m_thread, 0);
        ::CloseHandle(m_thread);
    }
    for (HANDLE& handle : m_slots)
        if (handle != INVALID_HANDLE_VALUE)
            ::FindCloseChangeNotification(handle);
    if (m_pendingHandle != INVALID_HANDLE_VALUE)
        ::FindCloseChangeNotification(m_pendingHandle);
    ::CloseHandle(m_command);
    ::CloseHandle(m_done);
}

bool ChangeWatchThread::Send(Command command)
{
    {
        std::lock_guard guard(m_lock);
        m_pending = command;
    }
    ::ResetEvent(m_done);
    ::SetEvent(m_command);
    return ::WaitForSingleObject(m_done, kAnswerMilliseconds) == WAIT_OBJECT_0;
}

int ChangeWatchThread::AddWatch(const std::string& path, DWORD filter, bool subtree)
{
    if (path.empty() || !m_thread)
        return -1;
    HANDLE handle = ::FindFirstChangeNotificationA(path.c_str(), subtree, filter);
    if (handle == INVALID_HANDLE_VALUE)
        return -1;
    {
        std::lock_guard guard(m_lock);
        m_pendingHandle = handle;
        m_addedSlot = -1;
    }
    Send(Command::Add);
    std::lock_guard guard(m_lock);
    // Answered late or not at all: the handle the worker did not take comes back and is closed.
    if (m_pendingHandle != INVALID_HANDLE_VALUE) {
        ::FindCloseChangeNotification(m_pendingHandle);
        m_pendingHandle = INVALID_HANDLE_VALUE;
        m_pending = Command::None;
        return -1;
    }
    return m_addedSlot;
}

void ChangeWatchThread::RemoveAllWatches()
{
    if (m_thread)
        Send(Command::RemoveAll);
}

DWORD WINAPI ChangeWatchThread::Run(void* self)
{
    static_cast<ChangeWatchThread*>(self)->Loop();
    return 0;
}

void ChangeWatchThread::Loop()
{
    for (;;) {
        std::vector<HANDLE> waits{m_command};
        std::vector<int> slotOf{-1};
        for (int slot = 0; slot < kSlots; ++slot)
            if (m_slots[slot] != INVALID_HANDLE_VALUE) {
                waits.push_back(m_slots[slot]);
                slotOf.push_back(slot);
            }
        const DWORD result = ::WaitForMultipleObjects(static_cast<DWORD>(waits.size()),
                                                      waits.data(), FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) {
            std::unique_lock guard(m_lock);
            const Command command = m_pending;
            m_pending = Command::None;
            if (command == Command::Stop)
                return;
            if (command == Command::Add && m_pendingHandle != INVALID_HANDLE_VALUE) {
                for (int slot = 0; slot < kSlots; ++slot)
                    if (m_slots[slot] == INVALID_HANDLE_VALUE) {
                        m_slots[slot] = m_pendingHandle;
                        m_pendingHandle = INVALID_HANDLE_VALUE;
                        m_addedSlot = slot;
                        break;
                    }
            } else if (command == Command::RemoveAll) {
                for (HANDLE& handle : m_slots)
                    if (handle != INVALID_HANDLE_VALUE) {
                        ::FindCloseChangeNotification(handle);
                        handle = INVALID_HANDLE_VALUE;
                    }
            }
            guard.unlock();
            ::SetEvent(m_done);
            continue;
        }
        const bool fired = result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + waits.size();
        const bool abandoned =
            result > WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + waits.size();
        if (!fired && !abandoned)
            continue;
        const int slot = slotOf[fired ? result - WAIT_OBJECT_0 : result - WAIT_ABANDONED_0];
        // Armed again before the owner hears, so a change made in reply is not missed.
        const bool rearmed = !abandoned && ::FindNextChangeNotification(m_slots[slot]);
        if (!rearmed) {
            ::FindCloseChangeNotification(m_slots[slot]);
            m_slots[slot] = INVALID_HANDLE_VALUE;
        }
        if (fired && m_owner)
            ::PostMessageW(m_owner, m_message, static_cast<WPARAM>(slot), 0);
    }
}

}  // namespace setup::ui
