#include "suite/update/update_answer.h"

#include <algorithm>
#include <cwctype>

namespace update {
namespace {

// The value of the first "key=" in the body, up to the next carriage return; empty when no carriage
// return follows; nothing when the key is absent.
std::optional<std::wstring> ValueOf(std::wstring_view body, std::wstring_view key)
{
    const std::size_t at = body.find(key);
    if (at == std::wstring_view::npos)
        return std::nullopt;
    const std::size_t start = at + key.size();
    const std::size_t end = body.find(L'\r', start);
    if (end == std::wstring_view::npos)
        return std::wstring();
    return std::wstring(body.substr(start, end - start));
}

void ReadText(std::wstring_view body, std::wstring_view key, std::wstring& field)
{
    if (auto value = ValueOf(body, key))
        field = std::move(*value);
}

void ReadDecoded(std::wstring_view body, std::wstring_view key, std::wstring& field)
{
    if (auto value = ValueOf(body, key))
        field = DecodeAnswerText(*value);
}

// Base-10 conversion as the C library does it: leading blanks and a sign, digits up to the first
// other character, 0 for none; out-of-range values are held at the ends of int.
int DecimalValue(std::wstring_view text)
{
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<std::wint_t>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > 0x80000000LL)
            value = 0x80000000LL;
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

void ReadNumber(std::wstring_view body, std::wstring_view key, int& field)
{
    if (auto value = ValueOf(body, key))
        field = DecimalValue(*value);
}

}  // namespace

int ReadAnswer(std::wstring_view body, CRefreshkitSettings& settings)
{
    settings.answer.assign(body);
    if (body.find(L']') == std::wstring_view::npos) {
        constexpr std::wstring_view kMessage = L"Message: ";
        const std::size_t at = body.find(kMessage);
        if (at != std::wstring_view::npos)
            settings.serverMessage.assign(body.substr(at + kMessage.size()));
        else
            settings.serverMessage.assign(body.substr(std::min<std::size_t>(8, body.size())));
        return kErrorAnswer;
    }
    ReadText(body, L"version=", settings.version);
    ReadNumber(body, L"size=", settings.size);
    ReadText(body, L"access=", settings.downloadUrl);
    if (auto parameters = ValueOf(body, L"parameters="); parameters && !parameters->empty())
        settings.installerParameters = std::move(*parameters);
    ReadText(body, L"filename=", settings.installerFileName);
    ReadDecoded(body, L"updateinfo=", settings.updateInfo);
    ReadDecoded(body, L"updatestatus=", settings.updateStatus);
    ReadDecoded(body, L"extendedinfo=", settings.extendedInfo);
    ReadDecoded(body, L"extendedinfo2=", settings.extendedInfo2);
    ReadText(body, L"releasedate=", settings.releaseDate);
    ReadDecoded(body, L"MessageboxPostOkBtnText=", settings.postOkText);
    ReadDecoded(body, L"MessageboxPostOkBtnCaption=", settings.postOkCaption);
    ReadNumber(body, L"MessageboxPostOkBtnType=", settings.postOkType);
    ReadDecoded(body, L"ExtendedInfoBtnText=", settings.extendedInfoButtonText);
    ReadText(body, L"ExtendedInfoBtnLink=", settings.extendedInfoButtonLink);
    return kAnswerRead;
}

wchar_t ParseHexUnit(std::wstring_view token)
{
    unsigned value = 0;
    for (std::size_t i = 0; i < token.size() && i < 4; ++i) {
        const wchar_t c = token[i];
        unsigned digit;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<unsigned>(c - L'0');
        else if (c >= L'a' && c <= L'f')
            digit = static_cast<unsigned>(c - L'a' + 10);
        else if (c >= L'A' && c <= L'F')
            digit = static_cast<unsigned>(c - L'A' + 10);
        else
            break;
        value = value * 16 + digit;
    }
    return static_cast<wchar_t>(value);
}

std::wstring DecodeAnswerText(std::wstring_view value)
{
    if (value.find(L"%u") == std::wstring_view::npos)
        return std::wstring(value);
    std::wstring decoded;
    std::size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && (value[i] == L'%' || value[i] == L'u'))
            ++i;
        if (i == value.size())
            break;
        std::size_t end = i;
        while (end < value.size() && value[end] != L'%' && value[end] != L'u')
            ++end;
        decoded.push_back(ParseHexUnit(value.substr(i, end - i)));
        i = end;
    }
    return decoded;
}

bool IsNewerVersion(std::wstring_view installed, std::wstring_view offered)
{
    const auto lower = [](wchar_t c) {
        return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    };
    return std::lexicographical_compare(installed.begin(), installed.end(), offered.begin(),
                                        offered.end(),
                                        [&](wchar_t a, wchar_t b) { return lower(a) < lower(b); });
}

std::optional<std::wstring> InstallerFileName(std::wstring_view serverName)
{
    const std::size_t slash = serverName.find_last_of(L"/\\");
    const std::wstring_view name =
        slash == std::wstring_view::npos ? serverName : serverName.substr(slash + 1);
    if (name.empty() || name.find(L':') != std::wstring_view::npos ||
        name.find(L"..") != std::wstring_view::npos)
        return std::nullopt;
    return std::wstring(name);
}

int DownloadPercent(std::uint64_t done, std::int64_t announced)
{
    if (announced <= 0)
        return 0;
    const std::uint64_t total = static_cast<std::uint64_t>(announced);
    if (done >= total)
        return 100;
    // done < total < 2^63: done * 100 could overflow, so divide first where needed.
    return static_cast<int>(done > UINT64_MAX / 100 ? done / (total / 100 + 1)
                                                    : done * 100 / total);
}

}  // namespace update
