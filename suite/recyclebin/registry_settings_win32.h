// Trashwipe's settings in the registry: DWORDs read into four bytes (a missing or shorter value
// reads as 0) and strings through the suite's terminated 520-byte read.
#pragma once

#include "suite/recyclebin/trashwipe_settings.h"

namespace trashwipe {

class RegistrySettingsStore final : public ISettingsStore
{
public:
    std::uint32_t ReadDword(SettingsRoot root, const std::wstring& key,
                            std::wstring_view value) override;
    long WriteDword(SettingsRoot root, const std::wstring& key, std::wstring_view value,
                    std::uint32_t number) override;
    std::optional<std::wstring> ReadText(SettingsRoot root, const std::wstring& key,
                                         std::wstring_view value) override;
};

}  // namespace trashwipe
