// What the update information dialog shows for the installed product: the row's icon, check box
// and status, the information text, the size, and whether OK may be pressed. Texts come through a
// lookup by language key.
#pragma once

#include "suite/update/refreshkit_settings.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace update {

inline constexpr int kIconUpToDate = 4010;
inline constexpr int kIconInformation = 4011;
inline constexpr int kIconUpdateAvailable = 4012;

using TextLookup = std::function<std::wstring(std::wstring_view key)>;

struct ContactView
{
    int icon = kIconInformation;
    bool checked = false;
    std::wstring status;
    std::wstring information;
    std::wstring sizeText;
    bool okEnabled = false;
};

ContactView BuildContactView(const CRefreshkitSettings& settings, const TextLookup& text);

// The offered version sorts after the installed one, character codes compared with case.
bool OffersNewerVersion(const CRefreshkitSettings& settings);

// A translated text with its "%s" places filled in order ("%%" gives "%"); any other "%" sequence
// stays as written, so a text can never read arguments that are not there.
std::wstring FormatStringsOnly(std::wstring_view format, const std::vector<std::wstring>& values);

// The size in MiB with two decimals, as "%.02f" gives it.
std::wstring SizeInMegabytes(int bytes);

// Whether OK ends the dialog for a row: it is checked and newer, and the server's question after
// OK, when there is one, is answered Yes.
bool AcceptsRow(bool checked, const CRefreshkitSettings& settings,
                const std::function<bool()>& askAfterOk);

}  // namespace update
