#include "support/language/language_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace language {
namespace {

std::string Narrow(std::wstring_view text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::wstring TextOf(std::wstring_view key)
{
    const auto row = FindRow(LanguageRows(), key, KeyMatch::Exact);
    return row ? std::wstring(LanguageRows()[*row].text) : std::wstring(L"<missing>");
}

TEST(LanguageRows, KeysStandInTableOrderWithTheProductBlockTwice)
{
    std::vector<std::wstring_view> expected = {
#include "support/language/tests/expected_keys.inc"
    };
    const auto first = std::find(expected.begin(), expected.end(), L"vnt_desktop");
    const auto last = std::find(expected.begin(), expected.end(), L"mail_subject");
    ASSERT_LT(first, last);
    const std::vector<std::wstring_view> block(first, last + 1);
    expected.insert(last + 1, block.begin(), block.end());

    std::vector<std::wstring_view> actual;
    for (const LanguageRow& row : LanguageRows())
        actual.push_back(row.key);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "row " << i;
}

TEST(LanguageRows, EveryTextIsFilledAndHoldsNoCarriageReturnOrTab)
{
    for (const LanguageRow& row : LanguageRows()) {
        EXPECT_FALSE(row.text.empty()) << Narrow(row.key);
        EXPECT_EQ(row.text.find_first_of(L"\r\t"), std::wstring_view::npos) << Narrow(row.key);
        EXPECT_TRUE(std::all_of(row.key.begin(), row.key.end(), [](wchar_t c) {
            return c > 0x20 && c < 0x7f;
        })) << Narrow(row.key);
    }
}

TEST(LanguageRows, RepeatedBlockIsReachedOnlyThroughItsFirstCopy)
{
    const auto rows = LanguageRows();
    const auto first = FindRow(rows, L"vnt_desktop", KeyMatch::IgnoreCase);
    ASSERT_TRUE(first);
    const std::size_t blockLength = rows::ProductBlock().size();
    for (std::size_t i = 0; i < blockLength; ++i) {
        EXPECT_EQ(rows[*first + i].key, rows[*first + blockLength + i].key);
        EXPECT_EQ(rows[*first + i].text, rows[*first + blockLength + i].text);
        EXPECT_EQ(FindRow(rows, rows[*first + blockLength + i].key, KeyMatch::Exact), *first + i);
    }
}

TEST(LanguageRows, TextsThatOtherProgramsRelyOnStandExactly)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Language", L"Deutsch (German)"},
        {L"Language_codes", L"DE"},
        {L"OK-button", L"OK"},
        {L"Cancel-button", L"Abbrechen"},
        {L"Browse-button", L"Durchsuchen..."},
        {L"Save-button", L"Speichern"},
        {L"Apply-button", L"Anwenden"},
        {L"all_files", L"Alle Dateien (*.*)|*.*||"},
        {L"dateformat", L"%d-%m-%Y"},
        {L"company", L"Vontar Security"},
        {L"company_ntv", L"Vontar Security"},
        {L"vnt_shredding", L"Nolvane"},
        {L"vnt_shredding_ntv", L"Nolvane"},
        {L"application_year", L"2009"},
        {L"help_file", L"%s\\\\help_%s.html"},
        {L"error_missing_app_path",
         L"Anwendungspfad im Register fehlt. Es können keine Löschprotokolle erstellt werden. "
         L"Bitte "
         L"installieren Sie die Anwendung neu. (Fehlendes Register: HKEY_LOCAL_MACHINE\\SOFTWARE\\"
         L"Vontar Security\\Paths\\App Paths)"},
        {L"question_install_update",
         L"Neue Programm-Updates sind verfügbar. Wollen Sie jetzt  downloaden und installieren?"},
        {L"progress_total", L"Gesamt (%d von %d Dateien gelöscht)"},
        {L"recbin_information", L"Anzahl Dateien: %d\n\nGröße: %I64d MB"},
        {L"recbin_information_win98", L"Anzahl Dateien: %d"},
        {L"recbin_dyn_file_size", L"%ld KB"},
        {L"shredfree_operation", L"Freien Platz auf der Festplatte löschen %c:"},
        {L"previousversions_shredding_drive", L"Ältere Versionen werden auf %C gelöscht:"},
        {L"shred_file_found",
         L"Das Programm hat die Datei %ws erkannt. Diese Datei ist wahrscheinlich durch das "
         L"Programm "
         L"erstellt.\n\nMöchten Sie die Datei löschen?"},
        {L"log_no_logfile",
         L"Ein Fehler ist beim Lesen einer Template-Datei aufgetreten. Ihr Log ist defekt.\n(%s)"},
        {L"unknown", L"UNBEKANNT"},
        {L"mb/s", L"MB/s"},
        {L"var_meta_charset", L"iso-8859-1"},
        {L"IMG_TITLE_LOGFILE", L"title_logfile.jpg"},
        {L"error_fileshred-100", L"Der Vorgang war erfolgreich."},
        {L"error_fileshred-1", L"Der Zugriff kann nicht ausgeführt werden."},
        {L"error_fileshred-3", L"Die Datei konnte nicht umbenannt werden."},
        {L"error_fileshred-4", L"Die Datei konnte nicht entfernt werden."},
        {L"error_fileshred-5", L"Ordner konnte nicht entfernt werden."},
        {L"error_fileshred-10", L"Der Ablauf kann nicht bestimmt werden."},
        {L"error_shred-6", L"Datenvernichtung abgebrochen."},
    };
    for (const auto& [key, text] : cases)
        EXPECT_EQ(TextOf(key), text) << Narrow(key);
}

