// An in-memory shell namespace: the desktop holds "My Computer" (with drive "C:") and a virtual
// "Control Panel"; items are named by their names. Folders are made and removed by path.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "setup/ui/shell_namespace.h"

namespace setup::ui::testing {

class FakeShellNamespace final : public IShellNamespace
{
public:
    struct Item
    {
        std::string name;
        bool folder = true;
        bool hidden = false;
        bool fileSystem = true;
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
    int Compare(const IdList& folder, const IdList& a, const IdList& b) override;
    std::optional<IdList> ParsePath(const std::string& path) override;
    std::string PathOf(const IdList& absolute) override;
    std::optional<IdList> SpecialFolder(int number) override;
    int IconIndex(const IdList& absolute, bool open) override { return open ? 2 : 1; }
    std::optional<IdList> Rename(const IdList& folder, const IdList& item,
                                 const std::string& name) override;
    // "delete" removes the items, "copy" and "cut" keep them for "paste", which copies them into
    // the folder (moves them after "cut"); other verbs are not on the menu.
    bool InvokeVerb(const IdList& folder, const std::vector<IdList>& items,
                    const std::string& verb) override;
    // Each verb run, as "verb path".
    std::vector<std::string> verbs;
    std::string LinkTarget(const std::string& path) override;
    // Shortcut files by path, with their targets.
    std::map<std::string, std::string> links;

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
