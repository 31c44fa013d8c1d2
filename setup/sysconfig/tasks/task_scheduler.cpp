#include "setup/sysconfig/tasks/task_scheduler.h"

#include <algorithm>
#include <cstdio>

namespace setup::sysconfig::tasks {

namespace {

constexpr std::uint32_t kFlagBits[] = {0x1,    0x2,  0x4,   0x200, 0x2000, 0x10,
                                       0x1000, 0x20, 0x800, 0x40,  0x80,   0x400};

constexpr std::wstring_view kJob = L".job";

const char* const kNotRunning = "Task Scheduler service is not running.";

// For messages: the name's characters that the script's text can hold.
std::string MessageText(const std::wstring& text)
{
    std::string narrow;
    for (const wchar_t c : text)
        narrow.push_back(static_cast<unsigned>(c) < 256 ? static_cast<char>(c) : '?');
    return narrow;
}

bool EndsWithJob(const std::wstring& name)
{
    if (name.size() < kJob.size())
        return false;
    for (std::size_t i = 0; i < kJob.size(); ++i) {
        wchar_t c = name[name.size() - kJob.size() + i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + 32);
        if (c != kJob[i])
            return false;
    }
    return true;
}

void Check(HResult result)
{
    if (Failed(result))
        throw ServiceCallError(result);
}

}  // namespace

ServiceCallError::ServiceCallError(HResult result)
    : Exception([result] {
          char text[64];
          std::snprintf(text, sizeof(text), "Task Scheduler call failed (0x%08X).",
                        static_cast<unsigned>(result));
          return std::string(text);
      }()),
      m_result(result)
{}

std::uint32_t FlagsToBits(TaskFlags flags)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 12; ++i) {
        if (flags & (1u << i))
            bits |= kFlagBits[i];
    }
    return bits;
}

TaskFlags BitsToFlags(std::uint32_t bits)
{
    TaskFlags flags = 0;
    for (int i = 0; i < 12; ++i) {
        if (bits & kFlagBits[i])
            flags = static_cast<TaskFlags>(flags | (1u << i));
    }
    return flags;
}

std::wstring WithJobExtension(const std::wstring& name)
{
    return EndsWithJob(name) ? name : name + std::wstring(kJob);
}

std::wstring WithoutJobExtension(const std::wstring& name)
{
    return EndsWithJob(name) ? name.substr(0, name.size() - kJob.size()) : name;
}

// ---- Trigger

Trigger::Trigger(std::unique_ptr<ITriggerHandle> handle) : m_handle(std::move(handle)) {}

void Trigger::SetBeginDate(int year, int month, int day)
{
    m_record.beginYear = static_cast<std::uint16_t>(year);
    m_record.beginMonth = static_cast<std::uint16_t>(month);
    m_record.beginDay = static_cast<std::uint16_t>(day);
}

void Trigger::SetStartTime(int hour, int minute)
{
    m_record.startHour = static_cast<std::uint16_t>(hour);
    m_record.startMinute = static_cast<std::uint16_t>(minute);
}

void Trigger::SetTypeData(const std::uint16_t (&data)[4])
{
    std::copy(std::begin(data), std::end(data), std::begin(m_record.typeData));
}

void Trigger::Update()
{
    Check(m_handle->SetTrigger(m_record));
}

// ---- Triggers

Trigger& Triggers::Add()
{
    std::unique_ptr<ITriggerHandle> handle;
    Check(m_task.Task().CreateTrigger(handle));
    m_items.push_back(std::make_unique<Trigger>(std::move(handle)));
    return *m_items.back();
}

void Triggers::DeleteAll()
{
    ITaskHandle& task = m_task.Task();
    int count = 0;
    Check(task.GetTriggerCount(count));
    for (int i = count - 1; i >= 0; --i)
        Check(task.DeleteTrigger(i));
    m_items.clear();
}

void Triggers::Load()
{
    m_items.clear();
    ITaskHandle& task = m_task.Task();
    int count = 0;
    Check(task.GetTriggerCount(count));
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<ITriggerHandle> handle;
        Check(task.GetTrigger(i, handle));
        auto trigger = std::make_unique<Trigger>(std::move(handle));
        Check(trigger->m_handle->GetTrigger(trigger->m_record));
        m_items.push_back(std::move(trigger));
    }
}

void Triggers::Update()
{
    for (auto& trigger : m_items)
        trigger->Update();
}

Trigger& Triggers::Item(int index)
{
    if (index < 0 || index >= Count())
        throw TriggerError("Trigger index out of bounds (" + std::to_string(index) + ")");
    return *m_items[static_cast<std::size_t>(index)];
}

// ---- TaskItem

TaskItem::TaskItem(TaskScheduler& scheduler, std::wstring fileName,
                   std::unique_ptr<ITaskHandle> task)
    : m_scheduler(scheduler), m_fileName(std::move(fileName)), m_task(std::move(task))
{}

ITaskHandle& TaskItem::Task()
{
    if (!m_task)
        throw TaskError("Task \"" + MessageText(DisplayName()) + "\" is not activated.");
    return *m_task;
}

void TaskItem::Activate()
{
    if (!m_scheduler.Active())
        throw SchedulerError(kNotRunning);
    std::unique_ptr<ITaskHandle> task;
    if (Failed(m_scheduler.Service().Activate(DisplayName(), task)) || !task)
        throw TaskError("Could not activate \"" + MessageText(DisplayName()) + "\" task.");
    m_task = std::move(task);
    m_triggers.Load();
}

TaskFlags TaskItem::GetFlags()
{
    std::uint32_t bits = 0;
    Check(Task().GetFlags(bits));
    return BitsToFlags(bits);
}

