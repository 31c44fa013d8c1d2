// What painting a document draws, as plain data: the layout decides every rectangle, text run and
// colour, and the Windows canvas carries the list out on a device context.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "setup/htmlview/util/platform.h"

namespace htmlview {

constexpr std::uint32_t kNoneColor = 0x1FFFFFFF;

struct Rect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct FillCommand
{
    Rect rect;
    std::uint32_t color = 0;
};

// Text drawn with its baseline at `baseline`; the spaces share `extra` pixels (justified lines).
struct TextCommand
{
    int x = 0, baseline = 0;
    FontRequest font;
    std::uint32_t color = 0;
    std::uint32_t background = kNoneColor;  // opaque on it when a colour
    std::u16string text;
    int extra = 0, spaces = 0;
    bool clipped = false;
    Rect clip;
};

// A CSS border between two rectangles; sides in the order top, right, bottom, left.
struct BorderCommand
{
    Rect outer, inner;
    std::array<int, 4> styles{};
    std::array<std::uint32_t, 4> colors{kNoneColor, kNoneColor, kNoneColor, kNoneColor};
    std::uint32_t background = kNoneColor;
};

struct EllipseCommand
{
    Rect rect;
    std::uint32_t color = 0;
    bool filled = false;
};

struct FocusCommand
{
    Rect rect;
};

// An image's bits stretched into a rectangle; `source` names it for the canvas's image lookup.
struct ImageCommand
{
    Rect rect;
    std::string source;
    bool clipped = false;
    Rect clip;
};

using PaintCommand = std::variant<FillCommand, TextCommand, BorderCommand, EllipseCommand,
                                  FocusCommand, ImageCommand>;

struct PaintPlan
{
    Rect clip;  // in screen coordinates; nothing is drawn outside it
    std::vector<PaintCommand> commands;
};

}  // namespace htmlview
