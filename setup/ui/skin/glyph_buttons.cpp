#include "setup/ui/skin/glyph_buttons.h"

#include <algorithm>

#include "setup/forms/class_builder.h"
#include "setup/forms/form_tree.h"
#include "setup/ui/skin/blits.h"
#include "setup/ui/skin/skin_display.h"

namespace setup::ui::skin {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TSkCustomGlyphButton::StaticClass()
{
    using C = TSkCustomGlyphButton;
    static const ClassInfo info =
        ClassBuilder<C>("TSkCustomGlyphButton", &TSkCustomButton::StaticClass())
            .Property("Alignment", &C::alignment)
            .Property("CustomGlyphs", &C::CustomGlyphs, &C::SetCustomGlyphs)
            .Property("DisabledColor", &C::disabledColor)
            .Property("FillColor", &C::fillColor)
            .Property("FocusColor", &C::focusColor)
            .Property("FrameColor", &C::frameColor)
            .Property("FrameController", &C::FrameController, &C::SetFrameController)
            .Property("FrameControllerNotifications", &C::frameControllerNotifications)
            .Property("HotTrackStyle", &C::hotTrackStyle)
            .Property("ReadOnly", &C::ReadOnly, &C::SetReadOnly)
            .Property("ReadOnlyColor", &C::readOnlyColor)
            .Property("ReadOnlyColorOnFocus", &C::readOnlyColorOnFocus)
            .Property("TabOnEnter", &C::tabOnEnter)
            .Property("TransparentColor", &C::transparentColor)
            .Property("UseCustomGlyphs", &C::UseCustomGlyphs, &C::SetUseCustomGlyphs)
            .Property("WinMaskColor", &C::winMaskColor)
            .Build();
    return info;
}

TSkCustomGlyphButton::TSkCustomGlyphButton(forms::TComponent* owner)
    : TSkCustomButton(owner), m_customGlyphs(std::make_unique<TBitmap>())
{
    alignmentVertical = avTop;
}

TSkCustomGlyphButton::~TSkCustomGlyphButton()
{
    if (m_frameController)
        m_frameController->UnregisterControl(this);
}

void TSkCustomGlyphButton::SetReadOnly(bool readOnly)
{
    if (readOnly == m_readOnly)
        return;
    m_readOnly = readOnly;
    Repaint();
}

void TSkCustomGlyphButton::SetCustomGlyphs(TBitmap* strip)
{
    m_customGlyphs->Assign(*strip);
    m_useCustomGlyphs = !m_customGlyphs->Empty();
    Repaint();
}

void TSkCustomGlyphButton::SetUseCustomGlyphs(bool use)
{
    m_useCustomGlyphsRead = true;
    if (use == m_useCustomGlyphs)
        return;
    m_useCustomGlyphs = use;
    Repaint();
}

void TSkCustomGlyphButton::Loaded()
{
    TSkCustomButton::Loaded();
    // The strip was read in place; a stored UseCustomGlyphs, read after it, has the last word.
    if (!m_useCustomGlyphsRead)
        m_useCustomGlyphs = !m_customGlyphs->Empty();
}

void TSkCustomGlyphButton::DefineProperties(forms::PropertyDefiner& definer)
{
    // Older page files call hot tracking "Flat".
    definer.DefineProperty(
        "Flat",
        [this](const forms::FormValue& value) { hotTrack = value.type == forms::ValueType::True; },
        [] { return std::optional<forms::FormValue>(); });
}

void TSkCustomGlyphButton::SetFrameController(TSkFrameController* controller)
{
    if (controller == m_frameController)
        return;
    if (m_frameController) {
        m_frameController->UnregisterControl(this);
        m_frameController->RemoveFreeNotification(this);
    }
    m_frameController = controller;
    if (controller) {
        controller->FreeNotification(this);
        controller->RegisterControl(this);
    }
}

void TSkCustomGlyphButton::Notification(forms::TComponent* component, forms::Operation operation)
{
    TSkCustomButton::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_frameController)
        m_frameController = nullptr;
}

