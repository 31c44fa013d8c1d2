// Waiting on the thread's message loop until a flag is set, with an optional time-out: what lets a
// caller use the asynchronous socket as if it were blocking.
#pragma once

#include <cstdint>
#include <functional>

namespace net {

constexpr int kWaitTimedOut = 12001;

// What a wait needs from its thread: a clock, a message pump and a yield.
class IWaitHost
{
public:
    virtual ~IWaitHost() = default;
    // Milliseconds since some fixed start, wrapping at 32 bits like the system's tick count.
    virtual std::uint32_t NowMilliseconds() = 0;
    // Dispatches the thread's waiting messages; false once the thread was asked to quit.
    virtual bool PumpMessages() = 0;
    virtual void YieldTimeSlice() = 0;
};

class SyncWaiter
{
public:
    explicit SyncWaiter(IWaitHost& host) : m_host(host) {}

    // 0 waits for as long as it takes.
    std::uint32_t timeoutMilliseconds = 0;

    // 0 once the flag is true; kWaitTimedOut when the time is up or the thread is quitting.
    int WaitForFlag(const bool& flag);
    // Clears the flag, runs the procedure (when given) and waits for the flag.
    int SyncCall(const std::function<void()>& procedure, bool& flag);

    bool Terminated() const { return m_terminated; }

private:
    IWaitHost& m_host;
    bool m_terminated = false;
};

}  // namespace net
