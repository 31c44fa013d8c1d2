#include "shred/engine/tests/memory_system.h"

#include <algorithm>
#include <cstring>

namespace shred::testing {
namespace {

// The system drops trailing dots from every name in a path: "a.\\x" names "a\\x".
std::wstring Normalize(const std::wstring& path)
{
    std::wstring result;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find(L'\\', start);
        std::wstring part =
            path.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start);
        if (part != L"." && part != L"..")
            while (part.size() > 1 && part.back() == L'.')
                part.pop_back();
        result += part;
        if (slash == std::wstring::npos)
            return result;
        result += L'\\';
        start = slash + 1;
    }
}

std::wstring Parent(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool IsStream(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return path.find(L':', slash == std::wstring::npos ? 0 : slash) != std::wstring::npos;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

class MemoryFile : public IShredFile
{
public:
    explicit MemoryFile(std::shared_ptr<std::vector<std::uint8_t>> data) : m_data(std::move(data))
    {}
    bool GetSize(std::uint64_t& size) override
    {
        size = m_data->size();
        return true;
    }
    bool Seek(std::uint64_t offset) override
    {
        m_position = offset;
        return true;
    }
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written) override
    {
        if (m_data->size() < m_position + length)
            m_data->resize(m_position + length);
        std::memcpy(m_data->data() + m_position, data, length);
        m_position += length;
        written = length;
        return true;
    }
    bool SetEndOfFile() override
    {
        m_data->resize(m_position);
        return true;
    }
    bool SetTimes(std::uint64_t) override { return true; }
    bool Flush() override { return true; }

private:
    std::shared_ptr<std::vector<std::uint8_t>> m_data;
    std::uint64_t m_position = 0;
};

class MemoryBackupStream : public IBackupStream
{
public:
    explicit MemoryBackupStream(std::vector<std::uint8_t> image) : m_image(std::move(image)) {}
    bool Read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& read) override
    {
        read =
            static_cast<std::uint32_t>(std::min<std::size_t>(length, m_image.size() - m_position));
        std::memcpy(buffer, m_image.data() + m_position, read);
        m_position += read;
        return true;
    }
    bool Seek(std::uint64_t distance, std::uint64_t& moved) override
    {
        moved = std::min<std::uint64_t>(distance, m_image.size() - m_position);
        m_position += static_cast<std::size_t>(moved);
        return moved == distance;
    }

private:
    std::vector<std::uint8_t> m_image;
    std::size_t m_position = 0;
};

bool WildcardMatch(const wchar_t* pattern, const wchar_t* text)
{
    if (*pattern == L'\0')
        return *text == L'\0';
    if (*pattern == L'*')
        return WildcardMatch(pattern + 1, text) ||
               (*text != L'\0' && WildcardMatch(pattern, text + 1));
    if (*text == L'\0')
        return false;
    return (*pattern == L'?' || *pattern == *text) && WildcardMatch(pattern + 1, text + 1);
}

class MemoryRunEvent : public IRunEvent
{
public:
    void* Handle() override { return &m_state; }

private:
    int m_state = 1;
};

void Append(std::vector<std::uint8_t>& out, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

}  // namespace

std::vector<std::uint8_t> MakeBackupImage(const std::vector<BackupEntry>& entries)
{
    std::vector<std::uint8_t> image;
    for (const BackupEntry& entry : entries) {
        const std::uint32_t attributes = 0;
        const auto nameSize = static_cast<std::uint32_t>(entry.name.size() * 2);
        Append(image, &entry.id, 4);
        Append(image, &attributes, 4);
        Append(image, &entry.dataSize, 8);
        Append(image, &nameSize, 4);
        for (wchar_t c : entry.name) {
            image.push_back(static_cast<std::uint8_t>(c & 0xff));
            image.push_back(static_cast<std::uint8_t>((c >> 8) & 0xff));
        }
        image.insert(image.end(), static_cast<std::size_t>(entry.dataSize), 0xEE);
    }
    return image;
}

std::unique_ptr<IBackupStream> MakeBackupStream(std::vector<std::uint8_t> image)
{
    return std::make_unique<MemoryBackupStream>(std::move(image));
}

void MemorySystem::AddFolder(const std::wstring& path)
{
    m_nodes[Normalize(path)].isFolder = true;
}

void MemorySystem::AddFile(const std::wstring& path, std::vector<std::uint8_t> data)
{
    Node node;
    *node.data = std::move(data);
    m_nodes[Normalize(path)] = node;
}

void MemorySystem::AddLink(const std::wstring& path, const std::wstring& target, bool isFolder)
{
    Node node;
    node.isFolder = isFolder;
    node.linkTarget = target;
    m_nodes[Normalize(path)] = node;
}

const MemorySystem::Node* MemorySystem::Find(const std::wstring& path) const
{
    const auto it = m_nodes.find(Normalize(path));
    return it == m_nodes.end() ? nullptr : &it->second;
}

std::optional<std::vector<std::uint8_t>> MemorySystem::Read(const std::wstring& path) const
{
    const Node* node = Find(path);
    if (!node || node->isFolder)
        return std::nullopt;
    return *node->data;
}

