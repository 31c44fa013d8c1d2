#include "setup/htmlview/images/animated_image_win32.h"

#include <gtest/gtest.h>

#include "setup/htmlview/images/image_screen_win32.h"
#include "setup/htmlview/tests/image_fixtures.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;
using namespace htmlview::fixtures;

// Draws every frame of disposal.gif (2x2) at twice its size over a grey canvas.
TEST(DrawAnimatedImage, FramesComposeOverTheBackgroundThroughTheMask)
{
    FakeClock clock;
    bool single = false;
    auto image = AnimatedImage::FromGif(ReadImageFixture("disposal.gif"), clock, single);
    ASSERT_TRUE(image);
    const StripBitmaps strip = MakeStripBitmaps(image->Strip());
    ASSERT_TRUE(strip.mask);
    const Rgb grey{100, 100, 100}, red{255, 0, 0}, blue{0, 0, 255};
    struct Case
    {
        int frame;
        Rgb topLeft, topRight, bottomRight;
    };
    const Case cases[] = {{1, red, grey, grey}, {2, grey, grey, blue}};
    for (const Case& c : cases) {
        PixelImage canvas;
        canvas.Allocate(4, 4, 24, UINT64_MAX);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                canvas.SetColor(x, y, grey);
        const core::UniqueGdiObject target = CreateBitmapFromPixels(canvas);
        core::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        const HGDIOBJ old = SelectObject(dc.Get(), target.Get());
        image->SetCurrentFrame(c.frame);
        EXPECT_TRUE(DrawAnimatedImage(dc.Get(), *image, strip, {0, 0, 4, 4}));
        SelectObject(dc.Get(), old);
        const PixelImage drawn = ReadBitmapPixels(static_cast<HBITMAP>(target.Get()));
        EXPECT_EQ(drawn.ColorAt(0, 0), c.topLeft) << c.frame;
        EXPECT_EQ(drawn.ColorAt(3, 0), c.topRight) << c.frame;
        EXPECT_EQ(drawn.ColorAt(3, 3), c.bottomRight) << c.frame;
        if (HasFailure())
            ADD_FAILURE() << "drawn: "
                          << WriteFailurePicture("animated_frame" + std::to_string(c.frame), drawn);
    }
    EXPECT_TRUE(image->drawn);
    EXPECT_EQ(image->LastRect(), (ImageRect{0, 0, 4, 4}));
}

}  // namespace
