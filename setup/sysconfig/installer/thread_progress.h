// How the install thread shows its progress to the wizard's progress page and learns of the
// user's cancel: through the run's report that the engine hands over, never by writing the
// engine's variables.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/workers/worker_protocol.h"

namespace setup::sysconfig::installer {

// Publishes the handler's numbers; false once a cancel, or anything but "no cancel", is recorded.
bool MSIProgressCallback(engine::IWorkerReport& report, const std::string& text,
                         std::int64_t position, std::int64_t total, std::int64_t min);

}  // namespace setup::sysconfig::installer
