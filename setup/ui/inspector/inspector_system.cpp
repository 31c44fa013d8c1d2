#include "setup/ui/inspector/inspector_system.h"

#include "setup/ui/form.h"

namespace setup::ui {

int IInspectorSystem::RunModal(TCustomForm&)
{
    return mrCancel;
}

IInspectorSystem& NoInspectorSystem()
{
    static IInspectorSystem none;
    return none;
}

}  // namespace setup::ui