bool MemorySystem::Exists(const std::wstring& path) const
{
    return Find(path) != nullptr;
}

bool MemorySystem::HasChildren(const std::wstring& folder) const
{
    return std::any_of(m_nodes.begin(), m_nodes.end(),
                       [&](const auto& entry) { return Parent(entry.first) == folder; });
}

std::vector<std::wstring> MemorySystem::Children(const std::wstring& folder) const
{
    std::vector<std::wstring> names;
    const std::wstring key = Normalize(folder);
    for (const auto& [path, node] : m_nodes) {
        if (Parent(path) == key && !IsStream(path))
            names.push_back(path.substr(key.size() + 1));
    }
    return names;
}

std::unique_ptr<IShredFile> MemorySystem::Open(const std::wstring& path, const OpenOptions&)
{
    const Node* node = Find(path);
    if (node && !node->linkTarget.empty())
        node = Find(node->linkTarget);
    if (!node || node->isFolder)
        return nullptr;
    return std::make_unique<MemoryFile>(node->data);
}

std::unique_ptr<IBackupStream> MemorySystem::OpenBackupRead(const std::wstring& path)
{
    const std::wstring key = Normalize(path);
    const Node* node = Find(key);
    if (!node || node->isFolder || IsStream(key))
        return nullptr;
    std::vector<BackupEntry> entries{{1, L"", node->data->size()}};
    for (const auto& [other, stream] : m_nodes) {
        if (StartsWith(other, key + L":"))
            entries.push_back({4, other.substr(key.size()), stream.data->size()});
    }
    return MakeBackupStream(MakeBackupImage(entries));
}

ObjectFacts MemorySystem::Facts(const std::wstring& path)
{
    const Node* node = Find(path);
    if (!node)
        return {};
    return ObjectFacts{true, node->isFolder, !node->linkTarget.empty()};
}

bool MemorySystem::SetNormalAttributes(const std::wstring& path)
{
    return Exists(path);
}

bool MemorySystem::Move(const std::wstring& from, const std::wstring& to)
{
    const std::wstring source = Normalize(from);
    const std::wstring target = Normalize(to);
    if (!Exists(source) || Exists(target) || (!Parent(target).empty() && !Exists(Parent(target))))
        return false;
    std::map<std::wstring, Node> moved;
    for (auto it = m_nodes.begin(); it != m_nodes.end();) {
        const std::wstring& key = it->first;
        if (key == source || StartsWith(key, source + L"\\") || StartsWith(key, source + L":")) {
            moved[target + key.substr(source.size())] = it->second;
            it = m_nodes.erase(it);
        } else {
            ++it;
        }
    }
    m_nodes.merge(moved);
    return true;
}

bool MemorySystem::RemoveFile(const std::wstring& path)
{
    const std::wstring key = Normalize(path);
    const Node* node = Find(key);
    if (!node || (node->isFolder && node->linkTarget.empty()))
        return false;
    std::erase_if(m_nodes, [&](const auto& entry) {
        return entry.first == key || StartsWith(entry.first, key + L":");
    });
    return true;
}

bool MemorySystem::RemoveFolder(const std::wstring& path)
{
    const std::wstring key = Normalize(path);
    const Node* node = Find(key);
    if (!node || !node->isFolder || HasChildren(key))
        return false;
    m_nodes.erase(key);
    return true;
}

std::vector<FolderEntry> MemorySystem::List(const std::wstring& folder)
{
    std::vector<FolderEntry> entries;
    for (const std::wstring& name : Children(folder)) {
        const ObjectFacts facts = Facts(Normalize(folder) + L"\\" + name);
        entries.push_back(FolderEntry{name, facts.isFolder, facts.isLink});
    }
    return entries;
}

std::vector<FolderEntry> MemorySystem::FindMatches(const std::wstring& pattern)
{
    const std::size_t slash = pattern.find_last_of(L'\\');
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring() : pattern.substr(0, slash);
    const std::wstring namePattern = pattern.substr(slash == std::wstring::npos ? 0 : slash + 1);
    std::vector<FolderEntry> entries;
    if (namePattern.find_first_of(L"*?") == std::wstring::npos) {
        const ObjectFacts facts = Facts(pattern);
        if (facts.exists && !namePattern.empty())
            entries.push_back(FolderEntry{namePattern, facts.isFolder, facts.isLink});
        return entries;
    }
    if (!Exists(folder))
        return entries;
    if (namePattern == L"*") {
        entries.push_back(FolderEntry{L".", true, false});
        entries.push_back(FolderEntry{L"..", true, false});
    }
    for (const FolderEntry& entry : List(folder)) {
        if (WildcardMatch(namePattern.c_str(), entry.name.c_str()))
            entries.push_back(entry);
    }
    return entries;
}

std::unique_ptr<IRunEvent> MemorySystem::CreateRunEvent(const std::wstring&)
{
    return std::make_unique<MemoryRunEvent>();
}

}  // namespace shred::testing
