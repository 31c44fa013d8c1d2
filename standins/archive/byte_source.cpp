#include "standins/archive/byte_source.h"

#include <cstring>

namespace standins::archive {

bool MemoryByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size)
{
    if (offset > m_bytes.size() || size > m_bytes.size() - offset) {
        return false;
    }
    if (size != 0) {
        std::memcpy(buffer, m_bytes.data() + offset, size);
    }
    return true;
}

}  // namespace standins::archive
