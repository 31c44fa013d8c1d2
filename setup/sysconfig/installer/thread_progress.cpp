#include "setup/sysconfig/installer/thread_progress.h"

#include "setup/engine/script/variables.h"

namespace setup::sysconfig::installer {

bool MSIProgressCallback(const std::string& text, std::int64_t position, std::int64_t total,
                         std::int64_t min)
{
    auto& variables = engine::Variables;
    variables.Update("TARQ_thProgress", std::to_string(position));
    variables.Update("TARQ_thMax", std::to_string(total));
    variables.Update("TARQ_thMin", std::to_string(min));
    variables.Update("TARQ_thProgressText", text);
    return variables.GetValue("TARQ_thCancelled") == "FALSE";
}

bool CancelRequested()
{
    return engine::Variables.GetValue("TARQ_thCancelled") == "TRUE";
}

bool ThreadFinished()
{
    return engine::Variables.GetValue("TARQ_thFinished") == "TRUE";
}

}  // namespace setup::sysconfig::installer
