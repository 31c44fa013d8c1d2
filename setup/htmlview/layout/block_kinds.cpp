// The body, list items with their markers, and the box around a rule.
#include <algorithm>
#include <array>

#include "setup/htmlview/layout/block.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/layout_dump.h"
#include "setup/htmlview/layout/rule.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

// A lone LI without a left margin of its own gets this much.
constexpr int kLoneItemMargin = 16;
// Markers are drawn only this close to the clip rectangle.
constexpr int kMarkerSlack = 50;
constexpr int kMarkerGap = 10;
constexpr std::size_t kMaxMarkerLength = 7;

const std::array<const char*, 20> kRomanNumerals = {
    "i",  "ii",  "iii",  "iv",  "v",  "vi",  "vii",  "viii",  "ix",  "x",
    "xi", "xii", "xiii", "xiv", "xv", "xvi", "xvii", "xviii", "xix", "xx"};

std::u16string Widen(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

}  // namespace

std::u16string MarkerText(ListStyle style, int number)
{
    const bool alpha = style == ListStyle::LowerAlpha || style == ListStyle::UpperAlpha;
    const bool roman = style == ListStyle::LowerRoman || style == ListStyle::UpperRoman;
    std::string text;
    if ((alpha || roman) && number >= 1) {
        if (alpha)
            text = std::string(1, static_cast<char>('a' + std::min(number - 1, 25)));
        else
            text = kRomanNumerals[static_cast<std::size_t>(std::min(number, 20) - 1)];
        if (style == ListStyle::UpperAlpha || style == ListStyle::UpperRoman)
            text = UpperAscii(text);
    } else {
        text = std::to_string(number);
    }
    text += '.';
    if (text.size() > kMaxMarkerLength)
        text.resize(kMaxMarkerLength);
    return Widen(text);
}

int BodyBlock::Layout(const LayoutArgs& args, int& maxWidth, int& pos)
{
    IndentManager& indents = *args.indents;
    originY = args.y;
    firstPos = pos;
    box = Resolve(args.availWidth, args.availHeight);
    const int ml = box.margin[SideLeft] == kAutoValue ? 0 : box.margin[SideLeft];
    const int mr = box.margin[SideRight] == kAutoValue ? 0 : box.margin[SideRight];
    box.margin[SideLeft] = ml;
    box.margin[SideRight] = mr;
    const int mt = box.margin[SideTop], mb = box.margin[SideBottom];
    const int x = ml + box.borderWidth[SideLeft] + box.padding[SideLeft];
    contentWidth =
        std::max(0, indents.width - x - mr - box.padding[SideRight] - box.borderWidth[SideRight]);
    contentIndent = x;
    inkTop = mt;
    const void* savedOwner = indents.currentOwner;
    indents.currentOwner = this;
    const std::size_t leftRec = indents.AddLeft(x, args.y);
    const std::size_t rightRec = indents.AddRight(x + contentWidth, args.y);
    boxTop = args.y + mt + box.padding[SideTop] + box.borderWidth[SideTop];
    boxLeft = x;
    LayoutArgs cellArgs;
    cellArgs.x = x;
    cellArgs.y = boxTop;
    cellArgs.availWidth = contentWidth;
    cellArgs.availHeight = args.availHeight - mt - mb;
    cellArgs.blockHeight = args.blockHeight;
    cellArgs.indents = &indents;
    int contentMax = 0;
    LayoutContent(cellArgs, contentMax, pos);
    posCount = pos - firstPos;
    contentBottom = std::max(boxTop, cell.textBottom);
    boxBottom = contentBottom + box.padding[SideBottom] + box.borderWidth[SideBottom] + mb;
    inkBottom = std::max(contentBottom, cell.inkBottom) + box.padding[SideBottom] +
                box.borderWidth[SideBottom];
    cell.textBottom = 999000;
    cell.inkTop = 0;
    indents.DeleteRight(rightRec);
    indents.DeleteLeft(leftRec);
    indents.currentOwner = savedOwner;
    layoutHeight = inkBottom + mb - args.y;
    paintHeight = std::max(indents.FloatBottom() - args.y, layoutHeight);
    maxWidth = std::max(indents.width, std::max(contentMax, contentWidth) + ml + mr);
    if (drawList.empty())
        BuildDrawList();
    return layoutHeight;
}

int BodyBlock::Paint(const PaintArgs& args)
{
    // The viewer paints the page background itself.
    PaintArgs child = args;
    child.x = args.indents->leftOffset + box.margin[SideLeft] + box.borderWidth[SideLeft] +
              box.padding[SideLeft];
    child.refX = args.indents->leftOffset;
    child.refY = 0;
    for (SectionBase* section : drawList)
        section->Paint(child);
    return originY + layoutHeight;
}

void BodyBlock::Dump(std::string& out, int depth) const
{
    DumpLine(out, depth, "body",
             {{"y", originY},
              {"h", layoutHeight},
              {"left", boxLeft},
              {"top", boxTop},
              {"width", contentWidth}});
    cell.Dump(out, depth + 1);
}

