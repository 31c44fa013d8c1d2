// TSkBmpButton: a push or toggle button whose face is one of six bitmaps chosen by its state
// (up, up and focused, disabled, down, stays down, hot under the mouse), with an optional drawn
// border, a caption laid out beside the bitmap, and groups of toggle buttons of which at most one
// stays down.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/picture.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/ui_types.h"

namespace setup::ui::skin {

enum TSkButtonBorder
{
    bbNone,
    bbSingle,
    bbButton,
};
enum TSkButtonSize
{
    bszNeither,
    bszButtonToBitmap,
    bszStretchToButton,
    bszTileToButton,
};
enum TSkButtonStyle
{
    bsAutoDetect,
    bsWin31,
    bsNew,
};

// 0 up, 1 disabled, 2 pressed, 3 stays down.
enum class DrawState
{
    Up,
    Disabled,
    Pressed,
    StayDown,
};

class TSkButtonBitmaps : public forms::TPersistent
{
public:
    FORMS_CLASS_INFO()
    TSkButtonBitmaps();
    ~TSkButtonBitmaps() override;

    enum Slot
    {
        up,
        upAndFocused,
        disabled,
        down,
        stayDown,
        hot,
        slotCount,
    };
    TBitmap* Bitmap(Slot slot) const { return m_bitmaps[slot].get(); }
    void SetBitmap(Slot slot, const TBitmap& bitmap);
    // The bitmap of the slot when it holds a picture, else null.
    const TBitmap* Present(Slot slot) const;
    // The published names of the slots.
    TBitmap* Up() const { return Bitmap(up); }
    void SetUp(TBitmap* b) { SetBitmap(up, *b); }
    TBitmap* UpAndFocused() const { return Bitmap(upAndFocused); }
    void SetUpAndFocused(TBitmap* b) { SetBitmap(upAndFocused, *b); }
    TBitmap* Disabled() const { return Bitmap(disabled); }
    void SetDisabled(TBitmap* b) { SetBitmap(disabled, *b); }
    TBitmap* Down() const { return Bitmap(down); }
    void SetDown(TBitmap* b) { SetBitmap(down, *b); }
    TBitmap* StayDown() const { return Bitmap(stayDown); }
    void SetStayDown(TBitmap* b) { SetBitmap(stayDown, *b); }
    TBitmap* Hot() const { return Bitmap(hot); }
    void SetHot(TBitmap* b) { SetBitmap(hot, *b); }
    TColor TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(TColor color);
    void Assign(const forms::TPersistent& source) override;

    std::function<void()> OnChange;

private:
    void Changed();
    std::unique_ptr<TBitmap> m_bitmaps[slotCount];
    TColor m_transparentColor;
};

// Where a bitmap and a caption go inside a face, as classic push buttons place a glyph: margin
// and spacing of -1 share the free space out.
struct BitmapCaptionLayout
{
    TRect bitmap;
    TRect caption;
};
BitmapCaptionLayout LayoutBitmapAndCaption(const TRect& face, TPoint bitmapSize, TPoint textSize,
                                           TButtonLayout layout, int margin, int spacing);

class TSkBmpButton : public TCustomControl
{
public:
    FORMS_CLASS_INFO()
    explicit TSkBmpButton(forms::TComponent* owner);
    ~TSkBmpButton() override;

    TSkButtonBitmaps* Bitmaps() const { return m_bitmaps.get(); }
    void SetBitmaps(TSkButtonBitmaps* bitmaps) { m_bitmaps->Assign(*bitmaps); }
    TSkButtonBorder ButtonBorder() const { return m_border; }
    void SetButtonBorder(TSkButtonBorder border);
    TSkButtonSize ButtonSize() const { return m_size; }
    void SetButtonSize(TSkButtonSize size);
    TSkButtonStyle ButtonStyle() const { return m_style; }
    void SetButtonStyle(TSkButtonStyle style);
    TButtonLayout layout = blGlyphLeft;
    std::int32_t margin = -1;
    std::int32_t spacing = 4;
    bool showFocus = true;
    bool showDownPattern = true;
    std::int32_t captionDownOffset = 1;
    std::int32_t GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(std::int32_t index) { m_groupIndex = index; }
    bool Down() const { return m_down; }
    // Only grouped buttons stay down; a down button comes up only with AllowAllUp.
    void SetDown(bool down);
    bool allowAllUp = false;
    std::int32_t modalResult = 0;

    DrawState State() const { return m_drawState; }
    bool Pressing() const { return m_pressing; }
    bool MouseInside() const { return m_mouseInside; }
    bool HasFocus() const { return m_hasFocus; }
    // Pixels of the border on each side.
    int BorderWidth() const;
    // The bitmap the face shows now, or null.
    const TBitmap* FaceBitmap() const;

    // Sets the form's modal result, then the click event.
    void Click() override;
    void MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMoveFromWindow(TShiftState shift, int x, int y) override;
    void MouseLeaveFromWindow() override;
    bool KeyFromWindow(bool down, std::uint16_t key, TShiftState shift) override;
    void FocusFromWindow(bool gained) override;
    bool PaintsParentBehind() const override { return m_border == bbNone; }
    unsigned WantedKeys() const override { return kwButton; }
    // The caption's accelerator clicks an enabled button.
    void Accelerator();
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    void Paint(TCanvas& canvas) override;

private:
    void Press();
    void FinishClick(bool inside);
    // Brings up the other down buttons of the group.
    void ReleaseGroup();
    void GroupReleased(const TSkBmpButton& sender);
    void AdjustSize();
    // A property that changes the size the bitmap asks for.
    template <class T>
    void SetSizing(T& field, T value);
    void SetState(DrawState state);
    void PaintBorder(TCanvas& canvas, TRect& face);
    void PaintCaption(TCanvas& canvas, const TRect& rect);

    std::unique_ptr<TSkButtonBitmaps> m_bitmaps;
    TSkButtonBorder m_border = bbNone;
    TSkButtonSize m_size = bszButtonToBitmap;
    TSkButtonStyle m_style = bsAutoDetect;
    std::int32_t m_groupIndex = 0;
    bool m_down = false;
    DrawState m_drawState = DrawState::Up;
    bool m_pressing = false;
    bool m_spacePressing = false;
    bool m_mouseInside = false;
    bool m_hasFocus = false;
    bool m_adjusting = false;
};

}  // namespace setup::ui::skin

SKIN_ENUM_TYPE(TSkButtonBorder, "bbNone", "bbSingle", "bbButton")
SKIN_ENUM_TYPE(TSkButtonSize, "bszNeither", "bszButtonToBitmap", "bszStretchToButton",
               "bszTileToButton")
SKIN_ENUM_TYPE(TSkButtonStyle, "bsAutoDetect", "bsWin31", "bsNew")
