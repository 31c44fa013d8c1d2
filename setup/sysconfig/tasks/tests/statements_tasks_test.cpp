#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/testing/statements_test_support.h"
#include "setup/engine/testing/system_info_fakes.h"
#include "setup/sysconfig/tasks/statements_tasks.h"
#include "setup/sysconfig/tasks/tests/fake_task_service.h"

namespace setup::sysconfig::tasks {
namespace {

using testing::FakeTask;
using testing::FakeTaskService;
using testing::FakeTaskStore;

std::wstring WidenLatin1(std::string_view text)
{
    return std::wstring(text.begin(), text.end());
}

TEST(ParseUsTime, ReadsTheUsEnglishForms)
{
    struct Case
    {
        const char* text;
        int hour;  // -1: not a time
        int minute;
    };
    const Case cases[] = {
        {"21:30", 21, 30},
        {"9:05 PM", 21, 5},
        {"12:00 AM", 0, 0},
        {"12:15 pm", 12, 15},
        {"6/1/2024 7:05:00 AM", 7, 5},
        {" 7 ", 7, 0},
        {"24:00", -1, 0},
        {"13:00 PM", -1, 0},
        {"9:60", -1, 0},
        {"noon", -1, 0},
        {"", -1, 0},
        {"6/1/2024", -1, 0},
        {"10:30 xm", -1, 0},
    };
    for (const Case& c : cases) {
        const std::optional<ClockTime> time = ParseUsTime(c.text);
        if (c.hour < 0) {
            EXPECT_FALSE(time.has_value()) << c.text;
            continue;
        }
        ASSERT_TRUE(time.has_value()) << c.text;
        EXPECT_EQ(time->hour, c.hour) << c.text;
        EXPECT_EQ(time->minute, c.minute) << c.text;
    }
}

class TaskStatementTest : public engine::testing::StatementTest
{
protected:
    void SetUp() override
    {
        RegisterTaskStatements(
            handlers,
            {[this] { return std::make_unique<FakeTaskService>(store); }, &wow64, &WidenLatin1});
    }
    FakeTaskStore store;
    engine::testing::FakeWow64Switch wow64;
};

TEST_F(TaskStatementTest, ScheduleTaskBuildsOneTrigger)
{
    struct Case
    {
        const char* name;
        const char* params;  // p2 to p9
        std::uint32_t type;
        std::uint16_t dayMask;
        int hour;
        int minute;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {"weekly on friday", "||||TRUE|Every Friday|9:30 PM||", kTriggerWeekly, 32, 21, 30, 0x2000},
        {"every day", "||||TRUE|every day|06:15|TRUE|", kTriggerDaily, 0, 6, 15, 0x2400},
        {"first weekday in week order", "||||TRUE|sunday or monday|7:00||TRUE", kTriggerWeekly, 2,
         7, 0, 0x2001},
        {"unreadable time: now", "||||TRUE|tuesday|soon||", kTriggerWeekly, 4, 13, 45, 0x2000},
        {"logon over schedule", "|||TRUE|TRUE|friday|9:30||", kTriggerAtLogon, 32, 9, 30, 0x2000},
        {"system start over both", "||TRUE|TRUE|TRUE|friday|9:30||", kTriggerAtSystemStart, 32, 9,
         30, 0x2000},
        {"flags need exactly TRUE", "||true||True|friday|9:30|true|yes", kTriggerOnce, 0, 0, 0,
         0x2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.tasks.clear();
        Run({std::string("Schedule Task|Nightly") + c.params +
             "|C:\\\\Tools\\\\run.exe|C:\\Tools|/quiet|user|pw"});
        ASSERT_EQ(store.tasks.size(), 1u);
        const FakeTask& task = store.tasks.begin()->second;
        EXPECT_EQ(store.tasks.begin()->first, L"nightly");
        EXPECT_EQ(task.flags, c.flags);  // the battery flags of a new task are replaced
        ASSERT_EQ(task.triggers.size(), 1u);
        const TriggerRecord& trigger = task.triggers[0];
        EXPECT_EQ(trigger.triggerType, c.type);
        EXPECT_EQ(trigger.typeData[0], 1);
        EXPECT_EQ(trigger.typeData[1], c.dayMask);
        EXPECT_EQ(trigger.startHour, c.hour);
        EXPECT_EQ(trigger.startMinute, c.minute);
        EXPECT_EQ(trigger.beginYear, 2024);
        EXPECT_EQ(trigger.beginMonth, 6);
        EXPECT_EQ(trigger.beginDay, 7);
        EXPECT_EQ(task.application, L"C:\\Tools\\run.exe");
        EXPECT_EQ(task.workingDirectory, L"C:\\Tools");
        EXPECT_EQ(task.parameters, L"/quiet");
        EXPECT_EQ(task.user, L"user");
        EXPECT_EQ(task.password, L"pw");
        EXPECT_EQ(task.saves, 1);
        EXPECT_EQ(store.closes, store.sessions);
        EXPECT_EQ(wow64.disabled, 0);
    }
}

TEST_F(TaskStatementTest, ScheduleTaskReplacesTheTriggersOfAnExistingTask)
{
    FakeTask& task = store.tasks[L"nightly"];
    task.triggers.resize(3);
    task.flags = 0x4;
    Run({"Schedule Task|NIGHTLY.job||||TRUE|monday|8:00||||||"});
    ASSERT_EQ(store.tasks.size(), 1u);
    EXPECT_EQ(task.triggers.size(), 1u);
    EXPECT_EQ(task.triggers[0].typeData[1], 2);
    EXPECT_EQ(task.flags, 0x2000u);
}

TEST_F(TaskStatementTest, TargetComputerGetsItsBackslashes)
{
    store.targetWithoutBackslashes = true;
    Run({"Schedule Task|T|server7||||||||"});
    EXPECT_EQ(store.targetsSet, (std::vector<std::wstring>{L"server7", L"\\\\server7"}));
    store.targetsSet.clear();
    store.targetWithoutBackslashes = false;
    Run({"Delete Scheduled Task|T|\\\\server7"});
    EXPECT_EQ(store.targetsSet, (std::vector<std::wstring>{L"\\\\server7"}));
    EXPECT_TRUE(store.tasks.empty());
}

TEST_F(TaskStatementTest, NothingHappensWithoutTheService)
{
    store.serviceRunning = false;
    Run({"Schedule Task|T||||TRUE|monday|8:00", "Delete Scheduled Task|T"});
    EXPECT_EQ(store.sessions, 0);
    EXPECT_TRUE(store.tasks.empty());
}

TEST_F(TaskStatementTest, DeletingAMissingTaskIsQuiet)
{
    EXPECT_NO_THROW(Run({"Delete Scheduled Task|Never There"}));
    EXPECT_EQ(store.closes, 1);
}

}  // namespace
}  // namespace setup::sysconfig::tasks
