// Watches folders for changes on a worker thread and posts the owner window a message naming
// the watch that fired (wParam = its slot). The reactions run on the owner's thread.
#pragma once

#include <windows.h>

#include <array>
#include <mutex>
#include <string>

namespace setup::ui {

class ChangeWatchThread
{
public:
    static constexpr int kSlots = 63;  // with the command event, the most one wait accepts
    ChangeWatchThread(HWND owner, UINT message);
    ~ChangeWatchThread();
    ChangeWatchThread(const ChangeWatchThread&) = delete;
    ChangeWatchThread& operator=(const ChangeWatchThread&) = delete;

    // The slot of the new watch; -1 when the folder cannot be watched or every slot is taken.
    int AddWatch(const std::string& path, DWORD filter, bool subtree);
    void RemoveAllWatches();

private:
    enum class Command
    {
        None,
        Add,
        RemoveAll,
        Stop
    };
    static DWORD WINAPI Run(void* self);
    void Loop();
    // Hands a command to the worker and waits for it; false when the worker did not answer.
    bool Send(Command command);

    HWND m_owner;
    UINT m_message;
    HANDLE m_command = nullptr;
    HANDLE m_done = nullptr;
    HANDLE m_thread = nullptr;
    // Everything below is shared with the worker, under the lock: a late answer cannot mix up
    // two commands, and a handle is always owned by exactly one place.
    std::mutex m_lock;
    Command m_pending = Command::None;
    HANDLE m_pendingHandle = INVALID_HANDLE_VALUE;
    int m_addedSlot = -1;
    std::array<HANDLE, kSlots> m_slots;
};

}  // namespace setup::ui
