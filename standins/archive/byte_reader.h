// Bounded reading of 7z header bytes: the format's variable-length numbers, little-endian words and
// bit vectors. Running past the end is a damaged header, never a read outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standins::archive {

class ByteReader
{
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t ReadByte();
    std::uint64_t ReadNumber();
    // A number used as a count of items that each take at least one more byte of the header (or,
    // with bitsPerItem, one bit), so a damaged count cannot ask for a huge allocation.
    std::size_t ReadCount(std::size_t bitsPerItem = 8);
    std::uint32_t ReadUInt32();
    std::uint64_t ReadUInt64();
    const std::uint8_t* ReadBytes(std::size_t count);
    void Skip(std::uint64_t count);
    std::vector<bool> ReadBitVector(std::size_t count);
    // An "all defined" byte, then a bit vector when it is 0.
    std::vector<bool> ReadDefinedVector(std::size_t count);

    std::size_t Remaining() const { return m_size - m_position; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

[[noreturn]] void ThrowBadHeader(const char* what);

}  // namespace standins::archive
