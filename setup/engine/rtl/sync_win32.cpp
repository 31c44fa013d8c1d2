#include "setup/engine/rtl/thread_win32.h"

#include <deque>
#include <mutex>

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
                        core::UniqueEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr))};
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
