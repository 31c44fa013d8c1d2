#include "suite/update/gif_frames.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace update {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// A 4 x 3 screen with a two-colour global table (black, red) whose background is red.
const Bytes kHead = Text("GIF89a") + Bytes{4, 0, 3, 0, 0x80, 1, 0} + Bytes{0, 0, 0, 255, 0, 0};
const Bytes kNetscape = Bytes{0x21, 0xFF, 11} + Text("NETSCAPE2.0") + Bytes{3, 1, 0, 0, 0};
const Bytes kComment = Bytes{0x21, 0xFE, 5} + Text("hello") + Bytes{0};
const Bytes kPlainText = Bytes{0x21, 0x01, 12, 0, 0, 0, 0, 4, 0, 3, 0, 1, 1, 0, 1, 2, 'h', 'i', 0};

Bytes Control(int disposal, int delay)
{
    return {0x21,
            0xF9,
            4,
            static_cast<std::uint8_t>(disposal << 2),
            static_cast<std::uint8_t>(delay & 0xFF),
            static_cast<std::uint8_t>(delay >> 8),
            0,
            0};
}

Bytes Image(int left, int top, int width, int height, bool localTable = false)
{
    Bytes image{0x2C, static_cast<std::uint8_t>(left),
                0,    static_cast<std::uint8_t>(top),
                0,    static_cast<std::uint8_t>(width),
                0,    static_cast<std::uint8_t>(height),
                0,    static_cast<std::uint8_t>(localTable ? 0x80 : 0)};
    if (localTable)
        image = image + Bytes{9, 9, 9, 8, 8, 8};
    return image + Bytes{2, 2, 0x44, 0x01, 0};
}

const Bytes kTrailer{0x3B};

TEST(GifFrames, ScreenAndBackgroundFromTheHeader)
{
    const auto screen = ReadGifScreen(kHead + Image(0, 0, 4, 3) + kTrailer);
    ASSERT_TRUE(screen.has_value());
    EXPECT_EQ(screen->width, 4);
    EXPECT_EQ(screen->height, 3);
    EXPECT_EQ(screen->globalTableBytes, 6u);
    EXPECT_EQ(screen->background, 0x000000FFu);  // red, as a colour reference

    Bytes noTable = kHead;
    noTable[10] = 0;
    EXPECT_EQ(ReadGifScreen(noTable)->background, 0x00FFFFFFu);
    EXPECT_EQ(ReadGifScreen(Bytes{'G', 'I', 'F', '8', '9', 'a', 1}), std::nullopt);
}

TEST(GifFrames, BlockWalkFindsEachImageWithItsControl)
{
    struct Case
    {
        const char* name;
        Bytes data;
        std::vector<int> delays;
        std::vector<int> disposals;
    };
    const Bytes twoFrames = kHead + kNetscape + Control(2, 3) + Image(0, 0, 4, 3) + Control(3, 10) +
                            Image(1, 2, 2, 1) + kTrailer;
    const Case cases[] = {
        {"one frame", kHead + Image(0, 0, 4, 3) + kTrailer, {0}, {0}},
        {"two frames with loop and controls", twoFrames, {3, 10}, {2, 3}},
        {"comment and plain text skipped",
         kHead + kComment + Image(0, 0, 4, 3) + kPlainText + Control(0, 7) + Image(0, 0, 1, 1) +
             kTrailer,
         {0, 7},
         {0, 0}},
        {"local colour table", kHead + Image(0, 0, 4, 3, true) + kTrailer, {0}, {0}},
        {"truncated second image", Bytes(twoFrames.begin(), twoFrames.end() - 4), {3}, {2}},
        {"no trailer", kHead + Image(0, 0, 4, 3), {0}, {0}},
        {"unknown block stops the walk",
         kHead + Image(0, 0, 4, 3) + Bytes{0x99} + Image(0, 0, 1, 1),
         {0},
         {0}},
        {"header only", kHead, {}, {}},
        {"junk", Text("not a picture at all"), {}, {}},
        {"truncated header", Bytes(kHead.begin(), kHead.begin() + 10), {}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<GifFrame> frames = ReadGifFrames(c.data);
        std::vector<int> delays, disposals;
        for (const GifFrame& frame : frames) {
            delays.push_back(frame.delay);
            disposals.push_back(frame.disposal);
        }
        EXPECT_EQ(delays, c.delays) << c.name;
        EXPECT_EQ(disposals, c.disposals) << c.name;
    }
}

TEST(GifFrames, EachFrameIsAGifOfItsOwn)
{
    const Bytes data = kHead + kNetscape + Control(2, 3) + Image(0, 0, 4, 3) + Control(3, 10) +
                       Image(1, 2, 2, 1) + kTrailer;
    const std::vector<GifFrame> frames = ReadGifFrames(data);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].gif, kHead + Control(3, 10) + Image(1, 2, 2, 1) + kTrailer);
    EXPECT_EQ(frames[1].left, 1);
    EXPECT_EQ(frames[1].top, 2);
    EXPECT_EQ(frames[1].width, 2);
    EXPECT_EQ(frames[1].height, 1);
    EXPECT_EQ(ReadGifFrames(frames[0].gif).size(), 1u);
    // Without a control extension a frame carries none.
    EXPECT_EQ(ReadGifFrames(kHead + Image(0, 0, 4, 3))[0].gif,
              kHead + Image(0, 0, 4, 3) + kTrailer);
}

TEST(GifFrames, ShortDelaysShowForATenthOfASecond)
{
    const std::pair<int, int> cases[] = {{0, 100}, {3, 100},  {4, 100},
                                         {5, 50},  {10, 100}, {150, 1500}};
    for (const auto& [delay, ms] : cases)
        EXPECT_EQ(FrameDelayMs(delay), ms) << delay;
}

}  // namespace
}  // namespace update
