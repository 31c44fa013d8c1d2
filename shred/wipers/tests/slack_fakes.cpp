#include "shred/wipers/tests/slack_fakes.h"

#include "shred/engine/tests/memory_system.h"

#include <cstring>

namespace shred::wipers::testing {

namespace {

std::wstring ParentOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring NameOf(const std::wstring& path)
{
    return path.substr(path.find_last_of(L'\\') + 1);
}

// '*' alone or at the end of a prefix; no '?'.
bool Matches(const std::wstring& name, const std::wstring& pattern)
{
    const std::size_t star = pattern.find(L'*');
    if (star == std::wstring::npos)
        return name == pattern;
    const std::wstring prefix = pattern.substr(0, star);
    const std::wstring suffix = pattern.substr(star + 1);
    return name.size() >= prefix.size() + suffix.size() && name.starts_with(prefix) &&
           name.ends_with(suffix);
}

class FakeEvent : public ISlackEvent
{
public:
    void* Handle() override { return this; }
};

class FakeSlackFile : public ISlackFile
{
public:
    FakeSlackFile(FakeSlackSystem& system, std::wstring path)
        : m_system(system), m_path(std::move(path)), m_state(system.files[m_path])
    {
        m_state.open = true;
    }
    ~FakeSlackFile() override { m_state.open = false; }

    bool GetTimes(SlackFileTimes& times) override
    {
        if (Fails(SlackFailure::GetTimes))
            return false;
        times = m_state.times;
        return true;
    }
    bool SetTimes(const SlackFileTimes& times) override
    {
        if (Fails(SlackFailure::SetTimes))
            return false;
        m_state.times = times;
        return true;
    }
    bool GetSize(std::uint64_t& size) override
    {
        if (Fails(SlackFailure::GetSize))
            return false;
        size = m_state.size;
        return true;
    }
    bool Seek(std::uint64_t offset) override
    {
        ++m_seeks;
        if ((m_seeks == 1 && Fails(SlackFailure::FirstSeek)) ||
            (m_seeks == 2 && Fails(SlackFailure::SecondSeek)))
            return false;
        m_position = offset;
        return true;
    }
    bool Write(const std::uint8_t* data, std::uint32_t length) override
    {
        if (Fails(SlackFailure::Write)) {
            // Half the bytes reached the file before the failure.
            m_state.size = std::max(m_state.size, m_position + length / 2);
            return false;
        }
        m_system.writes.push_back({m_path, m_position, {data, data + length}});
        m_position += length;
        m_state.size = std::max(m_state.size, m_position);
        m_state.times.lastWrite += 1;  // the system stamps every write
        return true;
    }
    bool Flush() override { return true; }
    bool SetEndOfFile() override
    {
        if (m_system.failure == SlackFailure::EndOfFile && !m_system.writes.empty() &&
            m_endOfFileCalls++ == 0)
            return false;
        m_state.size = m_position;
        return true;
    }

private:
    bool Fails(SlackFailure step) const { return m_system.failure == step; }

