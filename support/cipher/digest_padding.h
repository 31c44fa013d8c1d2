// The block walk that SHA-1 and MD5 share: whole 64-byte blocks of the message, then the final
// blocks with the 0x80 byte, zero fill and the bit length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cipher {

enum class LengthOrder
{
    BigEndian,
    LittleEndian
};

// The final blocks of a message of totalLength bytes whose last rest bytes (fewer than 64) are
// not yet compressed.
template <typename Compress>
void CompressFinalBlocks(const uint8_t* rest, size_t restLength, uint64_t totalLength,
                         LengthOrder order, Compress compress)
{
    uint8_t tail[128] = {};
    if (restLength)
        std::memcpy(tail, rest, restLength);
    tail[restLength] = 0x80;
    const size_t tailLength = restLength < 56 ? 64 : 128;
    const uint64_t bits = totalLength * 8;
    for (int i = 0; i < 8; ++i) {
        const int shift = order == LengthOrder::BigEndian ? 56 - 8 * i : 8 * i;
        tail[tailLength - 8 + i] = uint8_t(bits >> shift);
    }
    compress(tail);
    if (tailLength == 128)
        compress(tail + 64);
}

template <typename Compress>
void ForEachPaddedBlock(const uint8_t* data, size_t length, LengthOrder order, Compress compress)
{
    size_t whole = length / 64 * 64;
    for (size_t offset = 0; offset < whole; offset += 64)
        compress(data + offset);
    CompressFinalBlocks(data + whole, length - whole, length, order, compress);
}

}  // namespace cipher
