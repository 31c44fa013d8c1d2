#include "suite/recyclebin/trashwipe_environment_win32.h"

#include "core/unique_handle.h"

#include <ctime>

namespace trashwipe {

std::int64_t SystemLogClock::Now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::optional<std::tm> SystemLogClock::LocalTime(std::int64_t seconds)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (::localtime_s(&local, &time) != 0)
        return std::nullopt;
    return local;
}

WindowsVersion ReadWindowsVersion()
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info))
        return {};
#pragma GCC diagnostic pop
    return {info.dwMajorVersion, info.dwMinorVersion};
}

std::vector<OldBinFile> ListOldRecycledFiles()
{
    std::vector<OldBinFile> files;
    const DWORD drives = ::GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (!(drives & (1u << letter)))
            continue;
        const std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + letter)) + L":\\";
        if (::GetDriveTypeW(root.c_str()) != DRIVE_FIXED)
            continue;
        // A drive without the folder does not stop the walk over the drives after it.
        WIN32_FIND_DATAW found{};
        core::UniqueFind search(::FindFirstFileW((root + L"Recycled\\*").c_str(), &found));
        if (!search)
            continue;
        do {
            files.push_back({root + L"Recycled\\" + found.cFileName, found.cFileName});
        } while (::FindNextFileW(search.Get(), &found));
    }
    return files;
}

}  // namespace trashwipe
