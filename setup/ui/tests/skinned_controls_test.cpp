// The skinned check box, radio button and bitmap button without a display: their state machines
// as tables of mouse and key input, radio groups, bitmap button groups and sizes, the frame
// controller, and what they paint, drawn into a pixel picture and checked at chosen points.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/forms/class_builder.h"
#include "setup/ui/form.h"
#include "setup/ui/skin/blits.h"
#include "setup/ui/skin/bmp_button.h"
#include "setup/ui/skin/frame_controller.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/ui/skin/skin_display.h"
#include "setup/ui/tests/graphic_files.h"

namespace setup::ui::skin {
namespace {

// A canvas device that paints into a picture: fills and images land, text is only counted.
class PixelDevice final : public ICanvasDevice
{
public:
    PixelDevice(int width, int height) : image(NewPixels(width, height, MakeRgb(1, 2, 3))) {}
    void FillRect(const TRect& rect, const TBrush& brush) override
    {
        FillPixels(image, rect, ResolveColor(brush.Color(), display));
    }
    void Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush) override
    {
        if (brush.Style() != bsClear)
            FillPixels(image, rect, ResolveColor(brush.Color(), display));
        PaintBoxFrame(image, rect, ResolveColor(pen.Color(), display));
    }
    void Ellipse(const TRect&, const TPen&, const TBrush&) override {}
    void RoundRect(const TRect&, int, const TPen&, const TBrush&) override {}
    void Line(TPoint, TPoint, const TPen&) override {}
    void DrawText(TRect& rect, const std::string& text, const TFont& font, unsigned flags) override
    {
        if (flags & tfCalcRect)
            rect = TRect::Bounds(rect.left, rect.top, 6 * static_cast<int>(text.size()), 13);
        else
            texts.push_back(text);
    }
    TPoint TextExtent(const std::string& text, const TFont&) override
    {
        return {6 * static_cast<int>(text.size()), 13};
    }
    void DrawImage(const TRect& dest, const htmlview::PixelImage& source) override
    {
        DrawStretchedTransparent(image, dest, source, MakeRgb(1, 1, 1));
    }
    void DrawIconData(const TRect&, const std::string&) override {}
    void DrawMetafileData(const TRect&, const std::string&) override {}

    StandardSkinDisplay display;
    htmlview::PixelImage image;
    std::vector<std::string> texts;
};

void Press(TControl& c, int x = 3, int y = 3)
{
    c.MouseFromWindow(true, mbLeft, {}, x, y);
}
void Release(TControl& c, int x = 3, int y = 3)
{
    c.MouseFromWindow(false, mbLeft, {}, x, y);
}

struct ClickCounter : TForm
{
    FORMS_CLASS_INFO()
    int clicks = 0;
    void Clicked(TObject*) { ++clicks; }
    void Watch(TControl& control)
    {
        static_cast<forms::TMethod&>(control.onClick) = {StaticClass().FindMethod("Clicked"), this};
    }
};

const forms::ClassInfo& ClickCounter::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<ClickCounter>("TClickCounter", &TForm::StaticClass())
            .Method("Clicked", &ClickCounter::Clicked)
            .Build();
    return info;
}

