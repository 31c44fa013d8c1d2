// Language texts and a registry for the tests: every text is "<key>@<language>" unless set, and
// the registry records each key it is asked for.
#pragma once

#include "suite/recyclebin/trashwipe_settings.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace trashwipe::testing {

class FakeTexts final : public ILanguageTexts
{
public:
    std::wstring Text(std::wstring_view key, int languageIndex) override
    {
        auto found = texts.find({std::wstring(key), languageIndex});
        if (found != texts.end())
            return found->second;
        auto any = texts.find({std::wstring(key), -1});
        if (any != texts.end())
            return any->second;
        return std::wstring(key) + L"@" + std::to_wstring(languageIndex);
    }
    int CurrentLanguage() override { return current; }

    // Language -1 answers for every language.
    std::map<std::pair<std::wstring, int>, std::wstring> texts;
    int current = 0;
};

class FakeStore final : public ISettingsStore
{
public:
    struct Access
    {
        SettingsRoot root;
        std::wstring key;
        std::wstring value;
    };
    std::uint32_t ReadDword(SettingsRoot root, const std::wstring& key,
                            std::wstring_view value) override
    {
        reads.push_back({root, key, std::wstring(value)});
        auto found = dwords.find(key + L"|" + std::wstring(value));
        return found == dwords.end() ? 0 : found->second;
    }
    long WriteDword(SettingsRoot root, const std::wstring& key, std::wstring_view value,
                    std::uint32_t number) override
    {
        writes.push_back({root, key, std::wstring(value)});
        dwords[key + L"|" + std::wstring(value)] = number;
        return 0;
    }
    std::optional<std::wstring> ReadText(SettingsRoot root, const std::wstring& key,
                                         std::wstring_view value) override
    {
        reads.push_back({root, key, std::wstring(value)});
        auto found = strings.find(key + L"|" + std::wstring(value));
        if (found == strings.end())
            return std::nullopt;
        return found->second;
    }

    std::map<std::wstring, std::uint32_t> dwords;
    std::map<std::wstring, std::wstring> strings;
    std::vector<Access> reads;
    std::vector<Access> writes;
};

}  // namespace trashwipe::testing
