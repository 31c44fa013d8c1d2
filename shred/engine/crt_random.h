// The engine's random source: the classic C library generator (seed, then draws of 15 bits), kept
// per engine call so that a seeded run is reproducible.
#pragma once

#include <cstdint>

namespace shred {

class CrtRandom
{
public:
    void Seed(std::uint32_t seed) noexcept { m_state = seed; }
    int Next() noexcept
    {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7fff);
    }
    std::uint8_t NextByte() noexcept { return static_cast<std::uint8_t>(Next() & 0xff); }

private:
    std::uint32_t m_state = 1;
};

}  // namespace shred
