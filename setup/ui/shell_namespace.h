// The shell namespace as the shell controls see it: folders and items named by ID lists. The
// Win32 default walks the shell's folders; tests give an in-memory tree.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/ui/shell_id_list.h"

namespace setup::ui {

class TControl;
class TApplication;

// What a folder enumeration includes.
inline constexpr unsigned kEnumFolders = 0x20;
inline constexpr unsigned kEnumNonFolders = 0x40;
inline constexpr unsigned kEnumHidden = 0x80;

// Item attributes, with the shell's bit values.
inline constexpr std::uint32_t kAttrCanRename = 0x10;
inline constexpr std::uint32_t kAttrLink = 0x10000;
inline constexpr std::uint32_t kAttrShare = 0x20000;
inline constexpr std::uint32_t kAttrHidden = 0x80000;
inline constexpr std::uint32_t kAttrFileSysAncestor = 0x10000000;
inline constexpr std::uint32_t kAttrFolder = 0x20000000;
inline constexpr std::uint32_t kAttrFileSystem = 0x40000000;
inline constexpr std::uint32_t kAttrHasSubfolder = 0x80000000;

// The special folder number of My Computer.
inline constexpr int kMyComputer = 17;

enum class ShellNameKind
{
    Normal,
    InFolder,
    ForParsing,
    ForEditing
};

// What the content list's default columns show of an item.
struct ItemDetails
{
    // Files have a size; folders and virtual items do not.
    bool hasSize = false;
    std::uint64_t size = 0;
    std::string type;
    std::string modified;
};

// The first id of the shell's own commands in a context menu; ids below are the control's.
inline constexpr int kFirstShellCommand = 1000;
// The id the shell's rename command has in menus made with renaming allowed.
inline constexpr int kRenameShellCommand = 1018;

struct ShellMenuCommand
{
    int id = 0;
    std::string text;
    std::string verb;
};

// A shell context menu made for some items, shown and run on the GUI thread.
class IShellContextMenu
{
public:
    virtual ~IShellContextMenu() = default;
    // The menu's commands, submenus flattened, with their verbs where they have one.
    virtual std::vector<ShellMenuCommand> Commands() = 0;
    // Shows the menu at the screen point for the owner window: the chosen command's id, 0 when
    // the menu closed without a choice. `hint` hears the help text of each command pointed at.
    virtual int Track(std::uintptr_t owner, int x, int y,
                      const std::function<void(const std::string&)>& hint) = 0;
    // Runs the command of the id; false when the shell refused.
    virtual bool Invoke(int id) = 0;
};

// The data of a drag in progress, as the system hands it to a drop target.
class IDragData
{
public:
    virtual ~IDragData() = default;
};

// The shell's own drop target of a folder, which does what a drop onto it means.
class IShellDropTarget
{
public:
    virtual ~IShellDropTarget() = default;
    // Each answers the drop effect the folder would take.
    virtual std::uint32_t DragEnter(IDragData& data, std::uint32_t keyState, int x, int y,
                                    std::uint32_t effect) = 0;
    virtual std::uint32_t DragOver(std::uint32_t keyState, int x, int y,
                                   std::uint32_t effect) = 0;
    virtual void DragLeave() = 0;
    virtual std::uint32_t Drop(IDragData& data, std::uint32_t keyState, int x, int y,
                               std::uint32_t effect) = 0;
};

class IShellNamespace
{
public:
    virtual ~IShellNamespace() = default;
    // The folder's items as one-item lists; none when the folder cannot be listed.
    virtual std::optional<std::vector<IdList>> Enumerate(const IdList& folder, unsigned flags) = 0;
    // The asked attributes of an item of the folder (0 on failure).
    virtual std::uint32_t Attributes(const IdList& folder, const IdList& item,
                                     std::uint32_t mask) = 0;
    virtual std::string DisplayName(const IdList& folder, const IdList& item,
                                    ShellNameKind kind) = 0;
    // The folder's order of two of its items by a details column (0: the name): negative, 0 or
    // positive.
    virtual int Compare(const IdList& folder, const IdList& a, const IdList& b,
                        int column = 0) = 0;
    virtual ItemDetails Details(const IdList& folder, const IdList& item) = 0;
    // The user's own widths of the file views' columns, as stored; empty when none are stored.
    virtual std::string StoredColumnWidths() = 0;
    // The absolute list of a path; none when it does not parse.
    virtual std::optional<IdList> ParsePath(const std::string& path) = 0;
    // The file-system path of an absolute list; empty when the item is not in the file system.
    virtual std::string PathOf(const IdList& absolute) = 0;
    // A special folder's absolute list by its number.
    virtual std::optional<IdList> SpecialFolder(int number) = 0;
    virtual int IconIndex(const IdList& absolute, bool open) = 0;
    // The item's new one-item list after the rename; none when the shell refused.
    virtual std::optional<IdList> Rename(const IdList& folder, const IdList& item,
                                         const std::string& name) = 0;
    // Runs the command of the items' shell context menu that carries the verb ("copy", "cut",
    // "paste", "delete"), or the menu's default command for an empty verb; with no items, of the
    // menu of the folder's open view. False when the menu has no such command or the shell
    // refused.
    virtual bool InvokeVerb(const IdList& folder, const std::vector<IdList>& items,
                            const std::string& verb) = 0;
    // The shell's context menu of the folder's items (of the folder's open view with no items),
    // with the shell's rename command when `canRename`; none when the shell has no menu for them.
    virtual std::unique_ptr<IShellContextMenu> ContextMenu(const IdList& folder,
                                                           const std::vector<IdList>& items,
                                                           bool canRename) = 0;
    // The drop target of a folder's item (of the desktop for the desktop's empty lists); none when
    // the item takes no drops.
    virtual std::unique_ptr<IShellDropTarget> DropTarget(const IdList& folder,
                                                         const IdList& item) = 0;
    // Drags the folder's items with the mouse button (a key-state button bit) until they are
    // dropped or the drag is given up; true when they were dropped.
    virtual bool Drag(const IdList& folder, const std::vector<IdList>& items,
                      std::uint32_t allowedEffects, std::uint32_t button) = 0;
    // What the dragged items allow (copy, move, link: the drop effect bits); all of it when the
    // data names no shell items.
    virtual std::uint32_t AllowedEffects(IDragData& data) = 0;
    // The target path of a shortcut file, resolved without asking the user; empty when the file
    // is no shortcut or names no path.
    virtual std::string LinkTarget(const std::string& path) = 0;
    // Drops the folder's items onto the Send To entry that a control's menu offered under the
    // id; false when the entry is gone or refused them.
    virtual bool SendTo(int id, const IdList& folder, const std::vector<IdList>& items) = 0;
};

// Watches folders for changes on a worker and tells the control on its own thread, with the
// slot of the watch that fired. A watch may see only a folder's direct children.
class IFolderWatch
{
public:
    virtual ~IFolderWatch() = default;
    // The slot of the new watch; -1 when the folder cannot be watched.
    virtual int AddWatch(const std::string& path, std::uint32_t filter, bool subtree) = 0;
    virtual void RemoveAllWatches() = 0;
};

inline constexpr int kDrivesChanged = -1;

// Change filters, with the system's values.
inline constexpr std::uint32_t kWatchFileNames = 1;
inline constexpr std::uint32_t kWatchFolderNames = 2;

enum class DriveKind
{
    Other,
    Removable,
    Fixed,
    Remote,
    CdRom,
    RamDisk
};

struct DriveRoot
{
    char letter = 'C';
    DriveKind kind = DriveKind::Fixed;
    // For a network drive: its connection is up.
    bool connected = true;
};

class IFolderWatchService
{
public:
    virtual ~IFolderWatchService() = default;
    // `changed` runs on the thread that made the watch, never after the watch is gone: with the
    // slot of a watch that fired, or kDrivesChanged when a drive arrived or went.
    virtual std::unique_ptr<IFolderWatch> Watch(std::function<void(int slot)> changed) = 0;
    virtual std::vector<DriveRoot> Drives() = 0;
};

// Fixed and RAM drives are watched, network drives while connected; removable ones never.
bool DriveIsWatched(const DriveRoot& drive);

// The application of the control's form; none for a page loaded for inspection only.
TApplication* ApplicationOf(const TControl& control);
// The namespace of the control's application; none leaves the shell controls empty.
IShellNamespace* NamespaceOf(const TControl& control);
// The folder watches of the control's application; none leaves the controls unwatched.
IFolderWatchService* FolderWatchOf(const TControl& control);

// The overlay an item's attributes call for: 0 (the first) shared, 1 a shortcut, -1 none.
int OverlayOfAttributes(std::uint32_t attributes);

// Two absolute lists compared by the desktop: 0 when equal.
int CompareAbsolute(IShellNamespace* shell, const IdList& a, const IdList& b);

}  // namespace setup::ui
