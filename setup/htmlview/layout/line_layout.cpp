// Breaking a text section into lines for the room its cell's floats leave.
#include <algorithm>

#include "setup/htmlview/layout/clear_space.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/util/indent_manager.h"

namespace htmlview {

namespace {

bool IsWide(char16_t c)
{
    return c >= 0x3000;
}

// Floats belong to the whole formatting context, not to the block being laid out.
void PlaceFloat(InlineImage& image, IndentManager& indents, int y)
{
    const void* owner = indents.currentOwner;
    indents.currentOwner = nullptr;
    if (image.align == Align::Left) {
        const int left = indents.LeftEdge(y) - indents.leftOffset;
        const std::size_t index = indents.AddLeft(left + image.TotalWidth(), y);
        indents.SetLeftBottom(index, y + image.TotalHeight());
        image.floatIndent = left + image.hspaceLeft;
    } else {
        const int x = indents.RightEdge(y) - indents.leftOffset - image.TotalWidth();
        const std::size_t index = indents.AddRight(x, y);
        indents.SetRightBottom(index, y + image.TotalHeight());
        image.floatIndent = x + image.hspaceLeft;
    }
    indents.currentOwner = owner;
}

}  // namespace

// The state of one layout pass over a section's text.
class LineBreaker
{
public:
    LineBreaker(TextSection& section, const LayoutArgs& args)
        : s(section), indents(*args.indents), x(args.x), y(args.y)
    {}

    int FitCount(int start, int max);
    void CompleteLine(int start, int count);
    void BlankLine(int height)
    {
        LineRec line;
        line.start = m_nextStart;
        line.textHeight = height;
        line.inkHeight = height;
        s.lines.push_back(line);
        s.layoutHeight += height;
        y += height;
    }
    void PlaceOnce(InlineImage& image, int atY)
    {
        if (std::find(placed.begin(), placed.end(), &image) != placed.end())
            return;
        placed.push_back(&image);
        PlaceFloat(image, indents, atY);
    }

