// The suite's current-language setting: the language numbers and codes, the default taken from the
// user's locale, and the rule that stores that default on first use. The store is an interface so
// the rule runs against the registry in the library and against a fake in tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace language {

struct LanguageChoice
{
    std::uint32_t number;
    std::wstring_view code;
};

inline constexpr LanguageChoice kNeutralLanguage{1, L"NTV"};

// The locale's default-language identifier as four lower-case hexadecimal digits ("0807"),
// compared exactly; anything unlisted is the neutral language.
LanguageChoice LanguageForLocale(std::wstring_view defaultLanguageId) noexcept;

// The code of a language number; a number the suite does not know reads as the neutral language.
std::wstring_view LanguageCodeForNumber(std::uint32_t number) noexcept;

class ILanguageSettingStore
{
public:
    // The stored number; nothing when it cannot be read (absent, unreadable, longer than 4 bytes).
    virtual std::optional<std::uint32_t> ReadNumber() = 0;
    virtual void Write(std::uint32_t number, std::wstring_view code) = 0;
    virtual std::wstring UserDefaultLanguageId() = 0;

protected:
    ~ILanguageSettingStore() = default;
};

// A stored non-zero number is returned as it stands; otherwise the locale decides and the choice
// is stored so the suite's programs agree from then on.
std::uint32_t ResolveCurrentLanguage(ILanguageSettingStore& store);

}  // namespace language
