// Texts of the main program's encryption and shredding pages and their dialogs.
#include "support/language/language_rows.h"

namespace language::rows {

std::span<const LanguageRow> Dialogs() noexcept
{
    static constexpr LanguageRow kRows[] = {
        {L"enc_main_welcome_middle",
         L"Schützen Sie Ihre vertraulichen Dateien und Ordner durch starke Verschlüsselung."},
        {L"enc_main_welcome_down", L"Bitte wählen Sie eine der folgenden Aufgaben:"},
        {L"enc_main_enc_files_folders_title", L"Dateien und Ordner verschlüsseln"},
        {L"enc_main_enc_files_folders_middle",
         L"Verschlüsseln Sie Dateien und Ordner, damit nur Personen mit dem richtigen Passwort "
         L"sie öffnen können."},
        {L"enc_main_enc_files_folders_tip",
         L"Tipp: Sie können Dateien und Ordner auch mit der rechten Maustaste im Windows-Explorer "
         L"verschlüsseln."},
        {L"enc_dialog_enc_files_folders_title", L"Dateien und Ordner verschlüsseln"},
        {L"enc_dialog_enc_files_folders_middle",
         L"Wählen Sie die Dateien und Ordner aus, die verschlüsselt werden sollen."},
        {L"enc_dialog_enc_files_folders_browse_files_title",
         L"Dateien zum Verschlüsseln auswählen"},
        {L"enc_dialog_enc_files_folders_browse_folder_info",
         L"Wählen Sie den Ordner aus, der verschlüsselt werden soll:"},
        {L"enc_main_dec_files_folders_title", L"Dateien und Ordner entschlüsseln"},
        {L"enc_main_dec_files_folders_middle",
         L"Entschlüsseln Sie verschlüsselte Dateien und Ordner mit Ihrem Passwort."},
        {L"enc_main_dec_files_folders_tip",
         L"Tipp: Ein Doppelklick auf eine verschlüsselte Datei öffnet sie ebenfalls zum "
         L"Entschlüsseln."},
        {L"enc_dialog_dec_files_folders_title", L"Dateien und Ordner entschlüsseln"},
        {L"enc_dialog_dec_files_folders_middle",
         L"Wählen Sie die verschlüsselten Dateien aus und geben Sie den Zielordner an."},
        {L"enc_dialog_dec_files_folders_chkopen", L"Dateien nach dem Entschlüsseln öffnen"},
        {L"enc_dialog_dec_files_folders_browse_files_title",
         L"Dateien zum Entschlüsseln auswählen"},
        {L"enc_dialog_dec_files_folders_browse_folder_info",
         L"Wählen Sie den Ordner aus, in dem die entschlüsselten Dateien gespeichert werden "
         L"sollen:"},
        {L"enc_dialog_dec_files_folders_settings_shred_files",
         L"Verschlüsselte Dateien nach dem Entschlüsseln sicher löschen"},
        {L"enc_dialog_dec_files_folders_settings_delete_files",
         L"Verschlüsselte Dateien nach dem Entschlüsseln löschen"},
        {L"enc_dialog_dec_files_folders_settings_leave_files",
         L"Verschlüsselte Dateien unverändert lassen"},
        {L"enc_dialog_dec_files_folders_text", L"Zielordner:"},
        {L"enc_dialog_dec_files_folders_incorrect_folder",
         L"Der angegebene Zielordner ist ungültig. Bitte wählen Sie einen anderen Ordner."},
        {L"enc_main_self_title", L"Selbstentpackende Datei erstellen"},
        {L"enc_main_self_middle",
         L"Erstellen Sie eine verschlüsselte, selbstentpackende Datei, die der Empfänger ohne "
         L"zusätzliche Software mit dem Passwort öffnen kann."},
        {L"enc_dialog_self_title", L"Selbstentpackende Datei erstellen"},
        {L"enc_dialog_self_info",
         L"Wählen Sie die Dateien aus und geben Sie den Namen der selbstentpackenden Datei an."},
        {L"enc_dialog_self_browse_file_title", L"Selbstentpackende Datei speichern unter"},
        {L"shred_main_welcome_middle",
         L"Löschen Sie vertrauliche Daten so, dass sie nicht wiederhergestellt werden können."},
        {L"shred_main_welcome_down", L"Bitte wählen Sie eine der folgenden Aufgaben:"},
        {L"shred_main_files_folders_title", L"Dateien und Ordner löschen"},
        {L"shred_main_files_folders_middle",
         L"Überschreiben und löschen Sie Dateien und Ordner, sodass sie nicht wiederhergestellt "
         L"werden können."},
        {L"shred_dialog_files_folders_title", L"Dateien und Ordner löschen"},
        {L"shred_dialog_files_folders_middle",
         L"Wählen Sie die Dateien und Ordner aus, die sicher gelöscht werden sollen."},
        {L"shred_dialog_files_folders_browse_files_title", L"Dateien zum Löschen auswählen"},
        {L"shred_dialog_files_folders_browse_folder_info",
         L"Wählen Sie den Ordner aus, der sicher gelöscht werden soll:"},
        {L"shred_dialog_files_folders_settings_gutman",
         L"Peter Gutmanns Algorithmus (35 Durchläufe)"},
        {L"shred_dialog_files_folders_settings_dod", L"DOD 5220.22-M (3 Durchläufe)"},
        {L"shred_dialog_files_folders_settings_random", L"Zufallsdaten (1 Durchlauf)"},
        {L"shred_main_recycle_bin_title", L"Papierkorb löschen"},
        {L"shred_main_recycle_bin_middle",
         L"Löschen Sie den Inhalt des Papierkorbs so, dass er nicht wiederhergestellt werden "
         L"kann."},
        {L"shred_main_temp_folder_title", L"Temporäre Dateien löschen"},
        {L"shred_main_temp_folder_middle",
         L"Löschen Sie temporäre Dateien von Windows und dem Internet sicher."},
        {L"shred_main_temp_folder_question",
         L"Möchten Sie die temporären Dateien jetzt sicher löschen?"},
        {L"shred_main_temp_folder_empty", L"Der temporäre Ordner ist leer."},
        {L"shred_main_temp_folder_tip",
         L"Tipp: Schließen Sie alle Programme, bevor Sie temporäre Dateien löschen."},
        {L"shred_main_free_disk_space_title", L"Freien Speicherplatz löschen"},
        {L"shred_main_free_disk_space_middle",
         L"Überschreiben Sie den freien Speicherplatz eines Laufwerks, damit bereits gelöschte "
         L"Dateien nicht wiederhergestellt werden können."},
    };
    return kRows;
}

}  // namespace language::rows
