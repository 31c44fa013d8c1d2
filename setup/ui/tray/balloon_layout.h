// Where the program's own balloon goes and how it is laid out: its size from the measured title
// and text, the direction of its stem relative to the anchor, its position on the screen and its
// outline. A pure function, so every edge of the screen can be tried without a window.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "setup/ui/geometry.h"

namespace setup::ui::tray {

using Rect = TRect;
using Point = TPoint;

struct Size
{
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The taskbar's edge of the screen; bottom also when there is no taskbar.
enum class TaskbarEdge
{
    Left = 0,
    Top = 1,
    Right = 2,
    Bottom = 3,
};

// Where the stem points from: 0 above the anchor with the stem at the lower left, 1 above with
// it at the lower right, 2 below with it at the upper left, 3 below at the upper right.
enum class StemDirection
{
    None = -1,
    AboveLeft = 0,
    AboveRight = 1,
    BelowLeft = 2,
    BelowRight = 3,
};

struct BalloonLayoutInput
{
    Rect anchor;  // empty: no anchor
    Rect workArea;
    Size screen;
    bool inTray = false;
    TaskbarEdge taskbarEdge = TaskbarEdge::Bottom;
    bool hasIcon = false;
    Size title;  // the bold title on one line
    bool textVisible = false;
    // The text's height when it wraps at a width.
    std::function<int(int width)> textHeightAt;
    std::optional<Size> client;  // an embedded client form
    Size closeButton{16, 16};
};

struct BalloonLayout
{
    StemDirection direction = StemDirection::None;
    Rect anchor;  // as given: the owner window is found under its centre
    Rect window;  // screen coordinates
    Point title;
    Rect text;  // the wrapped text, in the window
    Point icon;
    Point closeButton;
    Rect client;  // the client form's place, empty without one
    // The outline in the window: a rounded rectangle (7 x 7 corners) united with the stem.
    Rect body;
    std::optional<std::array<Point, 3>> stem;
};

constexpr int kBalloonCorner = 7;
constexpr int kBalloonMinTextWidth = 350;

BalloonLayout ComputeBalloonLayout(const BalloonLayoutInput& input);

// The blend values a balloon passes through while it fades in (from 0 up to alpha) or out (from
// alpha down to 0), one step each 5 ms; steps of 10 in the tray and 13 elsewhere.
std::vector<int> FadeInSteps(int alpha, bool inTray);
std::vector<int> FadeOutSteps(int alpha, bool inTray);
constexpr int kFadeStepMilliseconds = 5;

// How a balloon is shown: with alpha blending or not, and the blend value it starts at.
struct BlendPlan
{
    bool layered = false;
    bool fadeIn = false;
    int initialAlpha = 255;
};
BlendPlan PlanBlend(int alpha, bool fade, int windowsMajor);

}  // namespace setup::ui::tray
