// The current-language setting in the registry of the current user: the number under "Common"
// and the code under the two program keys that read it as text.
#pragma once

#include "support/language/language_setting.h"

#include <windows.h>

#include <string_view>

namespace language {

// Writes the number, then the code twice; a key that cannot be opened ends the sequence there.
void StoreCurrentLanguage(DWORD number, std::wstring_view code) noexcept;

class RegistryLanguageStore final : public ILanguageSettingStore
{
public:
    std::optional<std::uint32_t> ReadNumber() override;
    void Write(std::uint32_t number, std::wstring_view code) override;
    std::wstring UserDefaultLanguageId() override;
};

}  // namespace language
