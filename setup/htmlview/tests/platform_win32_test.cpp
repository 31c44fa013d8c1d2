// The Win32 versions of the viewer's system interfaces answer as the fakes are meant to mimic.
#include "setup/htmlview/util/platform_win32.h"

#include <gtest/gtest.h>

#include "setup/htmlview/util/char_buffers.h"

namespace {

using namespace htmlview;

TEST(CodePagesWin32, ConvertsAndFallsBackToTheAnsiCodePage)
{
    CodePagesWin32 codePages;
    EXPECT_EQ(codePages.ToWide(1252, "\x80\xE9"), u"\u20AC\u00E9");
    EXPECT_EQ(codePages.ToWide(65001, "\xC3\xA9"), u"\u00E9");
    EXPECT_EQ(codePages.FromWide(1252, u"\u20AC"), "\x80");
    EXPECT_EQ(codePages.NextCharLength(932,
                                       "\x88\x9F"
                                       "a"),
              2);
    EXPECT_EQ(codePages.NextCharLength(1252, "ab"), 1);
    // A code page the system does not have converts through the ANSI code page.
    EXPECT_EQ(MultiByteToWide(codePages, 12345, "ab"), u"ab");
}

TEST(FontCatalogWin32, ReportsScreenFacts)
{
    FontCatalogWin32 fonts;
    EXPECT_GT(fonts.PixelsPerInch(), 0);
    EXPECT_EQ(fonts.SystemColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOW));
    EXPECT_FALSE(fonts.IsInstalled("No Such Family Anywhere"));
    EXPECT_FALSE(fonts.IsInstalled(std::string(64, 'x')));
}

TEST(TextMeasurerWin32, MeasuresAndFitsText)
{
    TextMeasurerWin32 measurer;
    FontRequest font;
    font.name = "Arial";
    font.height = -16;
    const FontMetrics metrics = measurer.Metrics(font);
    EXPECT_GE(metrics.height, 16);
    const int one = measurer.TextWidth(font, u"W");
    EXPECT_GT(one, 0);
    EXPECT_EQ(measurer.TextWidth(font, u"WW"), 2 * one);
    int width = -1;
    EXPECT_EQ(measurer.FitCount(font, u"WWWW", 2 * one, width), 2);
    EXPECT_EQ(width, 2 * one);
    EXPECT_EQ(measurer.FitCount(font, u"WWWW", 0, width), 0);
    EXPECT_EQ(width, 0);
}

}  // namespace
