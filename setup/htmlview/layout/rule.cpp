#include "setup/htmlview/layout/rule.h"

#include <algorithm>

#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/layout_dump.h"
#include "setup/htmlview/style/colors.h"

namespace htmlview {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kSilver = 0xC0C0C0;
constexpr std::uint32_t kBlack = 0;
constexpr int kBtnShadow = 16;  // system colour indexes
constexpr int kBtnHighlight = 20;

}  // namespace

HorzLine::HorzLine(Document& document, const Properties& properties,
                   const AttributeList& attributes)
    : SectionBase(document)
{
    if (const Attribute* size = attributes.Find(Sym::Size);
        size && size->number >= 1 && size->number <= 20)
        thickness = size->number;
    if (const Attribute* c = attributes.Find(Sym::Color))
        if (const auto parsed = ParseColor(c->value, false))
            color = *parsed;
    if (properties.IsExplicit(ColorProp))
        if (const auto styled = properties.Integer(ColorProp); styled && *styled != kNotSet)
            color = static_cast<std::uint32_t>(*styled);
    noShade = attributes.Find(Sym::Noshade) != nullptr;
}

int HorzLine::Layout(const LayoutArgs& args, int& maxWidth, int& pos)
{
    firstPos = pos;
    originY = boxTop = inkTop = args.y;
    left = std::max(args.x, args.indents->LeftEdge(args.y));
    width = std::max(
        0, std::min(args.x + args.availWidth - left, args.indents->RightEdge(args.y) - left));
    maxWidth = width;
    layoutHeight = paintHeight = thickness;
    boxBottom = inkBottom = args.y + thickness;
    return thickness;
}

int HorzLine::Paint(const PaintArgs& args)
{
    const int y = originY - document.scrollY;
    const Rect& clip = args.plan->clip;
    if (y >= clip.bottom || y + thickness <= clip.top)
        return originY + layoutHeight;
    const int x = left + args.indents->leftOffset;
    const int right = x + width - 1;
    auto& commands = args.plan->commands;
    if (color != kNoneColor) {
        commands.push_back(
            FillCommand{{x, y, right + 1, y + thickness}, ResolveColor(color, document.fonts)});
        return originY + layoutHeight;
    }
    std::uint32_t light = document.background == kWhite || document.windowColor == kWhite
                              ? kSilver
                              : document.fonts.SystemColor(kBtnHighlight);
    std::uint32_t dark = document.fonts.SystemColor(kBtnShadow);
    if (noShade)
        light = dark = kBlack;
    // A sunken outline: dark on the left and top, light on the right and bottom.
    commands.push_back(FillCommand{{x, y, right + 1, y + 1}, dark});
    commands.push_back(FillCommand{{x, y, x + 1, y + thickness}, dark});
    commands.push_back(FillCommand{{right, y, right + 1, y + thickness}, light});
    commands.push_back(FillCommand{{x + 1, y + thickness - 1, right + 1, y + thickness}, light});
    return originY + layoutHeight;
}

void HorzLine::Dump(std::string& out, int depth) const
{
    DumpLine(out, depth, "rule",
             {{"y", originY}, {"h", layoutHeight}, {"left", left}, {"width", width}});
}

void PageBreak::Dump(std::string& out, int depth) const
{
    DumpLine(out, depth, "page", {{"y", originY}});
}

}  // namespace htmlview
