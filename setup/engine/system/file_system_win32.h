// The Win32 file-system view (ANSI calls) used by the folder walkers in the product.
#pragma once

#include "setup/engine/system/file_system_view.h"

namespace setup::engine {

IFileSystemView& Win32FileSystem();

}  // namespace setup::engine
