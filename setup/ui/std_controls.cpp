#include "setup/ui/std_controls.h"

#include <algorithm>
#include <cctype>

#include "setup/forms/class_builder.h"
#include "setup/ui/edit_mask.h"
#include "setup/ui/form.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

TCustomForm* FormOf(const TControl& control)
{
    for (TControl* parent = control.Parent(); parent; parent = parent->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(parent))
            return form;
    return nullptr;
}

}  // namespace

void DrawBevelFrame(TCanvas& canvas, TRect& rect, TBevelCut cut, int width)
{
    if (cut == bvNone)
        return;
    const TColor topLeft = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    for (int i = 0; i < width && rect.Width() > 1 && rect.Height() > 1; ++i) {
        if (cut != bvSpace) {
            canvas.Pen().SetColor(topLeft);
            canvas.MoveTo(rect.left, rect.bottom - 1);
            canvas.LineTo(rect.left, rect.top);
            canvas.LineTo(rect.right - 1, rect.top);
            canvas.Pen().SetColor(bottomRight);
            canvas.LineTo(rect.right - 1, rect.bottom - 1);
            canvas.LineTo(rect.left, rect.bottom - 1);
        }
        rect = rect.Inflated(-1, -1);
    }
}

const ClassInfo& TCustomLabel::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomLabel>("TCustomLabel", &TGraphicControl::StaticClass())
            .Property("Alignment", &TCustomLabel::alignment)
            .Property("AutoSize", &TCustomLabel::autoSize)
            .Property("Caption", &TCustomLabel::Caption, &TCustomLabel::SetCaption)
            .Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
            .Property("Layout", &TCustomLabel::layout)
            .Property("ShowAccelChar", &TCustomLabel::showAccelChar)
            .Property("Transparent", &TCustomLabel::transparent)
            .Property("WordWrap", &TCustomLabel::wordWrap)
            .Build();
    return info;
}

TCustomLabel::TCustomLabel(forms::TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetFocusControl(TWinControl* control)
{
    if (m_focusControl)
        RemoveFreeNotification(m_focusControl);
    m_focusControl = control;
    if (control)
        FreeNotification(control);
}

void TCustomLabel::Notification(forms::TComponent* component, forms::Operation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_focusControl)
        m_focusControl = nullptr;
}

unsigned TCustomLabel::TextFlags() const
{
    unsigned flags = alignment == taCenter         ? unsigned{tfCenter}
                     : alignment == taRightJustify ? unsigned{tfRight}
                                                   : 0u;
    if (wordWrap)
        flags |= tfWordBreak;
    if (!showAccelChar)
        flags |= tfNoPrefix;
    return flags;
}

void TCustomLabel::Paint(TCanvas& canvas)
{
    TRect rect = ClientRect();
    if (!transparent) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(rect);
    }
    canvas.Font().Assign(*Font());
    TRect text = rect;
    if (layout != tlTop) {
        // Measure first, then move the text block down within the label.
        TRect measured = rect;
        if (canvas.Device())
            canvas.Device()->DrawText(measured, Caption(), *Font(), TextFlags() | tfCalcRect);
        const int spare = rect.Height() - measured.Height();
        text.top += layout == tlCenter ? spare / 2 : spare;
    }
    canvas.TextRect(text, Caption(), TextFlags());
}

const ClassInfo& TLabel::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TLabel>("TLabel", &TCustomLabel::StaticClass()).Build();
    return info;
}

const ClassInfo& TCustomEdit::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomEdit>("TCustomEdit", &TWinControl::StaticClass())
            .Property("AutoSelect", &TCustomEdit::autoSelect)
            .Property("BorderStyle", &TCustomEdit::borderStyle)
            .Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase)
            .Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
            .Property("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar)
            .Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
            .Property("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
            .Property("OnChange", &TCustomEdit::onChange)
            .Build();
    return info;
}

TCustomEdit::TCustomEdit(forms::TComponent* owner) : TWinControl(owner)
{
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 21);
}

