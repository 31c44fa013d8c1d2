#include "setup/ui/tray/balloon_layout.h"

#include <algorithm>

namespace setup::ui::tray {

namespace {

constexpr int kTextLeft = 10;
constexpr int kIconLeft = 10;
constexpr int kTitleLeftWithIcon = 34;
constexpr int kStemHeight = 19;   // how far the stem reaches below the body
constexpr int kStemTop = 23;      // the body's top when the stem points up

StemDirection DirectionOf(const BalloonLayoutInput& input, Point centre)
{
    if (input.inTray) {
        switch (input.taskbarEdge) {
        case TaskbarEdge::Left:
            return StemDirection::AboveLeft;
        case TaskbarEdge::Top:
            return StemDirection::BelowRight;
        default:
            return StemDirection::AboveRight;
        }
    }
    const bool left = centre.x < input.workArea.right / 2;
    const bool upper = centre.y < input.workArea.bottom / 2;
    if (upper)
        return left ? StemDirection::BelowLeft : StemDirection::BelowRight;
    return left ? StemDirection::AboveLeft : StemDirection::AboveRight;
}

bool PointsUp(StemDirection direction)
{
    return direction == StemDirection::BelowLeft || direction == StemDirection::BelowRight;
}

Point Position(const BalloonLayoutInput& input, StemDirection e, Point p, int w, int h)
{
    const Rect& r = input.anchor;
    Point at;
    int maxLeft = 0;
    int maxTop = 0;
    if (input.inTray) {
        switch (e) {
        case StemDirection::AboveLeft:
            at = {p.x - 21, p.y - 2 - h};
            break;
        case StemDirection::AboveRight:
            at = {p.x - w + 21, p.y - 1 - h};
            break;
        default:  // below: only a top taskbar puts a tray balloon there
            at = {p.x - w + 21, r.bottom - 12};
            break;
        }
        maxLeft = input.screen.width - w;
        maxTop = input.screen.height - h;
    } else {
        switch (e) {
        case StemDirection::AboveLeft:
            at = {r.right - 23, r.top - h + 3};
            break;
        case StemDirection::AboveRight:
            at = {r.left - w + 23, r.top - h + 4};
            break;
        case StemDirection::BelowLeft:
            at = {r.right - 23, r.bottom - 6};
            break;
        default:
            at = {r.left - w + 23, r.bottom - 7};
            break;
        }
        maxLeft = input.workArea.right - w;
        maxTop = input.workArea.bottom - h;
    }
    at.x = std::max(std::min(at.x, maxLeft), 0);
    at.y = std::max(std::min(at.y, maxTop), 0);
    return at;
}

std::array<Point, 3> Stem(StemDirection e, int w, int h)
{
    switch (e) {
    case StemDirection::AboveLeft:
        return {Point{20, h - 21}, Point{20, h}, Point{40, h - 21}};
    case StemDirection::AboveRight:
        return {Point{w - 40, h - 21}, Point{w - 20, h}, Point{w - 20, h - 21}};
    case StemDirection::BelowLeft:
        return {Point{20, 2}, Point{20, 23}, Point{40, 23}};
    default:
        return {Point{w - 20, 2}, Point{w - 20, 23}, Point{w - 40, 23}};
    }
}

}  // namespace

BalloonLayout ComputeBalloonLayout(const BalloonLayoutInput& input)
{
    BalloonLayout layout;
    layout.anchor = input.anchor;
    const int titleLeft = input.hasIcon ? kTitleLeftWithIcon : kIconLeft;
    const int titleRight = titleLeft + input.title.width;

    // The text wraps at no less than 350 pixels and no less than the title is wide.
    Size text;
    if (input.textVisible) {
        text.width = std::max(titleRight - kTextLeft, kBalloonMinTextWidth);
        text.height = input.textHeightAt ? input.textHeightAt(text.width) : 0;
    }
    Size content = text;
    if (input.client) {
        content.width = std::max(content.width, input.client->width);
        content.height = input.textVisible ? text.height + input.client->height + 4
                                           : input.client->height;
    }

    int width = std::max(titleRight, kTextLeft + content.width) + 10;
    width = std::max(width, titleRight + 5 + input.closeButton.width + 6);
    layout.closeButton.x = width - input.closeButton.width - 6;

    const bool anchored = !input.anchor.Empty();
    const Point centre{(input.anchor.left + input.anchor.right) / 2,
                       (input.anchor.top + input.anchor.bottom) / 2};
    layout.direction = anchored ? DirectionOf(input, centre) : StemDirection::None;
    const bool up = PointsUp(layout.direction);

    const int titleTop = up ? 32 : 11;
    layout.title = {titleLeft, titleTop};
    const int y = titleTop + input.title.height + 8;
    layout.text = {kTextLeft, y, kTextLeft + text.width, y + text.height};
    const int clientTop = input.textVisible ? layout.text.bottom + (anchored ? 4 : 5) : y;
    if (input.client)
        layout.client = {kTextLeft, clientTop, width - kTextLeft, clientTop + input.client->height};
    layout.icon = {kIconLeft, up ? 31 : 10};
    layout.closeButton.y = anchored ? titleTop - 5 : 6;

    int height = y + content.height + 10;
    if (anchored && !up)
        height = y + content.height + 31;

    if (!anchored) {
        layout.window = {input.workArea.right - width, input.workArea.bottom - height,
                         input.workArea.right, input.workArea.bottom};
        layout.body = {0, 0, width, height};
        return layout;
    }
    const Point at = Position(input, layout.direction, centre, width, height);
    layout.window = {at.x, at.y, at.x + width, at.y + height};
    layout.body = up ? Rect{0, kStemTop, width, height} : Rect{0, 0, width, height - kStemHeight};
    layout.stem = Stem(layout.direction, width, height);
    return layout;
}

std::vector<int> FadeInSteps(int alpha, bool inTray)
{
    const int step = inTray ? 10 : 13;
    const int target = std::min(alpha, 255);
    std::vector<int> steps;
    for (int value = 0; value < target;) {
        value = std::min(value + step, target);
        steps.push_back(value);
    }
    return steps;
}

std::vector<int> FadeOutSteps(int alpha, bool inTray)
{
    const int step = inTray ? 10 : 13;
    std::vector<int> steps;
    for (int value = std::min(alpha, 255); value > 0;) {
        value = std::max(value - step, 0);
        steps.push_back(value);
    }
    return steps;
}

BlendPlan PlanBlend(int alpha, bool fade, int windowsMajor)
{
    BlendPlan plan;
    if (windowsMajor <= 4)
        return plan;
    plan.layered = (alpha < 255 || fade) && alpha > 0;
    plan.fadeIn = plan.layered && fade;
    plan.initialAlpha = plan.fadeIn ? 0 : alpha;
    return plan;
}

}  // namespace setup::ui::tray
