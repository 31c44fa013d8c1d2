// Fetching the update's installer in 64 KiB pieces: the loop that decides when the file is whole,
// when the connection was lost and when the user cancelled, over interfaces for the network, the
// file and the progress display.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace update {

inline constexpr std::size_t kDownloadPiece = 65536;

class IDownloadSource
{
public:
    // Connects and sends the GET; the HTTP status, or nothing when that failed.
    virtual std::optional<int> Open(const std::wstring& url) = 0;
    // Up to buffer.size() bytes; 0 at the end; nothing when reading failed.
    virtual std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) = 0;

protected:
    ~IDownloadSource() = default;
};

class IInstallerFile
{
public:
    virtual bool Create(const std::wstring& path) = 0;
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    virtual void Close() = 0;

protected:
    ~IInstallerFile() = default;
};

class IDownloadProgress
{
public:
    virtual void Percent(int percent) = 0;
    virtual bool CancelRequested() = 0;

protected:
    ~IDownloadProgress() = default;
};

enum class DownloadOutcome
{
    Complete,
    NoConnection,    // not connected, not sent, an HTTP status other than 200, or no file
    ConnectionLost,  // a read or a write failed part-way
    Cancelled,       // the partial file stays
};

struct DownloadResult
{
    DownloadOutcome outcome;
    std::uint64_t bytes;
};

// The file is whole only when a read returns 0 bytes: a short read part-way is just a piece.
DownloadResult DownloadInstaller(const std::wstring& url, const std::wstring& localPath,
                                 std::int64_t announcedSize, IDownloadSource& source,
                                 IInstallerFile& file, IDownloadProgress& progress);

}  // namespace update
