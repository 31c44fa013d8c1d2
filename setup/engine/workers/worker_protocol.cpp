#include "setup/engine/workers/worker_protocol.h"

#include <string>

#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

std::atomic<bool> WorkerBusy{false};
bool CancelFlag = false;

int CheckCancel()
{
    return CancelFlag ? -1 : 1;
}

namespace {

std::int64_t StoredNumber(std::string_view name)
{
    return rtl::TryStrToInt64(Variables.GetValue(name)).value_or(0);
}

}  // namespace

void SetThreadProgress(std::string_view text, std::int64_t position, std::int64_t max,
                       std::int64_t min)
{
    std::string progressText(text);
    if (text == kKeepProgress) {
        progressText = Variables.GetValue("TARQ_thProgressText");
        position = StoredNumber("TARQ_thProgress");
        max = StoredNumber("TARQ_thMax");
        min = StoredNumber("TARQ_thMin");
    }
    // Stored directly, one by one: these are the engine's own values, never held back by a
    // command-line assignment, and a reader tolerates a new maximum beside an old position.
    if (position != -1) {
        Variables.SetValue("TARQ_thMax", std::to_string(max));
        Variables.SetValue("TARQ_thMin", std::to_string(min));
        Variables.SetValue("TARQ_thProgress", std::to_string(position));
    }
    if (progressText != kIgnoreProgressText)
        Variables.SetValue("TARQ_thProgressText", progressText);
}

}  // namespace setup::engine
