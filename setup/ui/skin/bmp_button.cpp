#include "setup/ui/skin/bmp_button.h"

#include <algorithm>

#include "setup/forms/class_builder.h"
#include "setup/ui/form.h"
#include "setup/ui/skin/blits.h"
#include "setup/ui/skin/flat_glyphs.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/ui/skin/skin_display.h"

namespace setup::ui::skin {

using forms::ClassBuilder;
using forms::ClassInfo;

// Bitmaps.

const ClassInfo& TSkButtonBitmaps::StaticClass()
{
    using B = TSkButtonBitmaps;
    static const ClassInfo info =
        ClassBuilder<B>("TSkButtonBitmaps", &forms::TPersistent::StaticClass())
            .Property("Disabled", &B::Disabled, &B::SetDisabled)
            .Property("Down", &B::Down, &B::SetDown)
            .Property("Hot", &B::Hot, &B::SetHot)
            .Property("StayDown", &B::StayDown, &B::SetStayDown)
            .Property("TransparentColor", &B::TransparentColor, &B::SetTransparentColor)
            .Property("Up", &B::Up, &B::SetUp)
            .Property("UpAndFocused", &B::UpAndFocused, &B::SetUpAndFocused)
            .Build();
    return info;
}

TSkButtonBitmaps::TSkButtonBitmaps() : m_transparentColor(clOlive)
{
    for (auto& bitmap : m_bitmaps)
        bitmap = std::make_unique<TBitmap>();
}

TSkButtonBitmaps::~TSkButtonBitmaps() = default;

void TSkButtonBitmaps::SetBitmap(Slot slot, const TBitmap& bitmap)
{
    m_bitmaps[slot]->Assign(bitmap);
    Changed();
}

const TBitmap* TSkButtonBitmaps::Present(Slot slot) const
{
    const TBitmap* bitmap = m_bitmaps[slot].get();
    return bitmap->Empty() || !bitmap->Pixels() ? nullptr : bitmap;
}

void TSkButtonBitmaps::SetTransparentColor(TColor color)
{
    if (color == m_transparentColor)
        return;
    m_transparentColor = color;
    Changed();
}

void TSkButtonBitmaps::Assign(const forms::TPersistent& source)
{
    auto* other = dynamic_cast<const TSkButtonBitmaps*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    for (int i = 0; i < slotCount; ++i)
        m_bitmaps[i]->Assign(*other->m_bitmaps[i]);
    m_transparentColor = other->m_transparentColor;
    Changed();
}

void TSkButtonBitmaps::Changed()
{
    if (OnChange)
        OnChange();
}

// Layout.

BitmapCaptionLayout LayoutBitmapAndCaption(const TRect& face, TPoint bitmapSize, TPoint textSize,
                                           TButtonLayout layout, int margin, int spacing)
{
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const int room = horizontal ? face.Width() : face.Height();
    const int bitmapLength = horizontal ? bitmapSize.x : bitmapSize.y;
    const int textLength = horizontal ? textSize.x : textSize.y;
    if (bitmapLength == 0 || textLength == 0)
        spacing = 0;
    if (margin == -1 && spacing == -1) {
        const int share = (room - bitmapLength - textLength) / 3;
        margin = share;
        spacing = share;
    } else if (margin == -1) {
        margin = (room - bitmapLength - spacing - textLength) / 2;
    } else if (spacing == -1) {
        spacing = (room - margin - bitmapLength - textLength) / 2;
    }
    BitmapCaptionLayout placed;
    if (horizontal) {
        const int bitmapTop = face.top + (face.Height() - bitmapSize.y) / 2;
        const int textTop = face.top + (face.Height() - textSize.y) / 2;
        int bitmapLeft = face.left + margin;
        int textLeft = bitmapLeft + bitmapSize.x + spacing;
        if (layout == blGlyphRight) {
            bitmapLeft = face.right - margin - bitmapSize.x;
            textLeft = bitmapLeft - spacing - textSize.x;
        }
        placed.bitmap = TRect::Bounds(bitmapLeft, bitmapTop, bitmapSize.x, bitmapSize.y);
        placed.caption = TRect::Bounds(textLeft, textTop, textSize.x, textSize.y);
    } else {
        const int bitmapLeft = face.left + (face.Width() - bitmapSize.x) / 2;
        const int textLeft = face.left + (face.Width() - textSize.x) / 2;
        int bitmapTop = face.top + margin;
        int textTop = bitmapTop + bitmapSize.y + spacing;
        if (layout == blGlyphBottom) {
            bitmapTop = face.bottom - margin - bitmapSize.y;
            textTop = bitmapTop - spacing - textSize.y;
        }
        placed.bitmap = TRect::Bounds(bitmapLeft, bitmapTop, bitmapSize.x, bitmapSize.y);
        placed.caption = TRect::Bounds(textLeft, textTop, textSize.x, textSize.y);
    }
    return placed;
}

// The button.

const ClassInfo& TSkBmpButton::StaticClass()
{
    using C = TSkBmpButton;
    static const ClassInfo info =
        ClassBuilder<C>("TSkBmpButton", &TCustomControl::StaticClass())
            .Property("AllowAllUp", &C::allowAllUp)
            .Property("Bitmaps", &C::Bitmaps, &C::SetBitmaps)
            .Property("ButtonBorder", &C::ButtonBorder, &C::SetButtonBorder)
            .Property("ButtonSize", &C::ButtonSize, &C::SetButtonSize)
            .Property("ButtonStyle", &C::ButtonStyle, &C::SetButtonStyle)
            .Property("Caption", &C::Caption, &C::SetCaption)
            .Property("CaptionDownOffset", &C::captionDownOffset)
            .Property("Down", &C::Down, &C::SetDown)
            .Property("GroupIndex", &C::GroupIndex, &C::SetGroupIndex)
            .Property("Layout", &C::layout)
            .Property("Margin", &C::margin)
            .Property("ModalResult", &C::modalResult)
            .Property("ShowDownPattern", &C::showDownPattern)
            .Property("ShowFocus", &C::showFocus)
            .Property("Spacing", &C::spacing)
            .Build();
    return info;
}

TSkBmpButton::TSkBmpButton(forms::TComponent* owner)
    : TCustomControl(owner), m_bitmaps(std::make_unique<TSkButtonBitmaps>())
{
    SetParentColor(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 80, 30);
    SetTabStop(true);
    m_bitmaps->OnChange = [this] {
        AdjustSize();
        TWinControl::Changed(Aspect::Paint);
    };
}

TSkBmpButton::~TSkBmpButton()
{
    m_bitmaps->OnChange = nullptr;
}

template <class T>
void TSkBmpButton::SetSizing(T& field, T value)
{
    field = value;
    AdjustSize();
    TWinControl::Changed(Aspect::Paint);
}

void TSkBmpButton::SetButtonBorder(TSkButtonBorder border)
{
    SetSizing(m_border, border);
}

void TSkBmpButton::SetButtonSize(TSkButtonSize size)
{
    SetSizing(m_size, size);
}

void TSkBmpButton::SetButtonStyle(TSkButtonStyle style)
{
    SetSizing(m_style, style);
}

int TSkBmpButton::BorderWidth() const
{
    switch (m_border) {
        case bbNone:
            return 0;
        case bbSingle:
            return 1;
        case bbButton:
            // Every system this runs on has new-style controls.
            return m_style == bsWin31 ? 3 : 2;
    }
    return 0;
}

void TSkBmpButton::AdjustSize()
{
    const TBitmap* up = m_bitmaps->Present(TSkButtonBitmaps::up);
    if (m_adjusting || m_size != bszButtonToBitmap || !up || HasState(forms::csLoading))
        return;
    m_adjusting = true;
    const int border = BorderWidth();
    SetBounds(Left(), Top(), up->Width() + 2 * border, up->Height() + 2 * border);
    m_adjusting = false;
}

void TSkBmpButton::SetBounds(int left, int top, int width, int height)
{
    TCustomControl::SetBounds(left, top, width, height);
    AdjustSize();
}

void TSkBmpButton::Loaded()
{
    TCustomControl::Loaded();
    if (m_down && m_groupIndex == 0) {
        m_down = false;
        m_drawState = DrawState::Up;
    }
    AdjustSize();
}

void TSkBmpButton::SetState(DrawState state)
{
    if (state == m_drawState)
        return;
    m_drawState = state;
    TWinControl::Changed(Aspect::Paint);
}

void TSkBmpButton::Click()
{
    for (TWinControl* p = Parent(); p; p = p->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(p)) {
            form->SetModalResult(modalResult);
            break;
        }
    TCustomControl::Click();
}

void TSkBmpButton::SetDown(bool down)
{
    // A page file may name Down before GroupIndex: the group rule waits for the end of reading.
    if (HasState(forms::csLoading)) {
        m_down = down;
        m_drawState = down ? DrawState::StayDown : DrawState::Up;
        return;
    }
    if (m_groupIndex == 0)
        down = false;
    if (down == m_down || (m_down && !down && !allowAllUp))
        return;
    m_down = down;
    if (!down) {
        SetState(DrawState::Up);
        return;
    }
    m_drawState = DrawState::StayDown;
    TWinControl::Changed(Aspect::Paint);
    ReleaseGroup();
}

void TSkBmpButton::ReleaseGroup()
{
    if (m_groupIndex == 0 || !Parent()) {
        SetState(DrawState::Up);
        return;
    }
    for (TControl* sibling : Parent()->Controls())
        if (auto* button = dynamic_cast<TSkBmpButton*>(sibling); button && button != this)
            button->GroupReleased(*this);
}

void TSkBmpButton::GroupReleased(const TSkBmpButton& sender)
{
    if (sender.m_groupIndex != m_groupIndex)
        return;
    if (m_down && sender.m_down) {
        m_down = false;
        SetState(DrawState::Up);
    }
    allowAllUp = sender.allowAllUp;
}

void TSkBmpButton::Press()
{
    if (!m_hasFocus && Visible()) {
        if (PeerFactory())
            SetFocus();
        // A window that cannot report its focus (none yet, or one of a test) still takes it.
        if (!m_hasFocus)
            FocusFromWindow(true);
    }
    if (m_hasFocus && !m_down)
        SetState(DrawState::Pressed);
    m_pressing = true;
}

void TSkBmpButton::FinishClick(bool inside)
{
    if (m_groupIndex == 0) {
        TWinControl::Changed(Aspect::Paint);
    } else if (inside) {
        SetDown(!m_down);
        SetState(m_down ? DrawState::StayDown : DrawState::Up);
    } else {
        SetState(m_down ? DrawState::StayDown : DrawState::Up);
    }
    if (inside)
        Click();
}

void TSkBmpButton::MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x, int y)
{
    MouseEvent(down, button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    if (down) {
        if (shift.Has(ssDouble) && m_down)
            onDblClick(this);
        Press();
        return;
    }
    if (!m_pressing)
        return;
    m_pressing = false;
    ReleaseGroup();
    FinishClick(ClientRect().Contains({x, y}));
}

void TSkBmpButton::MouseMoveFromWindow(TShiftState shift, int x, int y)
{
    if (!m_mouseInside) {
        m_mouseInside = true;
        if (m_bitmaps->Present(TSkButtonBitmaps::hot))
            TWinControl::Changed(Aspect::Paint);
    }
    if (!m_pressing)
        return;
    if (m_down)
        SetState(DrawState::StayDown);
    else
        SetState(ClientRect().Contains({x, y}) ? DrawState::Pressed : DrawState::Up);
}

void TSkBmpButton::MouseLeaveFromWindow()
{
    if (!m_mouseInside)
        return;
    m_mouseInside = false;
    if (m_bitmaps->Present(TSkButtonBitmaps::hot))
        TWinControl::Changed(Aspect::Paint);
}

bool TSkBmpButton::KeyFromWindow(bool down, std::uint16_t key, TShiftState shift)
{
    if (!Enabled())
        return false;
    if (key == kKeySpace && down) {
        Press();
        m_spacePressing = true;
        return true;
    }
    if (key == kKeySpace && m_spacePressing) {
        m_spacePressing = false;
        m_pressing = false;
        m_drawState = DrawState::Up;
        FinishClick(true);
        return true;
    }
    if (key == kKeyEnter && down) {
        Click();
        return true;
    }
    return false;
}

void TSkBmpButton::Accelerator()
{
    if (Enabled())
        Click();
}

void TSkBmpButton::FocusFromWindow(bool gained)
{
    m_hasFocus = gained;
    TWinControl::Changed(Aspect::Paint);
}

const TBitmap* TSkBmpButton::FaceBitmap() const
{
    using S = TSkButtonBitmaps;
    const TBitmap* up = m_bitmaps->Present(S::up);
    switch (m_drawState) {
        case DrawState::Up:
            if (m_mouseInside && m_bitmaps->Present(S::hot))
                return m_bitmaps->Present(S::hot);
            if (m_hasFocus && showFocus && m_bitmaps->Present(S::upAndFocused))
                return m_bitmaps->Present(S::upAndFocused);
            return up;
        case DrawState::Disabled:
            return m_bitmaps->Present(S::disabled) ? m_bitmaps->Present(S::disabled) : up;
        case DrawState::Pressed:
            return m_bitmaps->Present(S::down) ? m_bitmaps->Present(S::down) : up;
        case DrawState::StayDown:
            if (m_bitmaps->Present(S::stayDown))
                return m_bitmaps->Present(S::stayDown);
            return m_bitmaps->Present(S::down) ? m_bitmaps->Present(S::down) : up;
    }
    return up;
}

void TSkBmpButton::PaintBorder(TCanvas& canvas, TRect& face)
{
    const TRect client = ClientRect();
    if (m_border == bbSingle) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.Pen().SetColor(clBlack);
        canvas.Rectangle(client);
        face = face.Inflated(-1, -1);
        return;
    }
    if (m_border != bbButton)
        return;
    const bool pressed = m_drawState == DrawState::Pressed || m_drawState == DrawState::StayDown;
    const int bevel = m_style == bsWin31 ? 1 : 2;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    // Light above and left, dark below and right; the other way round when pressed.
    const TColor light = pressed ? clBtnShadow : clBtnHighlight;
    const TColor dark = pressed ? clBtnHighlight : TColor(0x404040);
    for (int i = 0; i < bevel; ++i) {
        const TRect r = client.Inflated(-i, -i);
        canvas.Pen().SetColor(light);
        canvas.MoveTo(r.left, r.bottom - 1);
        canvas.LineTo(r.left, r.top);
        canvas.LineTo(r.right - 1, r.top);
        canvas.Pen().SetColor(i == 0 ? dark : (pressed ? clBtnFace : clBtnShadow));
        canvas.MoveTo(r.left, r.bottom - 1);
        canvas.LineTo(r.right - 1, r.bottom - 1);
        canvas.LineTo(r.right - 1, r.top - 1);
    }
    face = face.Inflated(-1, -1);
}

