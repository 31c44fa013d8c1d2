#include "suite/update/update_request.h"

#include "suite/update/update_answer.h"

#include <cstdio>

namespace update {
namespace {

void AppendPercentEncoded(std::wstring& out, wchar_t c)
{
    switch (c) {
        case L'&':
            out += L"%26";
            break;
        case L'#':
            out += L"%23";
            break;
        case L'+':
            out += L"%2B";
            break;
        case L'%':
            out += L"%25";
            break;
        default:
            out.push_back(c);
    }
}

std::wstring PercentEncoded(std::wstring_view text)
{
    std::wstring out;
    for (wchar_t c : text)
        AppendPercentEncoded(out, c);
    return out;
}

}  // namespace

std::wstring EscapeQueryText(std::wstring_view text, bool fitsAnsiCodePage)
{
    if (fitsAnsiCodePage)
        return PercentEncoded(text);
    std::wstring out;
    for (wchar_t c : text) {
        wchar_t unit[8];
        std::swprintf(unit, 8, L"%%u%04x", static_cast<unsigned>(c) & 0xFFFF);
        out += unit;
    }
    return out;
}

std::wstring BuildRequestUrl(std::wstring_view baseUrl, const CRefreshkitSettings& settings,
                             IUpdateEnvironment& environment)
{
    const auto escaped = [&](const std::wstring& text) {
        return EscapeQueryText(text, environment.FitsAnsiCodePage(text));
    };
    std::wstring url(baseUrl);
    url += L"?productid=" + PercentEncoded(settings.productId);
    url += L"&ver=" + PercentEncoded(settings.installedVersion);
    url += L"&name=" + escaped(settings.userName);
    url += L"&email=" + escaped(settings.email);
    url += L"&company=" + escaped(settings.company);
    url += L"&vntlang=" + PercentEncoded(environment.LanguageCode());
    url += L"&lang=" + environment.UserLanguageId();
    url += L"&os=" + environment.OsVersionText();
    return url;
}

int RunUpdateRequest(std::wstring_view baseUrl, unsigned timeoutMs, CRefreshkitSettings& settings,
                     IUpdateEnvironment& environment, IHttpGet& http)
{
    settings.requestUrl = BuildRequestUrl(baseUrl, settings, environment);
    settings.httpStatus = -1;
    HttpAnswer answer = http.Get(settings.requestUrl, timeoutMs);
    if (answer.outcome == HttpAnswer::Outcome::BadUrl)
        return kRequestFailed;
    if (answer.outcome == HttpAnswer::Outcome::SendFailed) {
        settings.connectionError = answer.error.substr(0, 255);
        return kRequestFailed;
    }
    settings.httpStatus = answer.status;
    if (answer.status != 200)
        return kErrorAnswer;
    const int result = ReadAnswer(environment.FromAnsiCodePage(answer.body), settings);
    if (result != kAnswerRead)
        return result;
    const auto name = InstallerFileName(settings.installerFileName);
    // A name that could leave the temporary folder gets no local path, so nothing is downloaded.
    settings.localInstallerPath = name ? environment.TempFolder() + *name : std::wstring();
    return kAnswerRead;
}

int SilentCheckResult(int requestResult, const CRefreshkitSettings& settings)
{
    if (requestResult == kErrorAnswer)
        return -2;
    if (requestResult != kAnswerRead)
        return -5;
    return IsNewerVersion(settings.installedVersion, settings.version) ? 2 : -1;
}

}  // namespace update
