// The entries of the Recycle Bin as the contents dialog lists them: each entry's real path inside
// the bin, the path the user sees (its former location), and what lies under it; the translation
// between the two paths; and the name and folder a row shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trashwipe {

struct RecycledItem
{
    std::wstring realPath;
    std::wstring displayPath;
    std::uint64_t size = 0;
    int fileCount = 0;
    bool isFolder = false;
};

struct ResolvedPath
{
    std::wstring path;
    // The entry's figures when the path named a whole entry.
    std::optional<std::size_t> record;
};

class RecycledItemList
{
public:
    std::size_t Add(RecycledItem item);
    const std::vector<RecycledItem>& Items() const noexcept { return m_items; }
    const RecycledItem& operator[](std::size_t index) const { return m_items[index]; }
    std::size_t Size() const noexcept { return m_items.size(); }

    // Real path to display path and back; a path inside a folder entry is translated by its
    // prefix. "" when no entry knows the path.
    ResolvedPath Resolve(std::wstring_view path) const;

private:
    std::vector<RecycledItem> m_items;
};

struct SplitPath
{
    std::wstring name;
    std::optional<std::wstring> folder;  // none when the path holds no backslash
};

// Name after the last backslash; the folder before it, with a backslash after a drive's colon.
SplitPath SplitItemPath(std::wstring_view path);

// Whether a path case-insensitively equals another, as the shell compares paths.
bool SamePathIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace trashwipe
