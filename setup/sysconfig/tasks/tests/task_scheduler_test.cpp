#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/sysconfig/tasks/task_scheduler.h"
#include "setup/sysconfig/tasks/tests/fake_task_service.h"

namespace setup::sysconfig::tasks {
namespace {

using testing::FakeTask;
using testing::FakeTaskService;
using testing::FakeTaskStore;

TEST(TaskNames, JobExtensionIsAddedOnceInAnyCase)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* fileName;
        const wchar_t* display;
    };
    const Case cases[] = {
        {L"Backup", L"Backup.job", L"Backup"},
        {L"Backup.job", L"Backup.job", L"Backup"},
        {L"X.JOB", L"X.JOB", L"X"},
        {L"a.jobs", L"a.jobs.job", L"a.jobs"},
        {L".job", L".job", L""},
        {L"job", L"job.job", L"job"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithJobExtension(c.name), c.fileName) << c.name;
        EXPECT_EQ(WithoutJobExtension(c.name), c.display) << c.name;
    }
}

TEST(TaskFlags, MapToThePlatformBitsInOrder)
{
    const std::uint32_t bits[] = {0x1,    0x2,  0x4,   0x200, 0x2000, 0x10,
                                  0x1000, 0x20, 0x800, 0x40,  0x80,   0x400};
    for (int i = 0; i < 12; ++i) {
        const auto flag = static_cast<TaskFlag>(i);
        EXPECT_EQ(FlagsToBits(FlagSet({flag})), bits[i]) << i;
        EXPECT_EQ(BitsToFlags(bits[i]), FlagSet({flag})) << i;
    }
    EXPECT_EQ(FlagsToBits(FlagSet({TaskFlag::RunOnlyIfLoggedOn, TaskFlag::RunIfConnectedToInternet,
                                   TaskFlag::Interactive})),
              0x2401u);
    EXPECT_EQ(BitsToFlags(0x8000), 0);  // bits the set does not name are dropped
}

class TaskSchedulerTest : public ::testing::Test
{
protected:
    FakeTaskStore store;
    FakeTaskService service{store};
    TaskScheduler scheduler{service};
};

TEST_F(TaskSchedulerTest, NeedsTheServiceToOpen)
{
    store.serviceRunning = false;
    EXPECT_THROW(scheduler.SetActive(true), SchedulerError);
    EXPECT_FALSE(scheduler.Active());
    EXPECT_THROW(scheduler.Refresh(), SchedulerError);
    EXPECT_EQ(scheduler.GetTargetComputer(), L"");
}

TEST_F(TaskSchedulerTest, NewTaskOnAnExistingName)
{
    store.tasks[L"nightly"].flags = 0x1;
    scheduler.SetActive(true);
    struct Case
    {
        TaskDuplicate duplicate;
        bool refresh;  // listed first, or only known to the service
        bool raises;
    };
    const Case cases[] = {
        {TaskDuplicate::Error, false, true},
        {TaskDuplicate::Error, true, true},
        {TaskDuplicate::ActivateFirst, false, false},
        {TaskDuplicate::ActivateFirst, true, false},
    };
    for (const Case& c : cases) {
        scheduler.duplicate = c.duplicate;
        scheduler.SetActive(false);
        scheduler.SetActive(true);
        if (c.refresh)
            scheduler.Refresh();
        if (c.raises) {
            try {
                scheduler.NewTask(L"NIGHTLY.JOB");
                ADD_FAILURE() << "no exception";
            } catch (const TaskError& e) {
                EXPECT_STREQ(e.what(), "Task with the name \"NIGHTLY\" already exists.");
            }
            continue;
        }
        TaskItem& item = scheduler.NewTask(L"nightly");
        EXPECT_EQ(scheduler.Count(), 1);
        if (c.refresh)
            EXPECT_THROW(item.GetFlags(), TaskError);  // listed, not yet activated
        else
            EXPECT_EQ(item.GetFlags(), FlagSet({TaskFlag::Interactive}));
    }
}

