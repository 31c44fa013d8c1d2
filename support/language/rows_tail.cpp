// The rows added last: algorithms 11 and 12, previous versions, secure e-mail and the rest.
#include "support/language/language_rows.h"

namespace language::rows {

std::span<const LanguageRow> Tail() noexcept
{
    static constexpr LanguageRow kRows[] = {
        {L"shred_algo_11", L"National Security Agency (NSA 130-1)"},
        {L"shred_algo_description_11",
         L"Die Daten werden in drei Durchläufen überschrieben: zweimal mit Zufallsdaten und "
         L"zuletzt mit Nullen."},
        {L"shred_algo_short_11", L"National Security Agency"},
        {L"shred_algo_passes_11", L"National Security Agency (3x überschreiben)"},
        {L"shred_algo_12", L"U.S. Department of Defense Sanitizing (DOD 5220.22-M ECE)"},
        {L"shred_algo_description_12",
         L"Die Daten werden in sieben Durchläufen überschrieben: zweimal nach DOD 5220.22-M mit "
         L"einem festen Zeichen, dessen Komplement und Zufallsdaten, dazwischen ein weiterer "
         L"Durchlauf mit Zufallsdaten."},
        {L"shred_algo_short_12", L"DOD 5220.22-M ECE"},
        {L"shred_algo_passes_12", L"DOD 5220.22-M ECE (7x überschreiben)"},
        {L"enc_dialog_enc_files_folders_text", L"Zielordner:"},
        {L"enc_dialog_enc_files_folders_incorrect_folder",
         L"Der angegebene Zielordner ist ungültig. Bitte wählen Sie einen anderen Ordner."},
        {L"windowstempfiles", L"Temporäre Windows-Dateien"},
        {L"previousversions", L"Ältere Versionen"},
        {L"previousversions_text",
         L"Windows bewahrt ältere Versionen Ihrer Dateien in Schattenkopien auf. Darin können "
         L"gelöschte Dateien weiterhin enthalten sein. Möchten Sie die älteren Versionen auch "
         L"löschen?"},
        {L"previousversions_remove_all", L"Alle älteren Versionen entfernen"},
        {L"previousversions_shred", L"Ältere Versionen löschen"},
        {L"previousversions_leave", L"Ältere Versionen behalten"},
        {L"previousversions_shredding_drive", L"Ältere Versionen werden auf %C gelöscht:"},
        {L"previousversions_shredding_wait",
         L"Bitte warten Sie, bis die älteren Versionen gelöscht sind..."},
        {L"previousversions_header", L"Ältere Versionen von Dateien"},
        {L"previousversions_setting", L"Nach älteren Versionen nicht mehr fragen"},
        {L"previousversions_log", L"Ältere Versionen gelöscht:"},
        {L"shred_file_found",
         L"Das Programm hat die Datei %ws erkannt. Diese Datei ist wahrscheinlich durch das "
         L"Programm erstellt.\n\nMöchten Sie die Datei löschen?"},
        {L"encryptor", L"Verschlüsselung"},
        {L"shredder", L"Schredder"},
        {L"wait_recycle_bin_text", L"Der Inhalt des Papierkorbs wird gelesen. Bitte warten..."},
        {L"wait_recycle_bin_title", L"Papierkorb"},
        {L"mb/s", L"MB/s"},
        {L"secure_email", L"Sichere E-Mail"},
        {L"enc_main_secure_email_middle",
         L"Versenden Sie Dateien verschlüsselt per E-Mail, damit nur der Empfänger mit dem "
         L"Passwort sie lesen kann."},
        {L"secure_email_dialog_text",
         L"Wählen Sie die Dateien aus, die verschlüsselt per E-Mail versendet werden sollen."},
        {L"secure_email_select", L"Dateien auswählen"},
        {L"secure_email_header", L"Sichere E-Mail versenden"},
        {L"error_enc-21", L"Die Datei ist zu groß für die Verschlüsselung."},
        {L"error_enc", L"Bei der Verschlüsselung ist ein Fehler aufgetreten."},
        {L"remove_selected", L"Auswahl entfernen"},
    };
    return kRows;
}

}  // namespace language::rows
