// The folder a shell control shows or starts from: an ID list, or a special folder's number that
// is resolved when first asked for. Stored in form files as the binary property "Pidl".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "setup/forms/persistent.h"
#include "setup/ui/shell_namespace.h"

namespace setup::ui {

class TNsShellLocator : public forms::TPersistent
{
public:
    FORMS_CLASS_INFO()
    static constexpr std::uint8_t kNoSpecialFolder = 50;
    enum Kind : std::uint8_t
    {
        IdListKind = 0,
        SpecialKind = 1
    };

    explicit TNsShellLocator(std::function<IShellNamespace*()> shell = {});

    Kind LocatorKind() const { return m_kind; }
    std::uint8_t SpecialFolder() const { return m_special; }
    // The absolute list; the desktop's empty list when none is held.
    IdList GetIdList();
    void SetIdList(const IdList& list);
    void SetSpecialFolder(std::uint8_t number);
    // An unparsable path names the desktop.
    void SetPath(const std::string& path);
    std::string GetPath();
    void Clear() { SetIdList({}); }

    void Assign(const forms::TPersistent& source) override;
    void DefineProperties(forms::PropertyDefiner& definer) override;
    std::string Stored() const;
    // A malformed record is ignored.
    void Restore(std::string_view bytes);

    // Fired when the located folder changes.
    std::function<void()> onChange;

private:
    IShellNamespace* Shell() const { return m_shell ? m_shell() : nullptr; }
    void Changed();

    std::function<IShellNamespace*()> m_shell;
    Kind m_kind = IdListKind;
    IdList m_list;
    std::uint8_t m_special = kNoSpecialFolder;
};

}  // namespace setup::ui
