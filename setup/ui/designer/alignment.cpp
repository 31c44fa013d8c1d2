#include "setup/ui/designer/alignment.h"

#include <algorithm>
#include <numeric>

namespace setup::ui {
namespace {

// One axis of a rectangle: its start (left or top) and its length.
struct Span
{
    int start;
    int length;
    int End() const { return start + length; }
};

Span SpanOf(const TRect& rect, bool horizontal)
{
    return horizontal ? Span{rect.left, rect.Width()} : Span{rect.top, rect.Height()};
}

void MoveStart(TRect& rect, bool horizontal, int start)
{
    if (horizontal)
        rect = TRect::Bounds(start, rect.top, rect.Width(), rect.Height());
    else
        rect = TRect::Bounds(rect.left, start, rect.Width(), rect.Height());
}

}  // namespace

void AlignRects(std::vector<TRect>& rects, AlignCode code, bool horizontal,
                std::size_t selectedCount, int parentExtent)
{
    if (code == AlignCode::None || rects.empty())
        return;
    if (code != AlignCode::CentreInWindow && selectedCount < 2)
        return;
    int minStart = SpanOf(rects.front(), horizontal).start;
    int maxEnd = SpanOf(rects.front(), horizontal).End();
    for (const TRect& rect : rects) {
        minStart = std::min(minStart, SpanOf(rect, horizontal).start);
        maxEnd = std::max(maxEnd, SpanOf(rect, horizontal).End());
    }
    // Sorting by start keeps equal starts in selection order.
    std::vector<std::size_t> order(rects.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return SpanOf(rects[a], horizontal).start < SpanOf(rects[b], horizontal).start;
    });
    switch (code) {
        case AlignCode::LeftsOrTops:
            for (TRect& rect : rects)
                MoveStart(rect, horizontal, minStart);
            break;
        case AlignCode::Centres: {
            const int centre = (minStart + maxEnd) / 2;
            for (TRect& rect : rects)
                MoveStart(rect, horizontal, centre - SpanOf(rect, horizontal).length / 2);
            break;
        }
        case AlignCode::RightsOrBottoms:
            for (TRect& rect : rects)
                MoveStart(rect, horizontal, maxEnd - SpanOf(rect, horizontal).length);
            break;
        case AlignCode::SpaceEqually: {
            if (rects.size() < 2)
                break;
            const int first = SpanOf(rects[order.front()], horizontal).start;
            const int last = SpanOf(rects[order.back()], horizontal).start;
            const int step = (last - first) / static_cast<int>(rects.size() - 1);
            for (std::size_t i = 0; i < order.size(); ++i)
                MoveStart(rects[order[i]], horizontal, first + static_cast<int>(i) * step);
            break;
        }
        case AlignCode::CentreInWindow: {
            const int shift = (parentExtent + minStart - maxEnd) / 2 - minStart;
            for (TRect& rect : rects)
                MoveStart(rect, horizontal, SpanOf(rect, horizontal).start + shift);
            break;
        }
        case AlignCode::None:
            break;
    }
}

}  // namespace setup::ui
