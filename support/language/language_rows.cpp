#include "support/language/language_rows.h"

#include <vector>

namespace language {
namespace {

std::vector<LanguageRow> JoinRows()
{
    const std::span<const LanguageRow> stretches[] = {
        rows::Head(),        rows::ProductBlock(), rows::ProductBlock(), rows::Features(),
        rows::Dialogs(),     rows::FreeSpace(),    rows::Algorithms(),   rows::MainWindow(),
        rows::ResultCodes(), rows::LogFile(),      rows::Common(),       rows::Tail(),
    };
    std::vector<LanguageRow> all;
    for (const auto& stretch : stretches)
        all.insert(all.end(), stretch.begin(), stretch.end());
    return all;
}

// Bitmap 8 was dropped from the product; the remaining numbers keep their resource ids.
constexpr BitmapName kBitmapNames[] = {
    {L"decrypt_files_and_folders", 1},
    {L"encrypt_files_and_folders", 2},
    {L"encryption_main_top", 3},
    {L"shred_files_and_folders", 4},
    {L"desktop_main_top", 5},
    {L"shredding_main_top", 6},
    {L"shred_free_space", 7},
    {L"shred_recycle_bin", 9},
    {L"shred_system_files", 10},
    {L"encrypt_sfx", 11},
    {L"secure_email", 12},
};

}  // namespace

std::span<const LanguageRow> LanguageRows() noexcept
{
    // Built on first use from constant stretches; the vector's allocation is the only way this can
    // fail, and a library that cannot allocate a few kilobytes at load cannot serve texts anyway.
    static const std::vector<LanguageRow> all = JoinRows();
    return all;
}

std::span<const BitmapName> BitmapNames() noexcept
{
    return kBitmapNames;
}

}  // namespace language
