// The lightweight downloader: one URL through the system's URL-download service (urlmon, bound by
// name), so that the system's proxy, cache and security settings apply. The transfer blocks the
// calling thread and every event runs on it. A missing service is no error: `available` says so.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "setup/media/download/download_driver.h"
#include "setup/media/download/light_binding.h"

struct IBinding;

namespace download {

// Another thread's hold on a downloader's transfers. It stops the transfer under way, also while
// the server keeps it waiting and no status reaches the status callback; and, just before the
// downloading thread is ended by force, it cuts the service's later calls off from that thread's
// downloader and events, which go with its stack.
class LightTransferControl
{
public:
    LightTransferControl() = default;
    ~LightTransferControl();
    LightTransferControl(const LightTransferControl&) = delete;
    LightTransferControl& operator=(const LightTransferControl&) = delete;

    // Any thread: aborts the transfer under way and refuses any later one.
    void RequestStop();
    // Any thread, before the downloading thread is ended by force.
    void ForcedEnd() { m_ended.store(true); }

    // The status callback's side, on the downloading thread.
    bool Ended() const { return m_ended.load(); }
    bool Started(IBinding* binding);  // false: a stop came first
    void Stopped();

private:
    std::mutex m_lock;
    IBinding* m_binding = nullptr;  // held while its transfer runs
    bool m_stop = false;
    std::atomic<bool> m_ended{false};
};

class LightDownloaderWin32 : public ILightDownloader
{
public:
    std::string url;
    std::string destinationFolder;  // without the cache and a file path: the URL's name below it
    std::string filePath;           // after a cache download: the cache file
    LightEvents events;

    // The library that offers the service; another name stands for a system without it.
    std::string serviceLibrary = "urlmon.dll";
    // Shared with the thread that may stop or end the downloading thread; none: neither happens.
    std::shared_ptr<LightTransferControl> control;

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
