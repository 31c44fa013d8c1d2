#include "setup/media/download/http_transfer_win32.h"

#include <optional>

namespace download {

namespace {

bool Intermediate(int status)
{
    // Relocations and challenges the client answers itself before the real answer comes.
    return (status >= 300 && status <= 399) || status == 401 || status == 407;
}

}  // namespace

net::HttpClient& HttpTransferWin32::Prepare(const DownloadRequest& request)
{
    if (!m_http)
        m_http = std::make_unique<net::HttpClientWin32>();
    net::HttpSettings& settings = m_http->Client().settings;
    settings.url = request.url;
    settings.proxy = request.proxy;
    settings.proxyPort = request.proxyPort.empty() ? "80" : request.proxyPort;
    settings.proxyUsername = request.proxyUser;
    settings.proxyPassword = request.proxyPassword;
    settings.agent = "Mozilla/3.0 (compatible)";
    settings.requestVer = "1.0";
    settings.followRelocation = true;
    return m_http->Client();
}

void HttpTransferWin32::Run(net::HttpRequestKind kind)
{
    try {
        m_http->RequestSync(kind, timeoutMilliseconds);
    } catch (const std::exception&) {
        // The status and the request error tell what happened.
    }
}

HttpHeadResult HttpTransferWin32::Head(const DownloadRequest& request)
{
    net::HttpClient& client = Prepare(request);
    client.onDocData = nullptr;
    Run(net::HttpRequestKind::Head);
    HttpHeadResult result;
    result.status = client.RequestError() != 0 ? 0 : client.ResponseStatus();
    result.headerLines = client.Response().headerLines;
    return result;
}

HttpGetResult HttpTransferWin32::Get(const DownloadRequest& request, const std::string& rangeBegin,
                                     IHttpBodySink& sink)
{
    net::HttpClient& client = Prepare(request);
    client.settings.rangeBegin = rangeBegin;
    HttpGetResult result;
    std::optional<int> begun;  // the status the sink was given
    bool refused = false;
    client.onDocData = [&](std::string_view bytes) {
        const int status = client.ResponseStatus();
        if (Intermediate(status) || result.aborted || refused)
            return;
        if (!begun) {
            begun = status;
            if (!sink.Begin(status)) {
                // An answer the sink will not take is no abort of ours: its status stands.
                refused = true;
                client.AbortRequest();
                return;
            }
        }
        result.bodyBytes += bytes.size();
        if (!sink.Data(bytes)) {
            result.aborted = true;
            client.AbortRequest();
        }
    };
    Run(net::HttpRequestKind::Get);
    client.onDocData = nullptr;
    result.status = begun.value_or(client.ResponseStatus());
    result.requestError = refused ? 0 : client.RequestError();
    result.contentLength = client.Response().length;
    // An empty document still makes its file.
    if (!begun && !result.aborted && !sink.Begin(result.status))
        result.aborted = result.status >= 200 && result.status <= 299;
    return result;
}

}  // namespace download