TEST(SkinnedCheckBox, StateTableOfMouseAndKeys)
{
    enum Input
    {
        Click,            // press and release inside
        ReleaseOutside,   // press inside, release outside
        SpaceBar,         // space down and up
        SpaceThenEscape,  // space down, escape, space up
        SpaceThenLeave,   // space down, the focus goes, space up
    };
    struct Case
    {
        Input input;
        bool allowGrayed;
        bool readOnly;
        bool enabled;
        TCheckBoxState from;
        TCheckBoxState to;
    };
    const Case cases[] = {
        {Click, false, false, true, cbUnchecked, cbChecked},
        {Click, false, false, true, cbChecked, cbUnchecked},
        {Click, true, false, true, cbUnchecked, cbGrayed},
        {Click, true, false, true, cbGrayed, cbChecked},
        {Click, true, false, true, cbChecked, cbUnchecked},
        {Click, false, true, true, cbUnchecked, cbUnchecked},
        {Click, true, true, true, cbGrayed, cbGrayed},
        {Click, false, false, false, cbUnchecked, cbUnchecked},
        {ReleaseOutside, false, false, true, cbUnchecked, cbUnchecked},
        {SpaceBar, false, false, true, cbUnchecked, cbChecked},
        {SpaceBar, true, false, true, cbGrayed, cbChecked},
        {SpaceBar, false, true, true, cbChecked, cbChecked},
        {SpaceThenEscape, false, false, true, cbUnchecked, cbUnchecked},
        {SpaceThenLeave, false, false, true, cbUnchecked, cbUnchecked},
    };
    for (const Case& c : cases) {
        ClickCounter form;
        auto* box = new TSkCheckBox(&form);
        box->SetParent(&form);
        box->allowGrayed = c.allowGrayed;
        box->SetState(c.from);
        box->SetReadOnly(c.readOnly);
        box->SetEnabled(c.enabled);
        form.Watch(*box);
        switch (c.input) {
            case Click:
                Press(*box);
                EXPECT_EQ(box->DrawPressed(), c.enabled);
                Release(*box);
                break;
            case ReleaseOutside:
                Press(*box);
                box->MouseMoveFromWindow({}, 500, 3);
                EXPECT_FALSE(box->DrawPressed());
                Release(*box, 500, 3);
                break;
            case SpaceBar:
                box->KeyFromWindow(true, kKeySpace, {});
                EXPECT_EQ(box->DrawPressed(), !c.readOnly);
                box->KeyFromWindow(false, kKeySpace, {});
                break;
            case SpaceThenEscape:
                box->KeyFromWindow(true, kKeySpace, {});
                box->KeyFromWindow(true, kKeyEscape, {});
                box->KeyFromWindow(false, kKeySpace, {});
                break;
            case SpaceThenLeave:
                box->KeyFromWindow(true, kKeySpace, {});
                box->FocusFromWindow(false);
                box->KeyFromWindow(false, kKeySpace, {});
                break;
        }
        const std::string name =
            "input " + std::to_string(c.input) + " from " + std::to_string(c.from) + " grayed " +
            std::to_string(c.allowGrayed) + " read-only " + std::to_string(c.readOnly) +
            " enabled " + std::to_string(c.enabled);
        EXPECT_EQ(box->State(), c.to) << name;
        EXPECT_EQ(form.clicks, c.to != c.from ? 1 : 0) << name;
        EXPECT_FALSE(box->DrawPressed()) << name;
    }
}

TEST(SkinnedRadioButton, ChecksOnlyWithinItsParentNeverClearsAndClicksOnce)
{
    ClickCounter form;
    TForm other;
    auto* one = new TSkRadioButton(&form);
    auto* two = new TSkRadioButton(&form);
    auto* elsewhere = new TSkRadioButton(&other);
    one->SetParent(&form);
    two->SetParent(&form);
    elsewhere->SetParent(&other);
    elsewhere->SetChecked(true);
    form.Watch(*one);
    form.Watch(*two);
    EXPECT_FALSE(one->TabStop());

    Press(*one);
    Release(*one);
    Press(*two);
    Release(*two);
    EXPECT_FALSE(one->Checked());
    EXPECT_TRUE(two->Checked());
    EXPECT_TRUE(two->TabStop());
    EXPECT_FALSE(one->TabStop());
    EXPECT_TRUE(elsewhere->Checked());
    EXPECT_EQ(form.clicks, 2);
    // A click on the checked button changes nothing.
    Press(*two);
    Release(*two);
    EXPECT_TRUE(two->Checked());
    EXPECT_EQ(form.clicks, 2);

    // Read-only spreads to the parent's radio buttons; the mouse then changes nothing.
    one->SetReadOnly(true);
    EXPECT_TRUE(two->ReadOnly());
    EXPECT_FALSE(elsewhere->ReadOnly());
    Press(*one);
    Release(*one);
    EXPECT_FALSE(one->Checked());
    one->SetReadOnly(false);

    // The keyboard's focus checks; the mouse's waits for the release.
    one->FocusFromWindow(true);
    EXPECT_TRUE(one->Checked());
    EXPECT_FALSE(two->Checked());
    two->FocusFromWindow(false);
    Press(*two);
    EXPECT_FALSE(two->Checked());
    Release(*two);
    EXPECT_TRUE(two->Checked());
}

