#include <windows.h>

#include <gtest/gtest.h>

#include "setup/htmlview/layout/block.h"
#include "setup/htmlview/layout/canvas_win32.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/util/platform_win32.h"

namespace {

using namespace htmlview;

constexpr int kBitmapWidth = 240, kBitmapHeight = 160;
constexpr std::uint32_t kUntouchedPixel = 0x00123456;

// A 32-bit top-down bitmap filled with a marker colour, painted through the real fonts.
class LayoutPaintTest : public ::testing::Test
{
protected:
    LayoutPaintTest()
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kBitmapWidth;
        info.bmiHeader.biHeight = -kBitmapHeight;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits),
                                    nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        std::fill(m_bits, m_bits + kBitmapWidth * kBitmapHeight, kUntouchedPixel);
    }
    ~LayoutPaintTest() override
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    // 0xRRGGBB of a pixel.
    std::uint32_t At(int x, int y) const { return m_bits[y * kBitmapWidth + x] & 0xFFFFFF; }
    void Paint(const std::string& html, const Rect& clip)
    {
        DocumentBuilder builder(document, codePages);
        builder.Build(html);
        document.Layout(kBitmapWidth, kBitmapHeight);
        DrawPlan(m_dc, document.Paint(clip));
        GdiFlush();
    }

    CodePagesWin32 codePages;
    FontCatalogWin32 fonts;
    TextMeasurerWin32 measurer;
    Document document{measurer, fonts};
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    std::uint32_t* m_bits = nullptr;
};

TEST_F(LayoutPaintTest, BackgroundsBordersAndTextStayInsideTheClip)
{
    Paint(
        "<div style=\"margin: 0; background-color: #00ff00; height: 40px\">"
        "<span style=\"color: #ff0000\">MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM</span></div>"
        "<div style=\"margin: 0; border: 4px solid #0000ff; height: 20px\"></div>",
        {0, 0, kBitmapWidth, 50});
    EXPECT_EQ(At(kBitmapWidth - 5, 30), 0x00FF00u);
    // Red ink in the first line.
    bool red = false;
    for (int x = 0; x < kBitmapWidth && !red; ++x)
        for (int y = 0; y < 20 && !red; ++y)
            red = At(x, y) == 0xFF0000;
    EXPECT_TRUE(red);
    // The blue border's top and left sides under the green block, cut at the clip.
    EXPECT_EQ(At(100, 41), 0x0000FFu);
    EXPECT_EQ(At(1, 48), 0x0000FFu);
    EXPECT_EQ(At(100, 46), kUntouchedPixel & 0xFFFFFF);  // no background inside the border
    for (int y = 50; y < kBitmapHeight; ++y)
        for (int x = 0; x < kBitmapWidth; ++x)
            ASSERT_EQ(At(x, y), kUntouchedPixel & 0xFFFFFF) << x << "," << y;
}

TEST_F(LayoutPaintTest, CourierLinesBreakAtFixedAdvances)
{
    ASSERT_TRUE(fonts.IsInstalled("Courier New"));
    Paint("<p><tt>aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk</tt></p>",
          {0, 0, kBitmapWidth, kBitmapHeight});
    const auto* body = dynamic_cast<const Block*>(document.cell.sections.front().get());
    ASSERT_NE(body, nullptr);
    const auto* paragraph = dynamic_cast<const Block*>(body->cell.sections.front().get());
    ASSERT_NE(paragraph, nullptr);
    const auto* text = dynamic_cast<const TextSection*>(paragraph->cell.sections.front().get());
    ASSERT_NE(text, nullptr);
    const FontRequest& courier = text->FontAt(0).font.request;
    EXPECT_EQ(courier.name, "Courier New");
    const int advance = measurer.TextWidth(courier, u"a");
    ASSERT_GT(advance, 0);
    EXPECT_EQ(measurer.TextWidth(courier, u"aaaaaaaaaa"), 10 * advance);
    // As many whole five-character words as fit; the last one's space may hang over.
    const int perLine = kBitmapWidth / advance;
    const int words = (perLine + 1) / 5;
    ASSERT_GE(text->lines.size(), 2u) << document.DumpLayout();
    EXPECT_EQ(text->lines[0].charCount, words * 5) << document.DumpLayout();
    // The text is drawn in the text colour, black, from the left edge.
    bool ink = false;
    const int baseline = text->originY + text->lines[0].textHeight - text->lines[0].descent;
    for (int x = 0; x < advance && !ink; ++x)
        for (int y = baseline - 8; y < baseline && !ink; ++y)
            ink = At(x, y) == 0;
    EXPECT_TRUE(ink);
}

