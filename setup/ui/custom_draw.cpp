#include "setup/ui/custom_draw.h"

namespace setup::ui {

TNsCustomDrawStage StageOfDrawStage(std::uint32_t drawStage)
{
    switch (drawStage) {
        case kDrawStagePrePaint:
            return cdsPrePaint;
        case kDrawStagePostPaint:
            return cdsPostPaint;
        case kDrawStageItem | kDrawStagePrePaint:
            return cdsItemPrePaint;
        case kDrawStageItem | kDrawStagePostPaint:
            return cdsItemPostPaint;
        default:
            return cdsNone;
    }
}

TNsCustomDraw::TNsCustomDraw(std::uint32_t drawStage, const TFont& controlFont, TColor textColor,
                             TColor textBackground, bool itemNotify)
    : itemNotify(itemNotify),
      m_stage(StageOfDrawStage(drawStage)),
      m_controlFont(controlFont),
      m_textColor(textColor),
      m_textBackground(textBackground)
{
}

TFont& TNsCustomDraw::ItemFont()
{
    if (!m_itemFont) {
        m_itemFont = std::make_unique<TFont>();
        m_itemFont->Assign(m_controlFont);
        m_itemFont->SetColor(m_textColor);
        m_itemFontAsMade = std::make_unique<TFont>();
        m_itemFontAsMade->Assign(*m_itemFont);
    }
    return *m_itemFont;
}

void TNsCustomDraw::SetItemBrushColor(TColor color)
{
    m_brush = color;
}

bool TNsCustomDraw::FontChanged() const
{
    return m_itemFont && !(*m_itemFont == *m_itemFontAsMade);
}

void TNsCustomDraw::Apply(bool clearFirst)
{
    if (clearFirst || !resultHandled)
        result = 0;
    if (m_stage == cdsPrePaint) {
        if (!resultHandled && itemNotify)
            result |= kDrawNotifyItemDraw;
        return;
    }
    if (m_stage != cdsItemPrePaint)
        return;
    if (skipDefault) {
        if (!resultHandled)
            result |= kDrawSkipDefault;
        return;
    }
    if (FontChanged()) {
        result |= kDrawNewFont;
        m_textColor = m_itemFont->Color();
    }
    if (m_brush)
        m_textBackground = *m_brush;
}

}  // namespace setup::ui
