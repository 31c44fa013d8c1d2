#include "setup/sysconfig/installer/thread_progress.h"

namespace setup::sysconfig::installer {

engine::IWorkerReport& RunReport()
{
    return engine::ProcessWorkerReport();
}

void SetThreadProgress(std::string_view text, std::int64_t position, std::int64_t max,
                       std::int64_t min)
{
    RunReport().Progress(text, position, max, min);
}

bool MSIProgressCallback(const std::string& text, std::int64_t position, std::int64_t total,
                         std::int64_t min)
{
    engine::IWorkerReport& report = RunReport();
    report.Progress(text, position, total, min);
    return report.NoCancelRecorded();
}

bool CancelRequested()
{
    return RunReport().CancelRequested();
}

bool ThreadFinished()
{
    return RunReport().Finished();
}

}  // namespace setup::sysconfig::installer