TEST_F(LayoutPaintTest, BorderStylesColourTheirSides)
{
    // Colour 0x0000C8 (red 200); dark is three quarters of it.
    constexpr std::uint32_t kRed = 0xC80000, kDark = 0x960000;
    struct Case
    {
        int style;
        std::uint32_t topOuter, topInner, bottomOuter, bottomInner;
    };
    const std::vector<Case> cases = {
        {1, kRed, kRed, kRed, kRed},    // solid
        {2, kDark, kDark, kRed, kRed},  // inset
        {3, kRed, kRed, kDark, kDark},  // outset
        {4, kDark, kRed, kRed, kDark},  // groove
        {5, kRed, kDark, kDark, kRed},  // ridge
        {8, kRed, kRed, kRed, kRed},    // double: outer and inner thirds
    };
    for (const Case& c : cases) {
        std::fill(m_bits, m_bits + kBitmapWidth * kBitmapHeight, kUntouchedPixel);
        BorderCommand border;
        border.outer = {20, 20, 120, 120};
        border.inner = {32, 32, 108, 108};
        border.styles = {c.style, c.style, c.style, c.style};
        border.colors = {0x0000C8, 0x0000C8, 0x0000C8, 0x0000C8};
        DrawBorder(m_dc, border);
        GdiFlush();
        EXPECT_EQ(At(70, 21), c.topOuter) << c.style;
        EXPECT_EQ(At(70, 30), c.topInner) << c.style;
        EXPECT_EQ(At(70, 118), c.bottomOuter) << c.style;
        EXPECT_EQ(At(70, 109), c.bottomInner) << c.style;
        EXPECT_EQ(At(70, 70), kUntouchedPixel & 0xFFFFFF) << c.style;  // inside stays
        if (c.style == 8) {
            EXPECT_EQ(At(70, 26), kUntouchedPixel & 0xFFFFFF);  // the middle third is a gap
        }
    }
}

}  // namespace

namespace {

// Text is drawn at the widths it was measured at: a run ends where the next begins, and a
// justified run's spaces take their share, so no character covers the next run or hides a space.
TEST_F(LayoutPaintTest, RunsCoverExactlyTheirMeasuredWidths)
{
    struct Case
    {
        const char* face;
        int height;
        bool bold;
        std::u16string first, second;
        int extra, spaces;  // justification of the first run
    };
    const Case cases[] = {
        {"Times New Roman", -16, false, u"Wide words ffl ", u"next", 0, 0},
        {"Times New Roman", -13, true, u"Bold run  ", u"after", 0, 0},
        {"Arial", -15, false, u"rWr WW Wr", u"tail", 0, 0},
        {"Courier New", -16, false, u"a b c", u"done", 9, 2},
        {"Arial", -12, false, u"x y", u"z", 1, 1},
    };
    for (const Case& c : cases) {
        std::fill(m_bits, m_bits + kBitmapWidth * kBitmapHeight, 0xFFFFFFu);
        FontRequest font;
        font.name = c.face;
        font.height = c.height;
        font.bold = c.bold;
        const int width = measurer.TextWidth(font, c.first) + c.extra;
        PaintPlan plan;
        plan.clip = {0, 0, kBitmapWidth, kBitmapHeight};
        TextCommand first;
        first.x = 5;
        first.baseline = 30;
        first.font = font;
        first.color = 0x0000FF;  // red
        first.text = c.first;
        first.extra = c.extra;
        first.spaces = c.spaces;
        TextCommand second = first;
        second.x = first.x + width;
        second.color = 0xFF0000;  // blue
        second.text = c.second;
        second.extra = second.spaces = 0;
        plan.commands = {first, second};
        DrawPlan(m_dc, plan);
        GdiFlush();
        int lastRed = -1, firstBlue = kBitmapWidth;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < kBitmapWidth; ++x) {
                if (At(x, y) == 0xFF0000)
                    lastRed = std::max(lastRed, x);
                if (At(x, y) == 0x0000FF)
                    firstBlue = std::min(firstBlue, x);
            }
        ASSERT_GE(lastRed, 0) << c.face;
        EXPECT_LT(lastRed, second.x) << c.face << " " << c.height;
        EXPECT_GE(firstBlue, second.x) << c.face << " " << c.height;
        if (c.spaces > 0) {
            // The last word starts past its measured place plus every space's share.
            const std::u16string head = c.first.substr(0, c.first.rfind(u' ') + 1);
            const int lastWord = first.x + measurer.TextWidth(font, head) + c.extra;
            int firstInk = kBitmapWidth;
            for (int y = 0; y < 50; ++y)
                for (int x = lastWord - 1; x < second.x; ++x)
                    if (At(x, y) == 0xFF0000)
                        firstInk = std::min(firstInk, x);
            EXPECT_GE(firstInk, lastWord) << c.face;
        }
    }
}

}  // namespace
