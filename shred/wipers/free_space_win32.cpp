#include "shred/wipers/free_space_win32.h"

#include "core/unique_handle.h"
#include "shred/engine/name_wiper.h"
#include "shred/engine/system_win32.h"
#include "shred/wipers/slack_win32.h"

#include <windows.h>

#include <cstdio>

namespace shred::wipers {

void Win32FreeSpaceSystem::WaitForRun(void** pauseEvent)
{
    WaitOnPauseEvent(pauseEvent);
}

void Win32FreeSpaceSystem::DeleteTree(const std::wstring& folder)
{
    shred::DeleteTree(DefaultShredSystem(), folder);
}

bool Win32FreeSpaceSystem::CreateFolder(const std::wstring& folder)
{
    return CreateDirectoryW(folder.c_str(), nullptr) != 0;
}

std::uint32_t Win32FreeSpaceSystem::LastError()
{
    return GetLastError();
}

std::uint32_t Win32FreeSpaceSystem::DriveType(const std::wstring& root)
{
    return GetDriveTypeW(root.c_str());
}

bool Win32FreeSpaceSystem::FreeSpace(const std::wstring& folder, std::uint64_t& freeBytes,
                                     std::uint64_t& totalBytes)
{
    ULARGE_INTEGER available{}, total{}, totalFree{};
    if (!GetDiskFreeSpaceExW(folder.c_str(), &available, &total, &totalFree))
        return false;
    freeBytes = available.QuadPart;
    totalBytes = total.QuadPart;
    return true;
}

bool Win32FreeSpaceSystem::Geometry(const std::wstring& root, ClusterGeometry& geometry)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return false;
    geometry = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
    return true;
}

bool Win32FreeSpaceSystem::Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FillerResult Win32FreeSpaceSystem::CreateFiller(const std::wstring& path, std::uint64_t size,
                                                FillerWrite mode)
{
    const DWORD flags =
        FILE_ATTRIBUTE_NORMAL |
        (mode == FillerWrite::Unbuffered ? FILE_FLAG_NO_BUFFERING : FILE_FLAG_WRITE_THROUGH);
    core::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, flags, nullptr));
    if (!file)
        return FillerResult::NotCreated;
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(file.Get(), distance, nullptr, FILE_BEGIN) || !::SetEndOfFile(file.Get()))
        return FillerResult::NotSized;
    return FillerResult::Sized;
}

bool Win32FreeSpaceSystem::RemoveFile(const std::wstring& path)
{
    return DeleteFileW(path.c_str()) != 0;
}

void Win32FreeSpaceSystem::Print(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace shred::wipers
