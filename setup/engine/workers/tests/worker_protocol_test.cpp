// The thread-progress variables as workers publish them, with the two marker texts.
#include "setup/engine/workers/worker_protocol.h"

#include <gtest/gtest.h>

#include "setup/engine/script/variables.h"

namespace setup::engine {
namespace {

struct Progress
{
    std::string text, position, max, min;
    bool operator==(const Progress&) const = default;
};

Progress Stored(const TVariableManager& variables)
{
    return {variables.GetValue("TARQ_thProgressText"), variables.GetValue("TARQ_thProgress"),
            variables.GetValue("TARQ_thMax"), variables.GetValue("TARQ_thMin")};
}

std::ostream& operator<<(std::ostream& out, const Progress& p)
{
    return out << p.text << " " << p.position << "/" << p.min << ".." << p.max;
}

TEST(ThreadProgress, MarkersKeepWhatIsStored)
{
    struct Case
    {
        const char* name;
        std::string text;
        std::int64_t position, max, min;
        Progress expected;
    };
    const Progress before{"copying", "5", "10", "0"};
    const Case cases[] = {
        {"plain", "next", 7, 20, 1, {"next", "7", "20", "1"}},
        {"ignore text and numbers", "$IGNORE$", -1, 0, 0, before},
        {"ignore text only", "$IGNORE$", 8, 10, 0, {"copying", "8", "10", "0"}},
        {"keep all", "$TARQ$", 99, 99, 99, before},
        {"text without numbers", "late", -1, 3, 3, {"late", "5", "10", "0"}},
        {"64-bit values",
         "big",
         1500000000000,
         3000000000000,
         0,
         {"big", "1500000000000", "3000000000000", "0"}},
    };
    for (const Case& c : cases) {
        ScriptVariables variables;
        SetThreadProgress(variables.Store(), before.text, 5, 10, 0);
        SetThreadProgress(variables.Store(), c.text, c.position, c.max, c.min);
        EXPECT_EQ(Stored(variables.Store()), c.expected) << c.name;
    }
}

TEST(CancelState, CheckCancelFollowsTheFlag)
{
    WorkerFlags flags;
    flags.cancelled = true;
    EXPECT_EQ(CheckCancel(flags), -1);
    flags.cancelled = false;
    EXPECT_EQ(CheckCancel(flags), 1);
    {
        WorkerBusyScope busy(flags);
        EXPECT_TRUE(flags.busy);
    }
    EXPECT_FALSE(flags.busy);
}

}  // namespace
}  // namespace setup::engine
