// The thread-progress variables through which the install thread shows its progress to the
// wizard's progress page and learns of the user's cancel.
#pragma once

#include <cstdint>
#include <string>

namespace setup::sysconfig::installer {

// Writes TARQ_thMax, TARQ_thMin and TARQ_thProgress unless position is -1, and
// TARQ_thProgressText unless text is "$IGNORE$".
void SetThreadProgress(const std::string& text, std::int64_t position, std::int64_t maximum,
                       std::int64_t minimum);
// Publishes the handler's numbers; false once TARQ_thCancelled is no longer "FALSE".
bool MSIProgressCallback(const std::string& text, std::int64_t position, std::int64_t total,
                         std::int64_t min);
bool CancelRequested();  // TARQ_thCancelled holds "TRUE"
bool ThreadFinished();   // TARQ_thFinished holds "TRUE"

}  // namespace setup::sysconfig::installer
