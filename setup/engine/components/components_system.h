// The system side of the component model: the free-space query and the files the state file is
// kept in, Windows calls in the product and a portable stand-in in the native build.
#pragma once

#include "setup/engine/components/component_state_file.h"
#include "setup/engine/components/components.h"

namespace setup::engine {

IDiskSpace& SystemDiskSpace();
IStateFileStore& SystemStateFileStore();

}  // namespace setup::engine
