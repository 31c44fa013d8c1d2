// Writes to an unbuffered file in whole sectors from a sector-aligned buffer: the region overwrite
// writes chunks sized for its pattern (65535 bytes for 3-byte patterns), which an unbuffered handle
// refuses, so the bytes are gathered here and handed on in aligned 64 KiB blocks.
#pragma once

#include "shred/engine/shred_system.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace shred::snapshots {

class SectorAlignedFile : public IShredFile
{
public:
    // sectorSize: a power of two; the file stays owned by the caller.
    SectorAlignedFile(IShredFile& file, std::uint32_t sectorSize);

    bool GetSize(std::uint64_t& size) override;
    bool Seek(std::uint64_t offset) override;
    // Takes the bytes into the block; false when handing on a full block failed.
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written) override;
    bool SetEndOfFile() override;
    bool SetTimes(std::uint64_t fileTime) override;
    bool Flush() override;

private:
    struct AlignedFree
    {
        std::size_t alignment;
        void operator()(std::uint8_t* p) const noexcept;
    };

    // Hands on what the block holds; the stream is meant to end on a sector boundary, and a tail
    // that does not is passed on as it is for the file to judge.
    bool Drain();

    IShredFile& m_file;
    std::size_t m_capacity;
    std::unique_ptr<std::uint8_t, AlignedFree> m_block;
    std::size_t m_used = 0;
};

}  // namespace shred::snapshots
