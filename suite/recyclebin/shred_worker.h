// The worker thread's job in a shred run: hand the progress view its abort flag, shred every
// planned path through the engine (or walk the old per-drive bins), offer the previous-versions
// prompt afterwards and close the progress view. Windows-free: every contact is an interface.
#pragma once

#include "suite/recyclebin/shred_run.h"

#include <functional>
#include <string>
#include <vector>

namespace trashwipe {

// The progress dialog as the worker sees it; it also receives the engine's reports.
class IProgressView : public IShredObserver
{
public:
    // False while the view has no window to show the Abort button on.
    virtual bool SetAbortFlag(volatile char* abortFlag) = 0;
    // True once the view's modal loop is over (or never ran): no window will come any more.
    virtual bool ModalLoopEnded() = 0;
    // The engine call in progress returned: its pause event is gone.
    virtual void EngineCallEnded() = 0;
    // Asks the view's window to close.
    virtual void Close() = 0;

protected:
    ~IProgressView() = default;
};

// The snapshot-removal library's question: its answer, or 0 when the library is missing.
class IPreviousVersionsPrompt
{
public:
    virtual int Show(ShredAlgorithmId algorithm, const wchar_t* driveLetters) = 0;

protected:
    ~IPreviousVersionsPrompt() = default;
};

inline constexpr int kPromptNeverAgain = -2;
inline constexpr int kPromptHandled = 1;

// One file of an old per-drive "Recycled" folder.
struct OldBinFile
{
    std::wstring path;
    std::wstring name;
};

struct ShredWorkerJob
{
    ShredAlgorithmId algorithm = 0;
    std::vector<std::wstring> paths;
    bool interactive = false;
    bool newRecycleBin = true;
    bool majorVersion6 = false;
    volatile char* abortFlag = nullptr;
};

struct ShredWorkerServices
{
    IShredEngine& engine;
    IProgressView& progress;
    IPreviousVersionsPrompt& prompt;
    // LeavePV: read before the run, written when the user asks never to be asked again.
    std::function<bool()> readLeavePV;
    std::function<void()> writeLeavePV;
    std::function<void(int answer)> addPreviousVersionsLine;
    std::function<bool(const std::wstring&)> isNetworkPath;
    // Every file of every fixed drive's "Recycled" folder, drive by drive.
    std::function<std::vector<OldBinFile>()> oldBinFiles;
    std::function<void(unsigned milliseconds)> sleep;
};

// The whole job of the worker; returns when every path was handed to the engine.
void RunShredWorker(const ShredWorkerJob& job, ShredWorkerServices& services);

}  // namespace trashwipe
