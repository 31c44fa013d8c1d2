#include "support/language/language_setting.h"

namespace language {
namespace {

struct LocaleEntry
{
    std::wstring_view id;
    LanguageChoice choice;
};

constexpr LanguageChoice kSwedish{2, L"SVE"};
constexpr LanguageChoice kGerman{3, L"DE"};
constexpr LanguageChoice kPolish{4, L"PLK"};

constexpr LocaleEntry kLocaleDefaults[] = {
    {L"041d", kSwedish}, {L"081d", kSwedish}, {L"0407", kGerman}, {L"0807", kGerman},
    {L"0c07", kGerman},  {L"1007", kGerman},  {L"1407", kGerman}, {L"0415", kPolish},
};

}  // namespace

LanguageChoice LanguageForLocale(std::wstring_view defaultLanguageId) noexcept
{
    for (const LocaleEntry& entry : kLocaleDefaults) {
        if (entry.id == defaultLanguageId)
            return entry.choice;
    }
    return kNeutralLanguage;
}

std::wstring_view LanguageCodeForNumber(std::uint32_t number) noexcept
{
    for (const LanguageChoice& choice : {kSwedish, kGerman, kPolish}) {
        if (choice.number == number)
            return choice.code;
    }
    return kNeutralLanguage.code;
}

std::uint32_t ResolveCurrentLanguage(ILanguageSettingStore& store)
{
    if (const auto stored = store.ReadNumber(); stored && *stored != 0)
        return *stored;
    const LanguageChoice choice = LanguageForLocale(store.UserDefaultLanguageId());
    store.Write(choice.number, choice.code);
    return choice.number;
}

}  // namespace language
