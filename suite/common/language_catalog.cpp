#include "suite/common/language_catalog.h"

#include "suite/common/language_choice.h"
#include "suite/common/language_entry.h"

#include <algorithm>
#include <cwctype>

namespace suite {
namespace {

bool StartsWithIgnoreCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoreCase(std::wstring_view text, std::wstring_view suffix)
{
    return text.size() >= suffix.size() &&
           EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

bool FitsBuffer(std::wstring_view text, std::size_t capacity)
{
    return text.size() + 1 <= capacity;
}

}  // namespace

bool MatchLibraryPattern(std::wstring_view pattern, std::wstring_view fileName, std::wstring& code)
{
    const std::size_t star = pattern.find(L'*');
    if (star == std::wstring_view::npos)
        return false;
    const std::wstring_view prefix = pattern.substr(0, star);
    const std::wstring_view suffix = pattern.substr(star + 1);
    if (fileName.size() < prefix.size() + suffix.size() ||
        !StartsWithIgnoreCase(fileName, prefix) || !EndsWithIgnoreCase(fileName, suffix))
        return false;
    code.assign(fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size()));
    return true;
}

std::vector<CatalogEntry> ListLanguageLibraries(std::wstring_view folder, std::wstring_view pattern,
                                                std::vector<std::wstring> fileNames)
{
    std::sort(fileNames.begin(), fileNames.end());
    std::vector<CatalogEntry> entries;
    for (const std::wstring& name : fileNames) {
        CatalogEntry entry;
        if (!MatchLibraryPattern(pattern, name, entry.code) || entry.code.empty())
            continue;
        entry.path = std::wstring(folder) + name;
        if (!FitsBuffer(entry.code, kCodeChars) || !FitsBuffer(entry.path, kPathChars))
            continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

void CopyTerminated(wchar_t* buffer, std::size_t capacity, std::wstring_view text)
{
    if (!buffer || capacity == 0)
        return;
    const std::size_t count = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = L'\0';
}

}  // namespace suite
