#include "setup/ui/skin/reg_ini_file.h"

#include "setup/forms/class_builder.h"

namespace setup::ui::skin {

const forms::ClassInfo& TSkRegIniFile::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TSkRegIniFile>("TSkRegIniFile", &forms::TComponent::StaticClass())
            .Property("Path", &TSkRegIniFile::Path, &TSkRegIniFile::SetPath)
            .Property("PathType", &TSkRegIniFile::PathType, &TSkRegIniFile::SetPathType)
            .Property("RegAccess", &TSkRegIniFile::RegAccess, &TSkRegIniFile::SetRegAccess)
            .Property("RegKey", &TSkRegIniFile::RegKey, &TSkRegIniFile::SetRegKey)
            .Build();
    return info;
}

}  // namespace setup::ui::skin
