// What the helper library's exports hand their calls to: the web server's version-7
// configuration in the shipped library, a recording stand-in in the tests' build of it.
#pragma once

#include "setup/sysconfig/webserver/iis7_helper.h"

namespace standins::iis7helper {

// The process's backend; each build of the library links exactly one definition.
setup::sysconfig::webserver::IIis7Helper& Backend();

}  // namespace standins::iis7helper