void TSkCustomGlyphButton::ReceiveFramingNotification(const TSkFrameController& controller)
{
    if (!controller.FrameVisible())
        return;
    hotTrack = true;
    const auto has = [this](FrameKind kind) {
        return (frameControllerNotifications >> static_cast<int>(kind)) & 1;
    };
    if (has(fkColor))
        fillColor = controller.Color();
    if (has(fkFrameColor))
        frameColor = controller.FrameColor();
    if (has(fkFocusColor))
        focusColor = controller.FocusColor();
    if (has(fkDisabledColor))
        disabledColor = controller.DisabledColor();
    if (has(fkReadOnlyColor))
        readOnlyColor = controller.ReadOnlyColor();
    if (has(fkReadOnlyColorOnFocus))
        readOnlyColorOnFocus = controller.ReadOnlyColorOnFocus();
    if (has(fkFrameHotTrack))
        hotTrackStyle = controller.FrameHotTrack() ? htsFrame : htsInterior;
    if (has(fkFrameHotColor) && hotTrackStyle == htsFrame)
        hotTrackColor = controller.FrameHotColor();
    Repaint();
}

int TSkCustomGlyphButton::GlyphCellWidth() const
{
    return m_useCustomGlyphs && !m_customGlyphs->Empty()
               ? m_customGlyphs->Width() / GlyphCellCount()
               : kGlyphSize;
}

int TSkCustomGlyphButton::GlyphCellHeight() const
{
    return m_useCustomGlyphs && !m_customGlyphs->Empty() ? m_customGlyphs->Height() : kGlyphSize;
}

TRect TSkCustomGlyphButton::GlyphRect() const
{
    const int w = GlyphCellWidth();
    const int h = GlyphCellHeight();
    const int left = alignment == taRightJustify ? 0 : Width() - w;
    int top = 2;
    if (alignmentVertical == avCenter)
        top = (Height() - h) / 2;
    else if (alignmentVertical == avBottom)
        top = Height() - h - 2;
    return TRect::Bounds(left, top, w, h);
}

TRect TSkCustomGlyphButton::CaptionRect() const
{
    TRect rect = ClientRect().Inflated(-1, -1);
    if (alignment == taRightJustify)
        rect.left += GlyphCellWidth() + 4;
    else
        rect.right -= GlyphCellWidth() + 4;
    return rect;
}

FlatGlyph TSkCustomGlyphButton::GlyphLook() const
{
    const ISkinDisplay& display = DisplayOf(*this);
    auto rgb = [&](TColor c) { return ResolveColor(c, display); };
    FlatGlyph look;
    look.state = GlyphState();
    look.focused = HasFocus();
    look.readOnly = m_readOnly;
    look.readOnlyColorOnFocus = readOnlyColorOnFocus;
    look.fullColor = display.FullColor();
    look.readOnlyColor = rgb(readOnlyColor);
    look.disabledColor = rgb(disabledColor);
    look.focusColor = rgb(focusColor);
    look.fillColor = rgb(fillColor);
    look.markColor = rgb(highlightColor);
    look.frameColor = rgb(frameColor);
    look.shadowColor = rgb(clBtnShadow);
    look.cornerColor = Transparent() ? rgb(transparentColor) : rgb(Color());
    look.hotStyle = hotTrackStyle;
    if (!Enabled())
        look.paint = PaintType::Disabled;
    else if (DrawPressed())
        look.paint = PaintType::Pressed;
    else if (MouseOver())
        look.paint = PaintType::Hot;
    if (hotTrack) {
        const Rgb32 hot = rgb(hotTrackColor);
        if (hotTrackColorType == htctActual) {
            look.stopColor = hot;
            look.startColor = BlendColors(MakeRgb(255, 255, 255), hot, 190);
        } else {
            look.startColor = ComplementColor(hot, 180);
            look.stopColor = DarkerColor(look.startColor, 30);
        }
        return look;
    }
    // The classic look: the system's frame and window colours, nothing hot, a dark mark.
    look.frameColor = rgb(clBtnShadow);
    look.fillColor = look.focusColor = look.readOnlyColor = rgb(clWindow);
    look.disabledColor = rgb(clBtnFace);
    // Grayed shows its mark in the shadow colour.
    look.markColor = look.state == 2 ? look.shadowColor : display.SystemColor(8);
    if (look.paint == PaintType::Hot)
        look.paint = PaintType::Normal;
    if (look.paint == PaintType::Pressed) {
        look.paint = PaintType::Disabled;
        look.shadowColor = look.markColor;
    }
    return look;
}

