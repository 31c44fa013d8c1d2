#include "setup/sysconfig/tasks/task_service_win32.h"

#include <windows.h>

#include <initguid.h>
#include <mstask.h>
#include <objidl.h>

#include <cstring>

#include "core/text_convert.h"

namespace setup::sysconfig::tasks {

namespace {

static_assert(sizeof(TASK_TRIGGER) == 48, "the trigger record has the platform's layout");

template <typename T>
void ReleaseCom(T*& pointer)
{
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

// The scheduler service reads a job file as soon as it is written; a save or a load that meets
// that read fails with a sharing violation for a moment. Such a call is tried again for a while.
template <typename Call>
HRESULT WhileShared(Call call)
{
    HRESULT result = call();
    for (int attempt = 0;
         attempt < 40 && result == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION); ++attempt) {
        ::Sleep(25);
        result = call();
    }
    return result;
}

TASK_TRIGGER ToPlatform(const TriggerRecord& record)
{
    TASK_TRIGGER trigger{};
    trigger.cbTriggerSize = sizeof(TASK_TRIGGER);
    trigger.Reserved1 = record.reserved1;
    trigger.wBeginYear = record.beginYear;
    trigger.wBeginMonth = record.beginMonth;
    trigger.wBeginDay = record.beginDay;
    trigger.wEndYear = record.endYear;
    trigger.wEndMonth = record.endMonth;
    trigger.wEndDay = record.endDay;
    trigger.wStartHour = record.startHour;
    trigger.wStartMinute = record.startMinute;
    trigger.MinutesDuration = record.minutesDuration;
    trigger.MinutesInterval = record.minutesInterval;
    trigger.rgFlags = record.flags;
    trigger.TriggerType = static_cast<TASK_TRIGGER_TYPE>(record.triggerType);
    static_assert(sizeof(trigger.Type) == sizeof(record.typeData));
    std::memcpy(&trigger.Type, record.typeData, sizeof(record.typeData));
    trigger.Reserved2 = record.reserved2;
    trigger.wRandomMinutesInterval = record.randomMinutesInterval;
    return trigger;
}

TriggerRecord FromPlatform(const TASK_TRIGGER& trigger)
{
    TriggerRecord record;
    record.size = trigger.cbTriggerSize;
    record.reserved1 = trigger.Reserved1;
    record.beginYear = trigger.wBeginYear;
    record.beginMonth = trigger.wBeginMonth;
    record.beginDay = trigger.wBeginDay;
    record.endYear = trigger.wEndYear;
    record.endMonth = trigger.wEndMonth;
    record.endDay = trigger.wEndDay;
    record.startHour = trigger.wStartHour;
    record.startMinute = trigger.wStartMinute;
    record.minutesDuration = trigger.MinutesDuration;
    record.minutesInterval = trigger.MinutesInterval;
    record.flags = trigger.rgFlags;
    record.triggerType = static_cast<std::uint32_t>(trigger.TriggerType);
    std::memcpy(record.typeData, &trigger.Type, sizeof(record.typeData));
    record.reserved2 = trigger.Reserved2;
    record.randomMinutesInterval = trigger.wRandomMinutesInterval;
    return record;
}

class Win32Trigger final : public ITriggerHandle
{
public:
    explicit Win32Trigger(ITaskTrigger* trigger) : m_trigger(trigger) {}
    ~Win32Trigger() override { ReleaseCom(m_trigger); }
    HResult GetTrigger(TriggerRecord& record) override
    {
        TASK_TRIGGER trigger{};
        trigger.cbTriggerSize = sizeof(trigger);
        const HRESULT result = m_trigger->GetTrigger(&trigger);
        if (SUCCEEDED(result))
            record = FromPlatform(trigger);
        return result;
    }
    HResult SetTrigger(const TriggerRecord& record) override
    {
        TASK_TRIGGER trigger = ToPlatform(record);
        return m_trigger->SetTrigger(&trigger);
    }

private:
    ITaskTrigger* m_trigger;
};

class Win32Task final : public ITaskHandle
{
public:
    explicit Win32Task(ITask* task) : m_task(task) {}
    ~Win32Task() override { ReleaseCom(m_task); }
    HResult GetFlags(std::uint32_t& flags) override
    {
        DWORD value = 0;
        const HRESULT result = m_task->GetFlags(&value);
        flags = value;
        return result;
    }
    HResult SetFlags(std::uint32_t flags) override { return m_task->SetFlags(flags); }
    HResult SetApplicationName(const std::wstring& text) override
    {
        return m_task->SetApplicationName(text.c_str());
    }
    HResult SetParameters(const std::wstring& text) override
    {
        return m_task->SetParameters(text.c_str());
    }
    HResult SetWorkingDirectory(const std::wstring& text) override
    {
        return m_task->SetWorkingDirectory(text.c_str());
    }
    HResult SetAccountInformation(const std::wstring& user, const std::wstring& password) override
    {
        return m_task->SetAccountInformation(user.c_str(),
                                             password.empty() ? nullptr : password.c_str());
    }
    HResult CreateTrigger(std::unique_ptr<ITriggerHandle>& trigger) override
    {
        WORD index = 0;
        ITaskTrigger* created = nullptr;
        const HRESULT result = m_task->CreateTrigger(&index, &created);
        if (SUCCEEDED(result))
            trigger = std::make_unique<Win32Trigger>(created);
        return result;
    }
    HResult DeleteTrigger(int index) override
    {
        return m_task->DeleteTrigger(static_cast<WORD>(index));
    }
    HResult GetTriggerCount(int& count) override
    {
        WORD value = 0;
        const HRESULT result = m_task->GetTriggerCount(&value);
        count = value;
        return result;
    }
    HResult GetTrigger(int index, std::unique_ptr<ITriggerHandle>& trigger) override
    {
        ITaskTrigger* found = nullptr;
        const HRESULT result = m_task->GetTrigger(static_cast<WORD>(index), &found);
        if (SUCCEEDED(result))
            trigger = std::make_unique<Win32Trigger>(found);
        return result;
    }
    HResult Save() override
    {
        IPersistFile* file = nullptr;
        HRESULT result = m_task->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(result)) {
            result = WhileShared([file] { return file->Save(nullptr, TRUE); });
            file->Release();
        }
        return result;
    }

private:
    ITask* m_task;
};

ITaskScheduler* Scheduler(void* pointer)
{
    return static_cast<ITaskScheduler*>(pointer);
}

// Without this, the last error of an earlier call would decide a path that made none.
bool NoError()
{
    return GetLastError() == ERROR_SUCCESS;
}

std::wstring JoinedWithText(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring();
}

std::wstring WidenAnsi(std::string_view text)
{
    return core::AnsiToWide(text);
}

}  // namespace

