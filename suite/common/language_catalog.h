// What the base language library offers: the per-language libraries in a folder whose file names
// fit the caller's pattern, each with the language code the pattern's wildcard stands for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace suite {

struct CatalogEntry
{
    std::wstring code;
    std::wstring path;
};

// The part of `fileName` that the one "*" of `pattern` matches (letters compared without regard to
// case); nothing when the name does not fit.
bool MatchLibraryPattern(std::wstring_view pattern, std::wstring_view fileName, std::wstring& code);

// The fitting names in name order; names whose code or path would not fit the entry's buffers, or
// whose code is empty, are left out. `folder` ends in a backslash.
std::vector<CatalogEntry> ListLanguageLibraries(std::wstring_view folder, std::wstring_view pattern,
                                                std::vector<std::wstring> fileNames);

// Copies as much of `text` as fits into `capacity` characters, always terminated; nothing without
// room.
void CopyTerminated(wchar_t* buffer, std::size_t capacity, std::wstring_view text);

}  // namespace suite
