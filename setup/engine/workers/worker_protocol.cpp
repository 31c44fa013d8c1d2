#include "setup/engine/workers/worker_protocol.h"

#include <string>

#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/variable_manager.h"

namespace setup::engine {

int CheckCancel(const WorkerFlags& flags)
{
    return flags.cancelled ? -1 : 1;
}

StoredProgress ReadThreadProgress(const TVariableManager& variables)
{
    StoredProgress stored;
    stored.text = variables.GetValue("TARQ_thProgressText");
    stored.position = rtl::TryStrToInt64(variables.GetValue("TARQ_thProgress"));
    stored.max = rtl::TryStrToInt64(variables.GetValue("TARQ_thMax"));
    stored.min = rtl::TryStrToInt64(variables.GetValue("TARQ_thMin"));
    return stored;
}

void SetThreadProgress(TVariableManager& variables, std::string_view text, std::int64_t position,
                       std::int64_t max, std::int64_t min)
{
    std::string progressText(text);
    if (text == kKeepProgress) {
        const StoredProgress stored = ReadThreadProgress(variables);
        progressText = stored.text;
        position = stored.position.value_or(0);
        max = stored.max.value_or(0);
        min = stored.min.value_or(0);
    }
    // Stored directly, one by one: these are the engine's own values, never held back by a
    // command-line assignment, and a reader tolerates a new maximum beside an old position.
    if (position != -1) {
        variables.SetValue("TARQ_thMax", std::to_string(max));
        variables.SetValue("TARQ_thMin", std::to_string(min));
        variables.SetValue("TARQ_thProgress", std::to_string(position));
    }
    if (progressText != kIgnoreProgressText)
        variables.SetValue("TARQ_thProgressText", progressText);
}

void VariableWorkerReport::Progress(std::string_view text, std::int64_t position, std::int64_t max,
                                    std::int64_t min)
{
    SetThreadProgress(m_variables, text, position, max, min);
}

void VariableWorkerReport::SetFinished(bool finished)
{
    m_variables.Update("TARQ_thFinished", finished ? "TRUE" : "FALSE");
}

void VariableWorkerReport::ClearCancel()
{
    m_variables.Update("TARQ_thCancelled", "FALSE");
}

bool VariableWorkerReport::Finished() const
{
    return m_variables.GetValue("TARQ_thFinished") == "TRUE";
}

bool VariableWorkerReport::CancelRequested() const
{
    return m_variables.GetValue("TARQ_thCancelled") == "TRUE";
}

bool VariableWorkerReport::NoCancelRecorded() const
{
    return m_variables.GetValue("TARQ_thCancelled") == "FALSE";
}

}  // namespace setup::engine
