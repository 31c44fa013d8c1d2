// The Task Scheduler wrapper: the service with its list of tasks sorted by name, one task with its
// settings, and its triggers. Names are kept with the extension ".job" and compared case-blind;
// failures of the service are raised as the wrapper's exceptions.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/sysconfig/tasks/task_service.h"

namespace setup::sysconfig::tasks {

class SchedulerError : public rtl::Exception
{
public:
    using Exception::Exception;
};
class TaskError : public rtl::Exception
{
public:
    using Exception::Exception;
};
class TriggerError : public rtl::Exception
{
public:
    using Exception::Exception;
};
// A failed service call, with its result code.
class ServiceCallError : public rtl::Exception
{
public:
    explicit ServiceCallError(HResult result);
    HResult Result() const { return m_result; }

private:
    HResult m_result;
};

// The task flags in the order the wrapper's set names them.
enum class TaskFlag
{
    Interactive,
    DeleteWhenDone,
    Disabled,
    Hidden,
    RunOnlyIfLoggedOn,
    StartOnlyIfIdle,
    SystemRequired,
    KillOnIdleEnd,
    RestartOnIdleResume,
    DontStartIfOnBatteries,
    KillIfGoingOnBatteries,
    RunIfConnectedToInternet,
};
using TaskFlags = std::uint16_t;  // bit n: TaskFlag n

constexpr TaskFlags FlagSet(std::initializer_list<TaskFlag> flags)
{
    TaskFlags set = 0;
    for (const TaskFlag flag : flags)
        set = static_cast<TaskFlags>(set | (1u << static_cast<int>(flag)));
    return set;
}
std::uint32_t FlagsToBits(TaskFlags flags);
TaskFlags BitsToFlags(std::uint32_t bits);

// "X" and "X.JOB" name one task: "X.job".
std::wstring WithJobExtension(const std::wstring& name);
std::wstring WithoutJobExtension(const std::wstring& name);

class TaskItem;
class TaskScheduler;

class Trigger
{
public:
    explicit Trigger(std::unique_ptr<ITriggerHandle> handle);
    TriggerRecord& Record() { return m_record; }
    void SetBeginDate(int year, int month, int day);
    void SetStartTime(int hour, int minute);
    void SetTriggerType(std::uint32_t type) { m_record.triggerType = type; }
    void SetTypeData(const std::uint16_t (&data)[4]);
    void Update();

private:
    friend class Triggers;
    std::unique_ptr<ITriggerHandle> m_handle;
    TriggerRecord m_record;
};

class Triggers
{
public:
    explicit Triggers(TaskItem& task) : m_task(task) {}
    Trigger& Add();
    void DeleteAll();
    void Load();
    void Update();
    int Count() const { return static_cast<int>(m_items.size()); }
    Trigger& Item(int index);

private:
    TaskItem& m_task;
    std::vector<std::unique_ptr<Trigger>> m_items;
};

class TaskItem
{
public:
    TaskItem(TaskScheduler& scheduler, std::wstring fileName, std::unique_ptr<ITaskHandle> task);

    void Activate();
    TaskFlags GetFlags();
    void SetFlags(TaskFlags flags);
    void SetApplicationName(const std::wstring& text);
    void SetParameters(const std::wstring& text);
    void SetWorkingDirectory(const std::wstring& text);
    void SetAccountInformation(const std::wstring& user, const std::wstring& password);
    Triggers& GetTriggers();
    void Save();
    const std::wstring& FileName() const { return m_fileName; }
    std::wstring DisplayName() const { return WithoutJobExtension(m_fileName); }

private:
    friend class Triggers;
    ITaskHandle& Task();  // raises when not activated

    TaskScheduler& m_scheduler;
    std::wstring m_fileName;
    std::unique_ptr<ITaskHandle> m_task;
    Triggers m_triggers{*this};
};

enum class TaskDuplicate
{
    Error,          // creating an existing name raises
    ActivateFirst,  // creating an existing name returns it
};

class TaskScheduler
{
public:
    explicit TaskScheduler(ITaskService& service) : m_service(service) {}
    ~TaskScheduler();
    TaskScheduler(const TaskScheduler&) = delete;
    TaskScheduler& operator=(const TaskScheduler&) = delete;

    bool Active() const { return m_active; }
    void SetActive(bool active);
    void Refresh();
    // The position of the name, or where it would be inserted.
    bool FindTask(const std::wstring& name, int& index);
    // A listed or existing task; nullptr when there is none.
    TaskItem* ActivateTask(const std::wstring& name);
    TaskItem& NewTask(const std::wstring& name);
    void DeleteTask(const std::wstring& name);
    std::wstring GetTargetComputer();
    void SetTargetComputer(const std::wstring& computer);
    bool EnsureServiceRunning() { return m_service.EnsureServiceRunning(); }

    int Count() const { return static_cast<int>(m_items.size()); }
    TaskItem& Item(int index) { return *m_items.at(static_cast<std::size_t>(index)); }
    ITaskService& Service() { return m_service; }

    bool autoRefresh = false;
    TaskDuplicate duplicate = TaskDuplicate::Error;
    std::function<void(TaskItem& task, bool& canAdd)> onBeforeTaskAdded;

private:
    void RequireActive();
    TaskItem& InsertItem(int index, std::wstring fileName, std::unique_ptr<ITaskHandle> task);

    ITaskService& m_service;
    bool m_active = false;
    std::vector<std::unique_ptr<TaskItem>> m_items;
};

}  // namespace setup::sysconfig::tasks
