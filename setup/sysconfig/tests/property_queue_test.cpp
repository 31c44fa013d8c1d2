#include "setup/sysconfig/property_queue.h"

#include <gtest/gtest.h>

namespace {

using namespace setup::sysconfig;

TEST(PropertyQueue, QueuesWithNewlineMarkersUntilTaken)
{
    TakeMSIPropertyQueue();
    EXPECT_FALSE(TakeMSIPropertyQueue().has_value());

    AddMSIProperty("AHEADER01", "FALSE");
    AddMSIProperty("PHEADER01_1", "line one\r\nline two");
    AddMSIProperty("MSINTEMP", "$TEMPDIR$");  // no expansion here
    const auto queued = QueuedMSIProperties();
    ASSERT_EQ(queued.size(), 3u);
    EXPECT_EQ(queued[1].value, "line one$NEWLINE$line two");
    EXPECT_EQ(queued[2].value, "$TEMPDIR$");

    const auto taken = TakeMSIPropertyQueue();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->size(), 3u);
    EXPECT_TRUE(QueuedMSIProperties().empty());
    EXPECT_FALSE(TakeMSIPropertyQueue().has_value());
}

}  // namespace
