#include "setup/htmlview/layout/block.h"

#include <algorithm>

#include "setup/htmlview/layout/background_tiles.h"
#include "setup/htmlview/layout/clear_space.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/layout_dump.h"
#include "setup/htmlview/layout/layout_limits.h"
#include "setup/htmlview/layout/rule.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/style/colors.h"

namespace htmlview {

namespace {

// List content keeps this much room left of it for the markers, even beside a float.
constexpr int kMarkerRoom = 35;
// Margins are collapsed before layout knows the room; percentages are taken of this.
constexpr int kCollapseBase = 400;

int OrZero(int value)
{
    return value == kAutoValue || value == kNotSet ? 0 : value;
}

int CombineMargins(int above, int below)
{
    if (above >= 0 && below >= 0)
        return std::max(above, below);
    if (above < 0 && below < 0)
        return std::min(above, below);
    return above + below;
}

}  // namespace

Block::Block(Document& document, const Properties& properties)
    : SectionBase(document), cell(document), style(properties)
{
    cell.owner = this;
    cell.ownerTag = properties.tag.empty() ? "default" : properties.tag;
    if (const auto side = FloatOf(properties))
        floatSide = *side;
    if (const auto c = ClearOf(properties))
        clear = *c;
    positioning = PositionOf(properties);
    hidden = IsHidden(properties);
    displayNone = IsDisplayNone(properties);
    for (int side = 0; side < 4; ++side) {
        const std::string* text = properties.Text(static_cast<Prop>(BorderTopStyle + side));
        hasBorderStyle = hasBorderStyle || (text && BorderStyleCode(*text) != 0);
    }
    blockTitle = properties.title;
    tagClass = properties.tag + "." + properties.cssClass;
    if (const auto color = properties.Integer(ColorProp); color && *color != kNotSet)
        textColor = static_cast<std::uint32_t>(*color);
    backgroundSource = UrlReferenceOf(BackgroundImageOf(properties));
    backgroundPlacement = BackgroundPlacementOf(
        properties, {document.fonts.PixelsPerInch(), properties.emSize, properties.exSize});
    const int z = ZIndexOf(properties);
    if (positioning != Positioning::Static)
        stackOrder = z != 0 ? 10 * z : (positioning == Positioning::Absolute ? 1 : 0);
    else if (IsFloat())
        stackOrder = z != 0 ? 10 * z : 1;
}

BoxPixels Block::Resolve(int baseWidth, int baseHeight) const
{
    BoxBases bases;
    bases.width = baseWidth;
    bases.height = baseHeight;
    bases.lengths.pixelsPerInch = document.fonts.PixelsPerInch();
    bases.lengths.emSize = style.emSize;
    bases.lengths.exSize = style.exSize;
    BoxPixels resolved = BoxPixelsOf(style, bases);
    for (int side = 0; side < 4; ++side) {
        resolved.margin[side] = ClampLength(resolved.margin[side]);
        resolved.padding[side] = std::clamp(resolved.padding[side], 0, kMaxLayoutLength);
        resolved.borderWidth[side] = std::clamp(resolved.borderWidth[side], 0, kMaxLayoutLength);
    }
    for (int* length : {&resolved.width, &resolved.height, &resolved.top, &resolved.left})
        *length = ClampLength(*length);
    if (resolved.width != kAutoValue)
        resolved.width = std::max(0, resolved.width);
    if (resolved.height != kAutoValue)
        resolved.height = std::max(0, resolved.height);
    if (m_marginTop)
        resolved.margin[SideTop] = *m_marginTop;
    if (m_marginBottom)
        resolved.margin[SideBottom] = *m_marginBottom;
    return resolved;
}

void Block::CollapseMargins(CellBasic& ownerCell, const Block* ownerBlock)
{
    const BoxPixels own = Resolve(kCollapseBase, kCollapseBase);
    const bool topAuto = own.collapsibleTop;
    if (positioning == Positioning::Absolute) {
        if (topAuto)
            m_marginTop = 0;
        return;
    }
    if (IsFloat())
        return;
    SectionBase* previous = nullptr;
    for (auto it = ownerCell.sections.rbegin(); it != ownerCell.sections.rend(); ++it) {
        auto* block = dynamic_cast<Block*>(it->get());
        if (block && block->positioning == Positioning::Absolute)
            continue;
        previous = it->get();
        break;
    }
    if (auto* above = dynamic_cast<Block*>(previous)) {
        const BoxPixels aboveBox = above->Resolve(kCollapseBase, kCollapseBase);
        m_marginTop = CombineMargins(aboveBox.margin[SideBottom], own.margin[SideTop]);
        above->m_marginBottom = 0;
    } else if (previous) {
        const bool listItem = ownerCell.ownerTag == "li" &&
                              (tagClass.starts_with("ul.") || tagClass.starts_with("ol."));
        if (listItem && topAuto)
            m_marginTop = 0;
    } else if (topAuto) {
        m_marginTop = 0;
    } else if ((ownerCell.ownerTag == "default" || ownerCell.ownerTag == "body") && ownerBlock) {
        const int ownerTop = ownerBlock->Resolve(kCollapseBase, kCollapseBase).margin[SideTop];
        m_marginTop = std::max(0, own.margin[SideTop] - ownerTop);
    }
}

void Block::MeasureWidths(int& min, int& max)
{
    min = max = 0;
    if (displayNone)
        return;
    int cellMin = 0, cellMax = 0;
    cell.MeasureWidths(cellMin, cellMax);
    const BoxPixels b = Resolve(0, 0);
    const int width = OrZero(b.width);
    const int sides = OrZero(b.margin[SideLeft]) + b.borderWidth[SideLeft] + b.padding[SideLeft] +
                      OrZero(b.margin[SideRight]) + b.borderWidth[SideRight] + b.padding[SideRight];
    min = sides + std::max(cellMin, width);
    max = width < 1 ? sides + std::max(cellMax, width) : min;
}

int Block::ResolveWidth(int availWidth, BoxPixels& b)
{
    int contentMin = 0, contentMax = 0;
    cell.MeasureWidths(contentMin, contentMax);
    const int inner = b.padding[SideLeft] + b.padding[SideRight] + b.borderWidth[SideLeft] +
                      b.borderWidth[SideRight];
    int& ml = b.margin[SideLeft];
    int& mr = b.margin[SideRight];
    const bool widthAuto = b.width == kAutoValue;
    auto computed = [&] {
        const int margins = OrZero(ml) + OrZero(mr);
        int w = availWidth - inner - margins;
        if (positioning == Positioning::Absolute)
            w = std::min(contentMax, w - leftOffset);
        return std::max(w, contentMin);
    };
    int width = widthAuto ? 0 : b.width;
    switch (b.autoCount) {
        case 0:
            width = std::max(width, contentMin);
            break;
        case 1:
            if (widthAuto) {
                width = computed();
            } else {
                width = std::max(width, contentMin);
                if (mr != kAutoValue)
                    ml = std::max(0, availWidth - inner - mr - width);
                else if (!IsFloat())
                    mr = std::max(0, availWidth - inner - OrZero(ml) - width);
                else
                    mr = 0;
            }
            break;
        case 2:
            if (widthAuto) {
                (ml == kAutoValue ? ml : mr) = 0;
                width = computed();
            } else {
                width = std::max(width, contentMin);
                ml = mr = std::max(0, availWidth - width - inner) / 2;
            }
            break;
        default:
            ml = mr = 0;
            width = computed();
            break;
    }
    ml = OrZero(ml);
    mr = OrZero(mr);
    return width;
}

int Block::LayoutContent(const LayoutArgs& cellArgs, int& contentMax, int& pos)
{
    cell.indents = cellArgs.indents;
    const int height = cell.LayoutSections(cellArgs, contentMax, pos);
    cell.textBottom = 0;
    cell.inkTop = kNotLaidOut;
    cell.inkBottom = 0;
    for (const auto& section : cell.sections) {
        const auto* block = dynamic_cast<const Block*>(section.get());
        if (!block || block->positioning != Positioning::Absolute)
            cell.textBottom = std::max(cell.textBottom, section->boxBottom);
        cell.inkTop = std::min(cell.inkTop, section->inkTop);
        cell.inkBottom = std::max(cell.inkBottom, section->inkBottom);
    }
    return height;
}

int Block::Layout(const LayoutArgs& args, int& maxWidth, int& pos)
{
    firstPos = pos;
    if (displayNone) {
        layoutHeight = paintHeight = 0;
        boxBottom = inkBottom = inkTop = boxTop = originY = args.y;
        maxWidth = 0;
        posCount = 0;
        return 0;
    }
    IndentManager& indents = *args.indents;
    int y = args.y;
    int x = args.x;
    originY = y;
    clearAddon = ClearSpace(indents, clear, y);
    maxWidth = args.availWidth;
    box = Resolve(args.availWidth, args.availHeight);
    topOffset = leftOffset = 0;
    if (positioning != Positioning::Static) {
        topOffset = OrZero(box.top);
        leftOffset = OrZero(box.left);
    }
    if (positioning == Positioning::Absolute) {
        x = leftOffset;
        y = args.refY + topOffset;
        originY = y;
    }
    contentWidth = ResolveWidth(args.availWidth, box);
    const void* savedOwner = indents.currentOwner;
    indents.currentOwner = this;
    const int ml = box.margin[SideLeft], mr = box.margin[SideRight];
    const int mt = box.margin[SideTop], mb = box.margin[SideBottom];
    const int pl = box.padding[SideLeft], pr = box.padding[SideRight];
    const int pt = box.padding[SideTop], pb = box.padding[SideBottom];
    const int bl = box.borderWidth[SideLeft], br = box.borderWidth[SideRight];
    const int bt = box.borderWidth[SideTop], bb = box.borderWidth[SideBottom];
    const int boxWidth = ml + pl + bl + mr + pr + br + contentWidth;
    if (const std::string* w = style.Text(Width); w && w->find('%') != std::string::npos)
        contentWidth =
            std::max(0, std::min(contentWidth, args.availWidth - (boxWidth - contentWidth)));
    const int top = clearAddon + y;
    inkTop = mt <= 0 ? top + mt : top;
    if (floatSide == Align::Left)
        contentIndent = std::max(x, indents.LeftEdge(top)) + ml + pl + bl - x;
    else if (floatSide == Align::Right)
        contentIndent =
            std::min(args.availWidth, indents.RightEdge(top) - x) - mr - pr - br - contentWidth;
    else
        contentIndent = ml + pl + bl;
    x += contentIndent;
    if (isListBlock && x < indents.LeftEdge(top) + kMarkerRoom) {
        const int shift = indents.LeftEdge(top) + kMarkerRoom - x;
        contentIndent += shift;
        x += shift;
        contentWidth = std::max(0, contentWidth - shift);
    }
    boxTop = top + mt + pt + bt;
    const std::size_t leftRec = indents.AddLeft(x - indents.leftOffset, boxTop);
    const std::size_t rightRec = indents.AddRight(x + contentWidth - indents.leftOffset, boxTop);
    boxLeft = x;
    const int specHeight = box.height == kAutoValue ? 0 : box.height;
    LayoutArgs cellArgs;
    cellArgs.x = x;
    cellArgs.availWidth = contentWidth;
    cellArgs.availHeight = specHeight;
    cellArgs.blockHeight = specHeight > 0         ? specHeight
                           : args.availHeight > 0 ? args.availHeight
                                                  : args.blockHeight;
    cellArgs.indents = &indents;
    cellArgs.refX = args.refX;
    cellArgs.refY = args.refY;
    cellArgs.y = boxTop;
    if (positioning == Positioning::Relative) {
        cellArgs.y = boxTop + topOffset;
        cellArgs.refY = boxTop + topOffset;
    } else if (positioning == Positioning::Absolute) {
        cellArgs.refX = args.refX + leftOffset + ml + bl;
        cellArgs.refY = args.refY + topOffset + mt + bt;
    }
    int contentMax = 0;
    LayoutContent(cellArgs, contentMax, pos);
    posCount = pos - firstPos;
    maxWidth = boxWidth - contentWidth + contentMax;
    if (positioning != Positioning::Static)
        maxWidth += leftOffset - mr;
    const int textBottom =
        positioning == Positioning::Relative ? cell.textBottom - topOffset : cell.textBottom;
    contentBottom = std::max(boxTop, textBottom);
    if (contentBottom - boxTop < specHeight)
        contentBottom = boxTop + specHeight;
    boxBottom = contentBottom + pb + bb + mb;
    inkBottom = std::max(contentBottom, cell.inkBottom) + pb + bb;
    layoutHeight = boxBottom - y;
    indents.DeleteRight(rightRec);
    indents.DeleteLeft(leftRec);
    indents.currentOwner = savedOwner;

    backgroundWidth = backgroundHeight = 0;
    if (document.imagesShown && !backgroundSource.empty() && document.imageSize)
        if (const auto size = document.imageSize(backgroundSource)) {
            backgroundWidth = size->width;
            backgroundHeight = size->height;
        }

    int result = layoutHeight;
    if (IsFloat() || positioning == Positioning::Absolute) {
        paintHeight = IsFloat() ? layoutHeight : 0;
        indents.currentOwner = nullptr;
        if (floatSide == Align::Left) {
            const std::size_t rec =
                indents.AddLeft(x + contentWidth + mr + pr + br - indents.leftOffset, y);
            indents.SetLeftBottom(rec, inkBottom);
        } else if (floatSide == Align::Right) {
            const std::size_t rec =
                indents.AddRight(indents.RightEdge(y) - boxWidth - indents.leftOffset, y);
            indents.SetRightBottom(rec, inkBottom);
        }
        indents.currentOwner = savedOwner;
        layoutHeight = 0;
        result = 0;
    } else {
        paintHeight = std::max(indents.FloatBottom() - y, layoutHeight);
    }
    if (drawList.empty())
        BuildDrawList();
    return result;
}

void Block::BuildDrawList()
{
    std::vector<SectionBase*> negative, zero, positive;
    for (const auto& section : cell.sections) {
        if (auto* text = dynamic_cast<TextSection*>(section.get()))
            text->ownerBlock = this;
        const int order = section->stackOrder;
        (order < 0 ? negative : order == 0 ? zero : positive).push_back(section.get());
    }
    auto byOrder = [](const SectionBase* a, const SectionBase* b) {
        return a->stackOrder < b->stackOrder;
    };
    std::stable_sort(negative.begin(), negative.end(), byOrder);
    std::stable_sort(positive.begin(), positive.end(), byOrder);
    drawList = negative;
    drawList.insert(drawList.end(), zero.begin(), zero.end());
    drawList.insert(drawList.end(), positive.begin(), positive.end());
}

int Block::Paint(const PaintArgs& args)
{
    if (displayNone)
        return 0;
    const int result = originY + layoutHeight;
    if (hidden)
        return result;
    if (positioning == Positioning::Relative)
        PaintBlock(args, args.x + leftOffset, originY + topOffset);
    else if (positioning == Positioning::Absolute)
        PaintBlock(args, args.refX + leftOffset, args.refY + topOffset);
    else
        PaintBlock(args, args.x, originY);
    return result;
}

void Block::PaintBlock(const PaintArgs& args, int x, int y)
{
    const int scrollY = document.scrollY;
    const int ml = box.margin[SideLeft], mt = box.margin[SideTop], mb = box.margin[SideBottom];
    const int boxX =
        IsFloat() ? x + contentIndent - ml - box.padding[SideLeft] - box.borderWidth[SideLeft] : x;
    Rect border;
    border.left = boxX + ml;
    border.right = border.left + box.borderWidth[SideLeft] + box.padding[SideLeft] + contentWidth +
                   box.padding[SideRight] + box.borderWidth[SideRight];
    border.top = y + clearAddon + mt - scrollY;
    const int bottom = positioning == Positioning::Relative ? boxBottom + topOffset
                       : IsFloat()                          ? inkBottom + mb
                                                            : boxBottom;
    border.bottom = bottom - mb - scrollY;
    Rect padding{border.left + box.borderWidth[SideLeft], border.top + box.borderWidth[SideTop],
                 border.right - box.borderWidth[SideRight],
                 border.bottom - box.borderWidth[SideBottom]};
    titleRect = border;
    const Rect& clip = args.plan->clip;
    if (border.top < clip.bottom && border.bottom > clip.top) {
        if (box.background != kNoneColor) {
            Rect visible = padding;
            visible.top = std::max(padding.top, clip.top - 2);
            visible.bottom = std::min(padding.bottom, clip.bottom + 2);
            if (visible.bottom > visible.top)
                args.plan->commands.push_back(
                    FillCommand{visible, ResolveColor(box.background, document.fonts)});
        }
        for (const Rect& tile :
             BackgroundTiles(padding, backgroundWidth, backgroundHeight, backgroundPlacement, clip))
            args.plan->commands.push_back(ImageCommand{tile, backgroundSource, true, padding});
        if (hasBorderStyle) {
            BorderCommand command{border, padding};
            for (int side = 0; side < 4; ++side) {
                command.styles[side] = box.sideStyle[side];
                std::uint32_t color = box.sideColor[side];
                if (color == kNoneColor)
                    color = box.borderColor != kNoneColor ? box.borderColor : textColor;
                command.colors[side] = ResolveColor(color, document.fonts);
            }
            command.background = box.background == kNoneColor
                                     ? kNoneColor
                                     : ResolveColor(box.background, document.fonts);
            args.plan->commands.push_back(command);
        }
    }
    PaintArgs child = args;
    child.x = x + contentIndent;
    if (positioning == Positioning::Relative) {
        child.refX = boxX + ml + box.borderWidth[SideLeft] + box.padding[SideLeft];
        child.refY = y + mt + box.borderWidth[SideTop] + box.padding[SideTop];
    } else if (positioning == Positioning::Absolute) {
        child.refX = boxX + ml + box.borderWidth[SideLeft];
        child.refY = y + mt + box.borderWidth[SideTop];
    }
    for (SectionBase* section : drawList)
        section->Paint(child);
}

int Block::HitLink(int x, int y, LinkHit& hit)
{
    if (displayNone)
        return 0;
    int flags = 0;
    if (!blockTitle.empty() && titleRect.Contains(x, y - document.scrollY)) {
        hit.title = blockTitle;
        flags |= kHitTitle;
    }
    return flags | cell.HitLink(x, y, hit);
}

int Block::CaretAtPoint(int x, int y, CaretHit& caret)
{
    if (displayNone)
        return -1;
    for (auto it = drawList.rbegin(); it != drawList.rend(); ++it)
        if ((*it)->inkTop <= y && y < (*it)->inkBottom)
            if (const int pos = (*it)->CaretAtPoint(x, y, caret); pos >= 0)
                return pos;
    return -1;
}

int Block::DocIndexOf(int sourceIndex, bool prev) const
{
    return displayNone ? -1 : cell.DocIndexOf(sourceIndex, prev);
}

bool Block::PointOfCaret(int pos, bool measure, int& x, int& y)
{
    return !displayNone && cell.PointOfCaret(pos, measure, x, y);
}

const SectionBase* Block::SectionHolding(int pos) const
{
    return displayNone ? nullptr : cell.SectionHolding(pos);
}

bool Block::CharAt(int pos, char16_t& ch) const
{
    return !displayNone && cell.CharAt(pos, ch);
}

void Block::RegisterPositions(std::vector<SectionBase*>& list)
{
    if (!displayNone)
        cell.RegisterPositions(list);
}

void Block::Dump(std::string& out, int depth) const
{
    DumpLine(out, depth, "block " + tagClass,
             {{"y", originY},
              {"h", layoutHeight},
              {"paint", paintHeight},
              {"left", boxLeft},
              {"top", boxTop},
              {"width", contentWidth},
              {"bottom", boxBottom},
              {"ml", box.margin[SideLeft]},
              {"mt", box.margin[SideTop]},
              {"mr", box.margin[SideRight]},
              {"mb", box.margin[SideBottom]}});
    cell.Dump(out, depth + 1);
}

}  // namespace htmlview
