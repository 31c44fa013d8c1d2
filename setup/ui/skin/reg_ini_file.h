// TSkRegIniFile: where skinned controls would keep settings, an INI file or a registry key. Here
// it only carries its settings; a frame controller holds a reference to one.
#pragma once

#include <cstdint>
#include <string>

#include "setup/forms/component.h"
#include "setup/ui/ui_types.h"

namespace setup::ui::skin {

enum TSkPathType
{
    ptIniFile,
    ptRegistry,
};
enum TSkRegKey
{
    hkeyClassesRoot,
    hkeyCurrentUser,
    hkeyLocalMachine,
    hkeyUsers,
    hkeyPerformanceData,
    hkeyCurrentConfig,
    hkeyDynData,
};

class TSkRegIniFile : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    using TComponent::TComponent;

    TSkPathType PathType() const { return m_pathType; }
    void SetPathType(TSkPathType type) { Set(m_pathType, type); }
    const std::string& Path() const { return m_path; }
    void SetPath(const std::string& path) { Set(m_path, path); }
    TSkRegKey RegKey() const { return m_regKey; }
    void SetRegKey(TSkRegKey key) { Set(m_regKey, key); }
    // Key rights as the registry numbers them; all access at first.
    std::int32_t RegAccess() const { return m_regAccess; }
    void SetRegAccess(std::int32_t access) { Set(m_regAccess, access); }
    // A setting changed since the storage behind them was last made.
    bool StorageStale() const { return m_stale; }

private:
    template <class T>
    void Set(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        m_stale = true;
    }
    TSkPathType m_pathType = ptIniFile;
    std::string m_path;
    TSkRegKey m_regKey = hkeyCurrentUser;
    std::int32_t m_regAccess = 0xF003F;
    bool m_stale = true;
};

}  // namespace setup::ui::skin

SKIN_ENUM_TYPE(TSkPathType, "ptIniFile", "ptRegistry")
SKIN_ENUM_TYPE(TSkRegKey, "hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine", "hkeyUsers",
               "hkeyPerformanceData", "hkeyCurrentConfig", "hkeyDynData")
