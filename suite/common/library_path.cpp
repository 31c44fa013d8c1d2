#include "suite/common/library_path.h"

namespace suite {

std::wstring TextFromRegistryData(const wchar_t* buffer, std::size_t reportedBytes)
{
    if (!buffer || reportedBytes > kRegistryTextBytes)
        return {};
    // The stored data need not end in a zero character: stop at the first one, or at the end of
    // what was read.
    const std::wstring_view read(buffer, reportedBytes / sizeof(wchar_t));
    return std::wstring(read.substr(0, read.find(L'\0')));
}

std::wstring CollapseDoubledBackslashes(std::wstring_view path)
{
    std::wstring result;
    result.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        result.push_back(path[i]);
        if (path[i] == L'\\' && i + 1 < path.size() && path[i + 1] == L'\\')
            ++i;
    }
    return result;
}

std::wstring JoinLibraryPath(std::wstring_view folder, std::wstring_view fileName)
{
    if (folder.empty())
        return std::wstring(fileName);
    std::wstring path(folder);
    path += L'\\';
    path += fileName;
    return CollapseDoubledBackslashes(path);
}

std::wstring FolderOfPath(std::wstring_view path)
{
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos)
        return {};
    return std::wstring(path.substr(0, slash + 1));
}

std::wstring MissingLibraryMessage(std::wstring_view fileName)
{
    return L"Could not locate necessary dll '" + std::wstring(fileName) + L"'";
}

std::wstring MissingExportMessage(std::wstring_view fileName, std::wstring_view exportName)
{
    return MissingLibraryMessage(fileName) + L" (" + std::wstring(exportName) + L")";
}

std::wstring MissingLanguageLibraryMessage(std::wstring_view path)
{
    return L"Could not locate necessary dll " + std::wstring(path);
}

std::wstring FormatVersionText(std::uint32_t mostSignificant, std::uint32_t leastSignificant)
{
    return std::to_wstring(mostSignificant >> 16) + L'.' +
           std::to_wstring(mostSignificant & 0xFFFF) + L'.' +
           std::to_wstring(leastSignificant >> 16) + L'.' +
           std::to_wstring(leastSignificant & 0xFFFF);
}

}  // namespace suite
