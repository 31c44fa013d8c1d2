#include "core/scope_guard.h"

#include <gtest/gtest.h>

namespace {

TEST(ScopeGuard, RunsOnceAtScopeEndUnlessDismissed)
{
    int runs = 0;
    {
        auto guard = core::MakeScopeGuard([&] { ++runs; });
        auto moved = std::move(guard);
    }
    EXPECT_EQ(runs, 1);
    {
        auto guard = core::MakeScopeGuard([&] { ++runs; });
        guard.Dismiss();
    }
    EXPECT_EQ(runs, 1);
}

}  // namespace
