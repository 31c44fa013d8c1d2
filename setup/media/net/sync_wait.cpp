#include "setup/media/net/sync_wait.h"

namespace net {

int SyncWaiter::WaitForFlag(const bool& flag)
{
    const std::uint32_t start = m_host.NowMilliseconds();
    while (!flag) {
        // A 32-bit difference stays right across the clock's wrap.
        const std::uint32_t elapsed = m_host.NowMilliseconds() - start;
        if (timeoutMilliseconds != 0 && elapsed > timeoutMilliseconds)
            return kWaitTimedOut;
        if (m_terminated)
            return kWaitTimedOut;
        if (!m_host.PumpMessages()) {
            m_terminated = true;
            if (!flag)
                return kWaitTimedOut;
            break;
        }
        if (!flag)
            m_host.YieldTimeSlice();
    }
    return 0;
}

int SyncWaiter::SyncCall(const std::function<void()>& procedure, bool& flag)
{
    flag = false;
    if (procedure)
        procedure();
    return WaitForFlag(flag);
}

}  // namespace net
