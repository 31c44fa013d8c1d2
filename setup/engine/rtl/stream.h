// Byte streams the engine's persistent tables read and write: an abstract stream, a memory
// stream and a file stream (share deny-write for reading).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace setup::rtl {

class TStream
{
public:
    virtual ~TStream() = default;
    // Returns the number of bytes read or written (fewer at the end of the stream or on failure).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;

    // All or nothing: EReadError / EWriteError otherwise.
    void ReadBuffer(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);
};

class TMemoryStream : public TStream
{
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return static_cast<std::int64_t>(m_position); }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(m_bytes.size()); }

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

enum class FileStreamMode
{
    OpenReadDenyWrite,
    Create,
};

// Opens or creates an ANSI-named file; raises EFOpenError / EFCreateError.
std::unique_ptr<TStream> OpenFileStream(const std::string& path, FileStreamMode mode);

}  // namespace setup::rtl
