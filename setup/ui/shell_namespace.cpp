#include "setup/ui/shell_namespace.h"

#include "setup/ui/application.h"
#include "setup/ui/form.h"

namespace setup::ui {

TApplication* ApplicationOf(const TControl& control)
{
    for (const forms::TComponent* owner = control.Owner(); owner; owner = owner->Owner())
        if (const auto* form = dynamic_cast<const TCustomForm*>(owner))
            if (form->Application())
                return form->Application();
    return nullptr;
}

IShellNamespace* NamespaceOf(const TControl& control)
{
    TApplication* application = ApplicationOf(control);
    return application ? application->shellNamespace : nullptr;
}

IFolderWatchService* FolderWatchOf(const TControl& control)
{
    TApplication* application = ApplicationOf(control);
    return application ? application->folderWatch : nullptr;
}

bool DriveIsWatched(const DriveRoot& drive)
{
    switch (drive.kind) {
        case DriveKind::Fixed:
        case DriveKind::RamDisk:
            return true;
        case DriveKind::Remote:
            return drive.connected;
        default:
            return false;
    }
}

int OverlayOfAttributes(std::uint32_t attributes)
{
    if (attributes & kAttrShare)
        return 0;
    if (attributes & kAttrLink)
        return 1;
    return -1;
}

int CompareAbsolute(IShellNamespace* shell, const IdList& a, const IdList& b)
{
    const auto countA = IdListCount(a);
    const auto countB = IdListCount(b);
    const bool emptyA = !countA || *countA == 0;
    const bool emptyB = !countB || *countB == 0;
    if (emptyA || emptyB)
        return emptyA == emptyB ? 0 : -1;
    if (shell)
        return shell->Compare(DesktopIdList(), a, b);
    return a.substr(0, IdListSize(a)).compare(b.substr(0, IdListSize(b)));
}

}  // namespace setup::ui
