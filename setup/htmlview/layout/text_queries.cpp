// What lies under a point of a painted text section, where a document position is painted, and
// which document position an HTML source index maps to.
#include <algorithm>

#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/parser/area_map.h"

namespace htmlview {

int TextSection::LineWidthTo(const LineRec& line, int count) const
{
    int width = TextWidth(line.start, count, false);
    int spaceIndex = 0;
    for (int i = line.start; i < line.start + count && i < line.start + line.charCount - 1; ++i)
        if (text[i] == u' ' || text[i] == 0xA0)
            width += JustifiedShare(line, spaceIndex++);
    return width;
}

int TextSection::FitCountAt(const LineRec& line, int width) const
{
    // Widths grow with the count, so the largest count that fits is found by halving.
    int low = 0, high = line.charCount;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (LineWidthTo(line, mid) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

int TextSection::HitLink(int x, int y, LinkHit& hit)
{
    for (const auto& image : images) {
        const int frame = image->hasLinkFrame ? 2 : 0;
        const int dx = x - image->paintX, dy = y - image->paintY;
        if (dx < 0 || dy < 0 || dx >= image->imageWidth - frame || dy >= image->imageHeight - frame)
            continue;
        int flags = 0;
        hit.image = image.get();
        hit.imageX = dx;
        hit.imageY = dy;
        const std::string& title = !image->title.empty() ? image->title : image->alt;
        if (!title.empty()) {
            hit.title = title;
            flags |= kHitTitle;
        }
        if (image->clickTarget) {
            hit.imageButton = image->clickTarget;
            flags |= kHitControl;
        }
        if (image->clickTarget)
            return flags;
        if (const MapItem* map = image->useMap ? document.FindMap(image->mapName) : nullptr) {
            if (const std::optional<AreaLink> area = map->LinkAt(dx, dy)) {
                hit.target.url = area->href;
                hit.target.target = area->target;
                flags |= kHitLink;
                if (!area->title.empty()) {
                    hit.title = area->title;
                    flags |= kHitTitle;
                }
            }
            return flags;
        }
        FontRun& run = const_cast<FontRun&>(FontAt(image->pos));
        if (run.IsLink()) {
            hit.target = run.link;
            if (image->isMap)
                hit.target.url += "?" + std::to_string(dx) + "," + std::to_string(dy);
            document.hoverLink = &run;
            flags |= kHitLink;
        }
        return flags;
    }
    for (const LineRec& line : lines) {
        if (!(line.paintTop < y && y <= line.paintTop + line.textHeight))
            continue;
        if (x < line.startX)
            return 0;
        const int n = FitCountAt(line, x - line.startX);
        if (n >= line.charCount || text[line.start + n] == kImageMark)
            return 0;
        FontRun& run = const_cast<FontRun&>(FontAt(line.start + n));
        int flags = 0;
        if (run.IsLink()) {
            hit.target = run.link;
            document.hoverLink = &run;
            flags |= kHitLink;
        }
        if (!run.title.empty()) {
            hit.title = run.title;
            flags |= kHitTitle;
        }
        return flags;
    }
    return 0;
}

int TextSection::CaretAtPoint(int x, int y, CaretHit& caret)
{
    if (x < paintX)
        return -1;
    int top = boxTop;
    const LineRec* found = nullptr;
    for (const LineRec& line : lines) {
        if (top + line.Height() > y) {
            found = &line;
            break;
        }
        top += line.Height();
    }
    if (!found || x > found->startX + found->availWidth)
        return -1;
    const LineRec& line = *found;
    caret.height = line.textHeight;
    caret.y = top + line.spaceBefore;
    caret.inText = true;
    if (x < line.startX) {
        caret.x = line.startX;
        caret.inText = false;
        return firstPos + line.start;
    }
    int n = FitCountAt(line, x - line.startX);
    const int widthN = LineWidthTo(line, n);
    caret.x = line.startX + widthN;
    if (n < line.charCount) {
        const int w = LineWidthTo(line, n + 1) - widthN;
        if (widthN + w / 2 < x - line.startX) {
            caret.x += w;
            ++n;
        }
    }
    if (n >= line.charCount)
        caret.inText = false;
    return firstPos + line.start + n;
}

bool TextSection::PointOfCaret(int pos, bool measure, int& x, int& y)
{
    if (text.empty() || pos < firstPos || pos > firstPos + posCount)
        return false;
    const int offset = pos - firstPos;
    int top = boxTop;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineRec& line = lines[i];
        const bool last = i + 1 == lines.size();
        const bool holds = line.charCount > 0 && offset >= line.start &&
                           (offset < line.start + line.charCount ||
                            (last && offset == line.start + line.charCount));
        if (holds) {
            y = top;
            x = measure ? line.startX + LineWidthTo(line, offset - line.start) : line.startX;
            return true;
        }
        top += line.Height();
    }
    return false;
}

bool TextSection::CharAt(int pos, char16_t& ch) const
{
    if (pos < firstPos || pos >= firstPos + posCount)
        return false;
    ch = text[static_cast<std::size_t>(pos - firstPos)];
    return true;
}

int TextSection::DocIndexOf(int sourceIndex, bool prev) const
{
    if (text.empty() || positionMap.empty())
        return -1;
    const PositionRun& last = positionMap.back();
    const int lastSource = last.sourceIndex + (posCount - last.docOffset) - 1;
    if (prev && sourceIndex < positionMap.front().sourceIndex)
        return -1;
    if (sourceIndex > lastSource)
        return prev ? firstPos + posCount - 1 : -1;
    if (!prev && sourceIndex <= positionMap.front().sourceIndex)
        return firstPos;
    for (std::size_t i = 0; i + 1 < positionMap.size(); ++i) {
        const PositionRun& run = positionMap[i];
        const PositionRun& next = positionMap[i + 1];
        if (sourceIndex >= run.sourceIndex && sourceIndex < next.sourceIndex) {
            const int candidate = sourceIndex + run.docOffset - run.sourceIndex;
            if (candidate < next.docOffset)
                return firstPos + candidate;
            return prev ? firstPos + next.docOffset - 1 : firstPos + next.docOffset;
        }
    }
    return firstPos + last.docOffset + sourceIndex - last.sourceIndex;
}

}  // namespace htmlview
