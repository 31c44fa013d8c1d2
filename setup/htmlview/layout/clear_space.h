// How far below a Y the floats of a formatting context reach on the sides an element clears.
#pragma once

#include <algorithm>

#include "setup/htmlview/style/keywords.h"
#include "setup/htmlview/util/indent_manager.h"

namespace htmlview {

inline int ClearSpace(const IndentManager& indents, ClearSide clear, int y)
{
    // The manager's positions lie one below the lowest float bottom.
    const auto [leftClear, rightClear] = indents.ClearPositions();
    const int left = leftClear > 0 ? std::max(0, leftClear - 1 - y) : 0;
    const int right = rightClear > 0 ? std::max(0, rightClear - 1 - y) : 0;
    switch (clear) {
        case ClearSide::Left:
            return left;
        case ClearSide::Right:
            return right;
        case ClearSide::Both:
            return std::max(left, right);
        default:
            return 0;
    }
}

}  // namespace htmlview
