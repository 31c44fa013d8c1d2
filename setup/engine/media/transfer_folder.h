// Moving or copying a folder tree into another folder, file by file.
#pragma once

#include <string>

#include "setup/engine/media/media_files.h"

namespace setup::engine {

// Every file below `source` goes to the same place below `target` (sub-folders' files first),
// replacing what is there. Moving then removes the source tree. The first failure returns false.
bool TransferFolder(IMediaFiles& files, const std::string& source, const std::string& target,
                    bool move);

}  // namespace setup::engine
