// A shred engine for the tests that reports one object per path with a scripted result, and an
// observer that tallies what it hears.
#pragma once

#include "suite/recyclebin/shred_run.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace trashwipe::testing {

// An engine that reports one object per path with a scripted result and honours the abort flag
// as the real one does: once set, every later object ends aborted.
class ScriptedEngine final : public IShredEngine
{
public:
    int ShredPath(const std::wstring& path, ShredAlgorithmId algorithm, IShredObserver* observer,
                  volatile char* abortFlag) override
    {
        calls.push_back(path);
        algorithms.push_back(algorithm);
        int result = results.count(path) ? results[path] : kShredSucceeded;
        if (abortFlag && *abortFlag)
            result = kShredAbortedResult;
        if (observer && !unreported.count(path)) {
            observer->OnProgress(0, nullptr);
            if (result == kShredSucceeded)
                observer->OnProgress(kFinishedFilePercent, nullptr);
            observer->OnObjectDone(path, kDoneKindFile, result);
        }
        if (path == abortAfter && abortFlag)
            *abortFlag = 1;
        return result;
    }
    std::vector<std::wstring> calls;
    std::vector<ShredAlgorithmId> algorithms;
    std::map<std::wstring, int> results;
    std::wstring abortAfter;
    std::set<std::wstring> unreported;  // paths whose call reports no object
};

class TallyObserver final : public IShredObserver
{
public:
    void OnProgress(int percent, void**) override { finished += percent == kFinishedFilePercent; }
    void OnObjectDone(std::wstring_view path, int kind, int result) override
    {
        tally.Record(path, kind, result);
    }
    ShredTally tally;
    int finished = 0;
};

}  // namespace trashwipe::testing
