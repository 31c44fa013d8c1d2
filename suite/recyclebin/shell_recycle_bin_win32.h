// The shell's Recycle Bin folder as the product reads it: each entry's parsing name (its file in
// the bin's storage) and its normal display text (its former full path); emptied through the
// shell without confirmation, progress or sound.
#pragma once

#include "suite/recyclebin/recycle_bin_source.h"

#include <windows.h>

namespace trashwipe {

class ShellRecycleBin final : public IRecycleBinSource
{
public:
    // The owner of windows the shell may show while it enumerates.
    explicit ShellRecycleBin(HWND owner = nullptr) : m_owner(owner) {}
    void SetOwner(HWND owner) noexcept { m_owner = owner; }
    std::vector<RecycleBinEntry> Enumerate() override;
    void EmptyAll() override;

private:
    HWND m_owner;
};

}  // namespace trashwipe
