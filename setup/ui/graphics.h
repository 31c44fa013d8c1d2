// The drawing attributes a control and its canvas share: font, brush and pen. Each keeps its values
// in fields and tells its owner of a change, so a control can pass them on to its window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "setup/forms/persistent.h"
#include "setup/forms/property_types.h"
#include "setup/ui/ui_types.h"

namespace setup::ui {

using forms::TColor;
using forms::TFontCharset;
using forms::TSet;

// Colours as the form files store them; negative values name system colours.
inline constexpr TColor clBlack = TColor(0x000000);
inline constexpr TColor clWhite = TColor(0xFFFFFF);
inline constexpr TColor clNavy = TColor(0x800000);
inline constexpr TColor clGray = TColor(0x808080);
inline constexpr TColor clNone = TColor(0x1FFFFFFF);
inline constexpr TColor clDefault = TColor(0x20000000);
inline constexpr TColor clBtnFace = TColor(static_cast<std::int32_t>(0xFF00000F));
inline constexpr TColor clWindow = TColor(static_cast<std::int32_t>(0xFF000005));
inline constexpr TColor clWindowText = TColor(static_cast<std::int32_t>(0xFF000008));
inline constexpr TColor clBtnShadow = TColor(static_cast<std::int32_t>(0xFF000010));
inline constexpr TColor clBtnHighlight = TColor(static_cast<std::int32_t>(0xFF000014));
inline constexpr TColor clInfoBk = TColor(static_cast<std::int32_t>(0xFF000018));
inline constexpr TColor clHighlight = TColor(static_cast<std::int32_t>(0xFF00000D));
inline constexpr TColor clHighlightText = TColor(static_cast<std::int32_t>(0xFF00000E));
inline constexpr TColor clGrayText = TColor(static_cast<std::int32_t>(0xFF000011));
inline constexpr TColor cl3DDkShadow = TColor(static_cast<std::int32_t>(0xFF000015));
inline constexpr TColor cl3DLight = TColor(static_cast<std::int32_t>(0xFF000016));

enum TFontStyle
{
    fsBold,
    fsItalic,
    fsUnderline,
    fsStrikeOut,
};
enum TFontPitch
{
    fpDefault,
    fpVariable,
    fpFixed,
};
enum TBrushStyle
{
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross,
};
enum TPenStyle
{
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
};
using TFontStyles = TSet<TFontStyle>;

// Base of the three: the owner's change hook.
class TGraphicsObject : public forms::TPersistent
{
public:
    FORMS_CLASS_INFO()
    std::function<void()> OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
};

class TFont : public TGraphicsObject
{
public:
    FORMS_CLASS_INFO()
    void Assign(const forms::TPersistent& source) override;

    const std::string& Name() const { return m_name; }
    void SetName(const std::string& name) { Set(m_name, name); }
    // Negative: character height in pixels; positive: cell height.
    std::int32_t Height() const { return m_height; }
    void SetHeight(std::int32_t height) { Set(m_height, height); }
    // Points at 96 pixels per inch.
    std::int32_t Size() const;
    void SetSize(std::int32_t size);
    TColor Color() const { return m_color; }
    void SetColor(TColor color) { Set(m_color, color); }
    TFontCharset Charset() const { return m_charset; }
    void SetCharset(TFontCharset charset) { Set(m_charset, charset); }
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style) { Set(m_style, style); }
    TFontPitch Pitch() const { return m_pitch; }
    void SetPitch(TFontPitch pitch) { Set(m_pitch, pitch); }

    bool operator==(const TFont& other) const;

private:
    template <class T>
    void Set(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }

    std::string m_name = "MS Sans Serif";
    std::int32_t m_height = -11;
    TColor m_color = clWindowText;
    TFontCharset m_charset = TFontCharset(1);
    TFontStyles m_style;
    TFontPitch m_pitch = fpDefault;
};

class TBrush : public TGraphicsObject
{
public:
    FORMS_CLASS_INFO()
    void Assign(const forms::TPersistent& source) override;

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle style);

private:
    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
};

class TPen : public TGraphicsObject
{
public:
    FORMS_CLASS_INFO()
    void Assign(const forms::TPersistent& source) override;

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    std::int32_t Width() const { return m_width; }
    void SetWidth(std::int32_t width);
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle style);

private:
    TColor m_color = clBlack;
    std::int32_t m_width = 1;
    TPenStyle m_style = psSolid;
};

// A colour as red in the low byte; system colours through the given lookup.
std::uint32_t ColorToRgb(TColor color, const std::function<std::uint32_t(int index)>& systemColor);

}  // namespace setup::ui

UI_ENUM_TYPE(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
UI_ENUM_TYPE(TFontPitch, "fpDefault", "fpVariable", "fpFixed")
UI_ENUM_TYPE(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
             "bsBDiagonal", "bsCross", "bsDiagCross")
UI_ENUM_TYPE(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
             "psInsideFrame")