htmlview::PixelImage TSkCustomGlyphButton::MakeGlyph() const
{
    if (m_useCustomGlyphs && !m_customGlyphs->Empty()) {
        const htmlview::PixelImage* strip = m_customGlyphs->Pixels();
        const int w = GlyphCellWidth();
        if (!strip)
            return NewPixels(w, GlyphCellHeight(),
                             ResolveColor(transparentColor, DisplayOf(*this)));
        htmlview::PixelImage cell =
            CropPixels(*strip, TRect::Bounds(CustomCell() * w, 0, w, strip->height));
        // The strip's window-mask colour shows the window colour.
        const ISkinDisplay& display = DisplayOf(*this);
        const Rgb32 mask = ResolveColor(winMaskColor, display);
        const Rgb32 window = ResolveColor(clWindow, display);
        for (int y = 0; y < cell.height; ++y)
            for (int x = 0; x < cell.width; ++x)
                if (PixelAt(cell, x, y) == mask)
                    SetPixel(cell, x, y, window);
        return cell;
    }
    const FlatGlyph look = GlyphLook();
    return IsRadio() ? PaintFlatRadioGlyph(look) : PaintFlatCheckGlyph(look);
}

void TSkCustomGlyphButton::Paint(TCanvas& canvas)
{
    const ISkinDisplay& display = DisplayOf(*this);
    htmlview::PixelImage glyph = MakeGlyph();
    const Rgb32 key = ResolveColor(transparentColor, display);
    if (Transparent() && !(m_useCustomGlyphs && !m_customGlyphs->Empty()))
        FinishGlyph(glyph, Parent() ? ResolveColor(Parent()->Color(), display)
                                    : ResolveColor(Color(), display));
    const TRect place = GlyphRect();
    DrawTransparentOnCanvas(canvas, {place.left, place.top}, glyph, key);
    const TRect caption = CaptionRect();
    DrawCaption(canvas, caption, tfLeft | tfWordBreak | tfExpandTabs);
    if (!HasFocus() || Caption().empty() || !canvas.Device())
        return;
    canvas.Font().Assign(*Font());
    TRect focus = caption;
    focus.right = std::min(focus.right, focus.left + canvas.TextExtent(Caption()).x + 3);
    TRect measured = caption;
    canvas.Device()->DrawText(measured, Caption(), canvas.Font(),
                              tfLeft | tfWordBreak | tfExpandTabs | tfCalcRect);
    focus.bottom = std::min(focus.bottom, focus.top + measured.Height() + 1);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBlack);
    for (TPoint p : DottedFocusPoints(focus))
        canvas.FillRect(TRect::Bounds(p.x, p.y, 1, 1));
}

void TSkCustomGlyphButton::MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x,
                                           int y)
{
    m_mouseDownOnControl = down;
    // The release still counts as on the control while its click completes.
    if (!down)
        m_mouseDownOnControl = true;
    TSkCustomButton::MouseFromWindow(down, button, shift, x, y);
    if (!down)
        m_mouseDownOnControl = false;
}

void TSkCustomGlyphButton::Accelerator()
{
    if (PeerFactory())
        SetFocus();
    if (!HasFocus())
        FocusFromWindow(true);
}

void TSkCustomGlyphButton::ClickUnlessSuppressed()
{
    if (!m_suppressClick)
        Click();
}

// Radio button.

const ClassInfo& TSkRadioButton::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TSkRadioButton>("TSkRadioButton", &TSkCustomGlyphButton::StaticClass())
            .Property("Checked", &TSkRadioButton::Checked, &TSkRadioButton::SetChecked)
            .Build();
    return info;
}

TSkRadioButton::TSkRadioButton(forms::TComponent* owner) : TSkCustomGlyphButton(owner)
{
    SetTabStop(false);
}

void TSkRadioButton::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    SetTabStop(checked);
    Changed(Aspect::State);
    Repaint();
    if (!checked)
        return;
    if (Parent())
        for (TControl* sibling : Parent()->Controls())
            if (auto* radio = dynamic_cast<TSkRadioButton*>(sibling); radio && radio != this)
                radio->SetChecked(false);
    ClickUnlessSuppressed();
}

void TSkRadioButton::SetReadOnly(bool readOnly)
{
    if (readOnly == ReadOnly())
        return;
    TSkCustomGlyphButton::SetReadOnly(readOnly);
    if (Parent())
        for (TControl* sibling : Parent()->Controls())
            if (auto* radio = dynamic_cast<TSkRadioButton*>(sibling); radio && radio != this)
                radio->SetReadOnly(readOnly);
}

