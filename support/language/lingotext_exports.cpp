// The exports of the German language library: text lookups by row and by key, bitmap ids, and the
// suite's current-language setting. Nothing may throw out of these functions.
#include "core/cstring_abi.h"
#include "core/text_convert.h"
#include "support/language/language_rows.h"
#include "support/language/registry_language_store_win32.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace language {
namespace {

// Every cell as a string object, built in table order when the library is loaded and released when
// it is unloaded. Results share a cell's buffer by reference, so a caller must release them before
// it unloads the library.
class LoadedTable
{
public:
    LoadedTable() noexcept
    {
        try {
            m_rows = LanguageRows();
            m_cells.reserve(m_rows.size() * kColumnCount);
            for (const LanguageRow& row : m_rows) {
                m_cells.emplace_back(row.key);
                m_cells.emplace_back(row.text);
            }
        } catch (...) {
            m_cells.clear();
        }
    }

    std::span<const LanguageRow> Rows() const noexcept { return m_rows; }

    core::CStringW Share(CellRef cell) const noexcept
    {
        const std::size_t index = cell.row * kColumnCount + static_cast<std::size_t>(cell.column);
        if (index >= m_cells.size() || !m_cells[index].Get().chars)
            return core::CStringCreate(L"");
        return m_cells[index].Share();
    }

private:
    std::span<const LanguageRow> m_rows;
    std::vector<core::CStringHolder> m_cells;
};

const LoadedTable g_table;

// The text a key lookup yields; an unknown row or column gives the empty text.
core::CStringW CellString(std::optional<std::size_t> row, int column) noexcept
{
    if (row) {
        if (const auto cell = ResolveCell(g_table.Rows(), *row, column))
            return g_table.Share(*cell);
    }
    return core::CStringCreate(L"");
}

std::wstring_view CellView(std::optional<std::size_t> row, int column) noexcept
{
    if (row) {
        if (const auto cell = ResolveCell(g_table.Rows(), *row, column))
            return CellText(g_table.Rows(), *cell);
    }
    return {};
}

// What a missing key yields through GetStringByStringW: never a buffer the caller might free.
wchar_t g_emptyText[1] = {L'\0'};

// Takes over a by-value argument: the callee releases it, whatever path the call takes.
class ArgumentString
{
public:
    explicit ArgumentString(core::CStringW s) noexcept : m_holder(core::CStringHolder::Adopt(s)) {}
    std::wstring_view View() const noexcept { return m_holder.View(); }

private:
    core::CStringHolder m_holder;
};

}  // namespace
}  // namespace language

using language::ArgumentString;

extern "C" {

core::CStringW WINAPI GetStringByInt(int column, int row) noexcept
{
    if (row < 0)
        return core::CStringCreate(L"");
    return language::CellString(static_cast<std::size_t>(row), column);
}

core::CStringW WINAPI GetStringByString(int column, core::CStringW key) noexcept
{
    const ArgumentString keyText(key);
    return language::CellString(
        language::FindRow(language::g_table.Rows(), keyText.View(), language::KeyMatch::IgnoreCase),
        column);
}

wchar_t* WINAPI GetStringByStringW(int column, const wchar_t* key) noexcept
{
    if (!key)
        return language::g_emptyText;
    const auto row = language::FindRow(language::g_table.Rows(), key, language::KeyMatch::Exact);
    if (!row)
        return language::g_emptyText;
    const std::wstring_view text = language::CellView(row, column);
    auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    if (!copy)
        return language::g_emptyText;
    std::memcpy(copy, text.data(), text.size() * sizeof(wchar_t));
    copy[text.size()] = L'\0';
    return copy;
}

char* WINAPI GetStringByStringA(int column, const char* key) noexcept
{
    std::string text;
    try {
        const std::wstring wideKey = key ? core::AnsiToWide(key) : std::wstring();
        const auto row =
            language::FindRow(language::g_table.Rows(), wideKey, language::KeyMatch::IgnoreCase);
        text = core::WideToAnsi(language::CellView(row, column));
    } catch (...) {
        text.clear();
    }
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!copy)
        return nullptr;
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

int WINAPI GetCurrentLanguage() noexcept
{
    try {
        language::RegistryLanguageStore store;
        return static_cast<int>(language::ResolveCurrentLanguage(store));
    } catch (...) {
        return static_cast<int>(language::kNeutralLanguage.number);
    }
}

void WINAPI SetCurrentLanguage(DWORD number, core::CStringW code) noexcept
{
    const ArgumentString codeText(code);
    language::StoreCurrentLanguage(number, codeText.View());
}

int WINAPI GetLanguageInt(core::CStringW name) noexcept
{
    const ArgumentString nameText(name);
    const auto row =
        language::FindRow(language::g_table.Rows(), L"Language", language::KeyMatch::IgnoreCase);
    const std::wstring_view languageName = language::CellView(row, language::kTextColumn);
    return language::EqualsIgnoreCase(languageName, nameText.View()) ? 1 : -1;
}

int WINAPI GetBitmapId(int languageNumber, core::CStringW name) noexcept
{
    const ArgumentString nameText(name);
    return language::BitmapId(language::BitmapNames(), languageNumber, nameText.View());
}

int WINAPI GetAmountLanguages() noexcept
{
    return 2;
}

}  // extern "C"
