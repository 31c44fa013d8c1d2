// Random-access reading of an archive file, so the container code stays free of file APIs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standins::archive {

class IByteSource
{
public:
    virtual ~IByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly size bytes at offset; false when the source cannot supply them.
    virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) = 0;
};

class MemoryByteSource : public IByteSource
{
public:
    explicit MemoryByteSource(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override;

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace standins::archive
