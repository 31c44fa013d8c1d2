// The media statements' Windows services: the extraction worker in the engine's worker loop.
#pragma once

#include "setup/engine/media/statements_media.h"

namespace setup::engine {

MediaStatementServices Win32MediaStatementServices(IWow64Services& wow64);

}  // namespace setup::engine