TEST(SkinnedControls, TheCaptionsAcceleratorFocusesAndActs)
{
    ClickCounter form;
    auto* box = new TSkCheckBox(&form);
    auto* locked = new TSkCheckBox(&form);
    auto* radio = new TSkRadioButton(&form);
    auto* button = new TSkBmpButton(&form);
    for (TControl* c : std::initializer_list<TControl*>{box, locked, radio, button}) {
        c->SetParent(&form);
        form.Watch(*c);
    }
    locked->SetReadOnly(true);
    box->Accelerator();
    locked->Accelerator();
    radio->Accelerator();
    EXPECT_TRUE(box->HasFocus());
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(locked->HasFocus());
    EXPECT_FALSE(locked->Checked());
    EXPECT_TRUE(radio->Checked());
    button->Accelerator();
    button->SetEnabled(false);
    button->Accelerator();
    EXPECT_EQ(form.clicks, 3);
}

std::unique_ptr<TBitmap> Bitmap(int width, int height,
                                std::function<htmlview::Rgb(int, int)> colour)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromBytes(ui::testing::BmpFile(width, height, std::move(colour)));
    return bitmap;
}

htmlview::Rgb Solid(int x, int y)
{
    return {200, 10, 10};
}

TEST(SkinnedBmpButton, PressAndReleaseStates)
{
    ClickCounter form;
    auto* button = new TSkBmpButton(&form);
    button->SetParent(&form);
    form.Watch(*button);
    button->modalResult = 6;

    Press(*button);
    EXPECT_EQ(button->State(), DrawState::Pressed);
    EXPECT_TRUE(button->HasFocus());
    button->MouseMoveFromWindow({}, 200, 3);
    EXPECT_EQ(button->State(), DrawState::Up);
    Release(*button, 200, 3);
    EXPECT_EQ(form.clicks, 0);
    EXPECT_EQ(form.ModalResult(), 0);

    Press(*button);
    Release(*button);
    EXPECT_EQ(form.clicks, 1);
    EXPECT_EQ(form.ModalResult(), 6);
    EXPECT_EQ(button->State(), DrawState::Up);
    // A button without a group never stays down.
    button->SetDown(true);
    EXPECT_FALSE(button->Down());

    button->KeyFromWindow(true, kKeySpace, {});
    EXPECT_EQ(button->State(), DrawState::Pressed);
    button->KeyFromWindow(false, kKeySpace, {});
    EXPECT_EQ(button->State(), DrawState::Up);
    button->KeyFromWindow(true, kKeyEnter, {});
    EXPECT_EQ(form.clicks, 3);

    button->SetEnabled(false);
    Press(*button);
    Release(*button);
    EXPECT_EQ(form.clicks, 3);
}

