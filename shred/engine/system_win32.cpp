#include "shred/engine/system_win32.h"

#include "core/unique_handle.h"
#include "shred/engine/background_writer.h"

#include <windows.h>

#include <cstdio>
#include <ctime>

namespace shred {
namespace {

using core::UniqueEventSource;

// Junctions and symbolic links name another object; other reparse points are data of their own.
bool IsLink(const WIN32_FIND_DATAW& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           IsReparseTagNameSurrogate(data.dwReserved0);
}

class Win32File : public IShredFile
{
public:
    // Started writes go through `writer` when there is one, else run at once.
    Win32File(core::UniqueFile file, BackgroundWriter* writer)
        : m_owner(std::move(file)), m_handle(m_owner.Get()), m_writer(writer)
    {
    }
    // Borrowed: the caller keeps the handle and closes it.
    explicit Win32File(HANDLE handle) : m_handle(handle) {}
    ~Win32File() override
    {
        // The handle closes after this: a write still running must end first.
        std::uint32_t ignored = 0;
        if (m_inFlight)
            FinishWrite(ignored);
    }

    bool GetSize(std::uint64_t& size) override
    {
        LARGE_INTEGER value{};
        if (!::GetFileSizeEx(m_handle, &value))
            return false;
        size = static_cast<std::uint64_t>(value.QuadPart);
        return true;
    }

    bool Seek(std::uint64_t offset) override
    {
        LARGE_INTEGER distance{};
        distance.QuadPart = static_cast<LONGLONG>(offset);
        return ::SetFilePointerEx(m_handle, distance, nullptr, FILE_BEGIN) != FALSE;
    }

    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written) override
    {
        DWORD count = 0;
        const BOOL ok = ::WriteFile(m_handle, data, length, &count, nullptr);
        written = count;
        return ok != FALSE;
    }

    void StartWrite(const std::uint8_t* data, std::uint32_t length) override
    {
        m_inFlight = m_writer && m_writer->Start(m_handle, data, length);
        if (!m_inFlight)
            IShredFile::StartWrite(data, length);
    }

    bool FinishWrite(std::uint32_t& written) override
    {
        if (!m_inFlight)
            return IShredFile::FinishWrite(written);
        m_inFlight = false;
        return m_writer->Finish(written);
    }

    bool SetEndOfFile() override { return ::SetEndOfFile(m_handle) != FALSE; }

    bool SetTimes(std::uint64_t fileTime) override
    {
        FILETIME time{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
        return ::SetFileTime(m_handle, &time, &time, &time) != FALSE;
    }

    bool Flush() override { return ::FlushFileBuffers(m_handle) != FALSE; }

private:
    core::UniqueFile m_owner;
    HANDLE m_handle;
    BackgroundWriter* m_writer = nullptr;  // the call's, shared by its files
    bool m_inFlight = false;
};

class Win32BackupStream : public IBackupStream
{
public:
    explicit Win32BackupStream(core::UniqueFile file) : m_file(std::move(file)) {}
    ~Win32BackupStream() override
    {
        // A last read with the abort flag releases the backup context.
        if (m_context) {
            DWORD read = 0;
            ::BackupRead(m_file.Get(), nullptr, 0, &read, TRUE, FALSE, &m_context);
        }
    }

    bool Read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& read) override
    {
        DWORD count = 0;
        const BOOL ok =
            ::BackupRead(m_file.Get(), buffer, length, &count, FALSE, FALSE, &m_context);
        read = count;
        return ok != FALSE;
    }

    bool Seek(std::uint64_t distance, std::uint64_t& moved) override
    {
        DWORD low = 0;
        DWORD high = 0;
        const BOOL ok = ::BackupSeek(m_file.Get(), static_cast<DWORD>(distance),
                                     static_cast<DWORD>(distance >> 32), &low, &high, &m_context);
        moved = (static_cast<std::uint64_t>(high) << 32) | low;
        return ok != FALSE;
    }

private:
    core::UniqueFile m_file;
    LPVOID m_context = nullptr;
};

}  // namespace

std::unique_ptr<IShredFile> Win32ShredSystem::Open(const std::wstring& path,
                                                   const OpenOptions& options)
{
    const DWORD share = options.shareReadWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    DWORD flags = FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL;
    if (options.notContentIndexed)
        flags |= FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const auto open = [&](DWORD extraFlags) {
        return core::UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share,
                                              nullptr, OPEN_EXISTING, flags | extraFlags, nullptr));
    };
    // Opened first without following links: a link that appeared since the object was examined
    // is refused rather than written through. Other reparse points (deduplicated or placeholder
    // files) are opened again normally, so that their own driver sees the writes.
    core::UniqueFile file = open(FILE_FLAG_OPEN_REPARSE_POINT);
    if (!file)
        return nullptr;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (::GetFileInformationByHandleEx(file.Get(), FileAttributeTagInfo, &tag, sizeof tag) &&
        (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        if (IsReparseTagNameSurrogate(tag.ReparseTag))
            return nullptr;
        file.Reset();
        file = open(0);
        if (!file)
            return nullptr;
    }
    return std::make_unique<Win32File>(std::move(file), m_writer.get());
}

std::unique_ptr<IBackupStream> Win32ShredSystem::OpenBackupRead(const std::wstring& path)
{
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return nullptr;
    return std::make_unique<Win32BackupStream>(std::move(file));
}

