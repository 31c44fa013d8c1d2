// What the status callback of one binding of the URL-download service decides, apart from the
// system's calls: the events it fires, the answers it gives the service and a handler's exception
// kept until the service has returned.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "setup/media/download/download_driver.h"

namespace download {

// The service's result codes the callback answers with or reads.
constexpr std::int32_t kResultOk = 0;
constexpr std::int32_t kResultFalse = 1;
constexpr std::int32_t kResultAbort = static_cast<std::int32_t>(0x80004004u);
constexpr std::int32_t kResultFail = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t kResultInvalidArgument = static_cast<std::int32_t>(0x80070057u);

// The downloader's events; `cancel` set by a handler stops the binding.
struct LightEvents
{
    std::function<void()> onBegin;
    std::function<void()> onLowResource;
    std::function<void(std::uint64_t size, bool& cancel)> onDownloading;
    // `statusName` is the status's fixed English name, the report's extra info the service's text.
    std::function<void(const LightReport& report, const std::string& statusName, bool& cancel)>
        onProgress;
    std::function<void(bool aborted, bool error, std::int32_t code, const std::string& text)> onEnd;
};

class LightBinding
{
public:
    explicit LightBinding(const LightEvents& events) : m_events(events) {}

    std::int32_t Begin();
    std::int32_t LowResource();
    std::int32_t Progress(std::uint64_t position, std::uint64_t max, int status,
                          const std::string& text);
    // `text` is the system's words for the code.
    void Stop(std::int32_t code, const std::string& text);
    // The server's status as the service negotiated it.
    void Response(int httpStatus) { m_httpStatus = httpStatus; }

    int HttpStatus() const { return m_httpStatus; }
    std::int32_t LastResult() const { return m_lastResult; }
    // Raises again what a handler raised, once the service has returned.
    void RethrowRecorded() const;

private:
    template <typename Call>
    std::int32_t Guarded(std::int32_t onException, Call&& call);

    const LightEvents& m_events;
    bool m_downloadingFired = false;
    int m_httpStatus = 0;
    std::int32_t m_lastResult = kResultOk;
    std::exception_ptr m_recorded;
};

}  // namespace download