void TSkRadioButton::ChangeState()
{
    if (!m_checked && !ReadOnly())
        SetChecked(true);
}

void TSkRadioButton::FocusFromWindow(bool gained)
{
    TSkCustomGlyphButton::FocusFromWindow(gained);
    // Arrow keys and Tab check the button they reach; a mouse press checks on release.
    if (gained && !m_focusByMouse && !ReadOnly() && Enabled())
        SetChecked(true);
}

int TSkRadioButton::CustomCell() const
{
    const int checked = m_checked ? 1 : 0;
    if (!Enabled())
        return 4 + checked;
    return DrawPressed() ? 2 + checked : checked;
}

void TSkRadioButton::FinishGlyph(htmlview::PixelImage& glyph, Rgb32 under) const
{
    // The circle's stair pixels blended into what shows through.
    static constexpr TPoint kHalf[] = {{4, 0},  {8, 0},   {2, 1},  {10, 1}, {1, 2},  {11, 2},
                                       {0, 4},  {12, 4},  {0, 8},  {12, 8}, {1, 10}, {11, 10},
                                       {2, 11}, {10, 11}, {4, 12}, {8, 12}};
    static constexpr TPoint kQuarter[] = {{3, 0}, {9, 0},  {0, 3},  {12, 3},
                                          {0, 9}, {12, 9}, {3, 12}, {9, 12}};
    const Rgb32 frame = ResolveColor(frameColor, DisplayOf(*this));
    for (TPoint p : kHalf)
        SetPixel(glyph, p.x, p.y, BlendColors(frame, under, 128));
    for (TPoint p : kQuarter)
        SetPixel(glyph, p.x, p.y, BlendColors(frame, under, 40));
}

// Check box.

const ClassInfo& TSkCustomCheckBox::StaticClass()
{
    using C = TSkCustomCheckBox;
    static const ClassInfo info =
        ClassBuilder<C>("TSkCustomCheckBox", &TSkCustomGlyphButton::StaticClass())
            .Property("AllowGrayed", &C::allowGrayed)
            .Property("Checked", &C::Checked, &C::SetChecked)
            .Property("State", &C::State, &C::SetState)
            .Build();
    return info;
}

const ClassInfo& TSkCheckBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TSkCheckBox>("TSkCheckBox", &TSkCustomCheckBox::StaticClass()).Build();
    return info;
}

TSkCustomCheckBox::TSkCustomCheckBox(forms::TComponent* owner) : TSkCustomGlyphButton(owner) {}

void TSkCustomCheckBox::SetState(TCheckBoxState state)
{
    if (state == m_state)
        return;
    m_state = state;
    Changed(Aspect::State);
    Repaint();
    ClickUnlessSuppressed();
}

void TSkCustomCheckBox::ChangeState()
{
    if (m_mouseDownOnControl && ReadOnly())
        return;
    switch (m_state) {
        case cbUnchecked:
            SetState(allowGrayed ? cbGrayed : cbChecked);
            break;
        case cbChecked:
            SetState(cbUnchecked);
            break;
        case cbGrayed:
            SetState(cbChecked);
            break;
    }
}

bool TSkCustomCheckBox::KeyFromWindow(bool down, std::uint16_t key, TShiftState shift)
{
    if (key == kKeySpace && down) {
        if (ReadOnly())
            return false;
        m_spacePending = true;
        SetDrawPressed(true);
        return true;
    }
    if (key == kKeyEscape && down && m_spacePending) {
        m_spacePending = false;
        SetDrawPressed(false);
        return true;
    }
    if (key == kKeySpace && !down) {
        SetDrawPressed(false);
        if (!m_spacePending)
            return false;
        m_spacePending = false;
        ChangeState();
        return true;
    }
    return false;
}

void TSkCustomCheckBox::FocusFromWindow(bool gained)
{
    if (!gained) {
        m_spacePending = false;
        SetDrawPressed(false);
    }
    TSkCustomGlyphButton::FocusFromWindow(gained);
}

void TSkCustomCheckBox::Accelerator()
{
    TSkCustomGlyphButton::Accelerator();
    if (HasFocus() && !ReadOnly())
        ChangeState();
}

int TSkCustomCheckBox::CustomCell() const
{
    const int state = static_cast<int>(m_state);
    if (!Enabled())
        return 6 + state;
    return DrawPressed() ? 3 + state : state;
}

}  // namespace setup::ui::skin
