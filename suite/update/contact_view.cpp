#include "suite/update/contact_view.h"

#include <cstdio>
#include <cwctype>

namespace update {
namespace {

bool IsOne(std::wstring_view status)
{
    return status == L"1";
}

// The text up to and including its first line break; all of it when it has none.
std::wstring FirstLine(const std::wstring& text)
{
    const std::size_t lineBreak = text.find(L'\n');
    return lineBreak == std::wstring::npos ? text : text.substr(0, lineBreak + 1);
}

}  // namespace

bool OffersNewerVersion(const CRefreshkitSettings& settings)
{
    return settings.version > settings.installedVersion;
}

std::wstring FormatStringsOnly(std::wstring_view format, const std::vector<std::wstring>& values)
{
    std::wstring out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L's') {
                if (next < values.size())
                    out += values[next++];
                ++i;
                continue;
            }
            if (format[i + 1] == L'%') {
                out += L'%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

std::wstring SizeInMegabytes(int bytes)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%.02f", static_cast<double>(bytes) / 1048576.0);
    return text;
}

ContactView BuildContactView(const CRefreshkitSettings& settings, const TextLookup& text)
{
    ContactView view;
    view.sizeText = SizeInMegabytes(settings.size);
    if (settings.httpStatus != 200 || !settings.serverMessage.empty() || settings.version.empty()) {
        view.icon = kIconInformation;
        if (settings.httpStatus == -1)
            view.status = text(L"err_status_no_internet");
        else if (settings.httpStatus == 200)
            view.status = settings.updateInfo;
        else
            view.status = text(L"err_status_script_failed");
        view.information = settings.httpStatus == 200 ? settings.serverMessage : std::wstring();
        return view;
    }
    if (!IsOne(settings.updateStatus)) {
        view.icon = kIconInformation;
        view.status = settings.updateInfo;
    } else if (OffersNewerVersion(settings)) {
        view.icon = kIconUpdateAvailable;
        view.checked = true;
        view.status = text(L"contact_update_available");
        view.okEnabled = true;
    } else {
        view.icon = kIconUpToDate;
        view.status = text(L"contact_uptodate");
    }
    view.information =
        FormatStringsOnly(FirstLine(text(L"contact_ex_info")),
                          {settings.releaseDate, settings.installedVersion, settings.version});
    return view;
}

bool AcceptsRow(bool checked, const CRefreshkitSettings& settings,
                const std::function<bool()>& askAfterOk)
{
    if (!checked || !OffersNewerVersion(settings))
        return false;
    return settings.postOkText.empty() || askAfterOk();
}

}  // namespace update