    TextSection& s;
    IndentManager& indents;
    int x, y;
    int floatHeight = 0;
    int lowestInk = 0;
    int m_nextStart = 0;
    std::vector<InlineImage*> deferred;
    std::vector<InlineImage*> placed;
};

int LineBreaker::FitCount(int start, int max)
{
    const std::u16string& text = s.text;
    bool mark = false;
    for (int d = 0; d < max; ++d) {
        if (text[start + d] == kBreakMark) {
            if (d == 0)
                return 1;
            max = d;
            mark = true;
            break;
        }
    }
    const int left = indents.LeftEdge(y) + (start == 0 ? s.firstLineIndent : 0);
    const int width = indents.RightEdge(y) - left;
    if (start == 0 && s.images.empty() &&
        static_cast<long long>(width) >= static_cast<long long>(max) * s.fonts[0]->maxCharWidth &&
        s.fonts.size() == 1)
        return max + (mark ? 1 : 0);

    int sum = 0, result = 0;
    bool lineStart = true;
    for (int i = start; result < max;) {
        const char16_t c = text[i];
        if (IsPlaceholder(c)) {
            InlineImage* image = const_cast<InlineImage*>(s.ImageAt(i));
            if (image && image->IsFloat()) {
                image->paintY = y;
                if (image->control)
                    image->control->layoutY = y;
                if (lineStart) {
                    sum += image->TotalWidth();
                    if (width < sum && (result > 0 || indents.NextWiderY(y) > y))
                        break;
                    PlaceOnce(*image, y);
                    floatHeight = std::max(floatHeight, image->TotalHeight());
                    if (width < sum)
                        return 1;
                } else {
                    deferred.push_back(image);
                }
            } else if (image) {
                sum += image->TotalWidth();
                lineStart = false;
            }
            if (width < sum)
                break;
            ++result;
            ++i;
            continue;
        }
        const int runEnd = s.NextObjectOffset(i, start + max);
        const FontRun& run = s.FontAt(i);
        int runWidth = 0;
        const std::u16string_view piece(text.data() + i, static_cast<std::size_t>(runEnd - i));
        const int fit =
            s.document.measurer.FitCount(run.font.request, piece, width - sum, runWidth);
        result += fit;
        if (result >= max) {
            result = max;
            break;
        }
        if (fit < runEnd - i)
            break;
        lineStart = false;
        sum += runWidth;
        i = runEnd;
    }
    return result + (mark && result == max ? 1 : 0);
}

void LineBreaker::CompleteLine(int start, int count)
{
    const std::u16string& text = s.text;
    LineRec line;
    line.start = start;
    line.charCount = count;
    line.bordersPending = !s.document.inlineBorders.Empty();
    bool onlyMarks = !(count == 1 && text[start] == kBreakMark);
    for (int i = start; i < start + count && onlyMarks; ++i)
        onlyMarks = IsPlaceholder(text[i]) || text[i] == kBreakMark;
    if (!onlyMarks) {
        for (int i = start; i < start + count;) {
            const FontRun& run = s.FontAt(i);
            line.textHeight = std::max(line.textHeight, run.fontHeight);
            line.descent = std::max(line.descent, run.descent);
            i += std::max(1, s.FontCountAt(i));
        }
    }
    if (s.lineHeight >= 0) {
        const int extra = s.lineHeight - line.textHeight;
        line.spaceAfter = extra - extra / 2;
        line.spaceBefore = extra / 2;
    }
    for (const auto& image : s.images) {
        if (image->pos < start || image->pos >= start + count || image->IsFloat())
            continue;
        const int h = image->TotalHeight();
        image->paintY = y;
        if (image->control)
            image->control->layoutY = y;
        switch (image->align) {
            case Align::Top:
                line.spaceAfter = std::max(line.spaceAfter, h - line.textHeight);
                break;
            case Align::Middle: {
                if (line.textHeight == 0) {
                    const FontRun& run = s.FontAt(image->pos);
                    line.textHeight = run.fontHeight;
                    line.descent = run.descent;
                }
                const int d = h - line.textHeight;
                line.spaceAfter = std::max(line.spaceAfter, d / 2);
                line.spaceBefore = std::max(line.spaceBefore, d - d / 2);
                break;
            }
            default:
                line.spaceBefore = std::max(line.spaceBefore, h + line.descent - line.textHeight);
                break;
        }
    }
    for (const auto& run : s.fonts)
        if (run->IsLink() && run->pos >= start && run->pos < start + count)
            run->linkY = y;

    const int left = indents.LeftEdge(y) + (start == 0 ? s.firstLineIndent : 0);
    const int right = indents.RightEdge(y);
    const int w = s.TextWidth(start, count, true);
    switch (s.justify) {
        case Justify::Center:
            line.indent = (right + left - w) / 2 - x;
            break;
        case Justify::Right:
            line.indent = right - x - w;
            break;
        default:
            line.indent = left - x;
            break;
    }
    const bool lastLine = start + count >= static_cast<int>(text.size());
    if (s.justify == Justify::Full && !lastLine) {
        line.extraWidth = std::max(0, right - left - w);
        for (int i = start; i < start + count - 1; ++i)
            if (text[i] == u' ' || text[i] == 0xA0)
                ++line.spaceCount;
    }
    line.availWidth = right - left;
    const int total = line.Height();
    line.inkHeight = std::max(total, floatHeight);
    s.layoutHeight += total;
    y += total;
    for (InlineImage* image : deferred) {
        PlaceOnce(*image, y);
        image->paintY = y;
        if (image->control)
            image->control->layoutY = y;
        line.inkHeight = std::max(line.inkHeight, total + image->TotalHeight());
        lowestInk = std::max(lowestInk, y + image->TotalHeight());
    }
    deferred.clear();
    s.lines.push_back(line);
}

int TextSection::Layout(const LayoutArgs& args, int& maxWidth, int& pos)
{
    return LayoutLines(args, maxWidth, pos, true);
}

int TextSection::LayoutLines(const LayoutArgs& args, int& maxWidth, int& pos, bool wrap)
{
    IndentManager& indents = *args.indents;
    originY = boxTop = inkTop = args.y;
    firstPos = pos;
    layoutHeight = 0;
    lines.clear();
    if (text.empty()) {
        const int height = ClearSpace(indents, clear, args.y);
        layoutHeight = paintHeight = height;
        boxBottom = inkBottom = args.y + height;
        maxWidth = 0;
        availRight = 0;
        return height;
    }
    if (firstLineIndentPercent > 0)
        firstLineIndent = args.availWidth * firstLineIndentPercent / 100;
    availRight = indents.RightEdge(args.y) - args.x;
    const int availWidth =
        std::min(indents.RightEdge(args.y) - indents.LeftEdge(args.y), args.availWidth);
    maxWidth = availWidth;
    for (const auto& image : images) {
        image->ResolveSize(document, availWidth,
                           args.availHeight != 0 ? args.availHeight : args.blockHeight,
                           FontAt(image->pos).IsLink());
        maxWidth = std::max(maxWidth, image->imageWidth);
    }

    LineBreaker breaker(*this, args);
    const int length = static_cast<int>(text.size());
    bool clearChecked = false;
    for (int start = 0; start < length;) {
        const int remaining = length - start;
        breaker.m_nextStart = start;
        if (!clearChecked) {
            clearChecked = true;
            const int space = ClearSpace(indents, clear, breaker.y);
            if (clear != ClearSide::None && space > 0) {
                breaker.BlankLine(space);
                continue;
            }
        }
        breaker.floatHeight = 0;
        int fits = remaining;
        if (!wrap) {
            for (int i = start; i < length; ++i)
                if (text[i] == kBreakMark) {
                    fits = i - start + 1;
                    break;
                }
        } else {
            fits = breaker.FitCount(start, remaining);
        }
        int n = std::max(fits, 1);
        breaker.lowestInk = std::max(breaker.lowestInk, breaker.y + breaker.floatHeight);
        if (fits == 0) {
            const int gap = indents.NextWiderY(breaker.y) - breaker.y;
            if (gap > 0) {
                breaker.BlankLine(gap);
                continue;
            }
        }
        if (n < remaining) {
            const int b = start + n - 1;  // the character before the candidate break
            const char16_t before = text[b];
            const char16_t after = text[b + 1];
            auto takeSpaces = [&] {
                while (start + n < length && text[start + n] == u' ')
                    ++n;
            };
            if ((IsPlaceholder(before) && breakFlags[b] == 'y') ||
                (before == u' ' && breakFlags[b] == 'y') || before == kBreakMark ||
                IsWide(before)) {
                takeSpaces();
            } else if (after == u' ' && breakFlags[b] == 'y') {
                takeSpaces();
            } else if (IsPlaceholder(after) && breakFlags[b + 1] == 'y') {
                // the line ends before the placeholder
            } else {
                int found = -1;
                for (int i = b; i >= start; --i) {
                    const char16_t c = text[i];
                    const bool breakable = c == kControlMark || c == kImageMark || c == u' ' ||
                                           c == u'-' || c == u'?' || IsWide(c) ||
                                           (i + 1 < length && IsWide(text[i + 1]));
                    if (breakable && breakFlags[i] == 'y') {
                        found = i;
                        break;
                    }
                }
                if (found >= 0) {
                    n = found - start + 1;
                    takeSpaces();
                } else {
                    // One word wider than the line: it stays whole.
                    int j = b;
                    while (j + 1 < length) {
                        const char16_t c = text[j];
                        const char16_t next = text[j + 1];
                        if (c == u'-' || c == u'?')
                            break;
                        if ((IsPlaceholder(next) || next == kBreakMark || next == u' ' ||
                             IsWide(next)) &&
                            breakFlags[j + 1] == 'y')
                            break;
                        ++j;
                    }
                    n = j - start + 1;
                    takeSpaces();
                    if (start + n < length && text[start + n] == kBreakMark)
                        ++n;
                    const int gap = indents.NextWiderY(breaker.y) - breaker.y;
                    if (gap > 0) {
                        breaker.BlankLine(gap);
                        continue;
                    }
                    maxWidth = std::max(maxWidth, TextWidth(start, n, true));
                }
            }
        }
        breaker.CompleteLine(start, n);
        start += n;
    }
    pos = firstPos + posCount;
    if (document.firstLineBaseline && *document.firstLineBaseline == 0) {
        for (const LineRec& line : lines) {
            if (line.charCount == 0)
                continue;
            *document.firstLineBaseline =
                originY + line.spaceBefore + line.textHeight - line.descent;
            break;
        }
    }
    paintHeight = std::max(breaker.lowestInk - originY, layoutHeight);
    boxBottom = originY + layoutHeight;
    inkBottom = originY + paintHeight;
    return layoutHeight;
}

int PreformattedSection::Layout(const LayoutArgs& args, int& maxWidth, int& pos)
{
    if (text.empty()) {
        originY = boxTop = inkTop = args.y;
        firstPos = pos;
        lines.clear();
        layoutHeight = paintHeight = fonts.front()->fontHeight;
        boxBottom = inkBottom = args.y + layoutHeight;
        maxWidth = 0;
        return layoutHeight;
    }
    LayoutLines(args, maxWidth, pos, false);
    int min = 0;
    MeasureWidths(min, maxWidth);
    return layoutHeight;
}

}  // namespace htmlview
