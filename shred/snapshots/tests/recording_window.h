// A progress window that keeps every message it receives and answers the cancel query with a
// cancel from a chosen query on.
#pragma once

#include "shred/snapshots/progress_window.h"

#include <vector>

namespace shred::snapshots::testing {

struct WindowMessage
{
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;

    bool operator==(const WindowMessage&) const = default;
};

class RecordingWindow : public IProgressWindow
{
public:
    int cancelAtQuery = 0;  // 1: the first cancel query is answered with a cancel; 0: never
    std::vector<WindowMessage> messages;

    std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        messages.push_back({message, wParam, lParam});
        if (message == kMsgQueryCancel && lParam == kCancelQueryParam) {
            ++m_queries;
            if (cancelAtQuery != 0 && m_queries >= cancelAtQuery)
                return 0x10000;
        }
        return 0;
    }
    int Queries() const { return m_queries; }

private:
    int m_queries = 0;
};

}  // namespace shred::snapshots::testing