TEST(SkinnedBmpButton, AGroupKeepsOneButtonDown)
{
    ClickCounter form;
    auto* first = new TSkBmpButton(&form);
    auto* second = new TSkBmpButton(&form);
    auto* otherGroup = new TSkBmpButton(&form);
    for (TSkBmpButton* b : {first, second, otherGroup}) {
        b->SetParent(&form);
        b->SetGroupIndex(1);
    }
    otherGroup->SetGroupIndex(2);
    otherGroup->SetDown(true);

    Press(*first);
    Release(*first);
    EXPECT_TRUE(first->Down());
    EXPECT_EQ(first->State(), DrawState::StayDown);
    Press(*second);
    Release(*second);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(first->State(), DrawState::Up);
    EXPECT_TRUE(otherGroup->Down());
    // Without AllowAllUp a press on the down button leaves it down.
    Press(*second);
    Release(*second);
    EXPECT_TRUE(second->Down());
    // AllowAllUp passes to the group and lets the last one come up.
    second->allowAllUp = true;
    Press(*second);
    Release(*second);
    EXPECT_FALSE(second->Down());
    EXPECT_TRUE(first->allowAllUp);
    // A release outside a down button keeps it down.
    first->SetDown(true);
    Press(*first);
    Release(*first, 500, 500);
    EXPECT_EQ(first->State(), DrawState::StayDown);
}

TEST(SkinnedBmpButton, SizeFollowsTheUpBitmapAndTheBorder)
{
    struct Case
    {
        TSkButtonBorder border;
        TSkButtonStyle style;
        TSkButtonSize size;
        int width;
        int height;
    };
    const Case cases[] = {
        {bbNone, bsAutoDetect, bszButtonToBitmap, 20, 10},
        {bbSingle, bsAutoDetect, bszButtonToBitmap, 22, 12},
        {bbButton, bsAutoDetect, bszButtonToBitmap, 24, 14},
        {bbButton, bsNew, bszButtonToBitmap, 24, 14},
        {bbButton, bsWin31, bszButtonToBitmap, 26, 16},
        {bbButton, bsWin31, bszStretchToButton, 80, 30},
    };
    for (const Case& c : cases) {
        TSkBmpButton button(nullptr);
        button.SetButtonSize(c.size);
        button.SetButtonStyle(c.style);
        button.SetButtonBorder(c.border);
        button.Bitmaps()->SetUp(Bitmap(20, 10, Solid).get());
        EXPECT_EQ(button.Width(), c.width) << c.border << " " << c.style << " " << c.size;
        EXPECT_EQ(button.Height(), c.height) << c.border << " " << c.style << " " << c.size;
        // Only a button sized to its bitmap keeps its size.
        button.SetBounds(0, 0, 90, 90);
        EXPECT_EQ(button.Width(), c.size == bszButtonToBitmap ? c.width : 90);
    }
}

TEST(SkinnedBmpButton, TheFaceBitmapFollowsTheState)
{
    TSkBmpButton button(nullptr);
    EXPECT_EQ(button.FaceBitmap(), nullptr);
    TSkButtonBitmaps& maps = *button.Bitmaps();
    maps.SetUp(Bitmap(4, 4, Solid).get());
    const TBitmap* up = maps.Up();
    EXPECT_EQ(button.FaceBitmap(), up);
    // Pressed without a Down bitmap shows Up; with one, Down.
    Press(button);
    EXPECT_EQ(button.FaceBitmap(), up);
    maps.SetDown(Bitmap(4, 4, Solid).get());
    EXPECT_EQ(button.FaceBitmap(), maps.Down());
    Release(button);
    maps.SetUpAndFocused(Bitmap(4, 4, Solid).get());
    EXPECT_EQ(button.FaceBitmap(), maps.UpAndFocused());
    button.showFocus = false;
    EXPECT_EQ(button.FaceBitmap(), up);
    maps.SetHot(Bitmap(4, 4, Solid).get());
    button.MouseMoveFromWindow({}, 1, 1);
    EXPECT_EQ(button.FaceBitmap(), maps.Hot());
    button.MouseLeaveFromWindow();
    EXPECT_EQ(button.FaceBitmap(), up);
}

