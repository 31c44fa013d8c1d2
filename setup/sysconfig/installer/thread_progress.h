// The thread-progress variables through which the install thread shows its progress to the
// wizard's progress page and learns of the user's cancel.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/workers/worker_protocol.h"

namespace setup::sysconfig::installer {

using engine::SetThreadProgress;

// Publishes the handler's numbers; false once TARQ_thCancelled is no longer "FALSE".
bool MSIProgressCallback(const std::string& text, std::int64_t position, std::int64_t total,
                         std::int64_t min);
bool CancelRequested();  // TARQ_thCancelled holds "TRUE"
bool ThreadFinished();   // TARQ_thFinished holds "TRUE"

}  // namespace setup::sysconfig::installer
