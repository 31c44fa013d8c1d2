// Making one media block available below the data folder: offline media copied from beside the
// setup program, web media taken from a local archive or downloaded, then extracted; a marker
// file makes the block complete. Failures the user is asked about go through the prompts; a
// silent run raises at the first of them, and a run nobody answers gives up after a few rounds.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "setup/engine/media/media_block.h"
#include "setup/engine/media/media_prompts.h"

namespace setup::engine {

struct MediaRequest
{
    std::string name;  // "OFFLINE\" for offline media
    std::vector<std::string> urls;
    std::string archivePath;
    std::string password;
};

struct MediaTexts
{
    std::string downloadCaption = "Downloading Web Media: ";
    std::string extractCaption = "Extracting Web Media: ";
    std::string copyFailed = "Unable to copy installation data to local folders";
    std::string downloadFailed = "Unable to download installation data from the web";
    std::string extractFailed = "Unable to extract installation data downloaded from the web";
};

// What the run knows when a block is asked for.
struct MediaSetting
{
    std::string dataDir;  // with a trailing "\"
    std::string cacheId;  // the marker's file name
    bool remove = false;  // REMOVE: nothing is acquired
    bool compress = false;
    // Where a local archive may lie: the self-extractor's folder, else the program's.
    std::string sfxPath, exeDir;
    bool silent = false;
    MediaTexts texts;
};

struct WorkerOutcome
{
    bool done = false;
    bool cancelled = false;
    bool passwordFailure = false;
};

// The questions the forms' timers may answer in a row before the acquisition gives up, as a
// cancel would: an unattended run must not download and extract for ever.
inline constexpr int kUnattendedRetries = 3;

// The folders and workers the driver acts through.
class IMediaActions
{
public:
    virtual ~IMediaActions() = default;
    virtual bool FolderExists(const std::string& folder) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual void EmptyFolder(const std::string& folder) = 0;
    virtual void RemoveFolder(const std::string& folder) = 0;  // emptied first
    virtual void CreateFolder(const std::string& folder, bool compress) = 0;
    virtual void CreateEmptyFile(const std::string& path) = 0;
    virtual void DeleteFile(const std::string& path) = 0;

    virtual WorkerOutcome CopyOffline() = 0;
    virtual WorkerOutcome Grab(const MediaRequest& request, const MediaBlockState& settings,
                               const std::string& caption) = 0;
    virtual WorkerOutcome Extract(const std::string& archive, bool local,
                                  const std::string& password, const std::string& caption) = 0;

    // The system's URL-download service is still there: it chooses the download form.
    virtual bool LightAvailable() = 0;
};

// The run's local archives the user gave up on, in upper case; never used again.
using FailedArchives = std::set<std::string>;

// True when the block is there; every failure raises rtl::Exception with one of the texts.
// `settings` carries the proxy settings and resume flag the forms change.
bool AcquireMedia(IMediaActions& actions, IMediaPrompts& prompts, const MediaSetting& setting,
                  const MediaRequest& request, MediaBlockState& settings,
                  FailedArchives& failedArchives);

}  // namespace setup::engine