TEST(SkinnedBmpButton, LayoutOfBitmapAndCaption)
{
    const TRect face{0, 0, 100, 40};
    struct Case
    {
        TButtonLayout layout;
        int margin;
        int spacing;
        TPoint bitmap;
        TPoint text;
        TRect wantBitmap;
        TRect wantCaption;
    };
    const Case cases[] = {
        // Centred pair: 20 + 4 + 30 in 100 leaves 23 each side.
        {blGlyphLeft, -1, 4, {20, 10}, {30, 12}, {23, 15, 43, 25}, {47, 14, 77, 26}},
        // Free space in three: 50 / 3 = 16.
        {blGlyphLeft, -1, -1, {20, 10}, {30, 12}, {16, 15, 36, 25}, {52, 14, 82, 26}},
        // Margin given, caption centred in what is left: (100 - 5 - 20 - 30) / 2 = 22.
        {blGlyphLeft, 5, -1, {20, 10}, {30, 12}, {5, 15, 25, 25}, {47, 14, 77, 26}},
        {blGlyphRight, 5, 4, {20, 10}, {30, 12}, {75, 15, 95, 25}, {41, 14, 71, 26}},
        {blGlyphTop, 2, 3, {20, 10}, {30, 12}, {40, 2, 60, 12}, {35, 15, 65, 27}},
        // No bitmap: no spacing, the caption centred.
        {blGlyphLeft, -1, 4, {0, 0}, {30, 12}, {35, 20, 35, 20}, {35, 14, 65, 26}},
    };
    for (const Case& c : cases) {
        const BitmapCaptionLayout placed =
            LayoutBitmapAndCaption(face, c.bitmap, c.text, c.layout, c.margin, c.spacing);
        EXPECT_EQ(placed.bitmap, c.wantBitmap) << c.layout << " " << c.margin << " " << c.spacing;
        EXPECT_EQ(placed.caption, c.wantCaption) << c.layout << " " << c.margin << " " << c.spacing;
    }
}

TEST(SkinnedBmpButton, PaintsTheBitmapWithItsKeyColourTransparent)
{
    constexpr Rgb32 kOlive = MakeRgb(128, 128, 0);
    // A red bitmap with an olive (transparent) left column.
    auto keyed = [](int x, int y) {
        return x == 0 ? htmlview::Rgb{128, 128, 0} : htmlview::Rgb{200, 10, 10};
    };
    struct Case
    {
        TSkButtonSize size;
        TPoint red;
        TPoint notRed;
    };
    const Case cases[] = {
        {bszButtonToBitmap, {3, 3}, {0, 3}},
        {bszStretchToButton, {30, 20}, {1, 20}},
        {bszTileToButton, {5, 5}, {4, 5}},
    };
    for (const Case& c : cases) {
        TSkBmpButton button(nullptr);
        button.SetButtonSize(c.size);
        button.Bitmaps()->SetUp(Bitmap(4, 4, keyed).get());
        if (c.size != bszButtonToBitmap)
            button.SetBounds(0, 0, 40, 30);
        PixelDevice device(button.Width(), button.Height());
        TCanvas canvas(&device);
        button.Paint(canvas);
        EXPECT_EQ(PixelAt(device.image, c.red.x, c.red.y), MakeRgb(200, 10, 10)) << c.size;
        EXPECT_NE(PixelAt(device.image, c.notRed.x, c.notRed.y), kOlive) << c.size;
        EXPECT_NE(PixelAt(device.image, c.notRed.x, c.notRed.y), MakeRgb(200, 10, 10)) << c.size;
    }

    // Disabled without a Disabled bitmap: the embossed image of Up.
    TSkBmpButton button(nullptr);
    button.Bitmaps()->SetUp(Bitmap(4, 4, keyed).get());
    button.SetEnabled(false);
    PixelDevice device(4, 4);
    TCanvas canvas(&device);
    button.Paint(canvas);
    EXPECT_EQ(button.State(), DrawState::Disabled);
    EXPECT_EQ(PixelAt(device.image, 2, 2), device.display.SystemColor(16));
    EXPECT_EQ(PixelAt(device.image, 1, 0), device.display.SystemColor(16));
}

