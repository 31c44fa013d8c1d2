// The Task Scheduler 1.0 service of Windows (the MSTask COM interfaces) and the Schedule service.
#pragma once

#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/sysconfig/tasks/statements_tasks.h"
#include "setup/sysconfig/tasks/task_service.h"

namespace setup::sysconfig::tasks {

class Win32TaskService final : public ITaskService
{
public:
    ~Win32TaskService() override;
    bool EnsureServiceRunning() override;
    HResult Open() override;
    void Close() override;
    HResult Enumerate(std::vector<std::wstring>& names) override;
    HResult Activate(const std::wstring& name, std::unique_ptr<ITaskHandle>& task) override;
    HResult NewWorkItem(const std::wstring& name, std::unique_ptr<ITaskHandle>& task) override;
    HResult Delete(const std::wstring& name) override;
    HResult GetTargetComputer(std::wstring& computer) override;
    HResult SetTargetComputer(const std::wstring& computer) override;
    int CompareNames(const std::wstring& a, const std::wstring& b) override;
    bool IsWindows9x() override;
    LocalTime Now() override;

private:
    void* m_scheduler = nullptr;  // ITaskScheduler
    bool m_comStarted = false;
};

// The statements' services: each statement opens and closes a service of its own.
TaskStatementServices Win32TaskStatementServices(engine::IWow64Services& wow64);

}  // namespace setup::sysconfig::tasks
