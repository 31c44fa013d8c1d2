// The engine's one door to the system: files, backup-stream reading, volume facts, the clock, the
// pause wait, the event sink and standard output. Win32 is the default; tests wrap or replace it.
#pragma once

#include "shred/engine/event_record.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace shred {

// 1980-01-01 00:00:00 (MS-DOS date 0x0021, time 0) as a file time: every removed file's times.
inline constexpr std::uint64_t kDosEpochFileTime = 119600064000000000ull;

struct ObjectFacts
{
    bool exists = false;
    bool isFolder = false;
    bool isLink =
        false;  // a name-surrogate reparse point (junction, symbolic link): never followed
};

struct FolderEntry
{
    std::wstring name;
    bool isFolder = false;
    bool isLink = false;
};

struct OpenOptions
{
    bool shareReadWrite = true;  // false: nobody else may open the file meanwhile
    bool notContentIndexed = false;
};

// An open file or named stream; closing is the destructor's job.
class IShredFile
{
public:
    virtual ~IShredFile() = default;
    virtual bool GetSize(std::uint64_t& size) = 0;
    virtual bool Seek(std::uint64_t offset) = 0;
    // Reports how many bytes reached the file; fewer than asked counts as a failure for callers.
    virtual bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written) = 0;
    // A write that may still be running while the caller reports and waits; FinishWrite waits
    // for it and gives its outcome. One at a time; data stays valid until FinishWrite returns.
    // By default the write runs at once.
    virtual void StartWrite(const std::uint8_t* data, std::uint32_t length)
    {
        m_startedOk = Write(data, length, m_startedWritten);
    }
    virtual bool FinishWrite(std::uint32_t& written)
    {
        written = m_startedWritten;
        return m_startedOk;
    }
    virtual bool SetEndOfFile() = 0;
    virtual bool SetTimes(std::uint64_t fileTime) = 0;  // creation, last access and last write
    virtual bool Flush() = 0;

private:
    bool m_startedOk = false;
    std::uint32_t m_startedWritten = 0;
};

// An event the engine created for itself; closed when the owner goes.
class IRunEvent
{
public:
    virtual ~IRunEvent() = default;
    virtual void* Handle() = 0;
};

// A backup read of one file: stream headers, names and data in the system's backup format.
class IBackupStream
{
public:
    virtual ~IBackupStream() = default;
    virtual bool Read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& read) = 0;
    virtual bool Seek(std::uint64_t distance, std::uint64_t& moved) = 0;
};

class IShredSystem
{
public:
    virtual ~IShredSystem() = default;

    // Files and folders. Paths are full paths; a stream suffix (":name:$DATA") addresses a stream.
    virtual std::unique_ptr<IShredFile> Open(const std::wstring& path,
                                             const OpenOptions& options) = 0;
    virtual std::unique_ptr<IBackupStream> OpenBackupRead(const std::wstring& path) = 0;
    virtual ObjectFacts Facts(const std::wstring& path) = 0;
    virtual bool SetNormalAttributes(const std::wstring& path) = 0;
    // Never replaces an existing object: a taken name makes the move fail.
    virtual bool Move(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool RemoveFile(const std::wstring& path) = 0;
    virtual bool RemoveFolder(const std::wstring& path) = 0;
    virtual std::vector<FolderEntry> List(const std::wstring& folder) = 0;
    // Every object a path or a wildcard pattern names, in the system's order ("." and ".." as
    // the system reports them).
    virtual std::vector<FolderEntry> FindMatches(const std::wstring& pattern) = 0;
    // The path with every short (8.3) name expanded; the path itself when it cannot be.
    virtual std::wstring LongPath(const std::wstring& path) = 0;
    // Full paths: the process's current folder, and a drive's own current folder (where
    // "X:name" starts).
    virtual std::wstring CurrentFolder() = 0;
    virtual std::wstring DriveCurrentFolder(wchar_t drive) = 0;

    // Volume and platform.
    virtual bool IsNtFamily() = 0;

    // Clock.
    virtual std::int64_t Counter() = 0;
    virtual std::int64_t CounterFrequency() = 0;
    virtual std::uint32_t Seconds() = 0;  // seeds the random source
    virtual void YieldTimeSlice() = 0;

    // Waits until the caller's manual-reset event is signalled (signalled means run).
    virtual void WaitForRun(void* pauseEvent) = 0;
    // A named manual-reset event, initially signalled; NULL when it cannot be created.
    virtual std::unique_ptr<IRunEvent> CreateRunEvent(const std::wstring& name) = 0;

    virtual void WriteEvent(const ShredEventRecord& record) = 0;
    virtual void Print(std::string_view text) = 0;
};

}  // namespace shred
