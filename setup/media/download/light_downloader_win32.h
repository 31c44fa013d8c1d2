// The lightweight downloader: one URL through the system's URL-download service (urlmon, bound by
// name), so that the system's proxy, cache and security settings apply. The transfer blocks the
// calling thread and every event runs on it. A missing service is no error: `available` says so.
#pragma once

#include <string>

#include "setup/media/download/download_driver.h"
#include "setup/media/download/light_binding.h"

namespace download {

class LightDownloaderWin32 : public ILightDownloader
{
public:
    std::string url;
    std::string destinationFolder;  // without the cache and a file path: the URL's name below it
    std::string filePath;           // after a cache download: the cache file
    LightEvents events;

    // The library that offers the service; another name stands for a system without it.
    std::string serviceLibrary = "urlmon.dll";

    // True only when the service answered success. Raises again what an event handler raised.
    bool Download(bool useCache, bool& available);
    // The server's status of the last transfer, 0 when the service did not tell it.
    int HttpStatus() const { return m_httpStatus; }

    LightResult DownloadToCache(const std::string& url,
                                const std::function<bool(const LightReport&)>& onProgress,
                                bool& available) override;

private:
    int m_httpStatus = 0;
};

}  // namespace download
