// The Task Scheduler 1.0 service as the wrapper needs it: work items by name, their settings and
// their triggers. Windows answers it through its COM interfaces, tests through a fake. Failing
// calls return the service's result code (negative); names reach the service without ".job".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace setup::sysconfig::tasks {

using HResult = std::int32_t;

inline bool Failed(HResult result)
{
    return result < 0;
}

// The platform's trigger record, field for field.
struct TriggerRecord
{
    std::uint16_t size = 48;
    std::uint16_t reserved1 = 0;
    std::uint16_t beginYear = 0;
    std::uint16_t beginMonth = 0;
    std::uint16_t beginDay = 0;
    std::uint16_t endYear = 0;
    std::uint16_t endMonth = 0;
    std::uint16_t endDay = 0;
    std::uint16_t startHour = 0;
    std::uint16_t startMinute = 0;
    std::uint32_t minutesDuration = 0;
    std::uint32_t minutesInterval = 0;
    std::uint32_t flags = 0;
    std::uint32_t triggerType = 0;
    std::uint16_t typeData[4] = {};  // daily: interval; weekly: interval, day mask
    std::uint16_t reserved2 = 0;
    std::uint16_t randomMinutesInterval = 0;
    bool operator==(const TriggerRecord&) const = default;
};

enum TriggerType : std::uint32_t
{
    kTriggerOnce = 0,
    kTriggerDaily = 1,
    kTriggerWeekly = 2,
    kTriggerMonthlyDate = 3,
    kTriggerMonthlyDow = 4,
    kTriggerOnIdle = 5,
    kTriggerAtSystemStart = 6,
    kTriggerAtLogon = 7,
};

class ITriggerHandle
{
public:
    virtual ~ITriggerHandle() = default;
    virtual HResult GetTrigger(TriggerRecord& record) = 0;
    virtual HResult SetTrigger(const TriggerRecord& record) = 0;
};

// One work item.
class ITaskHandle
{
public:
    virtual ~ITaskHandle() = default;
    virtual HResult GetFlags(std::uint32_t& flags) = 0;
    virtual HResult SetFlags(std::uint32_t flags) = 0;
    virtual HResult SetApplicationName(const std::wstring& text) = 0;
    virtual HResult SetParameters(const std::wstring& text) = 0;
    virtual HResult SetWorkingDirectory(const std::wstring& text) = 0;
    // An empty password is passed as none.
    virtual HResult SetAccountInformation(const std::wstring& user,
                                          const std::wstring& password) = 0;
    virtual HResult CreateTrigger(std::unique_ptr<ITriggerHandle>& trigger) = 0;
    virtual HResult DeleteTrigger(int index) = 0;
    virtual HResult GetTriggerCount(int& count) = 0;
    virtual HResult GetTrigger(int index, std::unique_ptr<ITriggerHandle>& trigger) = 0;
    virtual HResult Save() = 0;
};

// Local date and time, as the statements set begin dates and default start times.
struct LocalTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

class ITaskService
{
public:
    virtual ~ITaskService() = default;
    // Starts the service when it is not running; false when that failed.
    virtual bool EnsureServiceRunning() = 0;
    virtual HResult Open() = 0;
    virtual void Close() = 0;
    virtual HResult Enumerate(std::vector<std::wstring>& names) = 0;
    virtual HResult Activate(const std::wstring& name, std::unique_ptr<ITaskHandle>& task) = 0;
    virtual HResult NewWorkItem(const std::wstring& name, std::unique_ptr<ITaskHandle>& task) = 0;
    virtual HResult Delete(const std::wstring& name) = 0;
    virtual HResult GetTargetComputer(std::wstring& computer) = 0;
    // Empty: this computer.
    virtual HResult SetTargetComputer(const std::wstring& computer) = 0;
    // The system's case-blind comparison: negative, 0 or positive.
    virtual int CompareNames(const std::wstring& a, const std::wstring& b) = 0;
    virtual bool IsWindows9x() = 0;
    virtual LocalTime Now() = 0;
};

}  // namespace setup::sysconfig::tasks
