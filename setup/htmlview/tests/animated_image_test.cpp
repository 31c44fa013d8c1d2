#include "setup/htmlview/images/animated_image.h"

#include <gtest/gtest.h>

#include "setup/htmlview/tests/image_fixtures.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;
using namespace htmlview::fixtures;

std::unique_ptr<AnimatedImage> Load(const char* file, const FakeClock& clock)
{
    bool single = false;
    auto image = AnimatedImage::FromGif(ReadImageFixture(file), clock, single);
    EXPECT_TRUE(image);
    return image;
}

// Steps the clock by `ms` and records the frame shown after each check.
struct Player
{
    FakeClock clock;
    std::unique_ptr<AnimatedImage> image;
    int invalidations = 0;

    explicit Player(const char* file) : image(Load(file, clock)) {}
    int Step(std::uint32_t ms)
    {
        clock.now += ms;
        image->CheckTime([&](const ImageRect&) { ++invalidations; });
        return image->CurrentFrame();
    }
};

TEST(AnimatedImage, IterationsFollowTheLoopCount)
{
    struct Case
    {
        const char* file;
        int iterations;
    };
    const Case cases[] = {{"endless.gif", 0}, {"loop_twice.gif", 3}, {"no_loop_block.gif", 1}};
    FakeClock clock;
    for (const Case& c : cases)
        EXPECT_EQ(Load(c.file, clock)->Iterations(), c.iterations) << c.file;
}

TEST(AnimatedImage, DelaysAreTenMillisecondsPerUnitWithAThirtyMillisecondFloor)
{
    FakeClock clock;
    const auto image = Load("loop_twice.gif", clock);
    EXPECT_EQ(image->Frame(1).delay, 50);
    EXPECT_EQ(image->Frame(2).delay, 30);
}

TEST(AnimatedImage, LoopTwicePlaysThreeTimesAndStopsOnTheLastFrame)
{
    Player player("loop_twice.gif");
    player.image->SetAnimate(true);
    EXPECT_EQ(player.Step(49), 1) << "frame 1 lasts 50 ms";
    EXPECT_EQ(player.Step(1), 2);
    EXPECT_EQ(player.Step(29), 2) << "frame 2 lasts 30 ms";
    std::vector<int> shown;
    for (int i = 0; i < 8; ++i)
        shown.push_back(player.Step(50));
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 1, 2, 2, 2, 2, 2}));
    EXPECT_FALSE(player.image->Animating());
    EXPECT_EQ(player.invalidations, 5);
}

TEST(AnimatedImage, EndlessNeverStops)
{
    Player player("endless.gif");
    player.image->SetAnimate(true);
    for (int i = 0; i < 100; ++i)
        player.Step(50);
    EXPECT_TRUE(player.image->Animating());
    EXPECT_EQ(player.invalidations, 100);
}

TEST(AnimatedImage, SingleFrameIsNeverAnimated)
{
    FakeClock clock;
    bool single = false;
    auto image = AnimatedImage::FromGif(ReadImageFixture("still.gif"), clock, single);
    ASSERT_TRUE(image);
    EXPECT_TRUE(single);
    EXPECT_FALSE(image->Animated());
    image->SetAnimate(true);
    int invalidations = 0;
    clock.now += 1000;
    image->CheckTime([&](const ImageRect&) { ++invalidations; });
    EXPECT_EQ(invalidations, 0);
    EXPECT_EQ(image->CurrentFrame(), 1);
}

TEST(AnimatedImage, SetCurrentFrameWrapsAtBothEnds)
{
    FakeClock clock;
    auto image = Load("endless.gif", clock);
    struct Case
    {
        int asked, shown;
    };
    const Case cases[] = {{0, 2}, {-5, 2}, {3, 1}, {2, 2}, {1, 1}};
    for (const Case& c : cases) {
        image->SetCurrentFrame(c.asked);
        EXPECT_EQ(image->CurrentFrame(), c.shown) << c.asked;
    }
}

TEST(AnimatedImage, CopySharesTheStripAndPlaysOnItsOwn)
{
    Player player("endless.gif");
    player.image->SetAnimate(true);
    player.Step(50);
    AnimatedImage copy(*player.image);
    EXPECT_EQ(&copy.Strip(), &player.image->Strip());
    EXPECT_EQ(copy.CurrentFrame(), 1);
    EXPECT_FALSE(copy.Animating());
    EXPECT_EQ(player.image->CurrentFrame(), 2);
}

TEST(AnimatedImage, DrawTakesTheCurrentCellAndInvalidationGoesThere)
{
    Player player("endless.gif");
    EXPECT_EQ(player.image->PrepareDraw({10, 20, 14, 24}), (ImageRect{0, 0, 2, 2}));
    player.image->SetAnimate(true);
    ImageRect invalidated;
    player.clock.now += 50;
    player.image->CheckTime([&](const ImageRect& r) { invalidated = r; });
    EXPECT_EQ(invalidated, (ImageRect{10, 20, 14, 24}));
    EXPECT_EQ(player.image->PrepareDraw({0, 0, 2, 2}), (ImageRect{2, 0, 4, 2}));
}

TEST(AnimatedImage, BrokenDataGivesNone)
{
    FakeClock clock;
    bool single = false;
    EXPECT_FALSE(AnimatedImage::FromGif(ReadImageFixture("truncated.gif"), clock, single));
    EXPECT_TRUE(single);
}

}  // namespace
