#include "standins/archive/byte_reader.h"

#include "standins/archive/archive_error.h"

#include <string>

namespace standins::archive {

void ThrowBadHeader(const char* what)
{
    throw ArchiveError(ErrorCode::CannotOpen, std::string("damaged archive header: ") + what);
}

std::uint8_t ByteReader::ReadByte()
{
    if (m_position >= m_size) {
        ThrowBadHeader("truncated");
    }
    return m_data[m_position++];
}

std::uint64_t ByteReader::ReadNumber()
{
    // The leading one bits of the first byte count the little-endian bytes that follow; the
    // first byte's remaining low bits are the value's highest part.
    const std::uint8_t first = ReadByte();
    std::uint64_t value = 0;
    std::uint8_t mask = 0x80;
    for (int i = 0; i < 8; ++i) {
        if ((first & mask) == 0) {
            const std::uint64_t high = first & (mask - 1u);
            return value | (high << (8 * i));
        }
        value |= static_cast<std::uint64_t>(ReadByte()) << (8 * i);
        mask >>= 1;
    }
    return value;
}

std::size_t ByteReader::ReadCount(std::size_t bitsPerItem)
{
    const std::uint64_t count = ReadNumber();
    const std::uint64_t limit = static_cast<std::uint64_t>(Remaining()) * 8 / bitsPerItem + 1;
    if (count > limit) {
        ThrowBadHeader("count larger than the header");
    }
    return static_cast<std::size_t>(count);
}

std::uint32_t ByteReader::ReadUInt32()
{
    const std::uint8_t* bytes = ReadBytes(4);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint64_t ByteReader::ReadUInt64()
{
    const std::uint64_t low = ReadUInt32();
    const std::uint64_t high = ReadUInt32();
    return low | high << 32;
}

const std::uint8_t* ByteReader::ReadBytes(std::size_t count)
{
    if (count > Remaining()) {
        ThrowBadHeader("truncated");
    }
    const std::uint8_t* bytes = m_data + m_position;
    m_position += count;
    return bytes;
}

void ByteReader::Skip(std::uint64_t count)
{
    if (count > Remaining()) {
        ThrowBadHeader("truncated");
    }
    m_position += static_cast<std::size_t>(count);
}

std::vector<bool> ByteReader::ReadBitVector(std::size_t count)
{
    std::vector<bool> bits(count);
    std::uint8_t byte = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i % 8 == 0) {
            byte = ReadByte();
        }
        bits[i] = (byte & (0x80 >> (i % 8))) != 0;
    }
    return bits;
}

std::vector<bool> ByteReader::ReadDefinedVector(std::size_t count)
{
    if (ReadByte() != 0) {
        return std::vector<bool>(count, true);
    }
    return ReadBitVector(count);
}

}  // namespace standins::archive