std::string TCustomEdit::Cased(std::string text) const
{
    if (m_charCase == ecUpperCase)
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    else if (m_charCase == ecLowerCase)
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void TCustomEdit::SetCaption(const std::string& text)
{
    const std::string cased = Cased(text);
    if (cased == m_text)
        return;
    TWinControl::SetCaption(cased);
    // With a window, its change notification runs OnChange.
    if (!HandleAllocated())
        Change();
}

void TCustomEdit::TextFromWindow(const std::string& text)
{
    m_text = text;
    Change();
}

void TCustomEdit::Change()
{
    onChange(this);
}

void TCustomEdit::SetMaxLength(std::int32_t length)
{
    m_maxLength = length < 0 ? 0 : length;
    Changed(Aspect::Style);
}

void TCustomEdit::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    Changed(Aspect::ReadOnly);
}

void TCustomEdit::SetPasswordChar(char c)
{
    m_passwordChar = c;
    Changed(Aspect::Style);
}

void TCustomEdit::SetCharCase(TEditCharCase charCase)
{
    m_charCase = charCase;
    SetCaption(m_text);
    RecreateWnd();
}

const ClassInfo& TEdit::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClass()).Build();
    return info;
}

const ClassInfo& TMaskEdit::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TMaskEdit>("TMaskEdit", &TCustomEdit::StaticClass())
            .Property("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask)
            .Build();
    return info;
}

void TMaskEdit::SetEditMask(const std::string& mask)
{
    m_editMask = mask;
    SetCaption(m_text);
}

void TMaskEdit::SetCaption(const std::string& text)
{
    TCustomEdit::SetCaption(ApplyEditMask(m_editMask, text));
}

const ClassInfo& TCustomMemo::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomMemo>("TCustomMemo", &TCustomEdit::StaticClass())
            .Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines)
            .Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars)
            .Property("WantReturns", &TCustomMemo::wantReturns)
            .Property("WantTabs", &TCustomMemo::wantTabs)
            .Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap)
            .Build();
    return info;
}

TCustomMemo::TCustomMemo(forms::TComponent* owner)
    : TCustomEdit(owner), m_lines(std::make_unique<forms::TStrings>())
{
    SetBounds(0, 0, 185, 89);
    // The lines are the text: a change of either is a change of the other.
    m_lines->OnChange = [this] {
        if (m_syncing)
            return;
        m_syncing = true;
        std::string text = m_lines->Text();
        // The last line's line break is not part of a memo's text.
        if (text.size() >= 2)
            text.resize(text.size() - 2);
        TCustomEdit::SetCaption(text);
        m_syncing = false;
    };
}

void TCustomMemo::SetCaption(const std::string& text)
{
    if (!m_syncing) {
        m_syncing = true;
        m_lines->SetText(text);
        m_syncing = false;
    }
    TCustomEdit::SetCaption(text);
}

void TCustomMemo::SetScrollBars(TScrollStyle style)
{
    if (style == m_scrollBars)
        return;
    m_scrollBars = style;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool wrap)
{
    if (wrap == m_wordWrap)
        return;
    m_wordWrap = wrap;
    RecreateWnd();
}

const ClassInfo& TMemo::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TMemo>("TMemo", &TCustomMemo::StaticClass()).Build();
    return info;
}

const ClassInfo& TRichEdit::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TRichEdit>("TRichEdit", &TCustomMemo::StaticClass())
                                      .Property("HideScrollBars", &TRichEdit::hideScrollBars)
                                      .Property("PlainText", &TRichEdit::plainText)
                                      .Build();
    return info;
}

const ClassInfo& TButtonControl::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TButtonControl>("TButtonControl", &TWinControl::StaticClass()).Build();
    return info;
}

const ClassInfo& TButton::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TButton>("TButton", &TButtonControl::StaticClass())
                                      .Property("Cancel", &TButton::cancel)
                                      .Property("Caption", &TButton::Caption, &TButton::SetCaption)
                                      .Property("Default", &TButton::Default, &TButton::SetDefault)
                                      .Property("ModalResult", &TButton::modalResult)
                                      .Build();
    return info;
}

TButton::TButton(forms::TComponent* owner) : TButtonControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value)
{
    m_default = value;
    Changed(Aspect::Style);
}

void TButton::Click()
{
    if (TCustomForm* form = FormOf(*this))
        form->SetModalResult(modalResult);
    TButtonControl::Click();
}

