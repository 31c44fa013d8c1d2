#include "setup/media/download/light_status.h"

#include <array>
#include <cctype>

namespace download {

namespace {

constexpr std::array<const char*, kLastStatus + 1> kNames = {
    "NULL", "Finding resource", "Connecting", "Redirecting", "Begin download data",
    "Downloading data", "End download data", "Begin download components",
    "Installing components", "End download components", "Using cached copy", "Sending request",
    "Classid available", "Mime type available", "Cache filename available",
    "Begin sync operation", "End sync operation", "Begin upload data", "Uploading data",
    "End uploading data", "Protocol classid", "Encoding", "Verfied mime type available",
    "Class install location", "Decoding", "Loading mime handler", "Content disposition attach",
    "Filter report mime type", "Clsid can instantiate", "Iunknown available", "Direct bind",
    "Raw mime type", "Proxy detecting", "Accept ranges"};

constexpr std::array<const char*, kLastStatus + 1> kTexts = {
    "", "Locating resource", "Connecting to", "Redirecting to", "Beginning data transfer",
    "Transferring data", "Finishing data transfer", "Beginning component download",
    "Installing components", "Finishing component download", "Resuming broken download",
    "Requesting data", "CLASSID available", "Download data recognized",
    "Saving download information", "Beginning synchronous operation",
    "Finishing synchronous operation", "Beginning data upload", "Uploading data",
    "Finishing data upload", "Protocol CLASSID", "Encoding",
    "Download data recognized and verified", "Class install location", "Decoding",
    "Loading data handler", "Content disposition attach", "Download data filtered",
    "CLSID can instantiate", "COM services unavailable", "Direct bind",
    "Unrecognized download data", "Detecting proxy information", "Accept ranges"};

int Known(int status)
{
    return status < 0 || status > kLastStatus ? 0 : status;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string DecodeUrlText(const std::string& text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

}  // namespace

const char* StatusName(int status)
{
    return kNames[static_cast<std::size_t>(Known(status))];
}

const char* StatusText(int status)
{
    return kTexts[static_cast<std::size_t>(Known(status))];
}

UrlCredentials SplitUrlCredentials(const std::string& url)
{
    UrlCredentials split{url, {}, {}};
    const std::size_t scheme = url.find("://");
    if (scheme == std::string::npos)
        return split;
    const std::string rest = url.substr(scheme + 3);
    const std::size_t colon = rest.find(':'), at = rest.find('@'), slash = rest.find('/');
    if (colon == std::string::npos || at == std::string::npos || slash == std::string::npos ||
        !(colon < at && at < slash))
        return split;
    split.user = rest.substr(0, colon);
    split.password = rest.substr(colon + 1, at - colon - 1);
    split.url = url.substr(0, scheme + 3) + rest.substr(at + 1);
    return split;
}

std::string SafeFileNameFromUrl(const std::string& url)
{
    std::string path = url;
    path = path.substr(0, path.find_first_of("?#"));
    std::string name = DecodeUrlText(path.substr(path.rfind('/') + 1));
    // Decoding can bring back separators: only what follows the last one is a name.
    const std::size_t separator = name.find_last_of("/\\:");
    if (separator != std::string::npos)
        name = name.substr(separator + 1);
    std::string safe;
    for (const char c : name)
        if (static_cast<unsigned char>(c) >= 32 && std::string_view("<>\"|?*").find(c) == std::string_view::npos)
            safe += c;
    while (!safe.empty() && (safe.back() == '.' || safe.back() == ' '))
        safe.pop_back();
    return safe;
}

}  // namespace download
