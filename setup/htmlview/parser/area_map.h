// Client-side image maps: the AREA elements of a MAP with their shapes, and the link under a
// point of the image.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "setup/htmlview/parser/attributes.h"

namespace htmlview {

// COORDS cut into numbers (0 for a piece that is not one); at most kMaxCoords.
constexpr std::size_t kMaxCoords = 301;
std::vector<int> SplitCoords(std::string_view coords);

// A shape as a Windows region covers it: whole pixels, tested at their centres.
class AreaShape
{
public:
    static std::optional<AreaShape> Rectangle(const std::vector<int>& n);  // x1, y1, x2, y2
    static std::optional<AreaShape> Circle(const std::vector<int>& n);     // x, y, r
    static std::optional<AreaShape> Polygon(const std::vector<int>& n);    // pairs, winding
    bool Contains(int x, int y) const;

private:
    enum class Kind
    {
        Rectangle,
        Ellipse,
        Polygon
    } m_kind = Kind::Rectangle;
    double m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
    std::vector<std::pair<double, double>> m_points;
};

struct AreaLink
{
    std::string href, target, title;
};

class MapItem
{
public:
    explicit MapItem(std::string name) : m_name(std::move(name)) {}
    const std::string& Name() const { return m_name; }

    // Adds the AREA when its shape has enough numbers. HREF and NOHREF count in their order.
    void AddArea(const AttributeList& attributes);
    // The first area containing the point decides: its link, or none when it has no HREF.
    std::optional<AreaLink> LinkAt(int x, int y) const;

private:
    std::string m_name;
    std::vector<std::pair<AreaShape, AreaLink>> m_areas;
};

}  // namespace htmlview
