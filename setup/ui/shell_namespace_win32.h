// The shell namespace of the system: folders bound through the desktop's IShellFolder.
#pragma once

#include "setup/ui/shell_namespace.h"

struct IShellFolder;
struct IDataObject;
struct IContextMenu;

namespace setup::ui {

class Win32ShellNamespace final : public IShellNamespace
{
public:
    // Joins COM on the calling thread (the GUI thread) for the object's life.
    Win32ShellNamespace();
    ~Win32ShellNamespace() override;
    Win32ShellNamespace(const Win32ShellNamespace&) = delete;
    Win32ShellNamespace& operator=(const Win32ShellNamespace&) = delete;

    std::optional<std::vector<IdList>> Enumerate(const IdList& folder, unsigned flags) override;
    std::uint32_t Attributes(const IdList& folder, const IdList& item, std::uint32_t mask) override;
    std::string DisplayName(const IdList& folder, const IdList& item, ShellNameKind kind) override;
    int Compare(const IdList& folder, const IdList& a, const IdList& b, int column = 0) override;
    ItemDetails Details(const IdList& folder, const IdList& item) override;
    std::string StoredColumnWidths() override;
    std::optional<IdList> ParsePath(const std::string& path) override;
    std::string PathOf(const IdList& absolute) override;
    std::optional<IdList> SpecialFolder(int number) override;
    int IconIndex(const IdList& absolute, bool open) override;
    std::optional<IdList> Rename(const IdList& folder, const IdList& item,
                                 const std::string& name) override;
    bool InvokeVerb(const IdList& folder, const std::vector<IdList>& items,
                    const std::string& verb) override;
    std::unique_ptr<IShellContextMenu> ContextMenu(const IdList& folder,
                                                   const std::vector<IdList>& items,
                                                   bool canRename) override;
    std::unique_ptr<IShellDropTarget> DropTarget(const IdList& folder,
                                                 const IdList& item) override;
    bool Drag(const IdList& folder, const std::vector<IdList>& items,
              std::uint32_t allowedEffects, std::uint32_t button) override;
    std::uint32_t AllowedEffects(IDragData& data) override;
    std::string LinkTarget(const std::string& path) override;
    // Runs the entry of the Send To submenu last filled.
    bool SendTo(int id, const IdList& folder, const std::vector<IdList>& items) override;

    // A new data object (one reference) carrying the folder's items; null when it cannot be made.
    IDataObject* DataObjectOf(const IdList& folder, const std::vector<IdList>& items);
    // What a dropped data object's items allow: copy, move, link.
    std::uint32_t AllowedEffectsOf(IDataObject& data);

private:
    // A new reference to the folder, or none.
    IShellFolder* Bind(const IdList& folder) const;
    // A new reference to the items' context menu (the folder view's with no items), or none.
    IContextMenu* MenuOf(const IdList& folder, const std::vector<IdList>& items);

    IShellFolder* m_desktop = nullptr;
    bool m_comJoined = false;
};

}  // namespace setup::ui
