// What start-up learns from the command line and the variable store consults: the silent switch
// and the NAME, VALUE, NAME, VALUE ... assignments given there.
#pragma once

#include <atomic>

#include "setup/engine/rtl/string_list.h"

namespace setup::engine {

// Written by the GUI thread (start-up and before every statement); read by any thread.
extern std::atomic<bool> SilentMode;
// Filled once at start-up before any worker exists; read-only afterwards.
extern rtl::TStringList CommandLineOverrides;

}  // namespace setup::engine
