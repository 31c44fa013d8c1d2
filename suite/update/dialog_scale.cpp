#include "suite/update/dialog_scale.h"

#include <cmath>
#include <cstdint>

namespace update {

ScaleFactors ComputeScale(int clientWidth, int clientHeight, int designWidth, int designHeight)
{
    ScaleFactors factors;
    if (designWidth > 0)
        factors.x = static_cast<float>(clientWidth) / static_cast<float>(designWidth);
    if (designHeight > 0)
        factors.y = static_cast<float>(clientHeight) / static_cast<float>(designHeight);
    return factors;
}

PixelRect ScaleControlRect(const PixelRect& rect, ScaleFactors factors)
{
    if (factors.IsIdentity())
        return rect;
    const float width = static_cast<float>(rect.right - rect.left) * factors.x;
    const float height = static_cast<float>(rect.bottom - rect.top) * factors.y;
    return {rect.left, rect.top, rect.left + 2 + static_cast<int>(width),
            rect.top + 1 + static_cast<int>(height)};
}

int HimetricToPixels(int himetric, int pixelsPerInch)
{
    // Rounded, as MulDiv does: truncating shows a 20-pixel picture at 19 pixels.
    const std::int64_t product = static_cast<std::int64_t>(himetric) * pixelsPerInch;
    const std::int64_t half = product >= 0 ? 1270 : -1270;
    return static_cast<int>((product + half) / 2540);
}

}  // namespace update
