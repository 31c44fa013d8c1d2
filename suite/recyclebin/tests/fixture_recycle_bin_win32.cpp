#include "suite/recyclebin/tests/fixture_recycle_bin_win32.h"

#include "tests/support/scratch_folder_win32.h"

#include <string>

namespace trashwipe::testing {

std::vector<RecycleBinEntry> FixtureRecycleBin::Enumerate()
{
    std::vector<RecycleBinEntry> entries;
    const std::vector<std::uint8_t> bytes =
        testsupport::ReadWholeFile(m_folder + L"\\manifest.txt");
    const std::wstring text(bytes.begin(), bytes.end());  // the manifest is ASCII
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(L'\n', at);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = text.substr(at, end - at);
        at = end + 1;
        const std::size_t bar = line.find(L'|');
        if (bar == std::wstring::npos)
            continue;
        entries.push_back({m_folder + L"\\" + line.substr(0, bar), line.substr(bar + 1)});
    }
    return entries;
}

void FixtureRecycleBin::EmptyAll()
{
    ++emptyCalls;
}

}  // namespace trashwipe::testing
