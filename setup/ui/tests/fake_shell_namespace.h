// An in-memory shell namespace: the desktop holds "My Computer" (with drive "C:") and a virtual
// "Control Panel"; items are named by their names. Folders are made and removed by path.
#pragma once

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

private:
    Item* Find(const IdList& absolute);
    Item m_desktop;
};

}  // namespace setup::ui::testing
