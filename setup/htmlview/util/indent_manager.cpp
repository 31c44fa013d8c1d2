#include "setup/htmlview/util/indent_manager.h"

#include <algorithm>
#include <optional>

namespace htmlview {

namespace {

std::optional<int> NextBottom(const std::vector<IndentRec>& side, int y)
{
    std::optional<int> next;
    for (const IndentRec& rec : side)
        if (rec.owner == nullptr && rec.bottom > y && (!next || rec.bottom < *next))
            next = rec.bottom;
    return next;
}

int LowestBottomPlusOne(const std::vector<IndentRec>& side)
{
    int lowest = -1;
    for (const IndentRec& rec : side)
        if (rec.owner == nullptr)
            lowest = std::max(lowest, rec.bottom);
    return lowest < 0 ? 0 : lowest + 1;
}

}  // namespace

void IndentManager::Reset(int offset, int contextWidth)
{
    leftOffset = offset;
    width = contextWidth;
    currentOwner = nullptr;
}

void IndentManager::Clear()
{
    m_left.clear();
    m_right.clear();
    currentOwner = nullptr;
}

bool IndentManager::Counts(const IndentRec& rec, int y) const
{
    return rec.top <= y && y < rec.bottom && (rec.owner == nullptr || rec.owner == currentOwner);
}

int IndentManager::LeftEdge(int y) const
{
    std::optional<int> edge;
    for (const IndentRec& rec : m_left)
        if (Counts(rec, y) && (!edge || rec.x > *edge))
            edge = rec.x;
    return edge ? *edge + leftOffset : leftOffset;
}

int IndentManager::RightEdge(int y) const
{
    std::optional<int> edge;
    for (const IndentRec& rec : m_right)
        if (Counts(rec, y) && (!edge || rec.x < *edge))
            edge = rec.x;
    return edge ? *edge + leftOffset : width;
}

std::size_t IndentManager::AddLeft(int x, int top)
{
    m_left.push_back({x, top, IndentRec::kOpenBottom, currentOwner});
    return m_left.size() - 1;
}

std::size_t IndentManager::AddRight(int x, int top)
{
    m_right.push_back({x, top, IndentRec::kOpenBottom, currentOwner});
    return m_right.size() - 1;
}

void IndentManager::DeleteLeft(std::size_t index)
{
    if (index < m_left.size())
        m_left.erase(m_left.begin() + static_cast<std::ptrdiff_t>(index));
}

void IndentManager::DeleteRight(std::size_t index)
{
    if (index < m_right.size())
        m_right.erase(m_right.begin() + static_cast<std::ptrdiff_t>(index));
}

int IndentManager::FloatBottom() const
{
    int bottom = 0;
    for (const auto* side : {&m_left, &m_right})
        for (const IndentRec& rec : *side)
            if (rec.owner == nullptr)
                bottom = std::max(bottom, rec.bottom);
    return bottom;
}

std::pair<int, int> IndentManager::ClearPositions() const
{
    return {LowestBottomPlusOne(m_left), LowestBottomPlusOne(m_right)};
}

int IndentManager::NextWiderY(int y) const
{
    const std::optional<int> left = NextBottom(m_left, y);
    const std::optional<int> right = NextBottom(m_right, y);
    if (left && right)
        return std::min(*left, *right);
    return left ? *left : right ? *right : y;
}

}  // namespace htmlview