TEST(LanguageRows, AlgorithmRowsNameEachAlgorithmAndItsPassCount)
{
    struct Algorithm
    {
        const wchar_t* full;
        const wchar_t* shortName;
        int passes;
    };
    const Algorithm algorithms[] = {
        {L"HMG Infosec Standard 5, Basisanforderungen", L"HMG Infosec, Basis", 1},
        {L"HMG Infosec Standard 5, Erhöhte Anforderungen", L"HMG Infosec, Erhöht", 3},
        {L"Peter Gutmanns Algorithmus", L"Peter Gutmanns Algorithmus", 35},
        {L"U.S. Department of Defense Sanitizing (DOD 5220.22-M)", L"DOD 5220.22-M", 3},
        {L"Bruce Schneiers Algorithmus", L"Bruce Schneiers Algorithmus", 7},
        {L"Navy Staff Office Publication (NAVSO P-5239-26) für RLL", L"Navy Staff Office Publ.", 3},
        {L"The National Computer Security Center (NCSC-TG-025)", L"NCS Center", 4},
        {L"Air Force System Security Instruction 5020", L"Air Force System Security", 4},
        {L"US Army AR380-19", L"US Army", 3},
        {L"Deutscher Standard VSITR", L"Deutscher Standard VSITR", 7},
        {L"OPNAVINST 5239.1A", L"OPNAVINST", 3},
        {L"National Security Agency (NSA 130-1)", L"National Security Agency", 3},
        {L"U.S. Department of Defense Sanitizing (DOD 5220.22-M ECE)", L"DOD 5220.22-M ECE", 7},
    };
    for (int n = 0; n < 13; ++n) {
        const std::wstring number = std::to_wstring(n);
        EXPECT_EQ(TextOf(L"shred_algo_" + number), algorithms[n].full) << n;
        EXPECT_EQ(TextOf(L"shred_algo_short_" + number), algorithms[n].shortName) << n;
        const std::wstring passes = TextOf(L"shred_algo_passes_" + number);
        const std::wstring ending =
            L" (" + std::to_wstring(algorithms[n].passes) + L"x überschreiben)";
        EXPECT_TRUE(passes.ends_with(ending)) << n;
        EXPECT_NE(TextOf(L"shred_algo_description_" + number), L"<missing>") << n;
    }
    EXPECT_EQ(TextOf(L"shred_algo_passes_3"), L"DOD 5220.22-M (3x überschreiben)");
}

