#include "setup/media/download/light_binding.h"

#include "setup/media/download/light_status.h"

namespace download {

template <typename Call>
std::int32_t LightBinding::Guarded(std::int32_t onException, Call&& call)
{
    // An exception must not cross the service's frames: it is raised again after the call.
    try {
        return call();
    } catch (...) {
        if (!m_recorded)
            m_recorded = std::current_exception();
        return onException;
    }
}

std::int32_t LightBinding::Begin()
{
    return Guarded(kResultInvalidArgument, [&] {
        if (m_events.onBegin)
            m_events.onBegin();
        return kResultOk;
    });
}

std::int32_t LightBinding::LowResource()
{
    return Guarded(kResultFail, [&] {
        if (m_events.onLowResource)
            m_events.onLowResource();
        return kResultOk;
    });
}

std::int32_t LightBinding::Progress(std::uint64_t position, std::uint64_t max, int status,
                                    const std::string& text)
{
    return Guarded(kResultAbort, [&] {
        bool cancel = false;
        if (status == kStatusDownloadingData && !m_downloadingFired) {
            m_downloadingFired = true;
            if (m_events.onDownloading)
                m_events.onDownloading(max, cancel);
            if (cancel)
                return kResultAbort;
        }
        if (status < 0 || status > kLastStatus)
            status = 0;
        if (m_events.onProgress)
            m_events.onProgress({position, max, status, text}, StatusName(status), cancel);
        return cancel ? kResultAbort : kResultOk;
    });
}

void LightBinding::Stop(std::int32_t code, const std::string& text)
{
    m_lastResult = code;
    Guarded(kResultFail, [&] {
        if (m_events.onEnd)
            m_events.onEnd(code == kResultAbort,
                           code != kResultOk && code != kResultFalse && code != kResultAbort, code,
                           text);
        return kResultOk;
    });
}

void LightBinding::RethrowRecorded() const
{
    if (m_recorded)
        std::rethrow_exception(m_recorded);
}

}  // namespace download
