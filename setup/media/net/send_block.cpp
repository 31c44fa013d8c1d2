#include "setup/media/net/send_block.h"

#include <algorithm>
#include <cstring>

namespace net {

namespace {

std::size_t BlockSize(int size)
{
    return static_cast<std::size_t>(size > 0 ? size : 1514);
}

}  // namespace

SendBlock::SendBlock(int size) : m_data(BlockSize(size)) {}

std::size_t SendBlock::Write(std::string_view bytes)
{
    const std::size_t take = std::min(bytes.size(), m_data.size() - m_written);
    if (take > 0)
        std::memcpy(m_data.data() + m_written, bytes.data(), take);
    m_written += take;
    return take;
}

std::string_view SendBlock::Peek() const
{
    return {m_data.data() + m_read, m_written - m_read};
}

void SendBlock::Remove(std::size_t count)
{
    m_read = std::min(m_read + count, m_written);
    if (m_read == m_written)
        m_read = m_written = 0;
}

void SendBlock::Resize(int size)
{
    m_data.resize(std::max(BlockSize(size), m_written));
}

}  // namespace net
