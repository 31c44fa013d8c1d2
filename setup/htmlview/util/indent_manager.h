// The float margins of a formatting context: floats on the left and right narrow the lines
// beside them for their vertical range.
#pragma once

#include <utility>
#include <vector>

namespace htmlview {

struct IndentRec
{
    static constexpr int kOpenBottom = 9999999;  // until the caller knows the float's height

    int x = 0;
    int top = 0;
    int bottom = kOpenBottom;     // exclusive
    const void* owner = nullptr;  // the block the float belongs to; none for the whole context
};

class IndentManager
{
public:
    // A new line box: the context's left offset and width; no current owner.
    void Reset(int leftOffset, int width);
    void Clear();

    // The edges at a document Y: floats without owner or of the current owner count.
    int LeftEdge(int y) const;
    int RightEdge(int y) const;

    // A float starting at `top`, open downwards; the index lets the caller set its bottom.
    std::size_t AddLeft(int x, int top);
    std::size_t AddRight(int x, int top);
    void SetLeftBottom(std::size_t index, int bottom) { m_left.at(index).bottom = bottom; }
    void SetRightBottom(std::size_t index, int bottom) { m_right.at(index).bottom = bottom; }
    void DeleteLeft(std::size_t index);
    void DeleteRight(std::size_t index);

    // The lowest bottom of the floats without owner (0 for none).
    int FloatBottom() const;
    // Where "clear: left" and "clear: right" put the next line: below the lowest float of that
    // side, 0 when there is none.
    std::pair<int, int> ClearPositions() const;
    // The next Y below `y` where a float without owner ends (y itself when none does).
    int NextWiderY(int y) const;

    const void* currentOwner = nullptr;
    int leftOffset = 0;
    int width = 0;

private:
    bool Counts(const IndentRec& rec, int y) const;

    std::vector<IndentRec> m_left;
    std::vector<IndentRec> m_right;
};

}  // namespace htmlview
