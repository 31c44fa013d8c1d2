// Painting the lines of a text section: runs in their fonts and colours, the selection,
// sub- and superscripts, justification, images and the dummy caret.
#include <algorithm>

#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/util/indent_manager.h"

namespace htmlview {

namespace {

// Sections and lines this close outside the clip rectangle still paint (italic overhang, images).
constexpr int kCullSlack = 40;
constexpr int kMaxRun = 32000;

struct SelectionRun
{
    bool selected = false;
    int length = kMaxRun;
};

SelectionRun SelectionAt(int offset, int selA, int selB, bool dummyCaret)
{
    if (selB < selA || (selA == selB && !dummyCaret))
        return {};
    if (offset >= selA && offset < selB)
        return {true, std::min(kMaxRun, selB - offset)};
    if (offset < selA)
        return {false, std::min(kMaxRun, selA - offset)};
    return {};
}

}  // namespace

void TextSection::CollectLineBorders(LineRec& line)
{
    line.bordersPending = false;
    line.borders.clear();
    const int lineFirst = firstPos + line.start;
    const int lineEnd = lineFirst + line.charCount;
    for (const InlineRec& rec : document.inlineBorders.Records(document)) {
        if (rec.end <= lineFirst || rec.start >= lineEnd)
            continue;
        BorderRec border;
        border.box = rec.box;
        if (rec.start < lineFirst) {
            border.openStart = true;
            border.borderStart = line.start;
        } else {
            border.borderStart = rec.start - firstPos;
        }
        if (lineEnd < rec.end) {
            border.openEnd = true;
            border.borderEnd = line.start + line.charCount;
        } else {
            border.borderEnd = rec.end - firstPos;
        }
        line.borders.push_back(border);
    }
}

int TextSection::JustifiedShare(const LineRec& line, int spaceIndex) const
{
    if (line.spaceCount <= 0 || spaceIndex >= line.spaceCount)
        return 0;
    const int base = line.extraWidth / line.spaceCount;
    return base + (spaceIndex < line.extraWidth % line.spaceCount ? 1 : 0);
}

int TextSection::Paint(const PaintArgs& args)
{
    paintX = args.x;
    const int result = originY + layoutHeight;
    const int scrollY = document.scrollY;
    const Rect& clip = args.plan->clip;
    if (text.empty() || originY + paintHeight - scrollY + kCullSlack < clip.top ||
        originY - scrollY - kCullSlack >= clip.bottom)
        return result;
    const int selA = document.selFrom - firstPos;
    const int selB = document.selTo - firstPos;
    auto& commands = args.plan->commands;
    int y = originY;
    for (LineRec& line : lines) {
        if (y + line.inkHeight - scrollY + kCullSlack < clip.top ||
            y - scrollY - kCullSlack >= clip.bottom) {
            y += line.Height();
            continue;
        }
        const int bottom = y + line.spaceBefore + line.textHeight;
        const int base = bottom - line.descent;
        int xx = args.x + line.indent;
        line.paintTop = bottom - line.textHeight;
        line.startX = xx;
        const int end = line.start + line.charCount;
        if (line.bordersPending)
            CollectLineBorders(line);
        for (BorderRec& border : line.borders)
            border.started = border.ended = false;
        const std::size_t lineCommands = commands.size();
        int spaceIndex = 0;
        bool atStart = true;
        for (int i = line.start; i < end;) {
            const char16_t c = text[i];
            if (c == kImageMark || c == kControlMark) {
                InlineImage* image = nullptr;
                for (auto& candidate : images)
                    if (candidate->pos == i)
                        image = candidate.get();
                if (image && image->IsFloat()) {
                    const int top = atStart ? y + line.spaceBefore : bottom;
                    image->paintX = args.indents->leftOffset + image->floatIndent;
                    image->paintY = top + image->vspaceTop;
                    document.deferredImages.push_back({image, image->paintX, image->paintY});
                } else if (image) {
                    const FontRun& run = FontAt(i);
                    image->paintX = xx + image->hspaceLeft;
                    switch (image->align) {
                        case Align::Top:
                            image->paintY = line.paintTop + image->vspaceTop;
                            break;
                        case Align::Middle:
                            image->paintY =
                                base + run.descent - run.charHeight / 2 -
                                (image->imageHeight + image->vspaceBottom - image->vspaceTop) / 2;
                            break;
                        default:
                            image->paintY = base - image->imageHeight - image->vspaceBottom;
                            break;
                    }
                    const int frame = image->hasLinkFrame ? 1 : 0;
                    const int left = image->paintX + frame;
                    const int top = image->paintY + frame - scrollY;
                    if (image->control) {
                        image->control->Show(left, top);
                    } else if (image->placeholder) {
                        // A sunken frame around the missing picture.
                        const Rect r{left, top, left + image->objWidth, top + image->objHeight};
                        const std::uint32_t dark = 0x808080, light = 0xFFFFFF;
                        commands.push_back(FillCommand{{r.left, r.top, r.right, r.top + 1}, dark});
                        commands.push_back(
                            FillCommand{{r.left, r.top, r.left + 1, r.bottom}, dark});
                        commands.push_back(
                            FillCommand{{r.right - 1, r.top, r.right, r.bottom}, light});
                        commands.push_back(
                            FillCommand{{r.left, r.bottom - 1, r.right, r.bottom}, light});
                    } else {
                        commands.push_back(ImageCommand{
                            {left, top, left + image->objWidth, top + image->objHeight},
                            image->source,
                            false,
                            {}});
                    }
                    if (image->hasLinkFrame) {
                        const std::uint32_t color = ResolveColor(run.font.color, document.fonts);
                        const Rect r{image->paintX, image->paintY - scrollY,
                                     image->paintX + image->imageWidth,
                                     image->paintY - scrollY + image->imageHeight};
                        commands.push_back(
                            BorderCommand{r,
                                          {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1},
                                          {1, 1, 1, 1},
                                          {color, color, color, color}});
                    }
                    xx += image->TotalWidth();
                    atStart = false;
                }
                ++i;
                continue;
            }
            const FontRun& run = FontAt(i);
            int runEnd = std::min(NextObjectOffset(i, end), end);
            for (BorderRec& border : line.borders) {
                if (border.borderStart > i && border.borderStart < runEnd)
                    runEnd = border.borderStart;
                if (border.borderEnd > i && border.borderEnd < runEnd)
                    runEnd = border.borderEnd;
                if (border.borderEnd == i && border.started && !border.ended) {
                    border.measured.right = xx;
                    border.ended = true;
                }
                const int top = base - (run.fontHeight - run.descent) + 1 - scrollY;
                const int runBottom = base + run.descent - scrollY;
                if (border.borderStart == i && !border.started) {
                    border.started = true;
                    border.measured = {xx, top, xx, runBottom};
                    if (border.box.background == kNoneColor)
                        border.box.background = run.font.background;
                } else if (border.started && !border.ended) {
                    border.measured.top = std::min(border.measured.top, top);
                    border.measured.bottom = std::max(border.measured.bottom, runBottom);
                }
            }
            const SelectionRun selection = SelectionAt(i, selA, selB, document.showDummyCaret);
            runEnd = std::min(runEnd, i + selection.length);
            int drawEnd = runEnd;
            if (runEnd == end && drawEnd > i &&
                (text[drawEnd - 1] == kBreakMark || text[drawEnd - 1] == u' '))
                --drawEnd;
            const int shift = run.shift == ScriptShift::Super ? -run.fontHeight / 3
                              : run.shift == ScriptShift::Sub ? run.descent / 2 + 1
                                                              : 0;
            TextCommand command;
            command.x = xx;
            command.baseline = base + shift - scrollY;
            command.font = run.font.request;
            const std::uint32_t fontColor = ResolveColor(run.font.color, document.fonts);
            if (selection.selected) {
                command.background = fontColor;
                command.color = run.font.background != kNoneColor
                                    ? ResolveColor(run.font.background, document.fonts)
                                    : fontColor ^ 0xFFFFFF;
            } else {
                command.color = fontColor;
                if (run.font.background != kNoneColor)
                    command.background = ResolveColor(run.font.background, document.fonts);
            }
            for (int k = i; k < drawEnd; ++k)
                if (text[k] != kBreakMark)
                    command.text.push_back(text[k]);
            int spaces = 0;
            for (int k = i; k < runEnd; ++k)
                if (k < line.start + line.charCount - 1 && (text[k] == u' ' || text[k] == 0xA0)) {
                    command.extra += JustifiedShare(line, spaceIndex + spaces);
                    ++spaces;
                }
            command.spaces = command.extra > 0 ? spaces : 0;
            if (command.spaces == 0)
                command.extra = 0;
            if (dynamic_cast<const PreformattedSection*>(this)) {
                command.clipped = true;
                command.clip = {args.indents->leftOffset, line.paintTop - scrollY,
                                args.indents->leftOffset + args.indents->width,
                                bottom + 1 - scrollY};
            }
            const int width =
                document.measurer.TextWidth(command.font, command.text) + command.extra;
            if (document.showDummyCaret && !selection.selected && i == selA) {
                const int caretBottom = base + run.descent + shift - scrollY;
                commands.push_back(FillCommand{
                    {xx, caretBottom - run.fontHeight, xx + 1, caretBottom}, fontColor});
            }
            if (!command.text.empty())
                commands.push_back(std::move(command));
            if (run.linkFocused) {
                const int focusBottom = base + run.descent + shift - scrollY;
                commands.push_back(
                    FocusCommand{{xx, focusBottom - run.fontHeight, xx + width + 1, focusBottom}});
            }
            spaceIndex += spaces;
            xx += width;
            atStart = false;
            i = runEnd;
        }
        std::vector<PaintCommand> borderCommands;
        for (BorderRec& border : line.borders) {
            if (!border.started)
                continue;
            if (!border.ended)
                border.measured.right = xx;
            PaintInlineBorder(border, borderCommands, document.fonts);
        }
        commands.insert(commands.begin() + static_cast<std::ptrdiff_t>(lineCommands),
                        borderCommands.begin(), borderCommands.end());
        y += line.Height();
    }
    return result;
}

}  // namespace htmlview