Win32TaskService::~Win32TaskService()
{
    Close();
}

bool Win32TaskService::EnsureServiceRunning()
{
    SetLastError(ERROR_SUCCESS);
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return NoError();
    bool running = false;
    SC_HANDLE service = OpenServiceA(manager, "Schedule", SERVICE_QUERY_STATUS);
    if (!service)
        service = OpenServiceA(manager, "Schedule", SERVICE_START);
    if (service) {
        SERVICE_STATUS status{};
        if (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING) {
            running = true;
        } else {
            CloseServiceHandle(service);
            service = OpenServiceA(manager, "Schedule", SERVICE_START);
            // A start already under way counts as running.
            if (service)
                running = StartServiceA(service, 0, nullptr) != FALSE ||
                          GetLastError() == ERROR_SERVICE_ALREADY_RUNNING || NoError();
        }
        if (service)
            CloseServiceHandle(service);
    }
    const bool result = running || NoError();
    CloseServiceHandle(manager);
    return result;
}

HResult Win32TaskService::Open()
{
    Close();
    m_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ITaskScheduler* scheduler = nullptr;
    HRESULT result = E_FAIL;
    // The service may still be starting: give it a few seconds to report that it runs.
    for (int attempt = 0; attempt < 50; ++attempt) {
        result = CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ITaskScheduler, reinterpret_cast<void**>(&scheduler));
        if (result != SCHED_E_SERVICE_NOT_RUNNING)
            break;
        Sleep(100);
    }
    if (FAILED(result)) {
        Close();
        return result;
    }
    m_scheduler = scheduler;
    return result;
}

void Win32TaskService::Close()
{
    if (ITaskScheduler* scheduler = Scheduler(m_scheduler)) {
        scheduler->Release();
        m_scheduler = nullptr;
    }
    if (m_comStarted) {
        CoUninitialize();
        m_comStarted = false;
    }
}

HResult Win32TaskService::Enumerate(std::vector<std::wstring>& names)
{
    IEnumWorkItems* items = nullptr;
    HRESULT result = Scheduler(m_scheduler)->Enum(&items);
    if (FAILED(result))
        return result;
    for (;;) {
        LPWSTR* fetched = nullptr;
        ULONG count = 0;
        result = items->Next(1, &fetched, &count);
        if (result != S_OK || count == 0)
            break;
        names.push_back(JoinedWithText(fetched[0]));
        CoTaskMemFree(fetched[0]);
        CoTaskMemFree(fetched);
    }
    items->Release();
    return S_OK;
}

HResult Win32TaskService::Activate(const std::wstring& name, std::unique_ptr<ITaskHandle>& task)
{
    IUnknown* found = nullptr;
    const HRESULT result = WhileShared(
        [&] { return Scheduler(m_scheduler)->Activate(name.c_str(), IID_ITask, &found); });
    if (SUCCEEDED(result))
        task = std::make_unique<Win32Task>(static_cast<ITask*>(static_cast<void*>(found)));
    return result;
}

HResult Win32TaskService::NewWorkItem(const std::wstring& name, std::unique_ptr<ITaskHandle>& task)
{
    IUnknown* created = nullptr;
    const HRESULT result =
        Scheduler(m_scheduler)->NewWorkItem(name.c_str(), CLSID_CTask, IID_ITask, &created);
    if (SUCCEEDED(result))
        task = std::make_unique<Win32Task>(static_cast<ITask*>(static_cast<void*>(created)));
    return result;
}

HResult Win32TaskService::Delete(const std::wstring& name)
{
    return Scheduler(m_scheduler)->Delete(name.c_str());
}

HResult Win32TaskService::GetTargetComputer(std::wstring& computer)
{
    LPWSTR text = nullptr;
    const HRESULT result = Scheduler(m_scheduler)->GetTargetComputer(&text);
    if (SUCCEEDED(result))
        computer = JoinedWithText(text);
    if (text)
        CoTaskMemFree(text);
    return result;
}

HResult Win32TaskService::SetTargetComputer(const std::wstring& computer)
{
    return Scheduler(m_scheduler)->SetTargetComputer(computer.empty() ? nullptr : computer.c_str());
}

int Win32TaskService::CompareNames(const std::wstring& a, const std::wstring& b)
{
    return CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size())) -
           2;
}

bool Win32TaskService::IsWindows9x()
{
    return (GetVersion() & 0x80000000u) != 0;
}

LocalTime Win32TaskService::Now()
{
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute};
}

TaskStatementServices Win32TaskStatementServices(engine::IWow64Services& wow64)
{
    return {[] { return std::make_unique<Win32TaskService>(); }, &wow64, &WidenAnsi};
}

}  // namespace setup::sysconfig::tasks
