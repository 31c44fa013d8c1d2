// A stand-in Task Scheduler: tasks kept in a store that outlives each service session, refusing
// names with ".job" as Wine's scheduler does, and recording the calls it is asked to make.
#pragma once

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "setup/sysconfig/tasks/task_service.h"

namespace setup::sysconfig::tasks::testing {

inline constexpr HResult kInvalidArgument = static_cast<HResult>(0x80070057);
inline constexpr HResult kNotFound = static_cast<HResult>(0x80070002);

struct FakeTask
{
    std::uint32_t flags = 0;
    std::wstring application, parameters, workingDirectory, user, password;
    std::vector<TriggerRecord> triggers;
    int saves = 0;
};

struct FakeTaskStore
{
    std::map<std::wstring, FakeTask> tasks;  // by lower-case name
    bool serviceRunning = true;
    std::wstring target = L"\\\\HOST";
    bool targetWithoutBackslashes = false;  // the service answers the bare name
    std::vector<std::wstring> targetsSet;
    int sessions = 0;
    int closes = 0;
    LocalTime now{2024, 6, 7, 13, 45};

    static std::wstring Key(const std::wstring& name)
    {
        std::wstring key = name;
        std::transform(key.begin(), key.end(), key.begin(),
                       [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
        return key;
    }
};

class FakeTrigger : public ITriggerHandle
{
public:
    FakeTrigger(FakeTask& task, std::size_t index) : m_task(task), m_index(index) {}
    HResult GetTrigger(TriggerRecord& record) override
    {
        record = m_task.triggers.at(m_index);
        return 0;
    }
    HResult SetTrigger(const TriggerRecord& record) override
    {
        m_task.triggers.at(m_index) = record;
        return 0;
    }

private:
    FakeTask& m_task;
    std::size_t m_index;
};

class FakeTaskHandle : public ITaskHandle
{
public:
    explicit FakeTaskHandle(FakeTask& task) : m_task(task) {}
    HResult GetFlags(std::uint32_t& flags) override
    {
        flags = m_task.flags;
        return 0;
    }
    HResult SetFlags(std::uint32_t flags) override
    {
        m_task.flags = flags;
        return 0;
    }
    HResult SetApplicationName(const std::wstring& text) override
    {
        m_task.application = text;
        return 0;
    }
    HResult SetParameters(const std::wstring& text) override
    {
        m_task.parameters = text;
        return 0;
    }
    HResult SetWorkingDirectory(const std::wstring& text) override
    {
        m_task.workingDirectory = text;
        return 0;
    }
    HResult SetAccountInformation(const std::wstring& user, const std::wstring& password) override
    {
        m_task.user = user;
        m_task.password = password;
        return 0;
    }
    HResult CreateTrigger(std::unique_ptr<ITriggerHandle>& trigger) override
    {
        m_task.triggers.emplace_back();
        trigger = std::make_unique<FakeTrigger>(m_task, m_task.triggers.size() - 1);
        return 0;
    }
    HResult DeleteTrigger(int index) override
    {
        m_task.triggers.erase(m_task.triggers.begin() + index);
        return 0;
    }
    HResult GetTriggerCount(int& count) override
    {
        count = static_cast<int>(m_task.triggers.size());
        return 0;
    }
    HResult GetTrigger(int index, std::unique_ptr<ITriggerHandle>& trigger) override
    {
        trigger = std::make_unique<FakeTrigger>(m_task, static_cast<std::size_t>(index));
        return 0;
    }
    HResult Save() override
    {
        ++m_task.saves;
        return 0;
    }

private:
    FakeTask& m_task;
};

class FakeTaskService : public ITaskService
{
public:
    explicit FakeTaskService(FakeTaskStore& store) : m_store(store) {}
    bool EnsureServiceRunning() override { return m_store.serviceRunning; }
    HResult Open() override
    {
        ++m_store.sessions;
        return 0;
    }
    void Close() override { ++m_store.closes; }
    HResult Enumerate(std::vector<std::wstring>& names) override
    {
        for (const auto& entry : m_store.tasks)
            names.push_back(entry.first + L".job");
        return 0;
    }
    HResult Activate(const std::wstring& name, std::unique_ptr<ITaskHandle>& task) override
    {
        if (EndsWithJob(name))
            return kInvalidArgument;
        const auto found = m_store.tasks.find(FakeTaskStore::Key(name));
        if (found == m_store.tasks.end())
            return kNotFound;
        task = std::make_unique<FakeTaskHandle>(found->second);
        return 0;
    }
    HResult NewWorkItem(const std::wstring& name, std::unique_ptr<ITaskHandle>& task) override
    {
        if (EndsWithJob(name))
            return kInvalidArgument;
        task = std::make_unique<FakeTaskHandle>(m_store.tasks[FakeTaskStore::Key(name)]);
        return 0;
    }
    HResult Delete(const std::wstring& name) override
    {
        if (EndsWithJob(name))
            return kInvalidArgument;
        return m_store.tasks.erase(FakeTaskStore::Key(name)) ? 0 : kNotFound;
    }
    HResult GetTargetComputer(std::wstring& computer) override
    {
        computer = m_store.target;
        return 0;
    }
    HResult SetTargetComputer(const std::wstring& computer) override
    {
        m_store.targetsSet.push_back(computer);
        m_store.target = computer.empty() ? L"\\\\HOST" : computer;
        if (m_store.targetWithoutBackslashes && m_store.target.rfind(L"\\\\", 0) == 0)
            m_store.target = m_store.target.substr(2);
        return 0;
    }
    int CompareNames(const std::wstring& a, const std::wstring& b) override
    {
        return FakeTaskStore::Key(a).compare(FakeTaskStore::Key(b));
    }
    bool IsWindows9x() override { return windows9x; }
    LocalTime Now() override { return m_store.now; }

    bool windows9x = false;

private:
    static bool EndsWithJob(const std::wstring& name)
    {
        return name.size() >= 4 && FakeTaskStore::Key(name.substr(name.size() - 4)) == L".job";
    }
    FakeTaskStore& m_store;
};

}  // namespace setup::sysconfig::tasks::testing
