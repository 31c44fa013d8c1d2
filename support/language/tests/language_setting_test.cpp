#include "support/language/language_setting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace language {
namespace {

class FakeStore final : public ILanguageSettingStore
{
public:
    std::optional<std::uint32_t> stored;
    std::wstring locale;
    std::vector<std::pair<std::uint32_t, std::wstring>> writes;

    std::optional<std::uint32_t> ReadNumber() override { return stored; }
    void Write(std::uint32_t number, std::wstring_view code) override
    {
        writes.emplace_back(number, std::wstring(code));
        stored = number;
    }
    std::wstring UserDefaultLanguageId() override { return locale; }
};

TEST(LanguageSetting, LocaleDefaultsMapExactly)
{
    const std::pair<const wchar_t*, std::pair<std::uint32_t, const wchar_t*>> cases[] = {
        {L"041d", {2, L"SVE"}}, {L"081d", {2, L"SVE"}},  {L"0407", {3, L"DE"}},
        {L"0807", {3, L"DE"}},  {L"0c07", {3, L"DE"}},   {L"1007", {3, L"DE"}},
        {L"1407", {3, L"DE"}},  {L"0415", {4, L"PLK"}},  {L"0409", {1, L"NTV"}},
        {L"0C07", {1, L"NTV"}},  // upper-case digits are not the same text
        {L"", {1, L"NTV"}},     {L"04070", {1, L"NTV"}},
    };
    for (const auto& [id, expected] : cases) {
        const LanguageChoice choice = LanguageForLocale(id);
        EXPECT_EQ(choice.number, expected.first) << std::wstring(id).size();
        EXPECT_EQ(choice.code, expected.second);
    }
}

TEST(LanguageSetting, StoredNumberWinsAndOnlyTheLocaleDefaultIsWritten)
{
    struct Case
    {
        std::optional<std::uint32_t> stored;
        std::wstring locale;
        std::uint32_t expected;
        bool writes;
    };
    const Case cases[] = {
        {std::nullopt, L"0807", 3, true}, {0u, L"0807", 3, true},  // 0 counts as nothing stored
        {9u, L"0807", 9, false},  // no range check on a stored number
        {2u, L"0415", 2, false},          {std::nullopt, L"0415", 4, true},
        {std::nullopt, L"0409", 1, true},
    };
    for (const Case& c : cases) {
        FakeStore store;
        store.stored = c.stored;
        store.locale = c.locale;
        EXPECT_EQ(ResolveCurrentLanguage(store), c.expected);
        ASSERT_EQ(store.writes.size(), c.writes ? 1u : 0u);
        if (c.writes) {
            EXPECT_EQ(store.writes[0].first, c.expected);
            EXPECT_EQ(store.writes[0].second, LanguageForLocale(c.locale).code);
            // The second call finds the stored choice and writes nothing more.
            EXPECT_EQ(ResolveCurrentLanguage(store), c.expected);
            EXPECT_EQ(store.writes.size(), 1u);
        }
    }
}

TEST(LanguageSetting, CodesOfNumbersWithUnknownNumbersNeutral)
{
    const std::pair<std::uint32_t, const wchar_t*> cases[] = {
        {1, L"NTV"}, {2, L"SVE"}, {3, L"DE"}, {4, L"PLK"}, {0, L"NTV"}, {9, L"NTV"},
    };
    for (const auto& [number, code] : cases)
        EXPECT_EQ(LanguageCodeForNumber(number), code) << number;
}

}  // namespace
}  // namespace language
