#include "setup/media/download/download_driver.h"

#include <algorithm>
#include <cctype>

#include "setup/media/download/light_status.h"

namespace download {

namespace {

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool LightDownload(DownloadState& state, DownloadServices& services, const DownloadRequest& request,
                   const DownloadCallback& callback)
{
    if (!request.resume && !state.lightCacheFile.empty())
        services.files.Delete(state.lightCacheFile);
    ProgressCounter counter;
    std::uint64_t total = 0;
    const auto onProgress = [&](const LightReport& report) {
        if (report.status == kStatusCacheFileNameAvailable)
            state.lightCacheFile = report.extraInfo;
        std::string text = StatusText(report.status);
        if (text.empty())
            text = report.extraInfo;
        else if (!report.extraInfo.empty())
            text += " " + report.extraInfo;
        total = report.max;
        const std::uint64_t percent = counter.Next(report.position, report.max);
        if (text.starts_with(StatusText(kStatusDownloadingData)))
            text = ProgressText(services.texts, report.position, report.max, percent);
        if (!callback(percent, text))
            return false;
        if (services.wake)
            services.wake();
        return true;
    };
    bool available = true;
    const LightResult result = services.light->DownloadToCache(request.url, onProgress, available);
    state.lightAvailable = available;
    // The file the service returned, not the one a report named: the two can differ.
    if (!result.cacheFile.empty())
        state.lightCacheFile = result.cacheFile;
    // An error page the service answered as success is no download.
    if (!result.completed || result.httpStatus >= 400 || state.lightCacheFile.empty())
        return false;
    if (Upper(state.lightCacheFile) != Upper(request.target) &&
        !services.files.CopyInto(state.lightCacheFile, request.target))
        return false;
    const std::optional<std::uint64_t> size = services.files.Size(request.target);
    return size.has_value() && (total == 0 || *size == total);
}

// Writes the body of one GET into the target from the planned position; a server that ignores
// the range sends the whole document, which then starts the file again.
class TargetSink : public IHttpBodySink
{
public:
    TargetSink(DownloadServices& services, const DownloadRequest& request, const ResumePlan& plan,
               std::uint64_t total, const DownloadCallback& callback)
        : m_services(services),
          m_request(request),
          m_plan(plan),
          m_total(total),
          m_callback(callback),
          m_received(plan.start)
    {}

    bool Begin(int status) override
    {
        m_status = status;
        if (status < 200 || status > 299)
            return false;  // nothing of an error answer reaches the target
        if (status == 200 && !m_plan.rangeBegin.empty())
            m_received = 0;
        m_open = m_services.files.OpenAt(m_request.target, m_received);
        return m_open;
    }

    bool Data(std::string_view bytes) override
    {
        if (!m_open || !m_services.files.Write(bytes))
            return false;
        m_received += bytes.size();
        const std::uint64_t percent = m_counter.Next(m_received, m_total);
        if (!m_callback(percent, ProgressText(m_services.texts, m_received, m_total, percent)))
            return false;
        if (m_services.wake)
            m_services.wake();
        return true;
    }

    void Close()
    {
        if (m_open)
            m_services.files.Close();
        m_open = false;
    }

    int Status() const { return m_status; }

private:
    DownloadServices& m_services;
    const DownloadRequest& m_request;
    const ResumePlan& m_plan;
    std::uint64_t m_total;
    const DownloadCallback& m_callback;
    std::uint64_t m_received;
    ProgressCounter m_counter;
    int m_status = 0;
    bool m_open = false;
};

bool HttpDownload(DownloadServices& services, const DownloadRequest& request,
                  const DownloadCallback& callback)
{
    const std::uint64_t existing = services.files.Size(request.target).value_or(0);
    const HttpHeadResult head = services.http.Head(request);
    if (head.status >= 400)
        return false;
    // The document's whole length: the count of received bytes starts at the resume position.
    const std::uint64_t total = ContentLengthOf(head.headerLines).value_or(0);
    ResumePlan plan = PlanResume(existing, request.resume);
    for (int attempt = 0; attempt < 2; ++attempt) {
        TargetSink sink(services, request, plan, total, callback);
        const HttpGetResult result = services.http.Get(request, plan.rangeBegin, sink);
        sink.Close();
        // A range past the end of a document that changed: fetch it whole once.
        if (result.status == 416 && !plan.rangeBegin.empty() && !result.aborted) {
            plan = ResumePlan{};
            continue;
        }
        // A cut body is a failure, so that the caller can offer to resume it.
        if (result.aborted || result.requestError != 0 || result.status < 200 ||
            result.status > 299)
            return false;
        if (result.contentLength >= 0 &&
            result.bodyBytes != static_cast<std::uint64_t>(result.contentLength))
            return false;
        if (total == 0)
            return true;
        const std::optional<std::uint64_t> size = services.files.Size(request.target);
        return size.has_value() && *size == total;
    }
    return false;
}

}  // namespace

ResumePlan PlanResume(std::uint64_t existingSize, bool resume)
{
    if (!resume || existingSize <= kResumeBackOff)
        return {};
    const std::uint64_t start = existingSize - kResumeBackOff;
    return {start, std::to_string(start)};
}

std::optional<std::uint64_t> ContentLengthOf(const std::vector<std::string>& headerLines)
{
    static const std::string kName = "content-length:";
    std::optional<std::uint64_t> length;
    for (const std::string& line : headerLines) {
        std::string lower = line;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const std::size_t at = lower.find(kName);
        if (at == std::string::npos)
            continue;
        std::string value = line.substr(0, at) + line.substr(at + kName.size());
        value.erase(0, value.find_first_not_of(" \t"));
        value.erase(value.find_last_not_of(" \t\r\n") + 1);
        length.reset();
        if (!value.empty() && value.size() <= 19 &&
            std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
            length = std::stoull(value);
    }
    return length;
}

bool DownloadFile(DownloadState& state, DownloadServices& services, const DownloadRequest& request,
                  const DownloadCallback& callback)
{
    if (services.light != nullptr && state.lightAvailable) {
        const bool done = LightDownload(state, services, request, callback);
        if (done || state.lightAvailable)
            return done;
    }
    return HttpDownload(services, request, callback);
}

}  // namespace download
