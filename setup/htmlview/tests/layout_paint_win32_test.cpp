#include <windows.h>

#include <gtest/gtest.h>

#include "setup/htmlview/layout/canvas_win32.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/tests/mini_builder.h"
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
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kBitmapWidth, -kBitmapHeight, 1, 32, BI_RGB};
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
        test_layout::MiniBuilder builder(document, codePages);
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
        "<font color=\"#ff0000\">MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM</font></div>"
        "<div style=\"margin: 0; border: 4px solid #0000ff; height: 20px\"></div>",
        {0, 0, kBitmapWidth, 100});
    // The green block under the body's margins (10 left, 5 top).
    EXPECT_EQ(At(kBitmapWidth - 15, 40), 0x00FF00u);
    // Red ink somewhere in the first line.
    bool red = false;
    for (int x = 10; x < 200 && !red; ++x)
        for (int y = 6; y < 25 && !red; ++y)
            red = At(x, y) == 0xFF0000;
    EXPECT_TRUE(red);
    // The blue border's left side, below the green block.
    EXPECT_EQ(At(11, 55), 0x0000FFu);
    // Nothing below the clip, nor in the margin left of the blocks.
    for (int y = 100; y < kBitmapHeight; ++y)
        for (int x = 0; x < kBitmapWidth; ++x)
            ASSERT_EQ(m_bits[y * kBitmapWidth + x] & 0xFFFFFF, kUntouchedPixel & 0xFFFFFF)
                << x << "," << y;
    EXPECT_EQ(At(3, 20), kUntouchedPixel & 0xFFFFFF);
}

TEST_F(LayoutPaintTest, CourierLinesBreakAtFixedAdvances)
{
    Paint(
        "<pre>ab</pre><p><font face=\"Courier New\">aaaa bbbb cccc dddd eeee ffff gggg hhhh "
        "iiii</font></p>",
        {0, 0, kBitmapWidth, kBitmapHeight});
    const FontRequest courier{"Courier New", -16};
    const int advance = measurer.TextWidth(courier, u"a");
    ASSERT_GT(advance, 0);
    EXPECT_EQ(measurer.TextWidth(courier, u"aaaaaaaaaa"), 10 * advance);
    const std::string dump = document.DumpLayout();
    // 220 pixels of line: as many whole five-character words as fit.
    const int perLine = (kBitmapWidth - 20) / advance;
    const int words = (perLine + 1) / 5;
    EXPECT_NE(dump.find("line start=0 count=" + std::to_string(words * 5)), std::string::npos)
        << dump;
}

}  // namespace