void TaskItem::SetFlags(TaskFlags flags)
{
    Check(Task().SetFlags(FlagsToBits(flags)));
}

void TaskItem::SetApplicationName(const std::wstring& text)
{
    Check(Task().SetApplicationName(text));
}

void TaskItem::SetParameters(const std::wstring& text)
{
    Check(Task().SetParameters(text));
}

void TaskItem::SetWorkingDirectory(const std::wstring& text)
{
    Check(Task().SetWorkingDirectory(text));
}

void TaskItem::SetAccountInformation(const std::wstring& user, const std::wstring& password)
{
    ITaskHandle& task = Task();
    if (m_scheduler.Service().IsWindows9x())
        return;
    Check(task.SetAccountInformation(user, password));
}

Triggers& TaskItem::GetTriggers()
{
    Task();
    return m_triggers;
}

void TaskItem::Save()
{
    Check(Task().Save());
}

// ---- TaskScheduler

TaskScheduler::~TaskScheduler()
{
    if (m_active)
        SetActive(false);
}

void TaskScheduler::SetActive(bool active)
{
    if (active == m_active)
        return;
    if (active) {
        if (!m_service.EnsureServiceRunning())
            throw SchedulerError(kNotRunning);
        Check(m_service.Open());
        m_active = true;
    } else {
        m_items.clear();  // their tasks belong to the service being closed
        m_service.Close();
        m_active = false;
    }
}

void TaskScheduler::RequireActive()
{
    if (!m_active)
        throw SchedulerError(kNotRunning);
}

void TaskScheduler::Refresh()
{
    m_items.clear();
    RequireActive();
    std::vector<std::wstring> names;
    Check(m_service.Enumerate(names));
    for (const std::wstring& name : names) {
        std::unique_ptr<ITaskHandle> task;
        if (Failed(m_service.Activate(WithoutJobExtension(name), task)))
            continue;
        auto item = std::make_unique<TaskItem>(*this, WithJobExtension(name), nullptr);
        bool canAdd = true;
        if (onBeforeTaskAdded)
            onBeforeTaskAdded(*item, canAdd);
        if (canAdd)
            m_items.push_back(std::move(item));
    }
    std::stable_sort(m_items.begin(), m_items.end(), [this](const auto& a, const auto& b) {
        return m_service.CompareNames(a->FileName(), b->FileName()) < 0;
    });
}

bool TaskScheduler::FindTask(const std::wstring& name, int& index)
{
    int low = 0;
    int high = Count() - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order =
            m_service.CompareNames(m_items[static_cast<std::size_t>(middle)]->FileName(), name);
        if (order == 0) {
            index = middle;
            return true;
        }
        if (order < 0)
            low = middle + 1;
        else
            high = middle - 1;
    }
    index = low;
    return false;
}

TaskItem& TaskScheduler::InsertItem(int index, std::wstring fileName,
                                    std::unique_ptr<ITaskHandle> task)
{
    auto item = std::make_unique<TaskItem>(*this, std::move(fileName), std::move(task));
    TaskItem& inserted = *item;
    m_items.insert(m_items.begin() + index, std::move(item));
    return inserted;
}

TaskItem* TaskScheduler::ActivateTask(const std::wstring& name)
{
    if (autoRefresh)
        Refresh();
    const std::wstring fileName = WithJobExtension(name);
    int index = 0;
    if (FindTask(fileName, index))
        return &Item(index);
    std::unique_ptr<ITaskHandle> task;
    if (!m_active || Failed(m_service.Activate(WithoutJobExtension(fileName), task)))
        return nullptr;
    // Its task is opened by the item's own Activate.
    return &InsertItem(index, fileName, nullptr);
}

TaskItem& TaskScheduler::NewTask(const std::wstring& name)
{
    if (autoRefresh)
        Refresh();
    RequireActive();
    const std::wstring fileName = WithJobExtension(name);
    const std::string exists =
        "Task with the name \"" + MessageText(WithoutJobExtension(fileName)) + "\" already exists.";
    int index = 0;
    if (FindTask(fileName, index)) {
        if (duplicate == TaskDuplicate::ActivateFirst)
            return Item(index);
        throw TaskError(exists);
    }
    std::unique_ptr<ITaskHandle> task;
    if (!Failed(m_service.Activate(WithoutJobExtension(fileName), task))) {
        if (duplicate == TaskDuplicate::ActivateFirst)
            return InsertItem(index, fileName, std::move(task));
        throw TaskError(exists);
    }
    Check(m_service.NewWorkItem(WithoutJobExtension(fileName), task));
    TaskItem& item = InsertItem(index, fileName, std::move(task));
    item.SetFlags(FlagSet({TaskFlag::DontStartIfOnBatteries, TaskFlag::KillIfGoingOnBatteries}));
    return item;
}

void TaskScheduler::DeleteTask(const std::wstring& name)
{
    RequireActive();
    const std::wstring fileName = WithJobExtension(name);
    int index = 0;
    if (FindTask(fileName, index))
        m_items.erase(m_items.begin() + index);
    Check(m_service.Delete(WithoutJobExtension(fileName)));
}

std::wstring TaskScheduler::GetTargetComputer()
{
    std::wstring computer;
    if (!m_active || Failed(m_service.GetTargetComputer(computer)))
        return {};
    return computer;
}

void TaskScheduler::SetTargetComputer(const std::wstring& computer)
{
    RequireActive();
    Check(m_service.SetTargetComputer(computer));
}

}  // namespace setup::sysconfig::tasks
