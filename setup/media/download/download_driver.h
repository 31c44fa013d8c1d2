// One URL into one local file: first through the system's URL-download service, and through the
// engine's own HTTP client only when that service is missing, resuming a partial file there.
// The decisions live here; the service, the client and the files come in through interfaces.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/media/download/download_progress.h"

namespace download {

// Shows (percent, text); false asks the download to stop.
using DownloadCallback = std::function<bool(std::uint64_t percent, const std::string& text)>;

struct DownloadRequest
{
    std::string url, target;
    std::string proxy, proxyPort, proxyUser, proxyPassword;
    bool resume = false;
};

// The files the driver touches.
class IDownloadFiles
{
public:
    virtual ~IDownloadFiles() = default;
    virtual std::optional<std::uint64_t> Size(const std::string& path) = 0;
    // Opens for writing (created when missing), cut at `position`, writing from there.
    virtual bool OpenAt(const std::string& path, std::uint64_t position) = 0;
    virtual bool Write(std::string_view bytes) = 0;
    virtual void Close() = 0;
    virtual void Delete(const std::string& path) = 0;
    // Creates the target's folder and copies over the target.
    virtual bool CopyInto(const std::string& from, const std::string& to) = 0;
};

// What the service reports while it downloads: a status code with its texts. True goes on.
struct LightReport
{
    std::uint64_t position = 0, max = 0;
    int status = 0;
    std::string extraInfo;
};

struct LightResult
{
    bool completed = false;  // the service answered success
    int httpStatus = 0;      // the server's answer as the service negotiated it, 0 when unknown
    std::string cacheFile;   // as the service returned it; empty: the one its reports named
};

// The system's URL-download service, caching the file and naming the cache file as it goes.
class ILightDownloader
{
public:
    virtual ~ILightDownloader() = default;
    // False in `available` when the service cannot be used at all.
    virtual LightResult DownloadToCache(const std::string& url,
                                        const std::function<bool(const LightReport&)>& onProgress,
                                        bool& available) = 0;
};

struct HttpHeadResult
{
    int status = 0;  // 0: the request failed
    std::vector<std::string> headerLines;
};

// Where the body of a GET goes: the status first, then its data. False from either aborts.
class IHttpBodySink
{
public:
    virtual ~IHttpBodySink() = default;
    virtual bool Begin(int status) = 0;
    virtual bool Data(std::string_view bytes) = 0;
};

struct HttpGetResult
{
    int status = 0;
    int requestError = 0;             // a connection or protocol error of the client
    std::int64_t contentLength = -1;  // as the answer gave it
    std::uint64_t bodyBytes = 0;      // as delivered to the sink
    bool aborted = false;
};

// The engine's HTTP client, one request at a time.
class IHttpTransfer
{
public:
    virtual ~IHttpTransfer() = default;
    virtual HttpHeadResult Head(const DownloadRequest& request) = 0;
    // `rangeBegin` empty: the whole document.
    virtual HttpGetResult Get(const DownloadRequest& request, const std::string& rangeBegin,
                              IHttpBodySink& sink) = 0;
};

// What lives from one download to the next of a run.
struct DownloadState
{
    bool lightAvailable = true;  // cleared for good once the service is missing
    std::string lightCacheFile;
};

// The services one download uses.
struct DownloadServices
{
    ILightDownloader* light = nullptr;  // none: the HTTP client only
    IHttpTransfer& http;
    IDownloadFiles& files;
    DownloadTexts texts;
    std::function<void()> wake;  // after every accepted progress report
};

// The file below `start` kept when resuming: the tail that may be damaged is fetched again.
constexpr std::uint64_t kResumeBackOff = 2048;

struct ResumePlan
{
    std::uint64_t start = 0;
    std::string rangeBegin;  // empty: from the start
};
ResumePlan PlanResume(std::uint64_t existingSize, bool resume);

// The last "Content-Length:" of a header, when it reads as a number.
std::optional<std::uint64_t> ContentLengthOf(const std::vector<std::string>& headerLines);

// True only when the target holds the whole document.
bool DownloadFile(DownloadState& state, DownloadServices& services, const DownloadRequest& request,
                  const DownloadCallback& callback);

}  // namespace download
