// Reads a fuzz input as a stream of small numbers; past its end every number is 0.
#pragma once

#include <cstddef>
#include <cstdint>

struct ByteReader
{
    const std::uint8_t* data;
    std::size_t size, at = 0;
    int Next() { return at < size ? data[at++] : 0; }
    int Wide() { return Next() << 8 | Next(); }
};
