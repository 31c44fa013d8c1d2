#include "setup/engine/testing/fake_file_system.h"

#include <algorithm>
#include <cctype>

namespace setup::engine::testing {

std::string FakeFileSystem::Key(const std::string& path)
{
    std::string key = path;
    while (key.size() > 3 && key.back() == '\\')
        key.pop_back();
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

std::string FakeFileSystem::Parent(const std::string& key)
{
    const std::size_t at = key.rfind('\\');
    return at == std::string::npos ? std::string() : key.substr(0, at);
}

bool WildcardMatch(const std::string& mask, const std::string& name)
{
    if (mask == "*.*" || mask == "*")
        return true;
    std::size_t m = 0, n = 0, star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (m < mask.size() &&
            (mask[m] == '?' || std::toupper(static_cast<unsigned char>(mask[m])) ==
                                   std::toupper(static_cast<unsigned char>(name[n])))) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == '*') {
            star = m++;
            resume = n;
        } else if (star != std::string::npos) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

void FakeFileSystem::AddFolder(const std::string& path, std::uint32_t extra)
{
    m_entries[Key(path)] = {path, kAttributeDirectory | extra, m_next++};
}

void FakeFileSystem::AddFile(const std::string& path, std::uint32_t attributes)
{
    m_entries[Key(path)] = {path, attributes, m_next++};
}

std::vector<FileEntry> FakeFileSystem::List(const std::string& pattern)
{
    const std::size_t at = pattern.rfind('\\');
    const std::string folder = Key(pattern.substr(0, at));
    const std::string mask = pattern.substr(at + 1);
    std::vector<std::pair<long, FileEntry>> found;
    const bool wildcard = mask.find_first_of("*?") != std::string::npos;
    if (wildcard && !FolderExists(folder))
        return {};
    for (const auto& [key, entry] : m_entries) {
        if (Parent(key) != folder)
            continue;
        const std::string name = entry.path.substr(entry.path.rfind('\\') + 1);
        if (WildcardMatch(mask, name))
            found.push_back({entry.order, {name, entry.attributes, 0}});
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<FileEntry> entries;
    if (wildcard && WildcardMatch(mask, "."))
        entries = {{".", kAttributeDirectory, 0}, {"..", kAttributeDirectory, 0}};
    for (auto& item : found)
        entries.push_back(std::move(item.second));
    return entries;
}

bool FakeFileSystem::FolderExists(const std::string& path)
{
    const auto it = m_entries.find(Key(path));
    return it != m_entries.end() && (it->second.attributes & kAttributeDirectory);
}

bool FakeFileSystem::CreateFolder(const std::string& path)
{
    log.push_back("create " + path);
    if (std::find(refuseCreate.begin(), refuseCreate.end(), path) != refuseCreate.end())
        return false;
    if (!FolderExists(Parent(Key(path))) || Exists(path))
        return false;
    AddFolder(path);
    return true;
}

bool FakeFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes)
{
    log.push_back("attributes " + path);
    const auto it = m_entries.find(Key(path));
    if (it == m_entries.end())
        return false;
    it->second.attributes = attributes | (it->second.attributes & kAttributeDirectory);
    return true;
}

bool FakeFileSystem::RemoveFile(const std::string& path)
{
    log.push_back("delete " + path);
    const auto it = m_entries.find(Key(path));
    if (it == m_entries.end() ||
        (it->second.attributes & (kAttributeDirectory | kAttributeReadOnly)))
        return false;
    m_entries.erase(it);
    return true;
}

bool FakeFileSystem::RemoveFolder(const std::string& path)
{
    log.push_back("rmdir " + path);
    const std::string key = Key(path);
    const auto it = m_entries.find(key);
    if (it == m_entries.end() || !(it->second.attributes & kAttributeDirectory))
        return false;
    const bool isLink = it->second.attributes & kAttributeReparsePoint;
    if (!isLink) {
        for (const auto& [other, entry] : m_entries) {
            if (Parent(other) == key)
                return false;  // not empty
        }
    }
    // A link goes alone; what it points to (its listed children here) stays.
    m_entries.erase(it);
    return true;
}

}  // namespace setup::engine::testing
