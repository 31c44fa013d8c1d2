// The archives 7-Zip made for the tests at build time, and the files they were made from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standins::archive::testing {

// Path of a file below the fixture folder ("lzma2.7z", "input/readme.txt"), with forward slashes.
std::string FixturePath(const std::string& relativePath);
std::vector<std::uint8_t> ReadFixture(const std::string& relativePath);

// The files and folders every 7-Zip fixture holds, in the archive's order, with their contents:
// the path of the input file below "input/" (ASCII names) or the literal content.
struct FixtureEntry
{
    std::u16string name;
    std::string inputPath;
    bool isFolder = false;
    std::string content;
};
const std::vector<FixtureEntry>& FixtureEntries();
std::vector<std::uint8_t> ExpectedContent(const FixtureEntry& entry);

}  // namespace standins::archive::testing
