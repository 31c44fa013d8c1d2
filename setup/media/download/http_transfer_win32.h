// The engine's HTTP client for the download driver. The client is made on the thread that first
// uses it and its messages are dispatched by the request's own wait there, so a download runs
// on a worker thread whether or not any other thread pumps messages (silent runs have none).
#pragma once

#include <memory>

#include "setup/media/download/download_driver.h"
#include "setup/media/net/http_client_win32.h"

namespace download {

class HttpTransferWin32 : public IHttpTransfer
{
public:
    HttpHeadResult Head(const DownloadRequest& request) override;
    HttpGetResult Get(const DownloadRequest& request, const std::string& rangeBegin,
                      IHttpBodySink& sink) override;

    // A request that takes longer gives up (0: never).
    unsigned long timeoutMilliseconds = 0;

private:
    net::HttpClient& Prepare(const DownloadRequest& request);
    void Run(net::HttpRequestKind kind);

    std::unique_ptr<net::HttpClientWin32> m_http;
};

}  // namespace download