const ClassInfo& TBitBtn::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TBitBtn>("TBitBtn", &TButton::StaticClass())
                                      .Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
                                      .Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind)
                                      .Property("Layout", &TBitBtn::layout)
                                      .Property("Margin", &TBitBtn::margin)
                                      .Property("NumGlyphs", &TBitBtn::numGlyphs)
                                      .Property("Spacing", &TBitBtn::spacing)
                                      .Build();
    return info;
}

TBitBtn::TBitBtn(forms::TComponent* owner) : TButton(owner), m_glyph(std::make_unique<TBitmap>()) {}

void TBitBtn::SetGlyph(TBitmap* glyph)
{
    m_glyph->Assign(*glyph);
    Changed(Aspect::Paint);
}

void TBitBtn::SetKind(TBitBtnKind kind)
{
    struct KindText
    {
        const char* caption;
        std::int32_t result;
    };
    static constexpr KindText kKinds[] = {
        {"", 0},       {"OK", 1},    {"Cancel", 2}, {"&Help", 0},   {"&Yes", 6}, {"&No", 7},
        {"&Close", 0}, {"Abort", 3}, {"&Retry", 4}, {"&Ignore", 5}, {"&All", 8},
    };
    m_kind = kind;
    if (kind == bkCustom || kind < bkCustom || kind > bkAll)
        return;
    // A caption or result stored after Kind in the form file overrides these.
    SetCaption(kKinds[kind].caption);
    modalResult = kKinds[kind].result;
    SetDefault(kind == bkOK || kind == bkYes);
    cancel = kind == bkCancel || kind == bkNo;
}

TBitBtn::FaceLayout TBitBtn::LayoutFace(TRect face, TPoint textSize) const
{
    const int glyphWidth = m_glyph->Empty() ? 0 : m_glyph->Width() / std::max(1, numGlyphs);
    const int glyphHeight = m_glyph->Empty() ? 0 : m_glyph->Height();
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const int gap = glyphWidth > 0 && textSize.x > 0 ? spacing : 0;
    // The glyph, the gap and the text as one block, centred unless a margin places it.
    const int blockWidth =
        horizontal ? glyphWidth + gap + textSize.x : std::max(glyphWidth, textSize.x);
    const int blockHeight =
        horizontal ? std::max(glyphHeight, textSize.y) : glyphHeight + gap + textSize.y;
    int left = face.left + (face.Width() - blockWidth) / 2;
    int top = face.top + (face.Height() - blockHeight) / 2;
    if (margin >= 0) {
        if (layout == blGlyphLeft)
            left = face.left + margin;
        else if (layout == blGlyphRight)
            left = face.right - margin - blockWidth;
        else if (layout == blGlyphTop)
            top = face.top + margin;
        else
            top = face.bottom - margin - blockHeight;
    }
    FaceLayout result;
    switch (layout) {
        case blGlyphLeft:
            result.glyph =
                TRect::Bounds(left, top + (blockHeight - glyphHeight) / 2, glyphWidth, glyphHeight);
            result.text =
                TRect::Bounds(left + glyphWidth + gap, top + (blockHeight - textSize.y) / 2,
                              textSize.x, textSize.y);
            break;
        case blGlyphRight:
            result.text =
                TRect::Bounds(left, top + (blockHeight - textSize.y) / 2, textSize.x, textSize.y);
            result.glyph =
                TRect::Bounds(left + textSize.x + gap, top + (blockHeight - glyphHeight) / 2,
                              glyphWidth, glyphHeight);
            break;
        case blGlyphTop:
            result.glyph =
                TRect::Bounds(left + (blockWidth - glyphWidth) / 2, top, glyphWidth, glyphHeight);
            result.text = TRect::Bounds(left + (blockWidth - textSize.x) / 2,
                                        top + glyphHeight + gap, textSize.x, textSize.y);
            break;
        case blGlyphBottom:
            result.text =
                TRect::Bounds(left + (blockWidth - textSize.x) / 2, top, textSize.x, textSize.y);
            result.glyph = TRect::Bounds(left + (blockWidth - glyphWidth) / 2,
                                         top + textSize.y + gap, glyphWidth, glyphHeight);
            break;
    }
    return result;
}

