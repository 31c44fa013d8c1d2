// A Recycle Bin made of a test's own folder: a file "manifest.txt" lists one entry per line as
// "<name in the folder>|<former full path>". Wine's bin gives neither an entry's former path nor
// its stored file, so the shred tests read this one instead.
#pragma once

#include "suite/recyclebin/recycle_bin_source.h"

#include <string>

namespace trashwipe::testing {

class FixtureRecycleBin final : public IRecycleBinSource
{
public:
    explicit FixtureRecycleBin(std::wstring folder) : m_folder(std::move(folder)) {}
    std::vector<RecycleBinEntry> Enumerate() override;
    // Counts the calls: what the run left stays for the test to look at.
    void EmptyAll() override;
    int emptyCalls = 0;

private:
    std::wstring m_folder;
};

}  // namespace trashwipe::testing