TEST(SkinnedCheckBox, PaintsItsGlyphBesideTheCaptionAndAFocusBorder)
{
    TForm form;
    form.SetColor(TColor(MakeRgb(0, 90, 0)));
    auto* box = new TSkCheckBox(&form);
    box->SetParent(&form);
    box->SetBounds(0, 0, 100, 17);
    box->SetCaption("Agree");
    box->SetChecked(true);
    box->hotTrack = true;
    box->highlightColor = TColor(MakeRgb(0, 0, 200));
    PixelDevice device(100, 17);
    TCanvas canvas(&device);
    box->Paint(canvas);
    const TRect glyph = box->GlyphRect();
    EXPECT_EQ(glyph, (TRect{0, 2, 13, 15}));
    // The frame, the window fill and the mark at their places on the control.
    EXPECT_EQ(PixelAt(device.image, 0, 2), device.display.SystemColor(16));
    EXPECT_EQ(PixelAt(device.image, 6, 3), MakeRgb(255, 255, 255));
    EXPECT_EQ(PixelAt(device.image, 1 + 2, 2 + 1 + 4), MakeRgb(0, 0, 200));
    EXPECT_EQ(device.texts, std::vector<std::string>{"Agree"});
    EXPECT_EQ(box->CaptionRect(), (TRect{18, 1, 99, 16}));
    EXPECT_NE(PixelAt(device.image, 19, 1), MakeRgb(0, 0, 0));

    box->FocusFromWindow(true);
    box->MouseMoveFromWindow({}, 2, 2);
    PixelDevice focused(100, 17);
    TCanvas focusedCanvas(&focused);
    box->Paint(focusedCanvas);
    EXPECT_EQ(PixelAt(focused.image, 19, 1), MakeRgb(0, 0, 0));
    EXPECT_NE(PixelAt(focused.image, 18, 1), MakeRgb(0, 0, 0));
    // Hot: the frame ring's top-right corner is the light colour.
    const Rgb32 light = BlendColors(MakeRgb(255, 255, 255), MakeRgb(240, 155, 20), 190);
    EXPECT_EQ(PixelAt(focused.image, 11, 3), light);

    // Glyph on the right with left-justified alignment, centred vertically.
    box->alignment = taLeftJustify;
    box->alignmentVertical = avCenter;
    EXPECT_EQ(box->GlyphRect(), (TRect{87, 2, 100, 15}));
}

TEST(SkinnedGlyphs, CustomStripCellsByState)
{
    // Nine cells of 5 x 6, cell i coloured (i * 20, 0, 0).
    auto strip = Bitmap(45, 6, [](int x, int y) {
        return htmlview::Rgb{static_cast<std::uint8_t>(x / 5 * 20), 0, 0};
    });
    TSkCheckBox box(nullptr);
    box.SetCustomGlyphs(strip.get());
    ASSERT_TRUE(box.UseCustomGlyphs());
    EXPECT_EQ(box.GlyphCellWidth(), 5);
    EXPECT_EQ(box.GlyphCellHeight(), 6);
    auto cell = [&] { return RedOf(PixelAt(box.MakeGlyph(), 0, 0)) / 20; };
    EXPECT_EQ(cell(), 0);
    box.SetState(cbGrayed);
    EXPECT_EQ(cell(), 2);
    Press(box);
    EXPECT_EQ(cell(), 5);
    Release(box, 500, 500);
    box.SetEnabled(false);
    EXPECT_EQ(cell(), 8);

    TSkRadioButton radio(nullptr);
    auto radioStrip = Bitmap(30, 6, [](int x, int y) {
        return htmlview::Rgb{static_cast<std::uint8_t>(x / 5 * 20), 0, 0};
    });
    radio.SetCustomGlyphs(radioStrip.get());
    radio.SetChecked(true);
    EXPECT_EQ(RedOf(PixelAt(radio.MakeGlyph(), 0, 0)) / 20, 1);
    radio.SetEnabled(false);
    EXPECT_EQ(RedOf(PixelAt(radio.MakeGlyph(), 0, 0)) / 20, 5);

    // An empty strip turns custom glyphs off and brings the 13 x 13 glyph back.
    TBitmap empty;
    box.SetCustomGlyphs(&empty);
    EXPECT_FALSE(box.UseCustomGlyphs());
    EXPECT_EQ(box.GlyphCellWidth(), kGlyphSize);
    EXPECT_EQ(box.MakeGlyph().height, kGlyphSize);
}

