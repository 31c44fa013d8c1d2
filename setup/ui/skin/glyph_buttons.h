// The skinned check box and radio button: each draws its 13 x 13 glyph itself, from a strip of
// custom glyph cells, in the flat hot-track look, or in the classic look, and its caption beside
// it. Both keep the Windows behaviour of their kind (radio groups by parent, tri-state check
// boxes, the space bar) and add read-only mode, a transparent background, their own fill, focus,
// frame and disabled colours and a frame controller that sets them for many controls at once.
#pragma once

#include <cstdint>
#include <memory>

#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/picture.h"
#include "setup/ui/skin/custom_button.h"
#include "setup/ui/skin/flat_glyphs.h"
#include "setup/ui/skin/frame_controller.h"

namespace setup::ui::skin {

inline constexpr TColor clOlive = TColor(0x008080);
inline constexpr TColor clLime = TColor(0x00FF00);

class TSkCustomGlyphButton : public TSkCustomButton, public IFramingNotification
{
public:
    FORMS_CLASS_INFO()
    explicit TSkCustomGlyphButton(forms::TComponent* owner);
    ~TSkCustomGlyphButton() override;

    TAlignment alignment = taRightJustify;
    TColor fillColor = clWindow;
    TColor focusColor = clWindow;
    TColor frameColor = clBtnShadow;
    TColor disabledColor = clBtnFace;
    TColor readOnlyColor = clInfoBk;
    bool readOnlyColorOnFocus = false;
    TColor transparentColor = clOlive;
    TColor winMaskColor = clLime;
    bool tabOnEnter = false;
    THotTrackStyle hotTrackStyle = htsInterior;
    std::int32_t frameControllerNotifications = kAllFrameNotifications;

    bool ReadOnly() const { return m_readOnly; }
    virtual void SetReadOnly(bool readOnly);
    TBitmap* CustomGlyphs() const { return m_customGlyphs.get(); }
    // A new strip turns custom glyphs on exactly when it is not empty.
    void SetCustomGlyphs(TBitmap* strip);
    bool UseCustomGlyphs() const { return m_useCustomGlyphs; }
    void SetUseCustomGlyphs(bool use);
    TSkFrameController* FrameController() const { return m_frameController; }
    void SetFrameController(TSkFrameController* controller);

    virtual bool Checked() const = 0;
    virtual void SetChecked(bool checked) = 0;

    void ReceiveFramingNotification(const TSkFrameController& controller) override;
    // The glyph of the current state, one cell in size.
    htmlview::PixelImage MakeGlyph() const;
    int GlyphCellWidth() const;
    int GlyphCellHeight() const;
    TRect GlyphRect() const override;
    // Where the caption goes: the client area less one pixel and the glyph's side.
    TRect CaptionRect() const;
    void Paint(TCanvas& canvas) override;
    // With TabOnEnter the window turns Enter into Tab. Dialog navigation hands the caption's
    // accelerator to a button.
    unsigned WantedKeys() const override
    {
        return kwButton | (tabOnEnter ? unsigned{kwAllKeys} : 0u);
    }
    // The caption's accelerator: the focus, as from the keyboard.
    virtual void Accelerator();
    void MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x, int y) override;
    void Loaded() override;
    void DefineProperties(forms::PropertyDefiner& definer) override;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;
    // 0 unchecked, 1 checked, 2 grayed.
    virtual int GlyphState() const = 0;
    virtual int GlyphCellCount() const = 0;
    virtual int CustomCell() const = 0;
    virtual bool IsRadio() const = 0;
    // A transparent glyph's last touch, given what lies under it.
    virtual void FinishGlyph(htmlview::PixelImage& glyph, Rgb32 under) const {}
    // Fires the click unless an action link is changing the state.
    void ClickUnlessSuppressed();

    bool m_mouseDownOnControl = false;
    bool m_suppressClick = false;

private:
    FlatGlyph GlyphLook() const;

    bool m_readOnly = false;
    std::unique_ptr<TBitmap> m_customGlyphs;
    bool m_useCustomGlyphs = false;
    bool m_useCustomGlyphsRead = false;
    TSkFrameController* m_frameController = nullptr;
};

class TSkRadioButton : public TSkCustomGlyphButton
{
public:
    FORMS_CLASS_INFO()
    explicit TSkRadioButton(forms::TComponent* owner);

    bool Checked() const override { return m_checked; }
    // Checking clears the other radio buttons of the same parent and clicks.
    void SetChecked(bool checked) override;
    // Every radio button of the parent follows.
    void SetReadOnly(bool readOnly) override;
    void FocusFromWindow(bool gained) override;

protected:
    void ChangeState() override;
    int GlyphState() const override { return m_checked ? 1 : 0; }
    int GlyphCellCount() const override { return 6; }
    int CustomCell() const override;
    bool IsRadio() const override { return true; }
    void FinishGlyph(htmlview::PixelImage& glyph, Rgb32 under) const override;

private:
    bool m_checked = false;
};

class TSkCustomCheckBox : public TSkCustomGlyphButton
{
public:
    FORMS_CLASS_INFO()
    explicit TSkCustomCheckBox(forms::TComponent* owner);

    bool allowGrayed = false;
    TCheckBoxState State() const { return m_state; }
    void SetState(TCheckBoxState state);
    bool Checked() const override { return m_state == cbChecked; }
    void SetChecked(bool checked) override { SetState(checked ? cbChecked : cbUnchecked); }
    bool SpacePending() const { return m_spacePending; }

    bool KeyFromWindow(bool down, std::uint16_t key, TShiftState shift) override;
    void FocusFromWindow(bool gained) override;
    // Also changes the state, unless read-only.
    void Accelerator() override;

protected:
    void ChangeState() override;
    int GlyphState() const override { return static_cast<int>(m_state); }
    int GlyphCellCount() const override { return 9; }
    int CustomCell() const override;
    bool IsRadio() const override { return false; }

private:
    TCheckBoxState m_state = cbUnchecked;
    bool m_spacePending = false;
};

class TSkCheckBox : public TSkCustomCheckBox
{
public:
    FORMS_CLASS_INFO()
    using TSkCustomCheckBox::TSkCustomCheckBox;
};

}  // namespace setup::ui::skin
