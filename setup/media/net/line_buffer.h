// Received bytes waiting to be handed out line by line: the input editing and echo of a terminal
// style peer, and the search for the line terminator across reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace net {

class LineBuffer
{
public:
    // Appends received bytes. With `edit`, a backspace removes the previous byte and a tab becomes
    // spaces up to the next multiple of 8. Returns what to echo to the peer (empty without `echo`).
    std::string Append(std::string_view bytes, bool edit, bool echo);

    // The length of the first line including its terminator, or 0 when none is complete. Starts a
    // terminator's length before the end of the previous search, so a terminator split over two
    // reads is found.
    std::size_t FindLine(std::string_view lineEnd);

    // Removes the first `count` bytes; the next search starts at the front again.
    void Consume(std::size_t count);
    void Clear();

    std::string_view Bytes() const { return m_bytes; }
    std::size_t Size() const { return m_bytes.size(); }

private:
    std::string m_bytes;
    std::size_t m_searched = 0;  // bytes already searched without finding a terminator
};

}  // namespace net
