#include "support/process/process_helpers.h"

#include <gtest/gtest.h>

#include <set>

namespace process {
namespace {

// A process list of the test's own; records which processes it was asked to end.
class FakeProcessTable final : public IProcessTable
{
public:
    std::optional<std::vector<ProcessEntry>> entries;
    std::set<DWORD> unopenable;
    std::vector<DWORD> terminated;

    std::optional<std::vector<ProcessEntry>> Snapshot() override { return entries; }
    TerminateResult Terminate(DWORD processId) override
    {
        if (unopenable.count(processId))
            return TerminateResult::CannotOpen;
        terminated.push_back(processId);
        return TerminateResult::Terminated;
    }
};

const std::vector<ProcessEntry> kRunning = {
    {4, L"System"},           {10, L"Wipestation.exe"},     {11, L"explorer.exe"},
    {12, L"WIPESTATION.EXE"}, {13, L"wipestation.exe.bak"}, {14, L"wipestation.exe"},
};

TEST(ProcessHelpers, CountsNamesWithoutRegardToCase)
{
    FakeProcessTable table;
    table.entries = kRunning;
    const std::pair<const wchar_t*, int> cases[] = {
        {L"Wipestation.exe", 3},
        {L"wipestation.exe", 3},
        {L"explorer.EXE", 1},
        {L"Wipestation", 0},
        {L"", 0},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(CountInstances(table, name), expected);
    EXPECT_TRUE(table.terminated.empty());
}

TEST(ProcessHelpers, WithoutSnapshotOrProcessesBothReportFailure)
{
    FakeProcessTable table;
    EXPECT_EQ(CountInstances(table, L"Wipestation.exe"), -1);
    EXPECT_EQ(ExitProgram(table, L"Wipestation.exe"), -1);
    table.entries.emplace();
    EXPECT_EQ(CountInstances(table, L"Wipestation.exe"), -1);
    EXPECT_EQ(ExitProgram(table, L"Wipestation.exe"), -1);
}

TEST(ProcessHelpers, ExitEndsEveryMatchAndStopsAtTheFirstThatCannotBeOpened)
{
    struct Case
    {
        std::set<DWORD> unopenable;
        int expected;
        std::vector<DWORD> terminated;
    };
    const Case cases[] = {
        {{}, 1, {10, 12, 14}},
        {{12}, -1, {10}},  // 10 stays ended, 14 keeps running
        {{10}, -1, {}},
        {{11}, 1, {10, 12, 14}},  // a process of another name is never opened
    };
    for (const Case& c : cases) {
        FakeProcessTable table;
        table.entries = kRunning;
        table.unopenable = c.unopenable;
        EXPECT_EQ(ExitProgram(table, L"wipestation.EXE"), c.expected);
        EXPECT_EQ(table.terminated, c.terminated);
    }

    FakeProcessTable none;
    none.entries = kRunning;
    EXPECT_EQ(ExitProgram(none, L"Nolvane.exe"), 1);
    EXPECT_TRUE(none.terminated.empty());
}

}  // namespace
}  // namespace process
