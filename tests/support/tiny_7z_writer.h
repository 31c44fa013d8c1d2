// A minimal 7z writer for tests: one stored block, a plain header, any entry names at all (7-Zip
// itself refuses to store the hostile ones the reader must reject).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standins::archive::testing {

struct TinyEntry
{
    std::u16string name;
    std::string data;
    bool isFolder = false;
};

enum class TinyCrc
{
    PerEntry,  // in the substreams section, as 7-Zip writes them
    OnBlock,   // one digest for the whole block, in the folder section
    PerEntryWrong,
    OnBlockWrong,
};

std::vector<std::uint8_t> WriteTiny7z(const std::vector<TinyEntry>& entries,
                                      TinyCrc crc = TinyCrc::PerEntry);

}  // namespace standins::archive::testing