TEST(SkinnedGlyphs, DisabledMarkIsTheShadowAndHotTrackColoursDerive)
{
    TSkCheckBox box(nullptr);
    box.hotTrack = true;
    box.SetChecked(true);
    box.highlightColor = TColor(MakeRgb(0, 0, 200));
    box.SetEnabled(false);
    const StandardSkinDisplay display;
    EXPECT_EQ(PixelAt(box.MakeGlyph(), 1 + 2, 1 + 4), display.SystemColor(16));
    EXPECT_EQ(PixelAt(box.MakeGlyph(), 6, 1), ResolveColor(box.disabledColor, display));

    // The complement scheme: light is the complement at lightness 180, dark 30 steps below.
    box.SetEnabled(true);
    box.SetChecked(false);
    box.hotTrackColorType = htctComplement;
    box.hotTrackStyle = htsFrame;
    box.MouseMoveFromWindow({}, 1, 1);
    const Rgb32 light = ComplementColor(MakeRgb(240, 155, 20), 180);
    EXPECT_EQ(PixelAt(box.MakeGlyph(), 0, 6), DarkerColor(light, 30));
}

struct Framed : TSkCheckBox
{
    using TSkCheckBox::TSkCheckBox;
    int notices = 0;
    void ReceiveFramingNotification(const TSkFrameController& controller) override
    {
        ++notices;
        TSkCheckBox::ReceiveFramingNotification(controller);
    }
};

// A control with some of the controller's properties and no notification of its own.
class TPlainFramed : public TCustomControl
{
public:
    FORMS_CLASS_INFO()
    using TCustomControl::TCustomControl;
    TColor focusColor = clBlack;
    TColor frameColor = clBlack;
    std::int32_t notifications = kAllFrameNotifications;
};

const forms::ClassInfo& TPlainFramed::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TPlainFramed>("TPlainFramed", &TCustomControl::StaticClass())
            .Property("FocusColor", &TPlainFramed::focusColor)
            .Property("FrameColor", &TPlainFramed::frameColor)
            .Property("FrameControllerNotifications", &TPlainFramed::notifications)
            .Build();
    return info;
}

