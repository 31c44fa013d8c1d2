#include "setup/sysconfig/property_queue.h"

#include <gtest/gtest.h>

namespace {

using namespace setup::sysconfig;

TEST(PropertyQueue, QueuesWithNewlineMarkersUntilTaken)
{
    MsiPropertyQueue queue;
    EXPECT_FALSE(queue.TakeMSIPropertyQueue().has_value());

    queue.AddMSIProperty("AHEADER01", "FALSE");
    queue.AddMSIProperty("PHEADER01_1", "line one\r\nline two");
    queue.AddMSIProperty("MSINTEMP", "$TEMPDIR$");  // no expansion here
    const auto queued = queue.QueuedMSIProperties();
    ASSERT_EQ(queued.size(), 3u);
    EXPECT_EQ(queued[1].value, "line one$NEWLINE$line two");
    EXPECT_EQ(queued[2].value, "$TEMPDIR$");

    const auto taken = queue.TakeMSIPropertyQueue();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->size(), 3u);
    EXPECT_TRUE(queue.QueuedMSIProperties().empty());
    EXPECT_FALSE(queue.TakeMSIPropertyQueue().has_value());
}

}  // namespace
