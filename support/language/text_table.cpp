#include "support/language/text_table.h"

#include <cstdint>

namespace language {
namespace {

wchar_t FoldAscii(wchar_t c) noexcept
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

std::optional<std::size_t> FindRow(std::span<const LanguageRow> rows, std::wstring_view key,
                                   KeyMatch match) noexcept
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool equal =
            match == KeyMatch::Exact ? rows[i].key == key : EqualsIgnoreCase(rows[i].key, key);
        if (equal)
            return i;
    }
    return std::nullopt;
}

std::optional<CellRef> ResolveCell(std::span<const LanguageRow> rows, std::size_t row,
                                   int column) noexcept
{
    if (row >= rows.size() || column < 0 || column >= kColumnCount)
        return std::nullopt;
    CellRef cell{row, column};
    if (CellText(rows, cell).empty())
        cell.column = kTextColumn;
    return cell;
}

std::wstring_view CellText(std::span<const LanguageRow> rows, CellRef cell) noexcept
{
    const LanguageRow& row = rows[cell.row];
    return cell.column == 0 ? row.key : row.text;
}

int BitmapId(std::span<const BitmapName> names, int language, std::wstring_view name) noexcept
{
    for (const BitmapName& entry : names) {
        if (entry.name == name) {
            // Wraps like the 32-bit arithmetic callers expect instead of overflowing.
            const auto id = static_cast<std::uint32_t>(language) * 100u +
                            static_cast<std::uint32_t>(entry.number);
            return static_cast<int>(id);
        }
    }
    return -1;
}

}  // namespace language