    FakeSlackSystem& m_system;
    std::wstring m_path;
    FakeSlackFileState& m_state;
    std::uint64_t m_position = 0;
    int m_seeks = 0;
    int m_endOfFileCalls = 0;
};

}  // namespace

void FakeSlackSystem::AddFile(const std::wstring& path, std::uint64_t size)
{
    files[path].size = size;
    for (std::wstring parent = ParentOf(path); parent.size() > 2; parent = ParentOf(parent))
        folders.insert(parent);
}

SlackFacts FakeSlackSystem::Facts(const std::wstring& path)
{
    if (files.count(path))
        return {true, false, false};
    if (folders.count(path) || links.count(path))
        return {true, true, links.count(path) != 0};
    return {};
}

bool FakeSlackSystem::ClusterSize(const std::wstring& root, std::uint32_t& clusterSize)
{
    const auto found = clusters.find(root);
    if (failure == SlackFailure::Cluster || found == clusters.end())
        return false;
    clusterSize = found->second;
    return true;
}

bool FakeSlackSystem::GetAttributes(const std::wstring& path, std::uint32_t& attributes)
{
    if (failure == SlackFailure::GetAttributes || !files.count(path))
        return false;
    attributes = files[path].attributes;
    return true;
}

bool FakeSlackSystem::SetAttributes(const std::wstring& path, std::uint32_t attributes)
{
    if (failure == SlackFailure::SetAttributes || !files.count(path) || files[path].open)
        return false;
    files[path].attributes = attributes;
    return true;
}

std::unique_ptr<ISlackFile> FakeSlackSystem::OpenForSlack(const std::wstring& path)
{
    opened.push_back(path);
    if (failure == SlackFailure::Open || !files.count(path) || files[path].readOnly)
        return nullptr;
    return std::make_unique<FakeSlackFile>(*this, path);
}

std::vector<SlackEntry> FakeSlackSystem::FindMatches(const std::wstring& pattern)
{
    if (matchesOverride) {
        if (std::optional<std::vector<SlackEntry>> entries = matchesOverride(pattern))
            return *entries;
    }
    std::vector<SlackEntry> entries;
    const std::wstring folder = ParentOf(pattern);
    const std::wstring name = NameOf(pattern);
    if (name.find(L'*') == std::wstring::npos) {
        const SlackFacts facts = Facts(pattern);
        if (facts.exists)
            entries.push_back({name, facts.isFolder, facts.isLink});
        return entries;
    }
    if (!folders.count(folder) && folder.size() > 2)
        return entries;
    if (name == L"*") {
        entries.push_back({L".", true, false});
        entries.push_back({L"..", true, false});
    }
    const auto add = [&](const std::wstring& path, bool isFolder, bool isLink) {
        if (ParentOf(path) == folder && Matches(NameOf(path), name))
            entries.push_back({NameOf(path), isFolder, isLink});
    };
    for (const auto& [path, state] : files)
        add(path, false, false);
    for (const std::wstring& path : folders)
        add(path, true, false);
    for (const std::wstring& path : links)
        add(path, true, true);
    return entries;
}

std::unique_ptr<ISlackEvent> FakeSlackSystem::CreateRunEvent(const std::wstring& name)
{
    eventsCreated.push_back(name);
    return std::make_unique<FakeEvent>();
}

void FakeSlackSystem::WaitForRun(void** pauseEvent)
{
    lastWaitedEvent = pauseEvent != nullptr ? *pauseEvent : nullptr;
    ++waits;
    if (onWait)
        onWait(waits);
}

int FakeSlackSystem::CountFiles(const std::wstring& pattern) const
{
    std::wstring folder = pattern;
    if (folder.ends_with(L"\\*"))
        folder.resize(folder.size() - 2);
    if (files.count(folder))
        return 1;
    int count = 0;
    for (const auto& [path, state] : files) {
        if (!path.starts_with(folder + L"\\"))
            continue;
        bool underLink = false;
        for (const std::wstring& link : links)
            underLink = underLink || path.starts_with(link + L"\\");
        count += underLink ? 0 : 1;
    }
    return count;
}

SlackServices TestSlackServices(FakeSlackSystem& system)
{
    SlackServices services;
    services.buildPasses = [](int algorithmId) {
        return BuildPassList(algorithmId, kVolumewipe, [] { return std::uint8_t{0x77}; });
    };
    // The engine's resolution, starting from the fake's current folder.
    auto paths = std::make_shared<shred::testing::MemorySystem>();
    services.resolveTarget = [&system, paths](const std::wstring& path) {
        paths->currentFolder = system.currentFolder;
        return ResolveShredTarget(*paths, path);
    };
    services.countTargets = [&system](const std::optional<ShredTarget>& target) {
        return target ? system.CountFiles(JoinPath(target->folder, target->name)) : 0;
    };
    return services;
}

}  // namespace shred::wipers::testing
