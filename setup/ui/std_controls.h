// Labels, edits, memos and buttons: the text controls of a page. State lives in fields; the
// window reports what the user changed through the *FromWindow calls, which then run the events.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "setup/forms/strings.h"
#include "setup/ui/control.h"
#include "setup/ui/picture.h"

namespace setup::ui {

enum TTextLayout
{
    tlTop,
    tlCenter,
    tlBottom,
};
enum TEditCharCase
{
    ecNormal,
    ecUpperCase,
    ecLowerCase,
};
enum TScrollStyle
{
    ssNone,
    ssHorizontal,
    ssVertical,
    ssBoth,
};
enum TBitBtnKind
{
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll,
};
enum TButtonLayout
{
    blGlyphLeft,
    blGlyphRight,
    blGlyphTop,
    blGlyphBottom,
};
enum TStaticBorderStyle
{
    sbsNone,
    sbsSingle,
    sbsSunken,
};

class TCustomLabel : public TGraphicControl
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomLabel(forms::TComponent* owner);

    TAlignment alignment = taLeftJustify;
    bool autoSize = true;
    bool wordWrap = false;
    bool transparent = false;
    TTextLayout layout = tlTop;
    bool showAccelChar = true;
    TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* control);

    // DrawText flags for the label's alignment, layout, wrapping and accelerator.
    unsigned TextFlags() const;
    void Paint(TCanvas& canvas) override;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    TWinControl* m_focusControl = nullptr;
};

class TLabel : public TCustomLabel
{
public:
    FORMS_CLASS_INFO()
    using TCustomLabel::TCustomLabel;
};

class TCustomEdit : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomEdit(forms::TComponent* owner);

    void SetCaption(const std::string& text) override;
    std::int32_t MaxLength() const { return m_maxLength; }
    void SetMaxLength(std::int32_t length);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    char PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(char c);
    TEditCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase charCase);
    bool autoSelect = true;
    TBorderStyle borderStyle = bsSingle;

    // The window's text after the user (or the system) changed it.
    void TextFromWindow(const std::string& text);
    // Runs OnChange.
    virtual void Change();
    TNotifyEvent onChange;

private:
    std::string Cased(std::string text) const;

    std::int32_t m_maxLength = 0;
    bool m_readOnly = false;
    char m_passwordChar = 0;
    TEditCharCase m_charCase = ecNormal;
};

class TEdit : public TCustomEdit
{
public:
    FORMS_CLASS_INFO()
    using TCustomEdit::TCustomEdit;
};

class TMaskEdit : public TCustomEdit
{
public:
    FORMS_CLASS_INFO()
    using TCustomEdit::TCustomEdit;
    const std::string& EditMask() const { return m_editMask; }
    void SetEditMask(const std::string& mask);
    void SetCaption(const std::string& text) override;

private:
    std::string m_editMask;
};

class TCustomMemo : public TCustomEdit
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomMemo(forms::TComponent* owner);

    forms::TStrings* Lines() const { return m_lines.get(); }
    void SetLines(forms::TStrings* lines) { m_lines->Assign(*lines); }
    void SetCaption(const std::string& text) override;
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle style);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wrap);
    bool wantReturns = true;
    bool wantTabs = false;

private:
    std::unique_ptr<forms::TStrings> m_lines;
    TScrollStyle m_scrollBars = ssNone;
    bool m_wordWrap = true;
    bool m_syncing = false;
};

class TMemo : public TCustomMemo
{
public:
    FORMS_CLASS_INFO()
    using TCustomMemo::TCustomMemo;
};

class TRichEdit : public TCustomMemo
{
public:
    FORMS_CLASS_INFO()
    using TCustomMemo::TCustomMemo;
    bool plainText = false;
    bool hideScrollBars = true;
};

class TButtonControl : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    using TWinControl::TWinControl;
};

class TButton : public TButtonControl
{
public:
    FORMS_CLASS_INFO()
    explicit TButton(forms::TComponent* owner);

    bool Default() const { return m_default; }
    void SetDefault(bool value);
    bool cancel = false;
    std::int32_t modalResult = 0;
    // Sets the form's modal result from ModalResult, then runs OnClick.
    void Click() override;

private:
    bool m_default = false;
};

class TBitBtn : public TButton
{
public:
    FORMS_CLASS_INFO()
    explicit TBitBtn(forms::TComponent* owner);

    TBitBtnKind Kind() const { return m_kind; }
    // A kind other than custom brings its caption and modal result.
    void SetKind(TBitBtnKind kind);
    TBitmap* Glyph() const { return m_glyph.get(); }
    void SetGlyph(TBitmap* glyph);
    std::int32_t numGlyphs = 1;
    TButtonLayout layout = blGlyphLeft;
    std::int32_t margin = -1;
    std::int32_t spacing = 4;

    // Where the glyph's first image and the caption go within the button's face.
    struct FaceLayout
    {
        TRect glyph;
        TRect text;
    };
    FaceLayout LayoutFace(TRect face, TPoint textSize) const;
    // Draws the glyph and the caption on a face already drawn as a button.
    void PaintFace(TCanvas& canvas, TRect face);

private:
    TBitBtnKind m_kind = bkCustom;
    std::unique_ptr<TBitmap> m_glyph;
};

// A windowless button: paints itself and takes clicks from its parent's window.
class TSpeedButton : public TGraphicControl
{
public:
    FORMS_CLASS_INFO()
    explicit TSpeedButton(forms::TComponent* owner);

    TBitmap* Glyph() const { return m_glyph.get(); }
    void SetGlyph(TBitmap* glyph);
    bool Down() const { return m_down; }
    // Within a group, the button pressed releases the others.
    void SetDown(bool down);
    std::int32_t GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(std::int32_t index) { m_groupIndex = index; }
    bool flat = false;
    bool allowAllUp = false;
    std::int32_t numGlyphs = 1;
    TButtonLayout layout = blGlyphLeft;
    std::int32_t margin = -1;
    std::int32_t spacing = 4;

    void Click() override;
    void Paint(TCanvas& canvas) override;

private:
    std::unique_ptr<TBitmap> m_glyph;
    bool m_down = false;
    std::int32_t m_groupIndex = 0;
};

class TStaticText : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TStaticText(forms::TComponent* owner);

    TAlignment alignment = taLeftJustify;
    bool autoSize = true;
    TStaticBorderStyle borderStyle = sbsNone;
    bool transparent = false;
    bool showAccelChar = true;
    TWinControl* focusControl = nullptr;
};

// Draws a raised or lowered frame of the given width, as panels and bevels do.
void DrawBevelFrame(TCanvas& canvas, TRect& rect, TBevelCut cut, int width);

}  // namespace setup::ui

UI_ENUM_TYPE(TTextLayout, "tlTop", "tlCenter", "tlBottom")
UI_ENUM_TYPE(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")
UI_ENUM_TYPE(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")
UI_ENUM_TYPE(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
             "bkAbort", "bkRetry", "bkIgnore", "bkAll")
UI_ENUM_TYPE(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")
UI_ENUM_TYPE(TStaticBorderStyle, "sbsNone", "sbsSingle", "sbsSunken")
