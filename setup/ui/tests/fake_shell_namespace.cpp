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
    std::uint32_t attributes = kAttrCanRename | 7;  // copy, move, link
    if (at->folder)
        attributes |= kAttrFolder;
    if (std::any_of(at->children.begin(), at->children.end(),
                    [](const auto& child) { return child->folder; }))
        attributes |= kAttrHasSubfolder;
    if (at->hidden)
        attributes |= kAttrHidden;
    const std::string path = PathOf(ConcatIdLists(folder, item));
    if (links.count(path))
        attributes |= kAttrLink;
    if (std::find(shared.begin(), shared.end(), path) != shared.end())
        attributes |= kAttrShare;
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

int FakeShellNamespace::Compare(const IdList& folder, const IdList& a, const IdList& b,
                                int column)
{
    if (column == 1) {
        const Item* itemA = Find(ConcatIdLists(folder, a));
        const Item* itemB = Find(ConcatIdLists(folder, b));
        if (itemA && itemB && !itemA->folder && !itemB->folder && itemA->size != itemB->size)
            return itemA->size < itemB->size ? -1 : 1;
    }
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

ItemDetails FakeShellNamespace::Details(const IdList& folder, const IdList& item)
{
    const Item* at = Find(ConcatIdLists(folder, item));
    ItemDetails details;
    if (!at)
        return details;
    if (!at->fileSystem)
        details.type = "System Folder";
    else if (at->folder)
        details.type = "File Folder";
    else {
        details.hasSize = true;
        details.size = at->size;
        const std::size_t dot = at->name.rfind('.');
        details.type = dot == std::string::npos ? "File" : at->name.substr(dot + 1) + " File";
    }
    return details;
}

void FakeShellNamespace::SetSize(const std::string& path, std::uint64_t size)
{
    if (auto list = ParsePath(path))
        if (Item* at = Find(*list))
            at->size = size;
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

bool FakeShellNamespace::SendTo(int id, const IdList& folder, const std::vector<IdList>& items)
{
    std::string run = "sendto " + std::to_string(id);
    for (const IdList& item : items)
        run += " " + PathOf(ConcatIdLists(folder, item));
    verbs.push_back(run);
    return true;
}

std::string FakeShellNamespace::LinkTarget(const std::string& path)
{
    auto it = links.find(path);
    return it == links.end() ? std::string() : it->second;
}

bool FakeShellNamespace::InvokeVerb(const IdList& folder, const std::vector<IdList>& items,
                                    const std::string& verb)
{
    std::vector<IdList> absolutes;
    for (const IdList& item : items)
        absolutes.push_back(ConcatIdLists(folder, item));
    if (items.empty())
        absolutes.push_back(folder);
    for (const IdList& absolute : absolutes)
        if (!Find(absolute))
            return false;
    verbs.push_back(verb + " " + PathOf(absolutes.front()));
    if (verb == "delete") {
        for (const IdList& absolute : absolutes)
            Remove(PathOf(absolute));
    } else if (verb == "copy" || verb == "cut") {
        m_clipboard = absolutes;
        m_cut = verb == "cut";
    } else if (verb.empty()) {
        if (Find(absolutes.front())->folder)
            return false;
        verbs.back() = "open " + PathOf(absolutes.front());
    } else if (verb == "paste") {
        Item* target = Find(absolutes.front());
        if (absolutes.size() != 1 || !target->folder || m_clipboard.empty())
            return false;
        for (const IdList& source : m_clipboard) {
            const Item* from = Find(source);
            if (!from)
                continue;
            const std::string path = PathOf(source);
            Add(PathOf(absolutes.front()) + "\\" + from->name, !from->folder, from->hidden);
            if (m_cut)
                Remove(path);
        }
        if (m_cut)
            m_clipboard.clear();
    } else {
        return false;
    }
    return true;
}

namespace {

class FakeContextMenu final : public IShellContextMenu
{
public:
    FakeContextMenu(FakeShellNamespace& shell, IdList folder, std::vector<IdList> items,
                    bool canRename)
        : m_shell(shell), m_folder(std::move(folder)), m_items(std::move(items))
    {
        m_commands = {{1000, "Open", ""}, {1001, "Cut", "cut"}, {1002, "Copy", "copy"},
                      {1003, "Delete", "delete"}};
        if (canRename)
            m_commands.push_back({kRenameShellCommand, "Rename", "rename"});
    }
    std::vector<ShellMenuCommand> Commands() override { return m_commands; }
    int Track(std::uintptr_t, int, int,
              const std::function<void(const std::string&)>& hint) override
    {
        std::vector<std::string> texts;
        for (const ShellMenuCommand& command : m_commands) {
            texts.push_back(command.text);
            if (hint)
                hint(command.text + " help");
        }
        m_shell.menusShown.push_back(texts);
        return m_shell.menuChoice;
    }
    bool Invoke(int id) override
    {
        for (const ShellMenuCommand& command : m_commands)
            if (command.id == id)
                return m_shell.InvokeVerb(m_folder, m_items, command.verb);
        return false;
    }

private:
    FakeShellNamespace& m_shell;
    IdList m_folder;
    std::vector<IdList> m_items;
    std::vector<ShellMenuCommand> m_commands;
};

}  // namespace

bool FakeShellNamespace::Drag(const IdList& folder, const std::vector<IdList>& items,
                              std::uint32_t allowedEffects, std::uint32_t button)
{
    std::string drag = std::to_string(button) + " " + std::to_string(allowedEffects);
    for (const IdList& item : items)
        drag += " " + PathOf(ConcatIdLists(folder, item));
    drags.push_back(drag);
    if (duringDrag)
        duringDrag();
    return dragsDrop;
}

namespace {

class FakeDropTarget final : public IShellDropTarget
{
public:
    FakeDropTarget(FakeShellNamespace& shell, std::string path) : m_shell(shell), m_path(path) {}
    std::uint32_t DragEnter(IDragData&, std::uint32_t, int, int, std::uint32_t effect) override
    {
        return effect & 3;
    }
    std::uint32_t DragOver(std::uint32_t, int, int, std::uint32_t effect) override
    {
        return effect & 3;
    }
    void DragLeave() override {}
    std::uint32_t Drop(IDragData& data, std::uint32_t, int, int, std::uint32_t effect) override
    {
        const bool move = (effect & 3) == 2;
        if (!(effect & 3))
            return 0;
        for (const IdList& item : static_cast<FakeDragData&>(data).items) {
            const std::string source = m_shell.PathOf(item);
            const std::string name = std::string(IdItemPayload(IdListLast(item)));
            m_shell.drops.push_back((move ? "move " : "copy ") + source + " -> " + m_path);
            m_shell.Add(m_path + "\\" + name, !m_shell.IsFolder(item));
            if (move)
                m_shell.Remove(source);
        }
        return move ? 2 : 1;
    }

private:
    FakeShellNamespace& m_shell;
    std::string m_path;
};

}  // namespace

std::unique_ptr<IShellDropTarget> FakeShellNamespace::DropTarget(const IdList& folder,
                                                                 const IdList& item)
{
    const IdList absolute = ConcatIdLists(folder, item);
    const Item* at = Find(absolute);
    const std::string path = PathOf(absolute);
    if (!at || !at->folder || path.empty())
        return nullptr;
    return std::make_unique<FakeDropTarget>(*this, path);
}

bool FakeShellNamespace::IsFolder(const IdList& absolute)
{
    const Item* at = Find(absolute);
    return at && at->folder;
}

std::unique_ptr<IShellContextMenu> FakeShellNamespace::ContextMenu(
    const IdList& folder, const std::vector<IdList>& items, bool canRename)
{
    for (const IdList& item : items)
        if (!Find(ConcatIdLists(folder, item)))
            return nullptr;
    return std::make_unique<FakeContextMenu>(*this, folder, items, canRename);
}

class FakeFolderWatchService::FakeWatch final : public IFolderWatch
{
public:
    FakeWatch(FakeFolderWatchService& service, std::function<void(int)> changed)
        : service(service), changed(std::move(changed))
    {
        service.m_watchers.push_back(this);
    }
    ~FakeWatch() override { std::erase(service.m_watchers, this); }
    int AddWatch(const std::string& path, std::uint32_t filter, bool subtree) override
    {
        if (path.empty())
            return -1;
        watches.push_back({path, filter, subtree});
        return static_cast<int>(watches.size()) - 1;
    }
    void RemoveAllWatches() override { watches.clear(); }

    FakeFolderWatchService& service;
    std::function<void(int)> changed;
    std::vector<Watched> watches;
};

std::unique_ptr<IFolderWatch> FakeFolderWatchService::Watch(std::function<void(int slot)> changed)
{
    return std::make_unique<FakeWatch>(*this, std::move(changed));
}

void FakeFolderWatchService::Fire(const std::string& path)
{
    for (FakeWatch* watcher : std::vector<FakeWatch*>(m_watchers))
        for (std::size_t slot = 0; slot < watcher->watches.size(); ++slot)
            if (watcher->watches[slot].path == path)
                watcher->changed(static_cast<int>(slot));
}

std::vector<FakeFolderWatchService::Watched> FakeFolderWatchService::Watches() const
{
    std::vector<Watched> all;
    for (const FakeWatch* watcher : m_watchers)
        all.insert(all.end(), watcher->watches.begin(), watcher->watches.end());
    return all;
}

}  // namespace setup::ui::testing
