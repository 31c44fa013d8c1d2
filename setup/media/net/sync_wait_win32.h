// The thread a wait runs on: its tick count, its message queue and a yield of its time slice.
#pragma once

#include "setup/media/net/sync_wait.h"

namespace net {

class ThreadWaitHost : public IWaitHost
{
public:
    std::uint32_t NowMilliseconds() override;
    // False on WM_QUIT, which it takes off the queue.
    bool PumpMessages() override;
    void YieldTimeSlice() override;
};

}  // namespace net
