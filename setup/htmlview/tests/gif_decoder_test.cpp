#include "setup/htmlview/images/gif_decoder.h"

#include <gtest/gtest.h>

#include "setup/htmlview/images/gif_strip.h"
#include "setup/htmlview/tests/image_fixtures.h"

namespace {

using namespace htmlview;
using namespace htmlview::fixtures;

TEST(LoadGif, FramesHoldTheIndexesTheScriptWrote)
{
    for (const char* stem : {"still", "lowercase_no_trailer", "interlaced_1x16", "interlaced_5x11",
                             "full_table_late_clear", "full_table_clear", "endless", "disposal",
                             "offscreen_frame", "local_table"}) {
        SCOPED_TRACE(stem);
        const GifFile gif = LoadGif(ReadImageFixture(std::string(stem) + ".gif"));
        const auto expected = ExpectedFrames(stem);
        ASSERT_EQ(gif.frames.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(gif.frames[i].width, expected[i].width);
            EXPECT_EQ(gif.frames[i].height, expected[i].height);
            EXPECT_EQ(gif.frames[i].pixels, expected[i].values) << "frame " << i;
        }
    }
}

TEST(LoadGif, RefusesBrokenStreamsWithTheirCode)
{
    struct Case
    {
        const char* file;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"truncated.gif", kGifUnexpectedEnd, "TGif: Unexpected end of file"},
        {"unknown_extension.gif", kGifSpecialMessage, "TGif: unknown extension: 00FD"},
        {"bad_signature.gif", kGifBadSignature, "TGif: Invalid GIF Signature Code"},
        {"no_image.gif", kGifNoImage, "TGif: No Image Description"},
        {"bad_block.gif", kGifUnknownBlock, "TGif: Unknown Graphics Operation Code"},
        {"huge_frames.gif", kGifOutOfMemory, "TGif: Out of memory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        try {
            LoadGif(ReadImageFixture(c.file));
            ADD_FAILURE() << "loaded";
        } catch (const GifError& error) {
            EXPECT_EQ(error.Code(), c.code);
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(LoadGif, ReadsLoopCountDelayAndDisposal)
{
    struct Case
    {
        const char* file;
        int loopCount;
        int delay0, delay1;
    };
    const Case cases[] = {
        {"endless.gif", 0, 5, 1}, {"loop_twice.gif", 2, 5, 1}, {"no_loop_block.gif", -1, 5, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const GifFile gif = LoadGif(ReadImageFixture(c.file));
        EXPECT_EQ(gif.loopCount, c.loopCount);
        EXPECT_EQ(gif.Delay(0), c.delay0);
        EXPECT_EQ(gif.Delay(1), c.delay1);
        EXPECT_THROW(gif.Delay(2), GifError);
    }
    const GifFile disposal = LoadGif(ReadImageFixture("disposal.gif"));
    EXPECT_EQ(disposal.Disposal(0), 2);
    EXPECT_EQ(disposal.TransparentIndex(0), -1);
    EXPECT_EQ(disposal.TransparentIndex(1), 0);
}

TEST(BuildGifStrip, ComposesFramesOverTheOnesBefore)
{
    const GifStrip strip = BuildGifStrip(LoadGif(ReadImageFixture("disposal.gif")));
    ASSERT_EQ(strip.Width(), 4);
    ASSERT_TRUE(strip.HasMask());
    const Rgb red{255, 0, 0}, blue{0, 0, 255}, black{};
    struct Pixel
    {
        int x, y;
        Rgb color;
        bool transparent;
    };
    // Frame 0 paints the left column; the right column of its cell is never painted, so it keeps
    // the white of an untouched mask. Frame 1 starts from frame 0, the disposed left column
    // turns transparent but keeps its red, and (1,0) stays transparent.
    const Pixel pixels[] = {
        {0, 0, red, false}, {0, 1, red, false}, {1, 0, black, true}, {1, 1, black, true},
        {2, 0, red, true},  {2, 1, red, true},  {3, 0, black, true}, {3, 1, blue, false},
    };
    for (const Pixel& p : pixels) {
        SCOPED_TRACE(::testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(strip.ColorAt(p.x, p.y), p.color);
        EXPECT_EQ(strip.TransparentAt(p.x, p.y), p.transparent);
    }
}

TEST(BuildGifStrip, ClipsFramesToTheScreenAndLeavesBlackOutside)
{
    const GifStrip strip = BuildGifStrip(LoadGif(ReadImageFixture("offscreen_frame.gif")));
    ASSERT_EQ(strip.Width(), 3);
    EXPECT_FALSE(strip.HasMask());
    EXPECT_EQ(strip.ColorAt(0, 0), (Rgb{}));
    EXPECT_EQ(strip.ColorAt(2, 1), (Rgb{255, 0, 0}));
    EXPECT_EQ(strip.ColorAt(2, 2), (Rgb{255, 0, 0}));
    EXPECT_EQ(strip.colorBmp.size(), kBmpHeaderBytes + 12 * 3);
}

TEST(BuildGifStrip, RefusesAStripPastTheLimit)
{
    const GifFile gif = LoadGif(ReadImageFixture("loop_twice.gif"));
    GifLimits limits;
    limits.maxStripBytes = kBmpHeaderBytes + 2 * 12;  // two rows of two 2-pixel cells
    EXPECT_NO_THROW(BuildGifStrip(gif, limits));
    limits.maxStripBytes -= 1;
    EXPECT_THROW(BuildGifStrip(gif, limits), GifError);
}

}  // namespace