ListItemBlock::ListItemBlock(Document& document, const Properties& properties, ListKind kind,
                             int level, int number, char typeLetter, bool plain,
                             const ElementFont& font)
    : Block(document, properties), kind(kind), number(number), listFont(font)
{
    switch (kind) {
        case ListKind::Ordered:
            listStyle = typeLetter == 'A'   ? ListStyle::UpperAlpha
                        : typeLetter == 'I' ? ListStyle::UpperRoman
                        : typeLetter == 'a' ? ListStyle::LowerAlpha
                        : typeLetter == 'i' ? ListStyle::LowerRoman
                                            : ListStyle::Decimal;
            break;
        case ListKind::Unordered: {
            static constexpr std::array<ListStyle, 3> byLevel = {ListStyle::Square, ListStyle::Disc,
                                                                 ListStyle::Circle};
            listStyle = plain ? ListStyle::None : byLevel[static_cast<std::size_t>(level % 3)];
            break;
        }
        case ListKind::Definition:
            listStyle = ListStyle::None;
            break;
        case ListKind::Lone:
            listStyle = ListStyle::Disc;
            if (Resolve(0, 0).margin[SideLeft] == 0)
                style.SetValue(MarginLeft, kLoneItemMargin);
            break;
    }
    if (const int type = ListStyleTypeOf(properties); type != 0)
        listStyle = static_cast<ListStyle>(type);
}

int ListItemBlock::Layout(const LayoutArgs& args, int& maxWidth, int& pos)
{
    firstBaseline = 0;
    int* const saved = document.firstLineBaseline;
    document.firstLineBaseline = &firstBaseline;
    struct Restore
    {
        Document& d;
        int* saved;
        ~Restore() { d.firstLineBaseline = saved; }
    } restore{document, saved};
    return Block::Layout(args, maxWidth, pos);
}

int ListItemBlock::Paint(const PaintArgs& args)
{
    const int result = Block::Paint(args);
    if (displayNone || hidden || firstBaseline <= 0)
        return result;
    if (kind == ListKind::Definition)
        return result;
    const int y = firstBaseline - document.scrollY;
    const Rect& clip = args.plan->clip;
    if (y < clip.top - kMarkerSlack || y > clip.bottom + kMarkerSlack)
        return result;
    const int mx = args.x + contentIndent;
    const std::uint32_t color = ResolveColor(listFont.color, document.fonts);
    auto& commands = args.plan->commands;
    switch (listStyle) {
        case ListStyle::Circle:
            commands.push_back(EllipseCommand{{mx - 16, y - 7, mx - 9, y}, color, false});
            break;
        case ListStyle::Disc:
            commands.push_back(EllipseCommand{{mx - 15, y - 6, mx - 10, y - 1}, color, true});
            break;
        case ListStyle::Square:
            commands.push_back(FillCommand{{mx - 15, y - 6, mx - 10, y - 1}, color});
            break;
        case ListStyle::Blank:
        case ListStyle::None:
            break;
        default: {
            const std::u16string text = MarkerText(listStyle, number);
            const int width = document.measurer.TextWidth(listFont.request, text);
            TextCommand command;
            command.x = mx - kMarkerGap - width;
            command.baseline = y;
            command.font = listFont.request;
            command.color = color;
            command.text = text;
            commands.push_back(command);
            break;
        }
    }
    return result;
}

void ListItemBlock::Dump(std::string& out, int depth) const
{
    DumpLine(
        out, depth, "item",
        {{"number", number}, {"style", static_cast<int>(listStyle)}, {"baseline", firstBaseline}},
        [&] {
            const std::u16string marker = MarkerText(listStyle, number);
            return std::string(marker.begin(), marker.end());
        }());
    Block::Dump(out, depth + 1);
}

RuleBlock::RuleBlock(Document& document, const Properties& properties,
                     const AttributeList& attributes)
    : Block(document, properties)
{
    if (const Attribute* align = attributes.Find(Sym::Align)) {
        const std::string lower = LowerAscii(Trim(align->value));
        ruleAlign = lower == "left" ? Align::Left : lower == "right" ? Align::Right : Align::Middle;
    }
    if (const Attribute* width = attributes.Find(Sym::Width); width && width->number > 0) {
        const bool percent = width->value.find('%') != std::string::npos;
        if (!percent)
            style.SetValue(Width, width->number);
        else if (width->number <= 100)
            style.SetValue(Width, std::to_string(width->number) + "%");
    }
    auto line = std::make_unique<HorzLine>(document, properties, attributes);
    style.SetValue(Height, line->thickness);
    cell.Add(std::move(line));
}

int RuleBlock::ResolveWidth(int availWidth, BoxPixels& b)
{
    if (positioning == Positioning::Absolute)
        ruleAlign = Align::Left;
    const int inner = b.padding[SideLeft] + b.padding[SideRight] + b.borderWidth[SideLeft] +
                      b.borderWidth[SideRight];
    int& ml = b.margin[SideLeft];
    int& mr = b.margin[SideRight];
    if (ml == kAutoValue)
        ml = 0;
    if (mr == kAutoValue)
        mr = 0;
    const int room = availWidth - inner - ml - mr;
    const int width =
        b.width == kAutoValue || b.width < 1 ? std::max(15, room) : std::min(b.width, room);
    const int rest = availWidth - width - inner - ml - mr;
    if (ruleAlign != Align::Left && rest > 0)
        ml += ruleAlign == Align::Middle ? rest / 2 : rest;
    return std::max(0, width);
}

void RuleBlock::Dump(std::string& out, int depth) const
{
    Block::Dump(out, depth);
}

}  // namespace htmlview
