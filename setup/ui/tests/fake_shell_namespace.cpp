#include "setup/ui/tests/fake_shell_namespace.h"

#include <algorithm>
#include <cctype>

namespace setup::ui::testing {

namespace {

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> Parts(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

FakeShellNamespace::FakeShellNamespace()
{
    m_desktop.name = "Desktop";
    auto computer = std::make_unique<Item>();
    computer->name = "My Computer";
    computer->fileSystem = false;
    auto drive = std::make_unique<Item>();
    drive->name = "C:";
    computer->children.push_back(std::move(drive));
    auto panel = std::make_unique<Item>();
    panel->name = "Control Panel";
    panel->fileSystem = false;
    m_desktop.children.push_back(std::move(computer));
    m_desktop.children.push_back(std::move(panel));
}

FakeShellNamespace::Item* FakeShellNamespace::Find(const IdList& absolute)
{
    const auto count = IdListCount(absolute);
    if (!count)
        return nullptr;
    Item* at = &m_desktop;
    for (std::size_t i = 0; i < *count && at; ++i) {
        const std::string name(IdItemPayload(IdListItem(absolute, i)));
        Item* next = nullptr;
        for (auto& child : at->children)
            if (Lowered(child->name) == Lowered(name))
                next = child.get();
        at = next;
    }
    return at;
}

void FakeShellNamespace::Add(const std::string& path, bool file, bool hidden)
{
    Item* at = m_desktop.children.front()->children.front().get();
    const auto parts = Parts(path);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        auto it = std::find_if(at->children.begin(), at->children.end(),
                               [&](const auto& child) { return child->name == parts[i]; });
        if (it == at->children.end()) {
            auto item = std::make_unique<Item>();
            item->name = parts[i];
            item->folder = !(file && i + 1 == parts.size());
            item->hidden = hidden && i + 1 == parts.size();
            at->children.push_back(std::move(item));
            it = at->children.end() - 1;
        }
        at = it->get();
    }
}

void FakeShellNamespace::Remove(const std::string& path)
{
    auto list = ParsePath(path);
    if (!list)
        return;
    Item* parent = Find(IdListParent(*list, 1));
    const std::string name(IdItemPayload(IdListLast(*list)));
    std::erase_if(parent->children, [&](const auto& child) { return child->name == name; });
}

std::optional<std::vector<IdList>> FakeShellNamespace::Enumerate(const IdList& folder,
                                                                 unsigned flags)
{
    Item* at = Find(folder);
    if (!at || !at->folder)
        return std::nullopt;
    ++enumerations;
    std::vector<IdList> items;
    // Unsorted, as a shell folder hands them out.
    for (auto it = at->children.rbegin(); it != at->children.rend(); ++it) {
        const Item& child = **it;
        if (child.hidden && !(flags & kEnumHidden))
            continue;
        if (child.folder ? !(flags & kEnumFolders) : !(flags & kEnumNonFolders))
            continue;
        items.push_back(MakeIdItem(child.name));
    }
    return items;
}

std::uint32_t FakeShellNamespace::Attributes(const IdList& folder, const IdList& item,
                                             std::uint32_t mask)
{
    const Item* at = Find(ConcatIdLists(folder, item));
    if (!at)
        return 0;
    std::uint32_t attributes = kAttrCanRename;
    if (at->folder)
        attributes |= kAttrFolder;
    if (std::any_of(at->children.begin(), at->children.end(),
                    [](const auto& child) { return child->folder; }))
        attributes |= kAttrHasSubfolder;
    if (at->hidden)
        attributes |= kAttrHidden;
    attributes |= at->fileSystem ? kAttrFileSystem : kAttrFileSysAncestor;
    if (at->name == "Control Panel")
        attributes &= ~kAttrFileSysAncestor;
    return attributes & mask;
}

std::string FakeShellNamespace::DisplayName(const IdList& folder, const IdList& item,
                                            ShellNameKind kind)
{
    const IdList absolute = ConcatIdLists(folder, item);
    if (kind == ShellNameKind::ForParsing)
        return PathOf(absolute);
    const Item* at = Find(absolute);
    return at ? at->name : std::string();
}

int FakeShellNamespace::Compare(const IdList& folder, const IdList& a, const IdList& b)
{
    // Folders first, then names; item by item for longer lists.
    const std::size_t countA = IdListCount(a).value_or(0);
    const std::size_t countB = IdListCount(b).value_or(0);
    for (std::size_t i = 0; i < std::min(countA, countB); ++i) {
        const IdList prefix = ConcatIdLists(folder, IdListParent(a, countA - i));
        const Item* itemA = Find(ConcatIdLists(prefix, IdListItem(a, i)));
        const Item* itemB = Find(ConcatIdLists(prefix, IdListItem(b, i)));
        const bool folderA = itemA && itemA->folder;
        const bool folderB = itemB && itemB->folder;
        if (folderA != folderB)
            return folderA ? -1 : 1;
        const std::string nameA = Lowered(std::string(IdItemPayload(IdListItem(a, i))));
        const std::string nameB = Lowered(std::string(IdItemPayload(IdListItem(b, i))));
        if (nameA != nameB)
            return nameA < nameB ? -1 : 1;
    }
    return countA == countB ? 0 : (countA < countB ? -1 : 1);
}

std::optional<IdList> FakeShellNamespace::ParsePath(const std::string& path)
{
    const auto parts = Parts(path);
    if (parts.empty() || Lowered(parts.front()) != "c:")
        return std::nullopt;
    IdList list = ConcatIdLists(MakeIdItem("My Computer"), MakeIdItem("C:"));
    for (std::size_t i = 1; i < parts.size(); ++i)
        list = ConcatIdLists(list, MakeIdItem(parts[i]));
    if (!Find(list))
        return std::nullopt;
    return list;
}

std::string FakeShellNamespace::PathOf(const IdList& absolute)
{
    const std::size_t count = IdListCount(absolute).value_or(0);
    if (count < 2 || IdItemPayload(IdListItem(absolute, 0)) != "My Computer" || !Find(absolute))
        return {};
    std::string path = "C:\\";
    for (std::size_t i = 2; i < count; ++i) {
        if (i > 2)
            path += '\\';
        path += IdItemPayload(IdListItem(absolute, i));
    }
    return path;
}

std::optional<IdList> FakeShellNamespace::SpecialFolder(int number)
{
    if (number == 0)
        return DesktopIdList();
    if (number == 17)
        return MakeIdItem("My Computer");
    return std::nullopt;
}

std::optional<IdList> FakeShellNamespace::Rename(const IdList& folder, const IdList& item,
                                                 const std::string& name)
{
    Item* parent = Find(folder);
    Item* at = Find(ConcatIdLists(folder, item));
    if (!parent || !at)
        return std::nullopt;
    for (const auto& child : parent->children)
        if (child.get() != at && Lowered(child->name) == Lowered(name))
            return std::nullopt;
    at->name = name;
    return MakeIdItem(name);
}

}  // namespace setup::ui::testing
