// Where the files of acquired media go: an extracted web media archive into the data folder by
// the script's file table, and offline media from the installation source into the data folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/media/media_files.h"

namespace setup::engine {

struct ExtractedMedia
{
    std::string extractionFolder;  // the archive was extracted below it, into its base name
    std::string base;              // the archive's file name without folder and extension
    std::string dataDir;
};

// Each file-table row (media name, stored path, target folder) of this media puts its file into
// the data folder's target folder; a stored path named twice goes to both places. What no row
// names moves whole into the data folder under the media's name.
bool PlaceExtractedMedia(IMediaFiles& files, const std::vector<std::string>& fileTable,
                         const ExtractedMedia& media);

// Keeps a copy of media in a cache folder: a target with a drive whose size differs from the
// source's (a missing file counts as 0) is replaced; its folder is compressed as asked.
bool CopyToCache(IMediaFiles& files, const std::string& source, const std::string& target,
                 bool compress);

struct OfflineMedia
{
    std::string sourceDataDir;  // the data folder beside the installation source
    std::string targetDataDir;
    // Files under this folder belong to this run and are moved; any others are copied, so the
    // installation source keeps its media.
    std::string temporaryFolder;
    bool compress = false;
};

struct OfflineCopyEvents
{
    std::function<void(std::string_view text, std::int64_t percent)> progress;
    std::function<bool()> terminated;
    std::string percentComplete = "% complete";
};

// The "offline" tree into the data folder's "offline" folder and the "mergemod" tree into the
// data folder itself; a source without an "offline" folder is looked up in its parent folder.
bool CopyOfflineMedia(IMediaFiles& files, const OfflineMedia& media,
                      const OfflineCopyEvents& events);

}  // namespace setup::engine
