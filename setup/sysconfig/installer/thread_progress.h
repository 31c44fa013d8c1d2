// How the install thread shows its progress to the wizard's progress page and learns of the
// user's cancel: through the engine's report, never by writing the engine's variables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/engine/workers/worker_protocol.h"

namespace setup::sysconfig::installer {

// The engine's report the runs go through.
engine::IWorkerReport& RunReport();

// Publishes progress as engine::SetThreadProgress does.
void SetThreadProgress(std::string_view text, std::int64_t position, std::int64_t max,
                       std::int64_t min);
// Publishes the handler's numbers; false once a cancel, or anything but "no cancel", is recorded.
bool MSIProgressCallback(const std::string& text, std::int64_t position, std::int64_t total,
                         std::int64_t min);
bool CancelRequested();
bool ThreadFinished();

}  // namespace setup::sysconfig::installer
