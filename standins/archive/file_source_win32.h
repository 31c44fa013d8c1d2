// The archive file read through the Win32 file API.
#pragma once

#include "core/unique_handle.h"
#include "standins/archive/byte_source.h"

#include <string>

namespace standins::archive {

class Win32FileSource : public IByteSource
{
public:
    // Throws ArchiveError: NotFound for a missing file or folder, General for other failures.
    explicit Win32FileSource(const std::wstring& path);
    std::uint64_t Size() const override { return m_size; }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override;

private:
    core::UniqueFile m_file;
    std::uint64_t m_size = 0;
};

}  // namespace standins::archive