void TBitBtn::PaintFace(TCanvas& canvas, TRect face)
{
    canvas.Font().Assign(*Font());
    const TPoint textSize = Caption().empty() ? TPoint{} : canvas.TextExtent(Caption());
    const FaceLayout placed = LayoutFace(face, textSize);
    // Several glyphs side by side: the first is the normal one, drawn at its own size.
    if (const htmlview::PixelImage* pixels = m_glyph->Pixels(); pixels && canvas.Device())
        canvas.Device()->DrawImage(
            placed.glyph,
            CropPixels(*pixels, TRect::Bounds(0, 0, placed.glyph.Width(), placed.glyph.Height())));
    if (!Caption().empty()) {
        TRect text = placed.text;
        canvas.TextRect(text, Caption(), tfSingleLine | tfVCenter | tfLeft);
    }
}

const ClassInfo& TSpeedButton::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TSpeedButton>("TSpeedButton", &TGraphicControl::StaticClass())
            .Property("AllowAllUp", &TSpeedButton::allowAllUp)
            .Property("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption)
            .Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
            .Property("Flat", &TSpeedButton::flat)
            .Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
            .Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
            .Property("Layout", &TSpeedButton::layout)
            .Property("Margin", &TSpeedButton::margin)
            .Property("NumGlyphs", &TSpeedButton::numGlyphs)
            .Property("Spacing", &TSpeedButton::spacing)
            .Build();
    return info;
}

TSpeedButton::TSpeedButton(forms::TComponent* owner)
    : TGraphicControl(owner), m_glyph(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetGlyph(TBitmap* glyph)
{
    m_glyph->Assign(*glyph);
    Changed(Aspect::Paint);
}

void TSpeedButton::SetDown(bool down)
{
    // Only grouped buttons stay down.
    if (m_groupIndex == 0)
        down = false;
    if (down == m_down)
        return;
    m_down = down;
    if (down && Parent()) {
        for (TControl* sibling : Parent()->Controls()) {
            auto* button = dynamic_cast<TSpeedButton*>(sibling);
            if (button && button != this && button->m_groupIndex == m_groupIndex &&
                button->m_down) {
                button->m_down = false;
                button->Changed(Aspect::Paint);
            }
        }
    }
    Changed(Aspect::Paint);
}

void TSpeedButton::Click()
{
    if (m_groupIndex != 0) {
        if (!m_down)
            SetDown(true);
        else if (allowAllUp)
            SetDown(false);
    }
    TGraphicControl::Click();
}

void TSpeedButton::Paint(TCanvas& canvas)
{
    TRect rect = ClientRect();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(rect);
    if (!flat || m_down)
        DrawBevelFrame(canvas, rect, m_down ? bvLowered : bvRaised, 1);
    int textLeft = rect.left;
    if (!m_glyph->Empty()) {
        // Several glyphs side by side: the first is the normal one.
        const int glyphWidth = m_glyph->Width() / (numGlyphs > 0 ? numGlyphs : 1);
        const int top = rect.top + (rect.Height() - m_glyph->Height()) / 2;
        const int left = Caption().empty() ? rect.left + (rect.Width() - glyphWidth) / 2
                                           : rect.left + (margin < 0 ? 4 : margin);
        canvas.StretchDraw(TRect::Bounds(left, top, m_glyph->Width(), m_glyph->Height()), *m_glyph);
        textLeft = left + glyphWidth + spacing;
    }
    if (!Caption().empty()) {
        canvas.Font().Assign(*Font());
        TRect text{textLeft, rect.top, rect.right, rect.bottom};
        canvas.TextRect(text, Caption(),
                        tfSingleLine | tfVCenter | (m_glyph->Empty() ? tfCenter : tfLeft));
    }
}

const ClassInfo& TStaticText::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TStaticText>("TStaticText", &TWinControl::StaticClass())
            .Property("Alignment", &TStaticText::alignment)
            .Property("AutoSize", &TStaticText::autoSize)
            .Property("BorderStyle", &TStaticText::borderStyle)
            .Property("Caption", &TStaticText::Caption, &TStaticText::SetCaption)
            .Property("FocusControl", &TStaticText::focusControl)
            .Property("ShowAccelChar", &TStaticText::showAccelChar)
            .Property("Transparent", &TStaticText::transparent)
            .Build();
    return info;
}

TStaticText::TStaticText(forms::TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 65, 17);
}

}  // namespace setup::ui
