// The update check: the request URL that describes the product, the user and the system, one GET
// through an HTTP interface, and the answer read into the settings.
#pragma once

#include "suite/update/refreshkit_settings.h"

#include <string>
#include <string_view>

namespace update {

// What the request needs of the system besides the network.
class IUpdateEnvironment
{
public:
    // The base language library's current language code.
    virtual std::wstring LanguageCode() = 0;
    // The user's default language as four hexadecimal digits.
    virtual std::wstring UserLanguageId() = 0;
    // "major.minor.build" of Windows.
    virtual std::wstring OsVersionText() = 0;
    // The temporary folder, with its trailing backslash.
    virtual std::wstring TempFolder() = 0;
    // Whether the text survives the trip to the ANSI code page and back unchanged.
    virtual bool FitsAnsiCodePage(std::wstring_view text) = 0;
    virtual std::wstring FromAnsiCodePage(std::string_view bytes) = 0;

protected:
    ~IUpdateEnvironment() = default;
};

struct HttpAnswer
{
    enum class Outcome
    {
        BadUrl,
        SendFailed,
        Answered
    };
    Outcome outcome = Outcome::SendFailed;
    std::wstring error;  // the send failure's text
    int status = -1;
    std::string body;  // read only for status 200
};

class IHttpGet
{
public:
    // One GET with the time-out on connecting, sending and receiving.
    virtual HttpAnswer Get(const std::wstring& url, unsigned timeoutMs) = 0;

protected:
    ~IHttpGet() = default;
};

// A query value: as it stands when the ANSI code page holds it (with "&", "#", "+" and "%"
// percent-encoded so they cannot end or change the query), else every character as "%u" and four
// lower-case hexadecimal digits.
std::wstring EscapeQueryText(std::wstring_view text, bool fitsAnsiCodePage);

std::wstring BuildRequestUrl(std::wstring_view baseUrl, const CRefreshkitSettings& settings,
                             IUpdateEnvironment& environment);

// Runs the check: 1 answer read, -2 error answer or HTTP status other than 200, -1 the URL could
// not be parsed or the request not sent.
int RunUpdateRequest(std::wstring_view baseUrl, unsigned timeoutMs, CRefreshkitSettings& settings,
                     IUpdateEnvironment& environment, IHttpGet& http);

// The silent check's result from the request's: -2 error answer, -5 no answer, 2 newer, -1 not.
int SilentCheckResult(int requestResult, const CRefreshkitSettings& settings);

}  // namespace update
