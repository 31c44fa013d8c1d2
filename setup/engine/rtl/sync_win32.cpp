#include "setup/engine/rtl/thread_win32.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <vector>

#include "setup/engine/rtl/exceptions.h"

namespace setup::rtl {
namespace {

using core::UniqueWindow;

constexpr UINT kSyncMessage = WM_APP + 0x51;
constexpr wchar_t kWindowClass[] = L"SetupEngineSynchronizer";

struct SyncRequest
{
    const std::function<void()>* routine;
    std::exception_ptr error;
    core::UniqueEvent done;
    DWORD threadId = 0;  // the worker that waits for it
};

struct SyncState
{
    std::mutex lock;
    std::deque<SyncRequest*> queue;
    DWORD guiThreadId = 0;
    UniqueWindow window;
    core::UniqueEvent signal{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
};

SyncState& State()
{
    static SyncState state;
    return state;
}

LRESULT CALLBACK SyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == kSyncMessage) {
        CheckSynchronize();  // routines' exceptions go back to their workers, never out of here
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterSyncClass()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = SyncWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool InitGuiThread()
{
    SyncState& state = State();
    if (!RegisterSyncClass())
        return false;
    HWND window = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr)
        return false;
    std::lock_guard guard(state.lock);
    state.window.Reset(window);
    state.guiThreadId = ::GetCurrentThreadId();
    return true;
}

void DoneGuiThread()
{
    SyncState& state = State();
    if (!IsGuiThread())
        return;
    {
        std::lock_guard guard(state.lock);
        state.window.Reset();
        state.guiThreadId = 0;
    }
    // Workers that queued before the window went still get their answer.
    CheckSynchronize();
}

bool IsGuiThread()
{
    SyncState& state = State();
    std::lock_guard guard(state.lock);
    return state.guiThreadId != 0 && state.guiThreadId == ::GetCurrentThreadId();
}

bool CheckSynchronize()
{
    SyncState& state = State();
    std::deque<SyncRequest*> pending;
    {
        std::lock_guard guard(state.lock);
        pending.swap(state.queue);
    }
    for (SyncRequest* request : pending) {
        try {
            (*request->routine)();
        } catch (...) {
            request->error = std::current_exception();
        }
        ::SetEvent(request->done.Get());
    }
    return !pending.empty();
}

void SynchronizeWithGuiThread(const std::function<void()>& routine)
{
    SyncState& state = State();
    SyncRequest request{&routine, nullptr,
                        core::UniqueEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
                        ::GetCurrentThreadId()};
    if (!request.done)
        throw Exception("Cannot synchronize: no event");
    HWND window;
    {
        std::lock_guard guard(state.lock);
        if (!state.window)
            throw Exception("Cannot synchronize: no GUI thread");
        if (state.guiThreadId == ::GetCurrentThreadId()) {
            window = nullptr;
        } else {
            state.queue.push_back(&request);
            window = state.window.Get();
        }
    }
    if (window == nullptr) {
        routine();
        return;
    }
    ::SetEvent(state.signal.Get());
    ::PostMessageW(window, kSyncMessage, 0, 0);
    ::WaitForSingleObject(request.done.Get(), INFINITE);
    if (request.error)
        std::rethrow_exception(request.error);
}

void EndThreadOutsideLocks(HANDLE thread, DWORD threadId)
{
    SyncState& state = State();
    // Held first, so the thread is not ended while it queues a routine; the routines it waits for
    // live on its stack and go with it.
    std::lock_guard guard(state.lock);
    std::erase_if(state.queue,
                  [threadId](const SyncRequest* request) { return request->threadId == threadId; });
    // Stopped while every heap is locked, the thread cannot be inside an allocation, whose lock
    // would then stay taken for ever. The heaps are listed before any is locked: listing
    // allocates nothing, but the vector would. The locks are given back before the thread is
    // ended, since its end may free memory of its own.
    std::vector<HANDLE> heaps(64);
    DWORD count = ::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count + 16);
        count = ::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    }
    heaps.resize(std::min<std::size_t>(count, heaps.size()));
    std::vector<HANDLE> locked;
    locked.reserve(heaps.size());
    for (const HANDLE heap : heaps)
        if (::HeapLock(heap))
            locked.push_back(heap);  // within the reserve: no allocation
    ::SuspendThread(thread);
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    ::GetThreadContext(thread, &context);  // returns once the thread has stopped
    for (auto heap = locked.rbegin(); heap != locked.rend(); ++heap)
        ::HeapUnlock(*heap);
    ::TerminateThread(thread, 1);
    ::WaitForSingleObject(thread, INFINITE);
}

HANDLE SyncSignal()
{
    return State().signal.Get();
}

bool HandleMessage()
{
    MSG message;
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::WaitMessage();
        if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            return true;  // only sent messages arrived; they were delivered by the peek
    }
    if (message.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    return true;
}

void ProcessMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void WakeMainThread()
{
    SyncState& state = State();
    std::lock_guard guard(state.lock);
    if (state.window)
        ::PostMessageW(state.window.Get(), WM_NULL, 0, 0);
}

}  // namespace setup::rtl
