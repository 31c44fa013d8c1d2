#include "setup/media/net/sync_wait_win32.h"

#include <windows.h>

namespace net {

std::uint32_t ThreadWaitHost::NowMilliseconds()
{
    return ::GetTickCount();
}

bool ThreadWaitHost::PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return false;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

void ThreadWaitHost::YieldTimeSlice()
{
    ::Sleep(0);
}

}  // namespace net
