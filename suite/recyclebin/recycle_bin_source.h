// Where the contents dialog gets the Recycle Bin's entries and how the bin is emptied: the shell's
// Recycle Bin folder in the product, a fixture folder in tests, so no test empties a real bin.
#pragma once

#include <string>
#include <vector>

namespace trashwipe {

struct RecycleBinEntry
{
    std::wstring realPath;     // the entry's file or folder inside the bin's storage
    std::wstring displayPath;  // its former full path
};

class IRecycleBinSource
{
public:
    // In the shell's enumeration order.
    virtual std::vector<RecycleBinEntry> Enumerate() = 0;
    virtual void EmptyAll() = 0;

protected:
    ~IRecycleBinSource() = default;
};

}  // namespace trashwipe
