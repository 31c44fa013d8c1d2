#include "setup/engine/media/media_placement.h"

#include <map>

#include "setup/engine/media/transfer_folder.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/system/folder_walk.h"

namespace setup::engine {

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool StartsWithFolder(const std::string& path, const std::string& folder)
{
    const std::string prefix = Lower(IncludeBackslash(folder));
    return folder.size() > 0 && Lower(path).rfind(prefix, 0) == 0;
}

}  // namespace

bool PlaceExtractedMedia(IMediaFiles& files, const std::vector<std::string>& fileTable,
                         const ExtractedMedia& media)
{
    const std::string mediaFolder = IncludeBackslash(media.extractionFolder) + media.base + "\\";
    const std::string dataDir = IncludeBackslash(media.dataDir);
    std::map<std::string, std::string> placed;  // source -> target, in lower case
    for (std::size_t row = 0; row + 2 < fileTable.size(); row += 3) {
        if (Lower(fileTable[row]) != Lower(media.base))
            continue;
        const std::string& storedPath = fileTable[row + 1];
        const std::string targetFolder = IncludeBackslash(dataDir + fileTable[row + 2]);
        if (!ForceMediaFolder(files, targetFolder))
            return false;
        const std::string target = targetFolder + ExtractFileName(storedPath);
        const std::string source = mediaFolder + storedPath;
        files.SetAttributes(target, kAttributeNormal);
        files.RemoveFile(target);
        // A file named by two rows: the first row moved it away, so it comes back from there.
        if (!files.FileExists(source)) {
            const auto earlier = placed.find(Lower(source));
            if (earlier != placed.end())
                files.Copy(earlier->second, source, false);
        }
        if (!files.Move(source, target))
            return false;
        placed[Lower(source)] = target;
    }
    return TransferFolder(files, mediaFolder, dataDir + media.base, true);
}

bool CopyToCache(IMediaFiles& files, const std::string& source, const std::string& target,
                 bool compress)
{
    if (ExtractFileDrive(target).empty() || files.Size(source) == files.Size(target))
        return true;
    const std::string folder = ExtractFilePath(target);
    ForceMediaFolder(files, folder);
    files.Compress(ExcludeBackslash(folder), compress);
    return files.FolderExists(ExcludeBackslash(folder)) && files.Copy(source, target, true);
}

bool CopyOfflineMedia(IMediaFiles& files, const OfflineMedia& media,
                      const OfflineCopyEvents& events)
{
    events.progress("$IGNORE$", 0);
    // An empty source stays empty: the folders are then found relative to the current folder.
    std::string source =
        media.sourceDataDir.empty() ? std::string() : IncludeBackslash(media.sourceDataDir);
    if (!source.empty() && !files.FolderExists(source + "offline"))
        source = IncludeBackslash(ExtractFilePath(ExcludeBackslash(source)));
    std::vector<std::string> list = GetFileList(files, source + "offline\\*.*", true);
    const std::size_t offlineCount = list.size();
    for (std::string& file : GetFileList(files, source + "mergemod\\*.*", true))
        list.push_back(std::move(file));

    const std::string target = IncludeBackslash(media.targetDataDir);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const bool offline = i < offlineCount;
        const std::string prefix = source + (offline ? "offline\\" : "mergemod\\");
        const std::string targetBase = offline ? target + "offline\\" : target;
        const auto percent =
            static_cast<std::int64_t>(std::min<std::size_t>(i * 100 / list.size() + 1, 100));
        events.progress("$IGNORE$", percent);
        if (events.terminated && events.terminated())
            return false;
        const std::string& file = list[i];
        const std::string relative = ExtractFilePath(file).substr(prefix.size());
        if (!ForceMediaFolder(files, targetBase + relative))
            return false;
        const std::string name = ExtractFileName(file);
        events.progress(name + ", " + std::to_string(percent) + events.percentComplete, percent);
        const std::string placed = targetBase + relative + name;
        if (!files.FileExists(placed)) {
            files.SetAttributes(placed, kAttributeNormal);
            const bool moved =
                StartsWithFolder(file, media.temporaryFolder) && files.Move(file, placed);
            if (!moved)
                files.Copy(file, placed, false);
            if (media.compress)
                files.Compress(placed, true);
        }
        if (!files.FileExists(placed))
            return false;
    }
    return true;
}

}  // namespace setup::engine
