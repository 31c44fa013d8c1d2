#include "suite/recyclebin/shred_run.h"

namespace trashwipe {

ShredRunPlan PlanShredRun(const RecycledItemList& items, const std::vector<ContentsRow>& rows)
{
    ShredRunPlan plan;
    for (const ContentsRow& row : rows)
        if (row.checked && row.record < items.Size())
            plan.paths.push_back(items[row.record].realPath);
    plan.everyRowChosen = !rows.empty() && plan.paths.size() == rows.size();
    return plan;
}

bool ShouldEmptyRecycleBin(bool aborted, const ShredRunPlan& plan, bool oldRecycleBin)
{
    return !aborted && (plan.everyRowChosen || oldRecycleBin);
}

std::size_t DriveLetterSet::Add(wchar_t letter)
{
    for (std::size_t i = 0; i < kSlots; ++i) {
        if (m_slots[i] == letter)
            return i;
        if (m_slots[i] == 0) {
            m_slots[i] = letter;
            return i;
        }
    }
    return kSlots;
}

void ShredTally::Record(std::wstring_view path, int kind, int result)
{
    m_results.push_back({std::wstring(path), kind, result});
    if (result == kShredSucceeded)
        ++m_succeeded;
    else if (result == kShredAbortedResult)
        ++m_aborted;
    else
        ++m_failed;
}

std::vector<int> ShredPlannedPaths(IShredEngine& engine, const std::vector<std::wstring>& paths,
                                   const WorkerPass& pass)
{
    std::vector<int> results;
    results.reserve(paths.size());
    for (const std::wstring& path : paths) {
        results.push_back(engine.ShredPath(path, pass.algorithm, pass.observer, pass.abortFlag));
        if (pass.promptLetters && !path.empty() &&
            !(pass.isNetworkPath && pass.isNetworkPath(path)))
            pass.promptLetters->Add(path.front());
    }
    return results;
}

bool IsOldBinEntryShred(std::wstring_view name)
{
    return !name.empty() && name.front() != L'.' && !name.starts_with(L"desktop.ini");
}

bool IsOldBinIndexFile(std::wstring_view name)
{
    return name.starts_with(L"INFO2");
}

}  // namespace trashwipe
