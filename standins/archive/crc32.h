// CRC-32 (the zlib polynomial) as 7z stores it for headers and entries.
#pragma once

#include <cstddef>
#include <cstdint>

namespace standins::archive {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t previous = 0);

}  // namespace standins::archive
