// One shred run on the caller's thread: the progress dialog, the log, the worker thread and the
// wait on "BlockThreadEvent", then emptying the bin, finishing the log and showing the summary.
#pragma once

#include "suite/recyclebin/trashwipe_environment_win32.h"

#include <windows.h>

#include <vector>

namespace trashwipe {

struct ShredRunRequest
{
    HWND contents = nullptr;  // the contents dialog: owner of the progress dialog
    bool interactive = false;
    int languageIndex = 0;
    const RecycledItemList* items = nullptr;
    std::vector<ContentsRow> rows;
    ShredAlgorithmId algorithm = 0;
    int fileCount = 0;  // the contents dialog's totals of the chosen rows
};

// False when no row was chosen (nothing happened); true once the run is over.
bool StartShredRun(TrashwipeEnvironment& environment, const ShredRunRequest& request);

}  // namespace trashwipe
