#include "standins/archive/crc32.h"

#include <lzma.h>

namespace standins::archive {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t previous)
{
    return lzma_crc32(data, size, previous);
}

}  // namespace standins::archive
