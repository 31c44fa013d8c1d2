#include "setup/ui/graphics.h"

#include <cmath>

#include "setup/forms/class_builder.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TGraphicsObject::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TGraphicsObject>("TGraphicsObject", &forms::TPersistent::StaticClass())
            .Build();
    return info;
}

const ClassInfo& TFont::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TFont>("TFont", &TGraphicsObject::StaticClass())
                                      .Property("Charset", &TFont::Charset, &TFont::SetCharset)
                                      .Property("Color", &TFont::Color, &TFont::SetColor)
                                      .Property("Height", &TFont::Height, &TFont::SetHeight)
                                      .Property("Name", &TFont::Name, &TFont::SetName)
                                      .Property("Pitch", &TFont::Pitch, &TFont::SetPitch)
                                      .Property("Size", &TFont::Size, &TFont::SetSize)
                                      .Property("Style", &TFont::Style, &TFont::SetStyle)
                                      .Build();
    return info;
}

void TFont::Assign(const forms::TPersistent& source)
{
    const auto* font = dynamic_cast<const TFont*>(&source);
    if (!font) {
        TPersistent::Assign(source);
        return;
    }
    if (*this == *font)
        return;
    m_name = font->m_name;
    m_height = font->m_height;
    m_color = font->m_color;
    m_charset = font->m_charset;
    m_style = font->m_style;
    m_pitch = font->m_pitch;
    Changed();
}

bool TFont::operator==(const TFont& other) const
{
    return m_name == other.m_name && m_height == other.m_height && m_color == other.m_color &&
           m_charset == other.m_charset && m_style == other.m_style && m_pitch == other.m_pitch;
}

// Form files are designed at 96 pixels per inch; no scaling is applied on load.
constexpr int kDesignPixelsPerInch = 96;

std::int32_t TFont::Size() const
{
    const long long points =
        std::llround(-static_cast<double>(m_height) * 72 / kDesignPixelsPerInch);
    return static_cast<std::int32_t>(points);
}

void TFont::SetSize(std::int32_t size)
{
    SetHeight(static_cast<std::int32_t>(
        -std::llround(static_cast<double>(size) * kDesignPixelsPerInch / 72)));
}

const ClassInfo& TBrush::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TBrush>("TBrush", &TGraphicsObject::StaticClass())
                                      .Property("Color", &TBrush::Color, &TBrush::SetColor)
                                      .Property("Style", &TBrush::Style, &TBrush::SetStyle)
                                      .Build();
    return info;
}

void TBrush::Assign(const forms::TPersistent& source)
{
    if (const auto* brush = dynamic_cast<const TBrush*>(&source)) {
        m_color = brush->m_color;
        m_style = brush->m_style;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TBrush::SetColor(TColor color)
{
    m_color = color;
    // A colour chosen for a clear brush means the designer wants it painted.
    if (m_style == bsClear)
        m_style = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    m_style = style;
    Changed();
}

const ClassInfo& TPen::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TPen>("TPen", &TGraphicsObject::StaticClass())
                                      .Property("Color", &TPen::Color, &TPen::SetColor)
                                      .Property("Style", &TPen::Style, &TPen::SetStyle)
                                      .Property("Width", &TPen::Width, &TPen::SetWidth)
                                      .Build();
    return info;
}

void TPen::Assign(const forms::TPersistent& source)
{
    if (const auto* pen = dynamic_cast<const TPen*>(&source)) {
        m_color = pen->m_color;
        m_width = pen->m_width;
        m_style = pen->m_style;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TPen::SetColor(TColor color)
{
    m_color = color;
    Changed();
}

void TPen::SetWidth(std::int32_t width)
{
    // A zero or negative width draws nothing on some devices and a hairline on others.
    m_width = width < 1 ? 1 : width;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    m_style = style;
    Changed();
}

std::uint32_t ColorToRgb(TColor color, const std::function<std::uint32_t(int index)>& systemColor)
{
    const auto value = static_cast<std::uint32_t>(color);
    if (value & 0x80000000u)
        return systemColor ? systemColor(static_cast<int>(value & 0xFF)) : 0;
    return value & 0xFFFFFF;
}

}  // namespace setup::ui
