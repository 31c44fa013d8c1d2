#include "setup/sysconfig/tasks/statements_tasks.h"

#include "setup/engine/interpreter/statements_support.h"
#include "setup/sysconfig/tasks/task_scheduler.h"

namespace setup::sysconfig::tasks {

namespace {

using engine::StatementContext;

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return lower;
}

std::string TaskName(StatementContext& statement)
{
    const std::string expanded = engine::ExpandedParam(statement, 1);
    return engine::LocalizeExpanded(statement, expanded, statement.Key(), 1);
}

bool ExactFlag(StatementContext& statement, int n)
{
    return engine::IsExactlyTrue(engine::ExpandedParam(statement, n));
}

// The target computer, and again with "\\" in front when the service does not give it so.
void AddressComputer(TaskScheduler& scheduler, const std::wstring& computer)
{
    scheduler.SetTargetComputer(computer);
    const std::wstring current = scheduler.GetTargetComputer();
    if (!current.empty() && current.rfind(L"\\\\", 0) != 0)
        scheduler.SetTargetComputer(L"\\\\" + current);
}

void ScheduleTask(StatementContext& statement, const TaskStatementServices& services)
{
    const engine::FsRedirectionScope redirection(*services.wow64,
                                                 statement.Engine().TargetPlatform);
    const std::wstring name = services.widen(TaskName(statement));
    const auto normalized = [&](int n) {
        return services.widen(engine::NormalizedParam(statement, n));
    };
    const std::unique_ptr<ITaskService> service = services.openService();
    TaskScheduler scheduler(*service);
    if (!scheduler.EnsureServiceRunning())
        return;
    // Failures leave through the interpreter's error handling; the scheduler closes on the way.
    scheduler.SetActive(true);
    AddressComputer(scheduler, normalized(2));
    TaskItem* task = scheduler.ActivateTask(name);
    if (task)
        task->Activate();
    else
        task = &scheduler.NewTask(name);
    task->SetWorkingDirectory(normalized(11));
    task->SetParameters(normalized(12));
    task->SetApplicationName(normalized(10));
    TaskFlags flags = FlagSet({TaskFlag::RunOnlyIfLoggedOn});
    if (ExactFlag(statement, 9))
        flags |= FlagSet({TaskFlag::Interactive});
    if (ExactFlag(statement, 8))
        flags |= FlagSet({TaskFlag::RunIfConnectedToInternet});
    task->SetFlags(flags);

    Triggers& triggers = task->GetTriggers();
    triggers.DeleteAll();
    Trigger& trigger = triggers.Add();
    std::uint16_t typeData[4] = {1, 0, 0, 0};  // an interval of one week or day
    const LocalTime now = service->Now();
    if (ExactFlag(statement, 5)) {
        const std::string day = engine::ExpandedParam(statement, 6);
        typeData[1] = WeekdayMask(day);
        const bool daily =
            typeData[1] == 0 && LowerAscii(day).find("every day") != std::string::npos;
        trigger.SetTriggerType(daily ? kTriggerDaily : kTriggerWeekly);
        const ClockTime start = ParseUsTime(engine::ExpandedParam(statement, 7))
                                    .value_or(ClockTime{now.hour, now.minute});
        trigger.SetStartTime(start.hour, start.minute);
    }
    if (ExactFlag(statement, 4))
        trigger.SetTriggerType(kTriggerAtLogon);
    if (ExactFlag(statement, 3))
        trigger.SetTriggerType(kTriggerAtSystemStart);
    trigger.SetBeginDate(now.year, now.month, now.day);
    trigger.SetTypeData(typeData);
    trigger.Update();
    triggers.Update();
    task->SetAccountInformation(normalized(13), normalized(14));
    task->Save();
    scheduler.SetActive(false);
}

void DeleteScheduledTask(StatementContext& statement, const TaskStatementServices& services)
{
    const engine::FsRedirectionScope redirection(*services.wow64,
                                                 statement.Engine().TargetPlatform);
    const std::wstring name = services.widen(TaskName(statement));
    const std::unique_ptr<ITaskService> service = services.openService();
    TaskScheduler scheduler(*service);
    if (!scheduler.EnsureServiceRunning())
        return;
    try {
        scheduler.SetActive(true);
        AddressComputer(scheduler, services.widen(engine::NormalizedParam(statement, 2)));
        scheduler.DeleteTask(name);
    } catch (const rtl::Exception&) {
        // A task that is not there (any more) is what the statement wants.
    }
}

}  // namespace

std::optional<ClockTime> ParseUsTime(std::string_view text)
{
    std::string value = LowerAscii(engine::TrimText(text));
    if (value.find('/') != std::string::npos) {  // a date in front
        const std::size_t blank = value.find(' ');
        if (blank == std::string::npos)
            return std::nullopt;
        value = engine::TrimText(value.substr(blank + 1));
    }
    int fields[3] = {0, 0, 0};
    int count = 0;
    std::size_t at = 0;
    while (count < 3) {
        const std::size_t start = at;
        int number = 0;
        while (at < value.size() && value[at] >= '0' && value[at] <= '9' && at - start < 2)
            number = number * 10 + (value[at++] - '0');
        if (at == start)
            return std::nullopt;
        fields[count++] = number;
        if (at >= value.size() || value[at] != ':')
            break;
        ++at;
    }
    const std::string rest = engine::TrimText(value.substr(at));
    int hour = fields[0];
    if (rest == "am" || rest == "pm") {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (rest == "pm" ? 12 : 0);
    } else if (!rest.empty()) {
        return std::nullopt;
    }
    if (hour > 23 || fields[1] > 59 || fields[2] > 59)
        return std::nullopt;
    return ClockTime{hour, fields[1]};
}

std::uint16_t WeekdayMask(std::string_view text)
{
    struct Day
    {
        const char* name;
        std::uint16_t bit;
    };
    constexpr Day days[] = {{"monday", 2},  {"tuesday", 4},   {"wednesday", 8}, {"thursday", 16},
                            {"friday", 32}, {"saturday", 64}, {"sunday", 1}};
    const std::string lower = LowerAscii(text);
    for (const Day& day : days) {
        if (lower.find(day.name) != std::string::npos)
            return day.bit;
    }
    return 0;
}

void RegisterTaskStatements(engine::StatementHandlerTable& table,
                            const TaskStatementServices& services)
{
    table.Register("Schedule Task",
                   [services](StatementContext& statement) { ScheduleTask(statement, services); });
    table.Register("Delete Scheduled Task", [services](StatementContext& statement) {
        DeleteScheduledTask(statement, services);
    });
}

}  // namespace setup::sysconfig::tasks
