#include "setup/htmlview/layout/inline_borders.h"

#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/layout_limits.h"
#include "setup/htmlview/style/colors.h"

namespace htmlview {

namespace {

// Inline boxes resolve their percentages against this, as nothing wider is known while reading.
constexpr int kInlineBase = 200;

}  // namespace

void InlineBorders::Add(int sourceIndex, const Properties& properties, bool isStart,
                        int pixelsPerInch)
{
    if (isStart) {
        BoxBases bases;
        bases.width = bases.height = kInlineBase;
        bases.lengths = {pixelsPerInch, properties.emSize, properties.exSize};
        InlineRec rec{sourceIndex, kOpenEnd, &properties, BoxPixelsOf(properties, bases)};
        for (int side = 0; side < 4; ++side) {
            rec.box.borderWidth[side] = std::clamp(rec.box.borderWidth[side], 0, kMaxLayoutLength);
            rec.box.padding[side] = std::clamp(rec.box.padding[side], 0, kMaxLayoutLength);
        }
        m_records.push_back(rec);
        m_converted = false;
        return;
    }
    for (auto it = m_records.rbegin(); it != m_records.rend(); ++it)
        if (it->identity == &properties) {
            it->end = sourceIndex;
            return;
        }
}

const std::vector<InlineRec>& InlineBorders::Records(const Document& document)
{
    if (!m_converted) {
        for (InlineRec& rec : m_records) {
            rec.start = document.DocIndexOf(rec.start, false);
            rec.end = document.DocIndexOf(rec.end, false);
            if (rec.start == rec.end)
                --rec.start;
        }
        m_converted = true;
    }
    return m_records;
}

void PaintInlineBorder(const BorderRec& rec, std::vector<PaintCommand>& commands,
                       const IFontCatalog& fonts)
{
    std::array<int, 4> widths = rec.box.borderWidth;
    if (rec.openStart)
        widths[SideLeft] = 0;
    if (rec.openEnd)
        widths[SideRight] = 0;
    const Rect inner = rec.measured;
    if (rec.box.background != kNoneColor)
        commands.push_back(FillCommand{inner, ResolveColor(rec.box.background, fonts)});
    BorderCommand border;
    border.inner = inner;
    border.outer = {inner.left - widths[SideLeft], inner.top - widths[SideTop],
                    inner.right + widths[SideRight], inner.bottom + widths[SideBottom]};
    for (int side = 0; side < 4; ++side) {
        border.styles[side] = widths[side] > 0 ? rec.box.sideStyle[side] : 0;
        std::uint32_t color = rec.box.sideColor[side];
        if (color == kNoneColor)
            color = rec.box.borderColor;
        border.colors[side] = color == kNoneColor ? kNoneColor : ResolveColor(color, fonts);
    }
    commands.push_back(border);
}

}  // namespace htmlview
