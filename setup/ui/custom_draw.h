// What a custom-draw handler of a tree or list view asks of the item being painted: another font
// or background, or to skip the default drawing. One object serves one notification; applying it
// gives the notification's answer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "setup/ui/graphics.h"

namespace setup::ui {

enum TNsCustomDrawStage
{
    cdsNone = 0,
    cdsPrePaint = 1,
    cdsPostPaint = 2,
    cdsItemPrePaint = 4,
    cdsItemPostPaint = 5,
};

// The system's draw stages and answers.
inline constexpr std::uint32_t kDrawStagePrePaint = 1;
inline constexpr std::uint32_t kDrawStagePostPaint = 2;
inline constexpr std::uint32_t kDrawStageItem = 0x10000;
inline constexpr std::uint32_t kDrawNewFont = 2;
inline constexpr std::uint32_t kDrawSkipDefault = 4;
inline constexpr std::uint32_t kDrawNotifyItemDraw = 0x20;

TNsCustomDrawStage StageOfDrawStage(std::uint32_t drawStage);

class TNsCustomDraw
{
public:
    // The item notify mode says whether prepaint asks for item notifications.
    TNsCustomDraw(std::uint32_t drawStage, const TFont& controlFont, TColor textColor,
                  TColor textBackground, bool itemNotify);

    TNsCustomDrawStage Stage() const { return m_stage; }
    // A copy of the control's font in the current text colour, made on first use.
    TFont& ItemFont();
    void SetItemBrushColor(TColor color);
    bool itemNotify;
    // The handler drew the item itself.
    bool skipDefault = false;
    // The handler wrote `result` itself.
    bool resultHandled = false;
    std::uint32_t result = 0;

    // Works out the answer; `clearFirst` (list views) drops even a result the handler wrote.
    void Apply(bool clearFirst);
    // After Apply: the font to select (changed only), and the record's colours.
    bool FontChanged() const;
    bool BrushChanged() const { return m_brush.has_value(); }
    TColor TextColor() const { return m_textColor; }
    TColor TextBackground() const { return m_textBackground; }

private:
    TNsCustomDrawStage m_stage;
    const TFont& m_controlFont;
    TColor m_textColor;
    TColor m_textBackground;
    std::unique_ptr<TFont> m_itemFont;
    std::unique_ptr<TFont> m_itemFontAsMade;
    std::optional<TColor> m_brush;
};

}  // namespace setup::ui
