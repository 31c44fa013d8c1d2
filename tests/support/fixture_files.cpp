#include "tests/support/fixture_files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace standins::archive::testing {

std::string FixturePath(const std::string& relativePath)
{
    return std::string(ARCHIVE_FIXTURE_DIR) + "/" + relativePath;
}

std::vector<std::uint8_t> ReadFixture(const std::string& relativePath)
{
    std::ifstream file(FixturePath(relativePath), std::ios::binary);
    if (!file) {
        throw std::runtime_error("missing fixture " + relativePath);
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> ExpectedContent(const FixtureEntry& entry)
{
    if (entry.inputPath.empty()) {
        return std::vector<std::uint8_t>(entry.content.begin(), entry.content.end());
    }
    return ReadFixture("input/" + entry.inputPath);
}

const std::vector<FixtureEntry>& FixtureEntries()
{
    static const std::vector<FixtureEntry> entries = {
        {u"docs", "", true, ""},
        {u"docs\\deeper", "", true, ""},
        {u"empty folder", "", true, ""},
        {u"empty.txt", "", false, ""},
        {u"docs\\deeper\\program.exe", "docs/deeper/program.exe", false, ""},
        {u"docs\\noise.bin", "docs/noise.bin", false, ""},
        {u"readme.txt", "readme.txt", false, ""},
        {u"\u00dcnic\u00f6de-\u00e9.txt", "", false, "Latin letters\n"},
        {u"\u043a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430.txt", "", false, "Cyrillic\n"},
    };
    return entries;
}

}  // namespace standins::archive::testing
