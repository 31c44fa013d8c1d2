#include "shred/engine/event_record.h"

#include "shred/engine/shred_types.h"

#include <gtest/gtest.h>

namespace shred {
namespace {

TEST(MakeShredEventRecord, SuccessIsInformationThreeAnythingElseWarningFour)
{
    struct Case
    {
        int algorithmId;
        int result;
        ShredEventRecord expected;
    };
    const Case cases[] = {
        {12, kShredDone, {4, 1, 3, L"C:\\a b\\x.txt", L"12", L"-100"}},
        {0, kShredNotFound, {2, 1, 4, L"C:\\a b\\x.txt", L"0", L"-1"}},
        {99, kShredAborted, {2, 1, 4, L"C:\\a b\\x.txt", L"99", L"-6"}},
        {2, kShredNoPauseEvent, {2, 1, 4, L"C:\\a b\\x.txt", L"2", L"-10"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeShredEventRecord(L"C:\\a b\\x.txt", c.algorithmId, c.result), c.expected)
            << c.result;
}

}  // namespace
}  // namespace shred
