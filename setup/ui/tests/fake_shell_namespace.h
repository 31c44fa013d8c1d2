// An in-memory shell namespace: the desktop holds "My Computer" (with drive "C:") and a virtual
// "Control Panel"; items are named by their names. Folders are made and removed by path.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "setup/ui/shell_namespace.h"

namespace setup::ui::testing {

// Dragged shell items, by their absolute lists.
struct FakeDragData final : IDragData
{
    std::vector<IdList> items;
};

class FakeShellNamespace final : public IShellNamespace
{
public:
    struct Item
    {
        std::string name;
        bool folder = true;
        bool hidden = false;
        bool fileSystem = true;
        std::uint64_t size = 0;
        std::vector<std::unique_ptr<Item>> children;
    };

    FakeShellNamespace();
    // "C:\a\b": made with every missing level (the last one a file when `file`).
    void Add(const std::string& path, bool file = false, bool hidden = false);
    void Remove(const std::string& path);
    // Enumerations seen, to tell what was listed.
    int enumerations = 0;

    std::optional<std::vector<IdList>> Enumerate(const IdList& folder, unsigned flags) override;
    std::uint32_t Attributes(const IdList& folder, const IdList& item, std::uint32_t mask) override;
    std::string DisplayName(const IdList& folder, const IdList& item, ShellNameKind kind) override;
    // By name, folders first; column 1 orders files by size.
    int Compare(const IdList& folder, const IdList& a, const IdList& b, int column = 0) override;
    // Files have their size and a type named by the extension.
    ItemDetails Details(const IdList& folder, const IdList& item) override;
    std::string StoredColumnWidths() override { return storedColumnWidths; }
    std::string storedColumnWidths;
    void SetSize(const std::string& path, std::uint64_t size);
    bool IsFolder(const IdList& absolute);
    std::optional<IdList> ParsePath(const std::string& path) override;
    std::string PathOf(const IdList& absolute) override;
    std::optional<IdList> SpecialFolder(int number) override;
    int IconIndex(const IdList& absolute, bool open) override { return open ? 2 : 1; }
    std::optional<IdList> Rename(const IdList& folder, const IdList& item,
                                 const std::string& name) override;
    // "delete" removes the items, "copy" and "cut" keep them for "paste", which copies them into
    // the folder (moves them after "cut"); the default command of a file ("") is "open"; other
    // verbs are not on the menu.
    bool InvokeVerb(const IdList& folder, const std::vector<IdList>& items,
                    const std::string& verb) override;
    // Each verb run, as "verb path".
    std::vector<std::string> verbs;
    // Open, Cut, Copy and Delete, with Rename when asked; running one runs its verb. Showing the
    // menu picks `menuChoice` after pointing at each command in turn.
    std::unique_ptr<IShellContextMenu> ContextMenu(const IdList& folder,
                                                   const std::vector<IdList>& items,
                                                   bool canRename) override;
    int menuChoice = 0;
    // A drag records its items and is dropped when `dragsDrop`.
    bool Drag(const IdList& folder, const std::vector<IdList>& items,
              std::uint32_t allowedEffects, std::uint32_t button) override;
    bool dragsDrop = false;
    // Runs while a drag is under way, as the user's moves would.
    std::function<void()> duringDrag;
    // Each drag, as "button allowed path...".
    std::vector<std::string> drags;
    // A folder's target copies the dragged items into it, or moves them for a move alone; each
    // drop is recorded as "copy|move source -> folder".
    std::unique_ptr<IShellDropTarget> DropTarget(const IdList& folder,
                                                 const IdList& item) override;
    std::uint32_t AllowedEffects(IDragData& data) override { return allowedEffects; }
    std::uint32_t allowedEffects = 7;
    std::vector<std::string> drops;
    // Each menu shown, as its commands' texts.
    std::vector<std::vector<std::string>> menusShown;
    std::string LinkTarget(const std::string& path) override;
    // Shortcut files by path, with their targets.
    std::map<std::string, std::string> links;
    // Shared folders by path.
    std::vector<std::string> shared;
    // Each Send To run, as "sendto id path...".
    bool SendTo(int id, const IdList& folder, const std::vector<IdList>& items) override;

private:
    Item* Find(const IdList& absolute);
    Item m_desktop;
    std::vector<IdList> m_clipboard;
    bool m_cut = false;
};

// Watches that fire when a test says so, over a given list of drives.
class FakeFolderWatchService final : public IFolderWatchService
{
public:
    struct Watched
    {
        std::string path;
        std::uint32_t filter = 0;
        bool subtree = false;
    };
    std::unique_ptr<IFolderWatch> Watch(std::function<void(int slot)> changed) override;
    std::vector<DriveRoot> Drives() override { return drives; }
    // Tells every live watcher that the watch of the path fired.
    void Fire(const std::string& path);

    std::vector<DriveRoot> drives{DriveRoot{}};
    // The live watches of every watcher.
    std::vector<Watched> Watches() const;

private:
    class FakeWatch;
    std::vector<FakeWatch*> m_watchers;
};

}  // namespace setup::ui::testing