TEST_F(TaskSchedulerTest, NewTaskStartsWithTheBatteryFlags)
{
    scheduler.SetActive(true);
    TaskItem& item = scheduler.NewTask(L"Fresh");
    EXPECT_EQ(item.FileName(), L"Fresh.job");
    EXPECT_EQ(store.tasks[L"fresh"].flags, 0x40u | 0x80u);
    EXPECT_EQ(scheduler.ActivateTask(L"fresh.JOB"), &item);
}

TEST_F(TaskSchedulerTest, RefreshListsSortedAndLetsTheCallerSkip)
{
    for (const wchar_t* name : {L"delta", L"alpha", L"charlie", L"bravo"})
        store.tasks[name];
    scheduler.SetActive(true);
    scheduler.onBeforeTaskAdded = [](TaskItem& task, bool& canAdd) {
        canAdd = task.DisplayName() != L"charlie";
    };
    scheduler.Refresh();
    std::vector<std::wstring> names;
    for (int i = 0; i < scheduler.Count(); ++i)
        names.push_back(scheduler.Item(i).DisplayName());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"alpha", L"bravo", L"delta"}));
    int index = -1;
    EXPECT_FALSE(scheduler.FindTask(L"charlie.job", index));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(scheduler.FindTask(L"DELTA.JOB", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(scheduler.ActivateTask(L"nothing"), nullptr);
    TaskItem* charlie = scheduler.ActivateTask(L"charlie");
    ASSERT_NE(charlie, nullptr);
    EXPECT_EQ(scheduler.Count(), 4);
    EXPECT_EQ(&scheduler.Item(2), charlie);
}

TEST_F(TaskSchedulerTest, TriggersLoadAndReportBadIndexes)
{
    FakeTask& task = store.tasks[L"weekly"];
    task.triggers.resize(2);
    task.triggers[1].triggerType = kTriggerAtLogon;
    scheduler.SetActive(true);
    TaskItem* item = scheduler.ActivateTask(L"weekly");
    ASSERT_NE(item, nullptr);
    item->Activate();
    Triggers& triggers = item->GetTriggers();
    ASSERT_EQ(triggers.Count(), 2);
    EXPECT_EQ(triggers.Item(1).Record().triggerType, kTriggerAtLogon);
    try {
        triggers.Item(2);
        ADD_FAILURE() << "no exception";
    } catch (const TriggerError& e) {
        EXPECT_STREQ(e.what(), "Trigger index out of bounds (2)");
    }
    Trigger& added = triggers.Add();
    added.Update();  // with no setter: only the size is set
    EXPECT_EQ(task.triggers.back(), TriggerRecord{});
    EXPECT_EQ(task.triggers.back().size, 48);
    triggers.DeleteAll();
    EXPECT_TRUE(task.triggers.empty());
    scheduler.DeleteTask(L"WEEKLY");
    EXPECT_TRUE(store.tasks.empty());
    EXPECT_THROW(scheduler.DeleteTask(L"weekly"), ServiceCallError);
}

TEST_F(TaskSchedulerTest, AccountInformationIsSkippedOnWindows9x)
{
    service.windows9x = true;
    scheduler.SetActive(true);
    scheduler.NewTask(L"old").SetAccountInformation(L"user", L"secret");
    EXPECT_EQ(store.tasks[L"old"].user, L"");
}

TEST_F(TaskSchedulerTest, UnactivatedItemsRaise)
{
    store.tasks[L"listed"];
    scheduler.SetActive(true);
    scheduler.Refresh();
    TaskItem& item = scheduler.Item(0);
    try {
        item.Save();
        ADD_FAILURE() << "no exception";
    } catch (const TaskError& e) {
        EXPECT_STREQ(e.what(), "Task \"listed\" is not activated.");
    }
    store.tasks.clear();
    try {
        item.Activate();
        ADD_FAILURE() << "no exception";
    } catch (const TaskError& e) {
        EXPECT_STREQ(e.what(), "Could not activate \"listed\" task.");
    }
}

}  // namespace
}  // namespace setup::sysconfig::tasks
