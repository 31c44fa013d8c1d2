#include "setup/deployrun/resource_archive.h"

#include "setup/media/archive_wrapper.h"

namespace setup::deployrun {

bool WrapperResourceArchive::ExtractAll(const std::string& archivePath,
                                        const std::string& targetFolder, std::string& errorText)
{
    // The whole archive with its folders, replacing what is there: no entry list, no password.
    return media::ExtractArchiveFiles(archivePath, "", targetFolder, true, true, errorText);
}

}  // namespace setup::deployrun