ObjectFacts Win32ShredSystem::Facts(const std::wstring& path)
{
    ObjectFacts facts;
    WIN32_FIND_DATAW data{};
    core::UniqueFind find(::FindFirstFileW(path.c_str(), &data));
    if (!find)
        return facts;
    facts.exists = true;
    facts.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.isLink = IsLink(data);
    return facts;
}

bool Win32ShredSystem::SetNormalAttributes(const std::wstring& path)
{
    return ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool Win32ShredSystem::Move(const std::wstring& from, const std::wstring& to)
{
    return ::MoveFileW(from.c_str(), to.c_str()) != FALSE;
}

bool Win32ShredSystem::RemoveFile(const std::wstring& path)
{
    return ::DeleteFileW(path.c_str()) != FALSE;
}

bool Win32ShredSystem::RemoveFolder(const std::wstring& path)
{
    return ::RemoveDirectoryW(path.c_str()) != FALSE;
}

std::vector<FolderEntry> Win32ShredSystem::List(const std::wstring& folder)
{
    std::vector<FolderEntry> entries;
    for (FolderEntry& entry : FindMatches(folder + L"\\*")) {
        if (entry.name != L"." && entry.name != L"..")
            entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<FolderEntry> Win32ShredSystem::FindMatches(const std::wstring& pattern)
{
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data{};
    core::UniqueFind find(::FindFirstFileW(pattern.c_str(), &data));
    if (!find)
        return entries;
    do {
        entries.push_back(FolderEntry{
            data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, IsLink(data)});
    } while (::FindNextFileW(find.Get(), &data));
    return entries;
}

std::wstring Win32ShredSystem::LongPath(const std::wstring& path)
{
    // Each call looks up every folder of the path: ask once with room for the usual length and
    // a second time only for a longer one.
    std::wstring longPath(MAX_PATH, L'\0');
    DWORD length = ::GetLongPathNameW(path.c_str(), longPath.data(), MAX_PATH);
    if (length >= MAX_PATH) {
        longPath.assign(length, L'\0');
        const DWORD needed = length;
        length = ::GetLongPathNameW(path.c_str(), longPath.data(), needed);
        if (length >= needed)
            return path;
    }
    if (length == 0)
        return path;
    longPath.resize(length);
    return longPath;
}

std::wstring Win32ShredSystem::CurrentFolder()
{
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
        return std::wstring();
    std::wstring folder(needed, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(needed, folder.data());
    if (length == 0 || length >= needed)
        return std::wstring();
    folder.resize(length);
    return folder;
}

std::wstring Win32ShredSystem::DriveCurrentFolder(wchar_t drive)
{
    // The full form of a bare drive is that drive's current folder.
    const wchar_t bare[] = {drive, L':', L'\0'};
    const DWORD needed = ::GetFullPathNameW(bare, 0, nullptr, nullptr);
    if (needed == 0)
        return std::wstring();
    std::wstring folder(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(bare, needed, folder.data(), nullptr);
    if (length == 0 || length >= needed)
        return std::wstring();
    folder.resize(length);
    return folder;
}

bool Win32ShredSystem::IsNtFamily()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    return ok && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::int64_t Win32ShredSystem::Counter()
{
    LARGE_INTEGER value{};
    ::QueryPerformanceCounter(&value);
    return value.QuadPart;
}

std::int64_t Win32ShredSystem::CounterFrequency()
{
    LARGE_INTEGER value{};
    ::QueryPerformanceFrequency(&value);
    return value.QuadPart;
}

std::uint32_t Win32ShredSystem::Seconds()
{
    return static_cast<std::uint32_t>(std::time(nullptr));
}

void Win32ShredSystem::YieldTimeSlice()
{
    ::Sleep(0);
}

void Win32ShredSystem::WaitForRun(void* pauseEvent)
{
    ::WaitForSingleObject(static_cast<HANDLE>(pauseEvent), INFINITE);
}

namespace {

class Win32RunEvent : public IRunEvent
{
public:
    explicit Win32RunEvent(core::UniqueEvent event) : m_event(std::move(event)) {}
    void* Handle() override { return m_event.Get(); }

private:
    core::UniqueEvent m_event;
};

}  // namespace

std::unique_ptr<IRunEvent> Win32ShredSystem::CreateRunEvent(const std::wstring& name)
{
    core::UniqueEvent event(::CreateEventW(nullptr, TRUE, TRUE, name.c_str()));
    if (!event)
        return nullptr;
    return std::make_unique<Win32RunEvent>(std::move(event));
}

void Win32ShredSystem::WriteEvent(const ShredEventRecord& record)
{
    UniqueEventSource source(::RegisterEventSourceW(nullptr, kShredEventSource));
    if (!source)
        return;
    const wchar_t* strings[] = {record.path.c_str(), record.algorithm.c_str(),
                                record.result.c_str()};
    ::ReportEventW(source.Get(), record.type, record.category, record.eventId, nullptr, 3, 0,
                   strings, nullptr);
}

void Win32ShredSystem::Print(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

std::unique_ptr<IShredFile> BorrowFileHandle(void* handle)
{
    return std::make_unique<Win32File>(static_cast<HANDLE>(handle));
}

Win32ShredSystem::Win32ShredSystem(bool writeAhead)
{
    if (writeAhead)
        m_writer = std::make_unique<BackgroundWriter>();
}

Win32ShredSystem::~Win32ShredSystem() = default;

IShredSystem& DefaultShredSystem() noexcept
{
    // Process-wide and so without a writer thread: none may be left to join while the library
    // is unloaded.
    static Win32ShredSystem system(false);
    return system;
}

}  // namespace shred
