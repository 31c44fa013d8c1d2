// The language table's rows and bitmap names, and the lookups the library's exports answer with:
// plain data and plain rules, so they build and are tested without Windows.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace language {

struct LanguageRow
{
    std::wstring_view key;   // column 0
    std::wstring_view text;  // column 1
};

struct BitmapName
{
    std::wstring_view name;
    int number;  // the resource id is 100 + number
};

inline constexpr int kColumnCount = 2;
inline constexpr int kTextColumn = 1;

enum class KeyMatch
{
    IgnoreCase,  // letters folded to lower case
    Exact,
};

// Compares the way key lookups do: only A-Z fold, as the C runtime's wide compare does in the
// "C" locale; keys are ASCII, so nothing else could ever match anyway.
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) noexcept;

// The first row whose key matches; later copies of a key are never reached.
std::optional<std::size_t> FindRow(std::span<const LanguageRow> rows, std::wstring_view key,
                                   KeyMatch match) noexcept;

struct CellRef
{
    std::size_t row;
    int column;
};

// The cell a lookup reads: an empty cell gives way to the row's text column. Rows outside the table
// and columns other than 0 and 1 give nothing, which the exports turn into the empty text.
std::optional<CellRef> ResolveCell(std::span<const LanguageRow> rows, std::size_t row,
                                   int column) noexcept;

std::wstring_view CellText(std::span<const LanguageRow> rows, CellRef cell) noexcept;

// language * 100 + number of the first name that equals (case counts), else -1.
int BitmapId(std::span<const BitmapName> names, int language, std::wstring_view name) noexcept;

}  // namespace language
