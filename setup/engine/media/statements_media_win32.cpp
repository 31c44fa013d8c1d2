#include "setup/engine/media/statements_media_win32.h"

#include <windows.h>

#include "setup/engine/media/media_workers_win32.h"

namespace setup::engine {

MediaStatementServices Win32MediaStatementServices(IWow64Services& wow64)
{
    MediaStatementServices services;
    services.wow64 = &wow64;
    services.extract = [](StatementContext& statement, const ArchiveExtraction& extraction,
                          std::string& errorText) {
        EngineState& engine = statement.Engine();
        MediaWorkerRun run(engine.Variables.Store(), engine.Parts.Get<WorkerFlags>());
        run.wait.silent = engine.Variables.SilentMode;
        run.wake = reinterpret_cast<HWND>(engine.ForegroundDialogWindow);
        run.percentComplete = engine.Messages->Text(21);
        DirectExtractJob job{extraction.archivePath, extraction.targetFolder, extraction.password,
                             extraction.modeFlag, extraction.answerFlag};
        return DirectExtract(run, job, errorText);
    };
    return services;
}

}  // namespace setup::engine
