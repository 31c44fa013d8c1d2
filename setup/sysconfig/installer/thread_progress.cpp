#include "setup/sysconfig/installer/thread_progress.h"

namespace setup::sysconfig::installer {

bool MSIProgressCallback(engine::IWorkerReport& report, const std::string& text,
                         std::int64_t position, std::int64_t total, std::int64_t min)
{
    report.Progress(text, position, total, min);
    return report.NoCancelRecorded();
}

}  // namespace setup::sysconfig::installer
