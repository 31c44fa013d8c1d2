#include "shred/snapshots/sector_aligned_file.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace shred::snapshots {
namespace {

constexpr std::size_t kBlockBytes = 65536;

}  // namespace

void SectorAlignedFile::AlignedFree::operator()(std::uint8_t* p) const noexcept
{
    ::operator delete (p, std::align_val_t{alignment});
}

SectorAlignedFile::SectorAlignedFile(IShredFile& file, std::uint32_t sectorSize)
    : m_file(file),
      m_capacity(std::max<std::size_t>(kBlockBytes, sectorSize)),
      m_block(static_cast<std::uint8_t*>(::operator new (
                  m_capacity, std::align_val_t{std::max<std::size_t>(sectorSize, 16)})),
              AlignedFree{std::max<std::size_t>(sectorSize, 16)})
{}

bool SectorAlignedFile::GetSize(std::uint64_t& size)
{
    return Drain() && m_file.GetSize(size);
}

bool SectorAlignedFile::Seek(std::uint64_t offset)
{
    return Drain() && m_file.Seek(offset);
}

bool SectorAlignedFile::Write(const std::uint8_t* data, std::uint32_t length,
                              std::uint32_t& written)
{
    written = 0;
    while (written < length) {
        const std::size_t take = std::min<std::size_t>(m_capacity - m_used, length - written);
        std::memcpy(m_block.get() + m_used, data + written, take);
        m_used += take;
        written += static_cast<std::uint32_t>(take);
        if (m_used == m_capacity && !Drain())
            return false;
    }
    return true;
}

bool SectorAlignedFile::SetEndOfFile()
{
    return Drain() && m_file.SetEndOfFile();
}

bool SectorAlignedFile::SetTimes(std::uint64_t fileTime)
{
    return m_file.SetTimes(fileTime);
}

bool SectorAlignedFile::Flush()
{
    return Drain() && m_file.Flush();
}

bool SectorAlignedFile::Drain()
{
    if (m_used == 0)
        return true;
    const auto length = static_cast<std::uint32_t>(m_used);
    m_used = 0;
    std::uint32_t done = 0;
    return m_file.Write(m_block.get(), length, done) && done == length;
}

}  // namespace shred::snapshots
