// Bounds on the lengths a document may ask for, so that sums of nested boxes stay far inside
// 32-bit integers whatever the page says.
#pragma once

#include <algorithm>

#include "setup/htmlview/style/properties.h"

namespace htmlview {

constexpr int kMaxLayoutLength = 100000;

// A length in pixels kept within the bound; the "auto" and "not set" markers pass unchanged.
inline int ClampLength(int value)
{
    if (value == kAutoValue || value == kNotSet || value == kCollapsibleMargin)
        return value;
    return std::clamp(value, -kMaxLayoutLength, kMaxLayoutLength);
}

}  // namespace htmlview
