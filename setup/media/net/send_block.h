// One block of data waiting to be sent: what was stored and how much of it already left.
#pragma once

#include <string_view>
#include <vector>

namespace net {

class SendBlock
{
public:
    static constexpr int kDefaultSize = 1460;

    // A size of 0 or less means a whole Ethernet frame, 1514 bytes.
    explicit SendBlock(int size = kDefaultSize);

    // Copies what fits; returns the count taken.
    std::size_t Write(std::string_view bytes);
    std::string_view Peek() const;
    // Once everything stored has left, the block is empty again.
    void Remove(std::size_t count);
    bool Empty() const { return m_read == m_written; }
    bool Full() const { return m_written == m_data.size(); }
    // Keeps the stored bytes that still fit.
    void Resize(int size);

private:
    std::vector<char> m_data;
    std::size_t m_written = 0;
    std::size_t m_read = 0;
};

}  // namespace net
