// The media workers' file operations on the Windows file system; paths are ANSI text.
#pragma once

#include "setup/engine/media/media_files.h"

namespace setup::engine {

IMediaFiles& Win32MediaFiles();

}  // namespace setup::engine
