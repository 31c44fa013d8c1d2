// The script's web media blocks: the current block the "Web Media Block" statement names, the
// settings acquisitions carry from one to the next, and the archive passwords of the script.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "setup/engine/rtl/string_list.h"
#include "setup/media/download/download_driver.h"

namespace setup::engine {

// The run's media state (engine.Parts.Get<MediaBlockState>()).
struct MediaBlockState
{
    std::string name;
    std::vector<std::string> urls;
    std::string archivePath;
    std::string password;  // plain text
    // Changed by the retry forms, handed to every later acquisition.
    std::string proxy, proxyPort, proxyUser, proxyPassword;
    bool resume = false;
    // The data folder media were last acquired into.
    std::string cacheFolder;
    // Whether the system's URL-download service is there, for every download of the run.
    download::DownloadState download;
    // Local archives the user gave up on, in upper case: never used again in this run.
    std::set<std::string> failedArchives;
};

// The line after the first even-numbered line that names the block (case-blind); empty when none.
std::string LookupBlockPassword(const rtl::TStringList& passwords, const std::string& block);
// The stored form back to the password: each character XOR its position (mod 256), then pairs
// of hexadecimal digits, low digit first.
std::string UnscrambleBlockPassword(const std::string& stored);
// The block's password, falling back to the "offline" entry.
std::string BlockPassword(const rtl::TStringList& passwords, const std::string& block);

}  // namespace setup::engine
