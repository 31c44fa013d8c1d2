// The user's language as Windows reports it, for choosing texts and translations.
#pragma once

#include <string>

namespace setup::engine {

// The locale's language identifier (LOCALE_IDEFAULTLANGUAGE or LOCALE_ILANGUAGE of the user or
// system default locale, read as hexadecimal); 0 on any failure.
int GetLocaleLanguageId(bool user, bool defaultLanguage);
// The system's English name of a language identifier (LOCALE_SENGLANGUAGE); empty on failure.
std::string SystemEnglishLanguageName(int lcid);
// The table name of the user's language, as SetupMessages::Load matches sections with it.
std::string UserLanguageName();

}  // namespace setup::engine
