#include "setup/engine/rtl/stream.h"

#include <algorithm>
#include <cstring>

#include "setup/engine/rtl/exceptions.h"

namespace setup::rtl {

void TStream::ReadBuffer(void* buffer, std::size_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, std::size_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError();
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count)
{
    if (m_position >= m_bytes.size())
        return 0;
    const std::size_t n = std::min(count, m_bytes.size() - m_position);
    std::memcpy(buffer, m_bytes.data() + m_position, n);
    m_position += n;
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count)
{
    if (count == 0)
        return 0;
    if (m_position + count > m_bytes.size())
        m_bytes.resize(m_position + count);
    std::memcpy(m_bytes.data() + m_position, buffer, count);
    m_position += count;
    return count;
}

void TMemoryStream::SetPosition(std::int64_t position)
{
    m_position = position < 0 ? 0 : static_cast<std::size_t>(position);
}

}  // namespace setup::rtl
