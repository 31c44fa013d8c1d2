// The questions the media driver asks when a download or an extraction failed. The setup's pages
// answer them with the retry forms; without pages every question is answered as Cancel.
#pragma once

#include <string>

namespace setup::engine {

struct ProxySettings
{
    std::string server, port, user, password;
};

enum class ExtractRetry
{
    Cancel,
    Extract,
    Download,
};

// `byTimer`: nobody answered, the form's timer did.
struct ExtractAnswer
{
    ExtractRetry choice = ExtractRetry::Cancel;
    bool byTimer = false;
};

struct DownloadAnswer
{
    bool retry = false;
    bool resume = true;
    bool byTimer = false;
};

class IMediaPrompts
{
public:
    virtual ~IMediaPrompts() = default;
    // The download failed while the system's URL-download service works: try again, resuming or
    // not.
    virtual DownloadAnswer AskDownloadRetry() = 0;
    // The download failed without that service: true tries again with `proxy` as entered (the
    // form starts from its values).
    virtual bool AskProxy(ProxySettings& proxy) = 0;
    virtual ExtractAnswer AskExtractRetry() = 0;
};

class CancellingMediaPrompts final : public IMediaPrompts
{
public:
    DownloadAnswer AskDownloadRetry() override { return {}; }
    bool AskProxy(ProxySettings&) override { return false; }
    ExtractAnswer AskExtractRetry() override { return {}; }
};

// The run's prompts (engine.Parts.Get<MediaPromptsSlot>()), set by the host that shows pages.
struct MediaPromptsSlot
{
    IMediaPrompts* prompts = nullptr;
};

}  // namespace setup::engine
