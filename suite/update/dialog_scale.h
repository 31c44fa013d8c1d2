// The update dialogs are laid out for a known client size; at larger text sizes their pictures
// grow by the ratio the dialog grew by.
#pragma once

namespace update {

inline constexpr int kContactDesignWidth = 594;
inline constexpr int kContactDesignHeight = 397;

struct ScaleFactors
{
    float x = 1.0f;
    float y = 1.0f;
    bool IsIdentity() const { return x == 1.0f && y == 1.0f; }
};

struct PixelRect
{
    int left, top, right, bottom;
    bool operator==(const PixelRect&) const = default;
};

ScaleFactors ComputeScale(int clientWidth, int clientHeight, int designWidth, int designHeight);

// The control's new rectangle: left and top kept, width and height scaled plus 2 and 1 pixels;
// unchanged at identity.
PixelRect ScaleControlRect(const PixelRect& rect, ScaleFactors factors);

// A picture's size in pixels from its HIMETRIC size (hundredths of millimetres), rounded.
int HimetricToPixels(int himetric, int pixelsPerInch);

}  // namespace update
