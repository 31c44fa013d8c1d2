// Where Trashwipe's settings live and how it reads them: the product title that names the keys,
// the per-user and machine-wide keys of each value, and the template folder. The registry and
// the language texts are interfaces, so the key names are checked without touching either.
#pragma once

#include "suite/recyclebin/shred_choice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trashwipe {

enum class SettingsRoot
{
    User,
    Machine
};

class ISettingsStore
{
public:
    // 0 when the key or value is missing.
    virtual std::uint32_t ReadDword(SettingsRoot root, const std::wstring& key,
                                    std::wstring_view value) = 0;
    // The registry's error code, 0 on success.
    virtual long WriteDword(SettingsRoot root, const std::wstring& key, std::wstring_view value,
                            std::uint32_t number) = 0;
    // Nothing when the value is missing or longer than the 520-byte buffer.
    virtual std::optional<std::wstring> ReadText(SettingsRoot root, const std::wstring& key,
                                                 std::wstring_view value) = 0;

protected:
    ~ISettingsStore() = default;
};

// Language texts by key; language 0 is the first language library.
class ILanguageTexts
{
public:
    virtual std::wstring Text(std::wstring_view key, int languageIndex) = 0;
    virtual int CurrentLanguage() = 0;

protected:
    ~ILanguageTexts() = default;
};

// Selectors of ProductTitle.
inline constexpr int kShredderKeyName = -1;
inline constexpr int kDefaultProductKeyName = -2;

// One run's view of the settings: the product name the caller gave (empty for none), the texts
// and the registry.
class TrashwipeSettings
{
public:
    TrashwipeSettings(std::wstring productOverride, ILanguageTexts& texts, ISettingsStore& store)
        : m_override(std::move(productOverride)), m_texts(texts), m_store(store)
    {}

    const std::wstring& ProductOverride() const noexcept { return m_override; }
    ILanguageTexts& Texts() noexcept { return m_texts; }

    // The caller's product name when it gave one; else the key name of the shredder (-1), of the
    // suite's default product (below -1), or the display title in that language.
    std::wstring ProductTitle(int selector);
    std::wstring Company(int languageIndex = 0);

    // The product of ShredAlgo is the caller's text when given (also empty), else the default
    // product's key name.
    ShredAlgorithmId ReadShredAlgo(const std::wstring* product);
    bool ReadShredLog();
    // Written with the company in language 0, the same key it is read from.
    void WriteShredLog(bool shred);
    bool ReadHideSummary(int languageIndex);
    bool ReadLeavePV();
    void WriteLeavePV(bool leave);

    // The template folder, ending in exactly one backslash; `fallbackInstallFolder` when the
    // machine's TemplatePath is missing.
    std::wstring TemplateFolder(const std::wstring& productTitle,
                                const std::wstring& fallbackInstallFolder);
    std::optional<std::wstring> ReadLogPath(const std::wstring& productTitle);

    std::wstring SettingsKey(int languageIndex);
    std::wstring ShreddingKey();
    std::wstring MachineSettingsKey(const std::wstring& productTitle);

private:
    std::wstring m_override;
    ILanguageTexts& m_texts;
    ISettingsStore& m_store;
};

// `folder` + "\" with every run of backslashes made one, except a network path's leading pair.
std::wstring NormalizeFolder(std::wstring_view folder);

}  // namespace trashwipe
