// Texts of the free-space wiping dialog and the names and descriptions of shred algorithms 0 to 10
// (11 and 12 joined the product later and stand near the end of the table).
#include "support/language/language_rows.h"

namespace language::rows {

std::span<const LanguageRow> FreeSpace() noexcept
{
    static constexpr LanguageRow kRows[] = {
        {L"shred_dialog_shred_free_space_middle",
         L"Wählen Sie die Laufwerke aus, deren freier Speicherplatz überschrieben werden soll."},
        {L"shred_dialog_shred_free_space_shred_algo_intro",
         L"Wählen Sie den Algorithmus, mit dem der freie Speicherplatz überschrieben wird:"},
        {L"shred_dialog_shred_free_space_btn_schedule", L"Planen..."},
        {L"shred_dialog_shred_free_space_operation_1", L"Freien Speicherplatz löschen"},
        {L"shred_dialog_shred_free_space_operation_2", L"Dateireste (Slack) löschen"},
        {L"shred_dialog_shred_free_space_operation_3", L"Einträge der Dateitabelle löschen"},
        {L"shred_dialog_shred_free_space_drives_name", L"Laufwerk"},
        {L"shred_dialog_shred_free_space_drives_total", L"Gesamtgröße"},
        {L"shred_dialog_shred_free_space_drives_free_space", L"Freier Speicher"},
        {L"shred_dialog_shred_free_space_progress_overall_group", L"Gesamtfortschritt"},
        {L"shred_dialog_shred_free_space_progress_operation_group", L"Aktueller Vorgang"},
        {L"shred_dialog_shred_free_space_progress_shred_free_disk",
         L"Freien Speicherplatz löschen"},
        {L"shred_dialog_shred_free_space_progress_shred_slack", L"Dateireste (Slack) löschen"},
        {L"shred_dialog_shred_free_space_progress_shred_file_table",
         L"Einträge der Dateitabelle löschen"},
        {L"shred_dialog_shred_free_space_progress_current_progress", L"Aktueller Fortschritt"},
        {L"shred_dialog_shred_free_space_progress_est_time", L"Geschätzte Restzeit:"},
        {L"shred_dialog_shred_free_space_progress_est_hours", L"Stunden"},
        {L"shred_dialog_shred_free_space_progress_est_minutes", L"Minuten"},
        {L"shred_dialog_shred_free_space_progress_est_seconds", L"Sekunden"},
        {L"shred_dialog_shred_free_space_progress_shred_free_space_on",
         L"Freier Speicherplatz wird gelöscht auf Laufwerk"},
        {L"shred_dialog_shred_free_space_progress_shredding_algorithm", L"Löschalgorithmus:"},
    };
    return kRows;
}

std::span<const LanguageRow> Algorithms() noexcept
{
    static constexpr LanguageRow kRows[] = {
        {L"shred_algo_0", L"HMG Infosec Standard 5, Basisanforderungen"},
        {L"shred_algo_1", L"HMG Infosec Standard 5, Erhöhte Anforderungen"},
        {L"shred_algo_2", L"Peter Gutmanns Algorithmus"},
        {L"shred_algo_3", L"U.S. Department of Defense Sanitizing (DOD 5220.22-M)"},
        {L"shred_algo_4", L"Bruce Schneiers Algorithmus"},
        {L"shred_algo_5", L"Navy Staff Office Publication (NAVSO P-5239-26) für RLL"},
        {L"shred_algo_6", L"The National Computer Security Center (NCSC-TG-025)"},
        {L"shred_algo_7", L"Air Force System Security Instruction 5020"},
        {L"shred_algo_8", L"US Army AR380-19"},
        {L"shred_algo_9", L"Deutscher Standard VSITR"},
        {L"shred_algo_10", L"OPNAVINST 5239.1A"},
        {L"shred_algo_description_0",
         L"Die Daten werden in einem Durchlauf mit Nullen überschrieben. Schnell, für den "
         L"alltäglichen Gebrauch."},
        {L"shred_algo_description_1",
         L"Die Daten werden in drei Durchläufen überschrieben: mit einem festen Muster, mit dessen "
         L"Komplement und zuletzt mit Zufallsdaten."},
        {L"shred_algo_description_2",
         L"Die Daten werden in 35 Durchläufen überschrieben: vier Durchläufe mit Zufallsdaten, 27 "
         L"Durchläufe mit besonderen Bitmustern für ältere Festplatten und vier weitere Durchläufe "
         L"mit Zufallsdaten. Sehr sicher, aber langsam."},
        {L"shred_algo_description_3",
         L"Die Daten werden in drei Durchläufen überschrieben: mit einem festen Zeichen, mit "
         L"dessen "
         L"Komplement und zuletzt mit Zufallsdaten."},
        {L"shred_algo_description_4",
         L"Die Daten werden in sieben Durchläufen überschrieben: zuerst mit Einsen, dann mit "
         L"Nullen "
         L"und anschließend fünfmal mit Zufallsdaten."},
        {L"shred_algo_description_5",
         L"Die Daten werden in drei Durchläufen überschrieben: zweimal mit festen Mustern für "
         L"RLL-codierte Datenträger und zuletzt mit Zufallsdaten."},
        {L"shred_algo_description_6",
         L"Die Daten werden in vier Durchläufen überschrieben: dreimal mit festen Zeichen und "
         L"zuletzt mit Zufallsdaten."},
        {L"shred_algo_description_7",
         L"Die Daten werden in vier Durchläufen überschrieben: mit Nullen, mit Einsen, erneut mit "
         L"Nullen und zuletzt mit einem festen Zeichen."},
        {L"shred_algo_description_8",
         L"Die Daten werden in drei Durchläufen überschrieben: zuerst mit Zufallsdaten, dann mit "
         L"einem festen Zeichen und zuletzt mit dessen Komplement."},
        {L"shred_algo_description_9",
         L"Die Daten werden in sieben Durchläufen überschrieben: dreimal abwechselnd mit Nullen "
         L"und Einsen und zuletzt mit Zufallsdaten."},
        {L"shred_algo_description_10",
         L"Die Daten werden in drei Durchläufen überschrieben: mit Nullen, mit einem festen "
         L"Zeichen und zuletzt mit Zufallsdaten."},
        {L"shred_algo_short_0", L"HMG Infosec, Basis"},
        {L"shred_algo_short_1", L"HMG Infosec, Erhöht"},
        {L"shred_algo_short_2", L"Peter Gutmanns Algorithmus"},
        {L"shred_algo_short_3", L"DOD 5220.22-M"},
        {L"shred_algo_short_4", L"Bruce Schneiers Algorithmus"},
        {L"shred_algo_short_5", L"Navy Staff Office Publ."},
        {L"shred_algo_short_6", L"NCS Center"},
        {L"shred_algo_short_7", L"Air Force System Security"},
        {L"shred_algo_short_8", L"US Army"},
        {L"shred_algo_short_9", L"Deutscher Standard VSITR"},
        {L"shred_algo_short_10", L"OPNAVINST"},
        {L"shred_algo_passes_0", L"HMG Infosec, Basis (1x überschreiben)"},
        {L"shred_algo_passes_1", L"HMG Infosec, Erhöht (3x überschreiben)"},
        {L"shred_algo_passes_2", L"Peter Gutmanns Algorithmus (35x überschreiben)"},
        {L"shred_algo_passes_3", L"DOD 5220.22-M (3x überschreiben)"},
        {L"shred_algo_passes_4", L"Bruce Schneiers Algorithmus (7x überschreiben)"},
        {L"shred_algo_passes_5", L"Navy Staff Office Publ. (3x überschreiben)"},
        {L"shred_algo_passes_6", L"NCS Center (4x überschreiben)"},
        {L"shred_algo_passes_7", L"Air Force System Security (4x überschreiben)"},
        {L"shred_algo_passes_8", L"US Army (3x überschreiben)"},
        {L"shred_algo_passes_9", L"Deutscher Standard VSITR (7x überschreiben)"},
        {L"shred_algo_passes_10", L"OPNAVINST (3x überschreiben)"},
    };
    return kRows;
}

}  // namespace language::rows
