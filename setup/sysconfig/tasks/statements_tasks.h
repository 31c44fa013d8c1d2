// "Schedule Task" and "Delete Scheduled Task": one Task Scheduler job created or changed with a
// single trigger (weekly, daily, at logon or at system start), or deleted.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/sysconfig/tasks/task_service.h"

namespace setup::sysconfig::tasks {

using WidenText = std::wstring (*)(std::string_view text);

struct TaskStatementServices
{
    // A fresh service session for each statement.
    std::function<std::unique_ptr<ITaskService>()> openService;
    engine::IWow64Services* wow64 = nullptr;
    WidenText widen = nullptr;
};

struct ClockTime
{
    int hour = 0;
    int minute = 0;
};
// A time as US English settings write it ("9:30 PM", "21:30", "6/1/2024 7:05:00 AM"); none when
// the text is not one.
std::optional<ClockTime> ParseUsTime(std::string_view text);
// The day bit of the first weekday named in the text (Monday to Sunday); 0 when none is.
std::uint16_t WeekdayMask(std::string_view text);

void RegisterTaskStatements(engine::StatementHandlerTable& table,
                            const TaskStatementServices& services);

}  // namespace setup::sysconfig::tasks
