// The caller's progress window as the snapshot remover and the cluster wiper talk to it: window
// messages sent synchronously, and the cancel answer read from the query's result.
#pragma once

#include <cstdint>

namespace shred::snapshots {

inline constexpr std::uint32_t kMsgQueryCancel = 0x469;
inline constexpr std::uint32_t kMsgPercent = 0x46A;
inline constexpr std::uint32_t kMsgPhase = 0x467;
inline constexpr std::uint32_t kMsgRange = 0x46B;
inline constexpr std::uint32_t kMsgDrive = 0x466;
inline constexpr std::intptr_t kCancelQueryParam = 0x640000;  // high word 100
inline constexpr std::intptr_t kCancelledParam = 0x10000;     // high word 1

class IProgressWindow
{
public:
    virtual ~IProgressWindow() = default;
    virtual std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) = 0;
};

// Asks the window; true when the answer's high word is 1 (the user cancelled).
inline bool QueryCancel(IProgressWindow& window)
{
    const auto answer =
        static_cast<std::uint32_t>(window.Send(kMsgQueryCancel, 0, kCancelQueryParam));
    return (answer >> 16) == 1;
}

// Tells the window that the cancel is being acted on.
inline void SendCancelled(IProgressWindow& window)
{
    window.Send(kMsgQueryCancel, 0, kCancelledParam);
    window.Send(kMsgPercent, 1, 0);
}

}  // namespace shred::snapshots