TEST(LanguageRows, EveryResultCodeOfEachFamilyHasItsMessage)
{
    struct Family
    {
        const wchar_t* prefix;
        std::vector<int> codes;
    };
    auto range = [](int from, int to) {
        std::vector<int> codes;
        for (int c = from; c >= to; --c)
            codes.push_back(c);
        return codes;
    };
    std::vector<Family> families = {
        {L"error_enc", range(0, -21)},
        {L"error_code", {-285, -300}},
        {L"error_self", {0, 1}},
        {L"error_shred", {0, 1, -6}},
        {L"error_shredfree", range(1, -3)},
        {L"error_shredfreenames", {1, -1}},
        {L"error_wipe", range(1, -15)},
        {L"error_shredfreeslack", range(1, -15)},
        {L"error_fileshred", {-100, -1, -3, -4, -5, -10}},
    };
    families[0].codes.insert(families[0].codes.end(), {-99, -284});
    families[6].codes.erase(std::find(families[6].codes.begin(), families[6].codes.end(), 0));
    families[7].codes.erase(std::find(families[7].codes.begin(), families[7].codes.end(), 0));
    families[7].codes.push_back(-20);
    families[4].codes.erase(std::find(families[4].codes.begin(), families[4].codes.end(), 0));
    for (const Family& family : families) {
        for (int code : family.codes) {
            const std::wstring key = family.prefix + std::to_wstring(code);
            EXPECT_NE(TextOf(key), L"<missing>") << Narrow(key);
        }
    }
}

// What printf-style callers would choke on: a '%' that is not one of the formats they fill.
std::vector<std::wstring> Placeholders(std::wstring_view text)
{
    static const std::wstring_view kKnown[] = {L"%I64d", L"%ld", L"%ws", L"%d",
                                               L"%s",    L"%c",  L"%C"};
    std::vector<std::wstring> found;
    for (std::size_t i = text.find(L'%'); i != std::wstring_view::npos;
         i = text.find(L'%', i + 1)) {
        const auto known =
            std::find_if(std::begin(kKnown), std::end(kKnown),
                         [&](std::wstring_view k) { return text.substr(i).starts_with(k); });
        found.emplace_back(known == std::end(kKnown) ? L"<unknown>" : std::wstring(*known));
    }
    return found;
}

TEST(LanguageRows, PlaceholdersAreThoseTheCallersFill)
{
    for (const LanguageRow& row : LanguageRows()) {
        if (row.key == L"dateformat")
            continue;  // a time format, not a printf format
        for (const std::wstring& p : Placeholders(row.text))
            EXPECT_NE(p, L"<unknown>") << Narrow(row.key);
    }
    const std::pair<const wchar_t*, std::vector<std::wstring>> cases[] = {
        {L"progress_total", {L"%d", L"%d"}},    {L"recbin_information", {L"%d", L"%I64d"}},
        {L"recbin_information_win98", {L"%d"}}, {L"recbin_dyn_file_size", {L"%ld"}},
        {L"stream_d_files", {L"%d"}},           {L"stream_shred_d_files", {L"%d"}},
        {L"log_no_logfile", {L"%s"}},           {L"help_file", {L"%s", L"%s"}},
        {L"shredfree_operation", {L"%c"}},      {L"previousversions_shredding_drive", {L"%C"}},
        {L"shred_file_found", {L"%ws"}},        {L"summary_title", {}},
        {L"var_text_summary_11", {}},
    };
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(Placeholders(TextOf(key)), expected) << Narrow(key);
}

TEST(LanguageRows, BitmapNamesCarryTheirFixedNumbers)
{
    const auto names = BitmapNames();
    EXPECT_EQ(names.size(), 11u);
    EXPECT_EQ(BitmapId(names, 1, L"shred_recycle_bin"), 109);
    EXPECT_EQ(BitmapId(names, 1, L"Shred_recycle_bin"), -1);
    EXPECT_EQ(BitmapId(names, 2, L"secure_email"), 212);
    EXPECT_EQ(BitmapId(names, 1, L"decrypt_files_and_folders"), 101);
    EXPECT_EQ(BitmapId(names, 1, L"shred_system_files"), 110);
}

}  // namespace
}  // namespace language
