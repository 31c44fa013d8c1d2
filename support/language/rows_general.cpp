// The table's opening rows, the product block and the texts shared by the suite's windows.
#include "support/language/language_rows.h"

namespace language::rows {

std::span<const LanguageRow> Head() noexcept
{
    static constexpr LanguageRow kRows[] = {
        {L"Language", L"Deutsch (German)"},
        {L"Language_codes", L"DE"},
        {L"question_install_update",
         L"Neue Programm-Updates sind verfügbar. Wollen Sie jetzt  downloaden und installieren?"},
        {L"OK-button", L"OK"},
        {L"Cancel-button", L"Abbrechen"},
        {L"Browse-button", L"Durchsuchen..."},
        {L"all_files", L"Alle Dateien (*.*)|*.*||"},
        {L"dateformat", L"%d-%m-%Y"},
        {L"Save-button", L"Speichern"},
    };
    return kRows;
}

std::span<const LanguageRow> ProductBlock() noexcept
{
    static constexpr LanguageRow kRows[] = {
        {L"vnt_desktop", L"Vontar Desktop"},
        {L"vnt_fileenc", L"Tollan Dateiverschlüsselung"},
        {L"vnt_shredding", L"Nolvane"},
        {L"company", L"Vontar Security"},
        {L"error_missing_app_path",
         L"Anwendungspfad im Register fehlt. Es können keine Löschprotokolle erstellt werden. "
         L"Bitte installieren Sie die Anwendung neu. (Fehlendes Register: "
         L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vontar Security\\Paths\\App Paths)"},
        {L"www_homepage", L"http://www.vontarsecurity.com"},
        {L"application_year", L"2009"},
        {L"help_file", L"%s\\\\help_%s.html"},
        {L"vnt_desktop_ntv", L"Vontar Desktop"},
        {L"vnt_fileenc_ntv", L"Tollan"},
        {L"vnt_shredding_ntv", L"Nolvane"},
        {L"company_ntv", L"Vontar Security"},
        {L"vnt_recyclebin", L"Papierkorb-Schredder"},
        {L"vnt_recyclebin_ntv", L"Recycle Bin Shredder"},
        {L"vnt_office_ntv", L"Mailvane"},
        {L"vnt_office", L"Mailvane für Outlook"},
        {L"mail_subject", L"Verschlüsselte Datei"},
    };
    return kRows;
}

std::span<const LanguageRow> Features() noexcept
{
    static constexpr LanguageRow kRows[] = {
        {L"files_and_folders", L"Dateien und Ordner"},
        {L"encryption", L"Verschlüsselung"},
        {L"encrypt", L"Verschlüsseln"},
        {L"decryption", L"Entschlüsselung"},
        {L"decrypt", L"Entschlüsseln"},
        {L"self_ext", L"Selbstentpackende Datei"},
        {L"shredding", L"Sicheres Löschen"},
        {L"shred", L"Löschen"},
        {L"recycle_bin", L"Papierkorb"},
        {L"temp_folder", L"Temporärer Ordner"},
        {L"free_disk_space", L"Freier Speicherplatz"},
        {L"shred_files_folders", L"Dateien und Ordner löschen"},
        {L"enc_files", L"Dateien und Ordner verschlüsseln"},
        {L"shred_recbin", L"Papierkorb löschen"},
        {L"shred_tempfolder", L"Temporäre Dateien löschen"},
        {L"shred_freespace", L"Freien Speicherplatz löschen"},
        {L"decrypt_files", L"Dateien und Ordner entschlüsseln"},
        {L"self_extracting", L"Selbstentpackende Datei erstellen"},
        {L"check_new_updates", L"Nach neuen Updates suchen"},
        {L"change_settings", L"Einstellungen ändern"},
        {L"welcome_to", L"Willkommen bei"},
        {L"supply_password", L"Bitte geben Sie ein Passwort ein"},
        {L"enter_password_dec", L"Geben Sie das Passwort zum Entschlüsseln ein:"},
        {L"enter_password_enc", L"Geben Sie das Passwort zum Verschlüsseln ein:"},
        {L"pass_recommendation",
         L"Wir empfehlen ein Passwort mit mindestens acht Zeichen, das Buchstaben, Ziffern und "
         L"Sonderzeichen enthält."},
        {L"hide_input", L"Eingabe verbergen"},
        {L"summary_title", L"Zusammenfassung"},
        {L"view_log", L"Protokoll anzeigen"},
        {L"click_view_log",
         L"Klicken Sie auf \"Protokoll anzeigen\", um das ausführliche Protokoll zu öffnen."},
        {L"shred_logfile", L"Erstellte Protokolldatei beim Schließen löschen"},
        {L"failure_dialog", L"Der Vorgang ist fehlgeschlagen. Keine Datei wurde bearbeitet."},
        {L"success_dialog", L"Der Vorgang wurde erfolgreich abgeschlossen."},
        {L"errors_dialog",
         L"Der Vorgang wurde abgeschlossen, aber einige Dateien konnten nicht bearbeitet werden."},
        {L"progress_title", L"Fortschritt"},
        {L"progress_middle", L"Ihre Dateien werden jetzt bearbeitet."},
        {L"progress_current", L"Aktuelle Datei"},
        {L"progress_total", L"Gesamt (%d von %d Dateien gelöscht)"},
        {L"total_progress", L"Gesamtfortschritt"},
        {L"direct_operation", L"Direkter Vorgang"},
        {L"pause_operation", L"Pause"},
        {L"continue_operation", L"Fortsetzen"},
        {L"abort_operation", L"Abbrechen"},
        {L"aborting_operation", L"Der Vorgang wird abgebrochen..."},
        {L"Volumewipe_folder_found",
         L"Ein Ordner mit Fülldateien einer früheren Löschung des freien Speicherplatzes wurde "
         L"gefunden. Möchten Sie ihn jetzt löschen?"},
    };
    return kRows;
}

}  // namespace language::rows
