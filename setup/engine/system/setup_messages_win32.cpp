#include "setup/engine/system/setup_messages_win32.h"

#include <windows.h>

#include <cstdlib>

#include "setup/engine/script/setup_messages.h"

namespace setup::engine {

int GetLocaleLanguageId(bool user, bool defaultLanguage)
{
    char text[16] = {};
    const LCID locale = user ? LOCALE_USER_DEFAULT : LOCALE_SYSTEM_DEFAULT;
    const LCTYPE item = defaultLanguage ? LOCALE_IDEFAULTLANGUAGE : LOCALE_ILANGUAGE;
    if (::GetLocaleInfoA(locale, item, text, sizeof(text)) <= 0)
        return 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 16);
    return end != text ? static_cast<int>(value) : 0;
}

std::string SystemEnglishLanguageName(int lcid)
{
    char name[128] = {};
    if (::GetLocaleInfoA(static_cast<LCID>(lcid), LOCALE_SENGLANGUAGE, name, sizeof(name)) <= 0)
        return {};
    return name;
}

std::string UserLanguageName()
{
    return LanguageNameOfLcid(GetLocaleLanguageId(true, false), SystemEnglishLanguageName);
}

}  // namespace setup::engine
