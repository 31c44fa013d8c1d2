// The Win32 implementation of the engine's system-call table.
#pragma once

#include <memory>

#include "shred/engine/shred_system.h"

namespace shred {

class BackgroundWriter;

class Win32ShredSystem : public IShredSystem
{
public:
    // With write-ahead, the next chunk of a file goes out on a writer thread while the engine
    // reports and waits; the thread is started on first use and ends with this object, so
    // such a system lives for one call.
    explicit Win32ShredSystem(bool writeAhead);
    ~Win32ShredSystem() override;
    Win32ShredSystem(const Win32ShredSystem&) = delete;
    Win32ShredSystem& operator=(const Win32ShredSystem&) = delete;

    std::unique_ptr<IShredFile> Open(const std::wstring& path, const OpenOptions& options) override;
    std::unique_ptr<IBackupStream> OpenBackupRead(const std::wstring& path) override;
    ObjectFacts Facts(const std::wstring& path) override;
    bool SetNormalAttributes(const std::wstring& path) override;
    bool Move(const std::wstring& from, const std::wstring& to) override;
    bool RemoveFile(const std::wstring& path) override;
    bool RemoveFolder(const std::wstring& path) override;
    std::vector<FolderEntry> List(const std::wstring& folder) override;
    std::vector<FolderEntry> FindMatches(const std::wstring& pattern) override;
    std::wstring LongPath(const std::wstring& path) override;
    std::wstring CurrentFolder() override;
    std::wstring DriveCurrentFolder(wchar_t drive) override;
    bool IsNtFamily() override;
    std::int64_t Counter() override;
    std::int64_t CounterFrequency() override;
    std::uint32_t Seconds() override;
    void YieldTimeSlice() override;
    void WaitForRun(void* pauseEvent) override;
    std::unique_ptr<IRunEvent> CreateRunEvent(const std::wstring& name) override;
    void WriteEvent(const ShredEventRecord& record) override;
    void Print(std::string_view text) override;

private:
    std::unique_ptr<BackgroundWriter> m_writer;
};

// A view of a file handle the caller keeps: closing the view leaves the handle open.
std::unique_ptr<IShredFile> BorrowFileHandle(void* handle);

// The process-wide default table, without write-ahead.
IShredSystem& DefaultShredSystem() noexcept;

}  // namespace shred
