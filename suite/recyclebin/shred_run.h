// The decisions of one shred run: which entries the chosen rows name, the worker's pass over them
// through the shred engine, the per-item results and counts, the drive letters for the
// previous-versions prompt, and whether the Recycle Bin is emptied afterwards.
#pragma once

#include "suite/recyclebin/recycled_items.h"
#include "suite/recyclebin/shred_choice.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace trashwipe {

// Results of the shred engine.
inline constexpr int kShredSucceeded = -100;
inline constexpr int kShredAbortedResult = -6;
inline constexpr int kEngineMissing = 0;
inline constexpr int kFinishedFilePercent = 200;
inline constexpr int kDoneKindFile = 10;
inline constexpr int kDoneKindFolder = 20;

// What the engine reports while it works; the pause event is the engine's own for that call.
class IShredObserver
{
public:
    virtual void OnProgress(int percent, void** pauseEvent) = 0;
    virtual void OnObjectDone(std::wstring_view path, int kind, int result) = 0;

protected:
    ~IShredObserver() = default;
};

class IShredEngine
{
public:
    // The engine's result, or kEngineMissing when it could not be loaded. `observer` may be none.
    virtual int ShredPath(const std::wstring& path, ShredAlgorithmId algorithm,
                          IShredObserver* observer, volatile char* abortFlag) = 0;

protected:
    ~IShredEngine() = default;
};

// A row of the contents list: the entry it shows and its check box.
struct ContentsRow
{
    std::size_t record;
    bool checked;
};

struct ShredRunPlan
{
    std::vector<std::wstring> paths;  // real paths of the chosen entries, in row order
    bool everyRowChosen = false;
};

// Each chosen row names its own entry, so two entries deleted from the same place are both shred
// once.
ShredRunPlan PlanShredRun(const RecycledItemList& items, const std::vector<ContentsRow>& rows);

// The bin is emptied after a run the user did not abort that chose every row, and always on the
// old per-drive bin.
bool ShouldEmptyRecycleBin(bool aborted, const ShredRunPlan& plan, bool oldRecycleBin);

// Drive letters for the previous-versions prompt: at most 25, each once, in the order first seen,
// case kept.
class DriveLetterSet
{
public:
    static constexpr std::size_t kSlots = 25;
    // The slot the letter stands in, or kSlots when the set is full and the letter new.
    std::size_t Add(wchar_t letter);
    // The letters as a zero-terminated text.
    const wchar_t* Text() const noexcept { return m_slots.data(); }

private:
    std::array<wchar_t, kSlots + 1> m_slots{};
};

// One object the engine reported done.
struct ObjectResult
{
    std::wstring path;
    int kind;
    int result;
};

// Per-object results of a run and the counts the summary shows.
class ShredTally
{
public:
    void Record(std::wstring_view path, int kind, int result);
    const std::vector<ObjectResult>& Results() const noexcept { return m_results; }
    int Succeeded() const noexcept { return m_succeeded; }
    int Failed() const noexcept { return m_failed; }
    int Aborted() const noexcept { return m_aborted; }
    bool AnySuccess() const noexcept { return m_succeeded > 0; }
    bool AnyFailure() const noexcept { return m_failed + m_aborted > 0; }

private:
    std::vector<ObjectResult> m_results;
    int m_succeeded = 0;
    int m_failed = 0;
    int m_aborted = 0;
};

// What the worker needs beyond the engine: the prompt's collected letters when a prompt is
// offered, and how a network path is recognised.
struct WorkerPass
{
    ShredAlgorithmId algorithm = 0;
    IShredObserver* observer = nullptr;
    volatile char* abortFlag = nullptr;
    DriveLetterSet* promptLetters = nullptr;
    std::function<bool(const std::wstring&)> isNetworkPath;
};

// Hands every planned path to the engine once, in order; engine results do not change the flow.
// Returns the engine's result per path.
std::vector<int> ShredPlannedPaths(IShredEngine& engine, const std::vector<std::wstring>& paths,
                                   const WorkerPass& pass);

// Entries of an old per-drive "Recycled" folder that the run shreds, and the index file that it
// shreds without progress and without a log row.
bool IsOldBinEntryShred(std::wstring_view name);
bool IsOldBinIndexFile(std::wstring_view name);

}  // namespace trashwipe