void TSkBmpButton::PaintCaption(TCanvas& canvas, const TRect& rect)
{
    canvas.Font().Assign(*Font());
    canvas.Brush().SetStyle(bsClear);
    const unsigned flags = tfCenter | tfVCenter | tfSingleLine;
    auto pass = [&](int offset, TColor color) {
        canvas.Font().SetColor(color);
        canvas.TextRect(rect.Offset(offset, offset), Caption(), flags);
    };
    if (m_drawState == DrawState::Disabled) {
        pass(1, clWhite);
        pass(0, TColor(0x808080));
    } else if (m_drawState == DrawState::Pressed || m_drawState == DrawState::StayDown) {
        pass(captionDownOffset, Font()->Color());
    } else {
        pass(0, Font()->Color());
    }
    if (m_hasFocus && showFocus) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clBlack);
        for (TPoint p : DottedFocusPoints(rect.Inflated(2, 2)))
            canvas.FillRect(TRect::Bounds(p.x, p.y, 1, 1));
    }
}

void TSkBmpButton::Paint(TCanvas& canvas)
{
    if (!Enabled()) {
        m_drawState = DrawState::Disabled;
        m_pressing = false;
    } else if (m_drawState == DrawState::Disabled) {
        m_drawState = m_down ? DrawState::StayDown : DrawState::Up;
    }
    const ISkinDisplay& display = DisplayOf(*this);
    TRect face = ClientRect();
    PaintBorder(canvas, face);
    if (m_drawState == DrawState::StayDown && showDownPattern && m_border != bbNone &&
        canvas.Device()) {
        const TRect area = face.Inflated(1, 1);
        canvas.Device()->DrawImage(
            area, DownPattern(ResolveColor(clBtnFace, display), area.Width(), area.Height()));
    }

    const TBitmap* bitmap = FaceBitmap();
    const Rgb32 key = ResolveColor(m_bitmaps->TransparentColor(), display);
    canvas.Font().Assign(*Font());
    const TPoint textSize = Caption().empty() ? TPoint{} : canvas.TextExtent(Caption());
    const TPoint bitmapSize =
        bitmap && m_size == bszNeither ? TPoint{bitmap->Width(), bitmap->Height()} : TPoint{};
    const BitmapCaptionLayout placed =
        LayoutBitmapAndCaption(face, bitmapSize, textSize, layout, margin, spacing);
    if (bitmap && face.Width() > 0 && face.Height() > 0) {
        htmlview::PixelImage source = *bitmap->Pixels();
        if (m_drawState == DrawState::Disabled && !m_bitmaps->Present(TSkButtonBitmaps::disabled))
            source = EmbossedImage(source, key, key, ResolveColor(clBtnHighlight, display),
                                   ResolveColor(clBtnShadow, display));
        // Drawn on the key colour, then copied without it.
        htmlview::PixelImage layer = NewPixels(face.Width(), face.Height(), key);
        const TRect whole{0, 0, face.Width(), face.Height()};
        switch (m_size) {
            case bszNeither:
                DrawTiledTransparent(layer, placed.bitmap.Offset(-face.left, -face.top), source,
                                     key);
                break;
            case bszButtonToBitmap:
                DrawTiledTransparent(layer,
                                     TRect::Bounds(0, 0, std::min(source.width, face.Width()),
                                                   std::min(source.height, face.Height())),
                                     source, key);
                break;
            case bszStretchToButton:
                DrawStretchedTransparent(layer, whole, source, key);
                break;
            case bszTileToButton:
                DrawTiledTransparent(layer, whole, source, key);
                break;
        }
        DrawTransparentOnCanvas(canvas, {face.left, face.top}, layer, key);
    }
    if (!Caption().empty())
        PaintCaption(canvas, placed.caption);
}

}  // namespace setup::ui::skin
