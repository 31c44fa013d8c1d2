// The German language table: its rows in their fixed order (row numbers count the repeated product
// block twice) and the bitmap names whose bitmaps the library carries.
#pragma once

#include "support/language/text_table.h"

#include <span>

namespace language {

std::span<const LanguageRow> LanguageRows() noexcept;
std::span<const BitmapName> BitmapNames() noexcept;

// The stretches of the table, in table order; LanguageRows() joins them.
namespace rows {
std::span<const LanguageRow> Head() noexcept;
std::span<const LanguageRow> ProductBlock() noexcept;  // stands twice
std::span<const LanguageRow> Features() noexcept;
std::span<const LanguageRow> Dialogs() noexcept;
std::span<const LanguageRow> FreeSpace() noexcept;
std::span<const LanguageRow> Algorithms() noexcept;
std::span<const LanguageRow> MainWindow() noexcept;
std::span<const LanguageRow> ResultCodes() noexcept;
std::span<const LanguageRow> LogFile() noexcept;
std::span<const LanguageRow> Common() noexcept;
std::span<const LanguageRow> Tail() noexcept;
}  // namespace rows

}  // namespace language