TEST(FrameController, SettingsReachTheControlsTheirBitsSelect)
{
    TSkFrameController controller(nullptr);
    TPlainFramed plain(nullptr);
    controller.RegisterControl(&plain);
    // Registration gives every setting the control publishes.
    EXPECT_EQ(plain.focusColor, clWindow);
    EXPECT_EQ(plain.frameColor, clBtnShadow);
    EXPECT_EQ(plain.Color(), clWindow);

    plain.notifications = 0x100;  // the frame colour only
    controller.SetFrameColor(TColor(0x123456));
    controller.SetFocusColor(TColor(0x654321));
    EXPECT_EQ(plain.frameColor, TColor(0x123456));
    EXPECT_EQ(plain.focusColor, clWindow);

    // Updates wait for the last EndUpdate.
    plain.notifications = kAllFrameNotifications;
    controller.BeginUpdate();
    controller.SetFocusColor(TColor(0x111111));
    EXPECT_EQ(plain.focusColor, clWindow);
    controller.EndUpdate();
    EXPECT_EQ(plain.focusColor, TColor(0x111111));

    // Colour takes the focus colour along when they were equal.
    controller.SetFocusColor(controller.Color());
    controller.SetColor(TColor(0x222222));
    EXPECT_EQ(controller.FocusColor(), TColor(0x222222));
    EXPECT_FALSE(controller.ParentColor());
    // Hot tracking shows the frame on every side.
    controller.SetFrameSides({});
    controller.SetFrameHotTrack(true);
    EXPECT_TRUE(controller.FrameVisible());
    EXPECT_TRUE(controller.FrameSides().Has(sdBottom));

    // A glyph button reads the controller itself, and only while the frame is visible.
    Framed box(nullptr);
    box.frameControllerNotifications = 0x1 | 0x400 | 0x200;
    box.SetFrameController(&controller);
    EXPECT_EQ(box.notices, 1);
    EXPECT_TRUE(box.hotTrack);
    EXPECT_EQ(box.fillColor, TColor(0x222222));
    EXPECT_EQ(box.hotTrackStyle, htsFrame);
    EXPECT_EQ(box.hotTrackColor, controller.FrameHotColor());
    EXPECT_EQ(box.frameColor, clBtnShadow);

    TSkFrameController hidden(nullptr);
    TSkCheckBox quiet(nullptr);
    quiet.SetFrameController(&hidden);
    EXPECT_FALSE(quiet.hotTrack);
    quiet.SetFrameController(nullptr);
    EXPECT_FALSE(hidden.Registered(&quiet));

    // Copying a controller gives its settings to its own controls at once.
    TSkFrameController copy(nullptr);
    TPlainFramed other(nullptr);
    copy.RegisterControl(&other);
    copy.Assign(controller);
    EXPECT_EQ(other.frameColor, TColor(0x123456));
    controller.UnregisterControl(&plain);
    EXPECT_FALSE(controller.Registered(&plain));
}

TEST(SkinBlits, KeyedCopiesStretchAndTile)
{
    constexpr Rgb32 kKey = MakeRgb(255, 0, 255);
    htmlview::PixelImage source = NewPixels(2, 2, MakeRgb(9, 9, 9));
    SetPixel(source, 1, 1, kKey);
    htmlview::PixelImage dest = NewPixels(6, 6, 0);
    DrawTiledTransparent(dest, {1, 1, 6, 6}, source, kKey);
    EXPECT_EQ(PixelAt(dest, 0, 0), 0u);
    EXPECT_EQ(PixelAt(dest, 1, 1), MakeRgb(9, 9, 9));
    EXPECT_EQ(PixelAt(dest, 2, 2), 0u);  // the key shows what was there
    EXPECT_EQ(PixelAt(dest, 4, 4), 0u);
    EXPECT_EQ(PixelAt(dest, 5, 5), MakeRgb(9, 9, 9));  // the last cell clipped

    htmlview::PixelImage stretched = NewPixels(4, 4, 0);
    DrawStretchedTransparent(stretched, {0, 0, 4, 4}, source, kKey);
    EXPECT_EQ(PixelAt(stretched, 1, 1), MakeRgb(9, 9, 9));
    EXPECT_EQ(PixelAt(stretched, 3, 3), 0u);
    EXPECT_EQ(PixelAt(stretched, 2, 2), 0u);

    const htmlview::PixelImage pattern = DownPattern(MakeRgb(1, 2, 3), 9, 9);
    EXPECT_EQ(PixelAt(pattern, 0, 0), MakeRgb(255, 255, 255));
    EXPECT_EQ(PixelAt(pattern, 1, 0), MakeRgb(1, 2, 3));
    EXPECT_EQ(PixelAt(pattern, 8, 8), MakeRgb(255, 255, 255));
}

}  // namespace
}  // namespace setup::ui::skin
