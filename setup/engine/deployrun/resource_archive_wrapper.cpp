#include "setup/engine/deployrun/resource_archive.h"

#include "setup/media/archive_wrapper.h"

namespace setup::deployrun {

bool WrapperResourceArchive::ExtractAll(const std::string& archivePath,
                                        const std::string& targetFolder, std::string& errorText)
{
    // The whole archive: no entry list, no password, the wrapper's own prompts.
    return media::ExtractArchiveFiles(archivePath, "", targetFolder, false, false, errorText);
}

}  // namespace setup::deployrun
