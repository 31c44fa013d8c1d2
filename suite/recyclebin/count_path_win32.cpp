#include "suite/recyclebin/count_path_win32.h"

#include "core/unique_handle.h"

#include <windows.h>

#include <cstdio>

namespace trashwipe {

int VNTCountPath(const std::wstring& path, std::uint64_t& size)
{
    WIN32_FIND_DATAW found{};
    {
        core::UniqueFind search(::FindFirstFileW(path.c_str(), &found));
        if (!search) {
            std::printf("Invalid File Handle in dll VNTCountPath. GetLastError reports %lu\n",
                        ::GetLastError());
            return 1;
        }
    }
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        int count = 0;
        core::UniqueFind search(::FindFirstFileW((path + L"\\*").c_str(), &found));
        if (!search)
            return 0;
        // Every name is looked at: the dot names are passed over by name, not by position.
        do {
            if (found.cFileName[0] != L'.')
                count += VNTCountPath(path + L"\\" + found.cFileName, size);
        } while (::FindNextFileW(search.Get(), &found));
        return count;
    }
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        LARGE_INTEGER bytes{};
        if (::GetFileSizeEx(file.Get(), &bytes))
            size += static_cast<std::uint64_t>(bytes.QuadPart);
    }
    return 1;
}

RecycledItemList ReadRecycleBin(IRecycleBinSource& source)
{
    RecycledItemList items;
    for (const RecycleBinEntry& entry : source.Enumerate()) {
        RecycledItem item{entry.realPath, entry.displayPath};
        const DWORD attributes = ::GetFileAttributesW(entry.realPath.c_str());
        item.isFolder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        item.fileCount = VNTCountPath(entry.realPath, item.size);
        items.Add(std::move(item));
    }
    return items;
}

}  // namespace trashwipe
