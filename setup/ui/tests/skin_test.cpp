// The skinned controls' decisions without a display: colour arithmetic, the flat glyphs checked at
// chosen pixels, and the shaped form's outline compared with its mask pixel by pixel.
#include <gtest/gtest.h>

#include <memory>

#include "setup/engine/rtl/exceptions.h"
#include "setup/ui/form.h"
#include "setup/ui/skin/colors.h"
#include "setup/ui/skin/flat_glyphs.h"
#include "setup/ui/skin/form_shape.h"
#include "setup/ui/tests/graphic_files.h"

namespace setup::ui::skin {
namespace {

constexpr Rgb32 kRed = MakeRgb(255, 0, 0);
constexpr Rgb32 kWhite = MakeRgb(255, 255, 255);
constexpr Rgb32 kMagenta = MakeRgb(255, 0, 255);

TEST(SkinColors, DeriveFromHueSaturationAndLightness)
{
    EXPECT_EQ(ColorToHsl(kRed), (Hsl{0, 240, 120}));
    EXPECT_EQ(ColorToHsl(MakeRgb(128, 128, 128)), (Hsl{0, 0, 120}));
    EXPECT_EQ(HslToColor({0, 240, 120}), kRed);
    EXPECT_EQ(HslToColor({80, 240, 0}), 0u);
    // Hue 200 is 80 on the other side of the circle.
    const Rgb32 hue200 = kMagenta;
    ASSERT_EQ(ColorToHsl(hue200).hue, 200);
    EXPECT_EQ(ComplementColor(hue200, 120), HslToColor({80, 240, 120}));
    EXPECT_EQ(ComplementColor(kRed, 60), HslToColor({120, 240, 60}));
    // Lightness past the scale clamps every channel to white.
    EXPECT_EQ(LighterColor(HslToColor({40, 200, 200}), 100), kWhite);
    EXPECT_EQ(ColorToHsl(DarkerColor(kRed, 200)).lightness, 0);
    EXPECT_EQ(BlendColors(kWhite, 0, 255), kWhite);
    EXPECT_EQ(BlendColors(kWhite, 0, 128), MakeRgb(128, 128, 128));
    EXPECT_EQ(BlendColors(kWhite, 0, 0), 0u);
}

FlatGlyph Colours()
{
    FlatGlyph g;
    g.frameColor = MakeRgb(100, 100, 100);
    g.fillColor = kWhite;
    g.focusColor = MakeRgb(240, 240, 200);
    g.markColor = MakeRgb(0, 0, 200);
    g.shadowColor = MakeRgb(128, 128, 128);
    g.disabledColor = MakeRgb(200, 200, 200);
    g.readOnlyColor = MakeRgb(255, 255, 225);
    g.stopColor = MakeRgb(240, 155, 20);
    g.startColor = BlendColors(kWhite, g.stopColor, 190);
    g.cornerColor = MakeRgb(128, 128, 0);
    return g;
}

TEST(FlatCheckGlyph, PaintsFrameFillAndMarkByState)
{
    struct Case
    {
        const char* name;
        void (*adjust)(FlatGlyph&);
        TPoint at;
        Rgb32 (*expected)(const FlatGlyph&);
    };
    const Case cases[] = {
        {"frame", [](FlatGlyph&) {}, {0, 0}, [](const FlatGlyph& g) { return g.frameColor; }},
        {"fill", [](FlatGlyph&) {}, {6, 6}, [](const FlatGlyph& g) { return g.fillColor; }},
        {"mark start", [](FlatGlyph& g) { g.state = 1; }, {3, 5},
         [](const FlatGlyph& g) { return g.markColor; }},
        {"mark end", [](FlatGlyph& g) { g.state = 1; }, {9, 4},
         [](const FlatGlyph& g) { return g.markColor; }},
        {"grayed square", [](FlatGlyph& g) { g.state = 2; }, {6, 6},
         [](const FlatGlyph& g) { return g.markColor; }},
        {"disabled mark is shadow", [](FlatGlyph& g) { g.state = 1, g.paint = PaintType::Disabled; },
         {3, 5}, [](const FlatGlyph& g) { return g.shadowColor; }},
        {"disabled fill", [](FlatGlyph& g) { g.paint = PaintType::Disabled; }, {6, 6},
         [](const FlatGlyph& g) { return g.disabledColor; }},
        {"pressed fill", [](FlatGlyph& g) { g.paint = PaintType::Pressed; }, {6, 6},
         [](const FlatGlyph& g) { return DarkerColor(g.focusColor, 20); }},
        {"focused fill", [](FlatGlyph& g) { g.focused = true; }, {6, 6},
         [](const FlatGlyph& g) { return g.focusColor; }},
        {"read-only fill", [](FlatGlyph& g) { g.readOnly = true; }, {6, 6},
         [](const FlatGlyph& g) { return g.readOnlyColor; }},
        {"read-only focused keeps focus colour", [](FlatGlyph& g) { g.readOnly = g.focused = true; },
         {6, 6}, [](const FlatGlyph& g) { return g.focusColor; }},
        {"hot frame", [](FlatGlyph& g) { g.paint = PaintType::Hot, g.hotStyle = htsFrame; },
         {0, 6}, [](const FlatGlyph& g) { return g.stopColor; }},
        {"hot frame inner box", [](FlatGlyph& g) { g.paint = PaintType::Hot, g.hotStyle = htsFrame; },
         {1, 6}, [](const FlatGlyph& g) { return g.stopColor; }},
        {"hot ring middle keeps fill", [](FlatGlyph& g) { g.paint = PaintType::Hot; }, {6, 6},
         [](const FlatGlyph& g) { return g.fillColor; }},
        {"hot ring top right is the start", [](FlatGlyph& g) { g.paint = PaintType::Hot; },
         {11, 1}, [](const FlatGlyph& g) { return g.startColor; }},
        {"hot ring bottom left is the stop", [](FlatGlyph& g) { g.paint = PaintType::Hot; },
         {1, 11}, [](const FlatGlyph& g) { return g.stopColor; }},
        {"no ring with 256 colours",
         [](FlatGlyph& g) { g.paint = PaintType::Hot, g.fullColor = false; }, {1, 11},
         [](const FlatGlyph& g) { return g.fillColor; }},
    };
    for (const Case& c : cases) {
        FlatGlyph glyph = Colours();
        c.adjust(glyph);
        const htmlview::PixelImage image = PaintFlatCheckGlyph(glyph);
        ASSERT_EQ(image.width, kGlyphSize);
        EXPECT_EQ(PixelAt(image, c.at.x, c.at.y), c.expected(glyph)) << c.name;
    }
}

TEST(FlatRadioGlyph, CornersOutlineStairsAndDot)
{
    FlatGlyph glyph = Colours();
    glyph.state = 1;
    htmlview::PixelImage image = PaintFlatRadioGlyph(glyph);
    EXPECT_EQ(PixelAt(image, 0, 0), glyph.cornerColor);
    EXPECT_EQ(PixelAt(image, 12, 12), glyph.cornerColor);
    EXPECT_EQ(PixelAt(image, 6, 0), glyph.frameColor);
    EXPECT_EQ(PixelAt(image, 0, 6), glyph.frameColor);
    EXPECT_EQ(PixelAt(image, 6, 6), glyph.markColor);
    EXPECT_EQ(PixelAt(image, 3, 6), glyph.fillColor);
    const Rgb32 edge = LighterColor(glyph.frameColor, 10);
    EXPECT_EQ(PixelAt(image, 4, 0), BlendColors(edge, glyph.cornerColor, 128));
    EXPECT_EQ(PixelAt(image, 3, 0), BlendColors(edge, glyph.cornerColor, 40));

    glyph.fullColor = false;
    image = PaintFlatRadioGlyph(glyph);
    EXPECT_EQ(PixelAt(image, 4, 0), glyph.frameColor);
    EXPECT_EQ(PixelAt(image, 3, 0), glyph.cornerColor);

    glyph.state = 0;
    glyph.paint = PaintType::Hot;
    glyph.hotStyle = htsFrame;
    image = PaintFlatRadioGlyph(glyph);
    EXPECT_EQ(PixelAt(image, 6, 1), glyph.stopColor);
    EXPECT_EQ(PixelAt(image, 11, 5), glyph.stopColor);
    EXPECT_EQ(PixelAt(image, 6, 6), glyph.fillColor);
}

TEST(FlatGlyphs, DottedFocusBorderTakesEverySecondPixelAfterTheCorner)
{
    const std::vector<TPoint> points = DottedFocusPoints({0, 0, 6, 4});
    auto has = [&](int x, int y) {
        return std::find(points.begin(), points.end(), TPoint{x, y}) != points.end();
    };
    EXPECT_FALSE(has(0, 0));
    EXPECT_TRUE(has(1, 0));
    EXPECT_FALSE(has(2, 0));
    EXPECT_TRUE(has(5, 3));
    EXPECT_TRUE(has(0, 1));
    EXPECT_TRUE(has(5, 1));
}

// A picture with magenta in its bottom-left corner, an enclosed magenta hole and opaque runs
// reaching the right edge.
htmlview::PixelImage MaskFixture()
{
    const char* rows[] = {
        "MMXXXXMM",  //
        "MXXXXXXX",  //
        "XXMMXXXX",  //
        "XXMMXXMX",  //
        "MMMMMMMM",  //
        "MXMMMMMX",  //
    };
    htmlview::PixelImage image = NewPixels(8, 6, 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            SetPixel(image, x, y, rows[y][x] == 'M' ? kMagenta : MakeRgb(10, 20, 30));
    return image;
}

bool Covered(const std::vector<TRect>& rects, int x, int y)
{
    for (const TRect& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

TEST(ShapeRegion, CoversExactlyThePixelsThatDifferFromTheKey)
{
    const htmlview::PixelImage image = MaskFixture();
    const std::vector<TRect> runs = OpaqueRuns(image, kMagenta | 0xFF000000u);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            EXPECT_EQ(Covered(runs, x, y), PixelAt(image, x, y) != kMagenta) << x << "," << y;
    // One rectangle per run: the right edge is exclusive and a run at the edge ends there.
    EXPECT_EQ(runs.front(), (TRect{2, 0, 6, 1}));
    EXPECT_EQ(runs[1], (TRect{1, 1, 8, 2}));
    EXPECT_EQ(runs.back(), (TRect{7, 5, 8, 6}));
    EXPECT_TRUE(OpaqueRuns(NewPixels(4, 3, kMagenta), kMagenta).empty());
}

class FormShapeTest : public ::testing::Test
{
protected:
    TForm form;

    TSkFormShape* Shape(std::function<htmlview::Rgb(int, int)> colour)
    {
        auto* shape = new TSkFormShape(&form);
        shape->SetParent(&form);
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromBytes(ui::testing::BmpFile(8, 6, std::move(colour)));
        shape->Picture()->SetGraphic(std::move(bitmap));
        return shape;
    }
    static htmlview::Rgb FromMask(int x, int y)
    {
        static const htmlview::PixelImage mask = MaskFixture();
        return mask.ColorAt(x, y);
    }
};

TEST_F(FormShapeTest, TakesTheBorderAndShapesTheFormOnceAtItsFirstShowing)
{
    form.SetBorderStyle(TFormBorderStyle::bsDialog);
    TSkFormShape* shape = Shape(FromMask);
    EXPECT_EQ(form.BorderStyle(), TFormBorderStyle::bsNone);
    EXPECT_EQ(shape->Align(), alClient);
    EXPECT_FALSE(shape->ShapeBuilt());

    form.onShow(&form);
    ASSERT_TRUE(shape->ShapeBuilt());
    ASSERT_TRUE(form.WindowRegion());
    const std::vector<TRect> first = *form.WindowRegion();
    EXPECT_EQ(first, OpaqueRuns(MaskFixture(), kMagenta));

    // A later picture does not change the outline.
    shape->Picture()->SetGraphic(nullptr);
    form.onShow(&form);
    EXPECT_EQ(*form.WindowRegion(), first);
}

TEST_F(FormShapeTest, LeavesTheFormRectangularWhenNothingIsCut)
{
    struct Case
    {
        const char* name;
        bool transparent;
        bool allKey;
    };
    for (const Case c : {Case{"not transparent", false, false}, Case{"all key", true, true}}) {
        TForm owner;
        auto* shape = new TSkFormShape(&owner);
        shape->transparent = c.transparent;
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromBytes(ui::testing::BmpFile(4, 4, [&](int x, int y) {
            return c.allKey ? htmlview::Rgb{255, 0, 255} : FromMask(x, y);
        }));
        shape->Picture()->SetGraphic(std::move(bitmap));
        owner.onShow(&owner);
        EXPECT_FALSE(owner.WindowRegion()) << c.name;
        EXPECT_EQ(owner.BorderStyle(), TFormBorderStyle::bsNone) << c.name;
    }
}

TEST_F(FormShapeTest, AnOwnerThatIsNoFormIsRefused)
{
    forms::TComponent owner(nullptr);
    EXPECT_THROW(TSkFormShape{&owner}, rtl::Exception);
}

}  // namespace
}  // namespace setup::ui::skin
