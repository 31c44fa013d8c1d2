#include "suite/recyclebin/previous_versions_win32.h"

#include "suite/recyclebin/suite_export_win32.h"

namespace trashwipe {

int SnappromptPrompt::Show(ShredAlgorithmId algorithm, const wchar_t* driveLetters)
{
    const auto bound =
        BindSuiteExport(m_locator, m_messages, kSnapshotPromptLibrary, "ShowRemovePVGUI");
    if (!bound)
        return 0;
    using ShowFunction = int(__stdcall*)(void*, int, const wchar_t*);
    return reinterpret_cast<ShowFunction>(bound->function)(m_progressDialog, algorithm,
                                                           driveLetters);
}

}  // namespace trashwipe
