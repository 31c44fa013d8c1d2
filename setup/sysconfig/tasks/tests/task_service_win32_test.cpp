// The wrapper and the statements against Wine's own Task Scheduler.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "setup/engine/testing/interpreter_test_support.h"
#include "setup/sysconfig/tasks/task_scheduler.h"
#include "setup/sysconfig/tasks/task_service_win32.h"

namespace setup::sysconfig::tasks {
namespace {

std::wstring ScratchTaskName()
{
    return L"VontarTaskTest" + std::to_wstring(GetCurrentProcessId()) + L"_" +
           std::to_wstring(GetTickCount());
}

// Deletes the task whatever the test left behind.
struct TaskCleanup
{
    std::wstring name;
    ~TaskCleanup()
    {
        Win32TaskService service;
        TaskScheduler scheduler(service);
        try {
            scheduler.SetActive(true);
            scheduler.DeleteTask(name);
        } catch (const rtl::Exception&) {
        }
    }
};

bool Listed(TaskScheduler& scheduler, const std::wstring& name)
{
    scheduler.Refresh();
    int index = 0;
    return scheduler.FindTask(WithJobExtension(name), index);
}

TEST(TaskSchedulerWin32, CreatesReadsEnumeratesAndDeletesATask)
{
    const TaskCleanup cleanup{ScratchTaskName()};
    const std::wstring& name = cleanup.name;
    Win32TaskService service;
    TaskScheduler scheduler(service);
    ASSERT_TRUE(scheduler.EnsureServiceRunning());
    scheduler.SetActive(true);
    {
        TaskItem& task = scheduler.NewTask(name);
        EXPECT_EQ(task.GetFlags(),
                  FlagSet({TaskFlag::DontStartIfOnBatteries, TaskFlag::KillIfGoingOnBatteries}));
        task.SetApplicationName(L"C:\\windows\\notepad.exe");
        task.SetFlags(FlagSet({TaskFlag::RunOnlyIfLoggedOn, TaskFlag::RunIfConnectedToInternet,
                               TaskFlag::Interactive}));
        Triggers& triggers = task.GetTriggers();
        Trigger& weekly = triggers.Add();
        weekly.SetTriggerType(kTriggerWeekly);
        weekly.SetBeginDate(2024, 6, 7);
        weekly.SetStartTime(21, 30);
        weekly.SetTypeData({1, 32, 0, 0});
        weekly.Update();
        Trigger& logon = triggers.Add();
        logon.SetTriggerType(kTriggerAtLogon);
        logon.SetBeginDate(2024, 6, 7);
        logon.Update();
        task.Save();
    }
    scheduler.SetActive(false);

    scheduler.SetActive(true);
    EXPECT_TRUE(Listed(scheduler, name));
    EXPECT_THROW(scheduler.NewTask(name), TaskError);
    TaskItem* task = scheduler.ActivateTask(name + L".JOB");
    ASSERT_NE(task, nullptr);
    task->Activate();
    EXPECT_EQ(FlagsToBits(task->GetFlags()), 0x2401u);
    Triggers& triggers = task->GetTriggers();
    ASSERT_EQ(triggers.Count(), 2);
    const TriggerRecord& weekly = triggers.Item(0).Record();
    EXPECT_EQ(weekly.triggerType, kTriggerWeekly);
    EXPECT_EQ(weekly.typeData[0], 1);
    EXPECT_EQ(weekly.typeData[1], 32);
    EXPECT_EQ(weekly.startHour, 21);
    EXPECT_EQ(weekly.startMinute, 30);
    EXPECT_EQ(triggers.Item(1).Record().triggerType, kTriggerAtLogon);

    scheduler.DeleteTask(name);
    EXPECT_FALSE(Listed(scheduler, name));
}

class TaskScriptTest : public engine::testing::InterpreterTest
{
};

TEST_F(TaskScriptTest, ScriptSchedulesAndDeletesATask)
{
    const TaskCleanup cleanup{ScratchTaskName()};
    const std::string name(cleanup.name.begin(), cleanup.name.end());
    Run({"Set Variable|TASKNAME|" + name,
         "Schedule Task|$TASKNAME$||||TRUE|every day|6:15 "
         "AM|TRUE|TRUE|C:\\windows\\notepad.exe|C:\\windows||||"});
    Win32TaskService service;
    TaskScheduler scheduler(service);
    scheduler.SetActive(true);
    TaskItem* task = scheduler.ActivateTask(cleanup.name);
    ASSERT_NE(task, nullptr);
    task->Activate();
    EXPECT_EQ(FlagsToBits(task->GetFlags()), 0x2401u);
    ASSERT_EQ(task->GetTriggers().Count(), 1);
    const TriggerRecord& trigger = task->GetTriggers().Item(0).Record();
    EXPECT_EQ(trigger.triggerType, kTriggerDaily);
    EXPECT_EQ(trigger.startHour, 6);
    EXPECT_EQ(trigger.startMinute, 15);
    scheduler.SetActive(false);

    Run({"Delete Scheduled Task|" + name});
    scheduler.SetActive(true);
    EXPECT_FALSE(Listed(scheduler, cleanup.name));
}

}  // namespace
}  // namespace setup::sysconfig::tasks
