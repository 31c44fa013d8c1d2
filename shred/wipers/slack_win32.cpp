#include "shred/wipers/slack_win32.h"

#include "core/unique_handle.h"

#include <windows.h>

#include <cstdio>
#include <ctime>

namespace shred::wipers {

namespace {

bool IsNameSurrogate(DWORD attributes, DWORD reparseTag)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (reparseTag & 0x20000000u) != 0;  // IsReparseTagNameSurrogate
}

std::uint64_t Join(FILETIME time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME Split(std::uint64_t value)
{
    return FILETIME{static_cast<DWORD>(value & 0xffffffffu), static_cast<DWORD>(value >> 32)};
}

class Win32SlackFile : public ISlackFile
{
public:
    explicit Win32SlackFile(core::UniqueFile file) : m_file(std::move(file)) {}

    bool GetTimes(SlackFileTimes& times) override
    {
        FILETIME creation{}, access{}, write{};
        if (!GetFileTime(m_file.Get(), &creation, &access, &write))
            return false;
        times = {Join(creation), Join(access), Join(write)};
        return true;
    }
    bool SetTimes(const SlackFileTimes& times) override
    {
        const FILETIME creation = Split(times.creation);
        const FILETIME access = Split(times.lastAccess);
        const FILETIME write = Split(times.lastWrite);
        return SetFileTime(m_file.Get(), &creation, &access, &write) != 0;
    }
    bool GetSize(std::uint64_t& size) override
    {
        LARGE_INTEGER value{};
        if (!GetFileSizeEx(m_file.Get(), &value))
            return false;
        size = static_cast<std::uint64_t>(value.QuadPart);
        return true;
    }
    bool Seek(std::uint64_t offset) override
    {
        LARGE_INTEGER distance{};
        distance.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(m_file.Get(), distance, nullptr, FILE_BEGIN) != 0;
    }
    bool Write(const std::uint8_t* data, std::uint32_t length) override
    {
        DWORD written = 0;
        return WriteFile(m_file.Get(), data, length, &written, nullptr) && written == length;
    }
    bool Flush() override { return FlushFileBuffers(m_file.Get()) != 0; }
    bool SetEndOfFile() override { return ::SetEndOfFile(m_file.Get()) != 0; }

private:
    core::UniqueFile m_file;
};

class Win32SlackEvent : public ISlackEvent
{
public:
    explicit Win32SlackEvent(core::UniqueEvent event) : m_event(std::move(event)) {}
    void* Handle() override { return m_event.Get(); }

private:
    core::UniqueEvent m_event;
};

}  // namespace

void WaitOnPauseEvent(void** pauseEvent)
{
    if (pauseEvent != nullptr && *pauseEvent != nullptr)
        WaitForSingleObject(static_cast<HANDLE>(*pauseEvent), INFINITE);
}

SlackFacts Win32SlackSystem::Facts(const std::wstring& path)
{
    SlackFacts facts;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return facts;
    facts.exists = true;
    facts.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        WIN32_FIND_DATAW found{};
        core::UniqueFind find(FindFirstFileW(path.c_str(), &found));
        facts.isLink = !find || IsNameSurrogate(found.dwFileAttributes, found.dwReserved0);
    }
    return facts;
}

bool Win32SlackSystem::ClusterSize(const std::wstring& root, std::uint32_t& clusterSize)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return false;
    clusterSize = sectorsPerCluster * bytesPerSector;
    return true;
}

bool Win32SlackSystem::GetAttributes(const std::wstring& path, std::uint32_t& attributes)
{
    const DWORD value = GetFileAttributesW(path.c_str());
    if (value == INVALID_FILE_ATTRIBUTES)
        return false;
    attributes = value;
    return true;
}

bool Win32SlackSystem::SetAttributes(const std::wstring& path, std::uint32_t attributes)
{
    return SetFileAttributesW(path.c_str(), attributes) != 0;
}

std::unique_ptr<ISlackFile> Win32SlackSystem::OpenForSlack(const std::wstring& path)
{
    core::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!file)
        return nullptr;
    return std::make_unique<Win32SlackFile>(std::move(file));
}

std::vector<SlackEntry> Win32SlackSystem::FindMatches(const std::wstring& pattern)
{
    std::vector<SlackEntry> entries;
    WIN32_FIND_DATAW found{};
    core::UniqueFind find(FindFirstFileW(pattern.c_str(), &found));
    if (!find)
        return entries;
    do {
        entries.push_back({found.cFileName,
                           (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           IsNameSurrogate(found.dwFileAttributes, found.dwReserved0)});
    } while (FindNextFileW(find.Get(), &found));
    return entries;
}

std::uint32_t Win32SlackSystem::LastError()
{
    return GetLastError();
}

std::unique_ptr<ISlackEvent> Win32SlackSystem::CreateRunEvent(const std::wstring& name)
{
    core::UniqueEvent event(CreateEventW(nullptr, TRUE, TRUE, name.c_str()));
    if (!event)
        return nullptr;
    return std::make_unique<Win32SlackEvent>(std::move(event));
}

void Win32SlackSystem::WaitForRun(void** pauseEvent)
{
    WaitOnPauseEvent(pauseEvent);
}

std::uint32_t Win32SlackSystem::Seconds()
{
    return static_cast<std::uint32_t>(std::time(nullptr));
}

void Win32SlackSystem::Print(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

ISlackSystem& DefaultSlackSystem() noexcept
{
    static Win32SlackSystem system;
    return system;
}

}  // namespace shred::wipers
