// Texts of the main program's e-mail hand-off, About, Settings and Update pages.
#include "support/language/language_rows.h"

namespace language::rows {

std::span<const LanguageRow> MainWindow() noexcept
{
    static constexpr LanguageRow kRows[] = {
        {L"mail_not_supported_dir",
         L"Ordner können nicht per E-Mail versendet werden. Bitte wählen Sie einzelne Dateien."},
        {L"mail_.exe", L"Als selbstentpackende Datei (.exe) versenden"},
        {L"mail_.zip", L"Als ZIP-Archiv (.zip) versenden"},
        {L"mail_zip_error", L"Das ZIP-Archiv konnte nicht erstellt werden."},
        {L"mail_info_dlg_starting_mail_client_title", L"E-Mail-Programm wird gestartet"},
        {L"mail_info_dlg_starting_mail_client",
         L"Ihr E-Mail-Programm wird gestartet. Bitte warten Sie einen Moment..."},
        {L"main_about_title", L"Info"},
        {L"main_about_product_name", L"Produktname:"},
        {L"main_about_program_version", L"Programmversion:"},
        {L"main_settings_title", L"Einstellungen"},
        {L"main_settings_middle", L"Passen Sie das Programm an Ihre Bedürfnisse an."},
        {L"main_update_title", L"Update"},
        {L"main_update_middle", L"Prüfen Sie, ob eine neuere Version des Programms verfügbar ist."},
        {L"txt_information", L"Information"},
        {L"txt_description", L"Beschreibung"},
        {L"settings_box_log_settings", L"Protokolleinstellungen"},
        {L"settings_log_settings_text",
         L"Nach jedem Vorgang wird ein Protokoll erstellt, das Sie jederzeit ansehen oder sicher "
         L"löschen können."},
        {L"settings_log_settings_btn_view_all_logfiles", L"Alle Protokolle anzeigen"},
        {L"settings_log_settings_btn_shred_all_logfiles", L"Alle Protokolle löschen"},
        {L"settings_box_language", L"Sprache"},
        {L"settings_box_misc", L"Verschiedenes"},
        {L"settings_misc_chkbox_show_splash", L"Startbildschirm anzeigen"},
        {L"settings_general", L"Allgemein"},
        {L"settings_encryption", L"Verschlüsselung"},
        {L"settings_shredding", L"Sicheres Löschen"},
        {L"settings_encryption_group", L"Verschlüsselungseinstellungen"},
        {L"settings_shredding_group", L"Löscheinstellungen"},
        {L"settings_language", L"Sprache"},
        {L"settings_language_text", L"Wählen Sie die Sprache der Benutzeroberfläche:"},
        {L"settings_logfiles_text", L"Protokolldateien"},
        {L"settings_enc_algorithm", L"Verschlüsselungsalgorithmus"},
        {L"settings_enc_algorithm_rijndael", L"Rijndael (AES)"},
        {L"settings_enc_algorithm_blowfish", L"Blowfish"},
        {L"settings_enc_algorithm_twofish", L"Twofish"},
        {L"settings_enc_algorithm_description_rijndael",
         L"Rijndael ist der Advanced Encryption Standard (AES) der US-Regierung: eine schnelle "
         L"und sichere Blockverschlüsselung mit 256-Bit-Schlüssel."},
        {L"settings_enc_algorithm_description_blowfish",
         L"Blowfish ist eine bewährte, schnelle Blockverschlüsselung von Bruce Schneier mit "
         L"Schlüsseln bis 448 Bit."},
        {L"settings_enc_algorithm_description_twofish",
         L"Twofish ist der Nachfolger von Blowfish und war Finalist im AES-Wettbewerb; er "
         L"verschlüsselt mit 256-Bit-Schlüssel."},
        {L"settings_enc_algorithm_compress", L"Dateien vor dem Verschlüsseln komprimieren"},
        {L"settings_enc_algorithm_more_alternatives", L"Weitere Algorithmen..."},
        {L"settings_shred_algorithm", L"Löschalgorithmus"},
        {L"settings_shred_algorithm_gutman", L"Peter Gutmanns Algorithmus (35 Durchläufe)"},
        {L"settings_shred_algorithm_dod", L"DOD 5220.22-M (3 Durchläufe)"},
        {L"settings_shred_algorithm_random", L"Zufallsdaten (1 Durchlauf)"},
        {L"settings_shred_passes", L"Anzahl der Durchläufe:"},
        {L"settings_language_bad_setting",
         L"Die gewählte Sprache ist nicht installiert. Es wird die Standardsprache verwendet."},
        {L"settings_language_restart",
         L"Die neue Sprache wird nach einem Neustart des Programms verwendet."},
        {L"settings_update", L"Update"},
        {L"settings_update_automatic", L"Automatisch nach Updates suchen"},
        {L"settings_update_text",
         L"Das Programm kann regelmäßig prüfen, ob neue Updates verfügbar sind."},
        {L"settings_update_activate", L"Automatische Update-Suche aktivieren"},
        {L"settings_update_day", L"Täglich"},
        {L"settings_update_week", L"Wöchentlich"},
        {L"settings_update_month", L"Monatlich"},
    };
    return kRows;
}

}  // namespace language::rows
