#include "setup/htmlview/parser/area_map.h"

#include <algorithm>

#include "setup/htmlview/util/text.h"

namespace htmlview {

std::vector<int> SplitCoords(std::string_view coords)
{
    std::vector<int> numbers;
    std::string_view rest = Trim(coords);
    while (!rest.empty() && numbers.size() < kMaxCoords) {
        const std::size_t comma = rest.find(',');
        const std::size_t space = rest.find(' ');
        std::size_t end = rest.size();
        if (comma != std::string_view::npos && (space == std::string_view::npos || comma < space))
            end = comma;
        else if (space != std::string_view::npos)
            end = space;
        const std::string_view piece = rest.substr(0, std::min<std::size_t>(end, 20));
        rest = rest.substr(end);
        while (!rest.empty() && (rest.front() == ',' || rest.front() == ' '))
            rest.remove_prefix(1);
        numbers.push_back(ParseInteger(Trim(piece)).value_or(0));
    }
    return numbers;
}

std::optional<AreaShape> AreaShape::Rectangle(const std::vector<int>& n)
{
    if (n.size() < 4)
        return std::nullopt;
    AreaShape shape;
    shape.m_left = std::min<double>(n[0], n[2] + 1.0);
    shape.m_right = std::max<double>(n[0], n[2] + 1.0);
    shape.m_top = std::min<double>(n[1], n[3] + 1.0);
    shape.m_bottom = std::max<double>(n[1], n[3] + 1.0);
    return shape;
}

std::optional<AreaShape> AreaShape::Circle(const std::vector<int>& n)
{
    if (n.size() < 3)
        return std::nullopt;
    AreaShape shape;
    shape.m_kind = Kind::Ellipse;
    // In doubles: a document's radius may take the box past the int range.
    const double x = n[0], y = n[1], r = n[2];
    shape.m_left = std::min(x - r, x + r + 1);
    shape.m_right = std::max(x - r, x + r + 1);
    shape.m_top = std::min(y - r, y + r + 1);
    shape.m_bottom = std::max(y - r, y + r + 1);
    return shape;
}

std::optional<AreaShape> AreaShape::Polygon(const std::vector<int>& n)
{
    if (n.size() < 6)
        return std::nullopt;
    AreaShape shape;
    shape.m_kind = Kind::Polygon;
    for (std::size_t i = 0; i + 1 < n.size(); i += 2)
        shape.m_points.emplace_back(n[i], n[i + 1]);
    return shape;
}

bool AreaShape::Contains(int x, int y) const
{
    const double px = x + 0.5, py = y + 0.5;
    switch (m_kind) {
        case Kind::Rectangle:
            return px > m_left && px < m_right && py > m_top && py < m_bottom;
        case Kind::Ellipse: {
            const double rx = (m_right - m_left) / 2, ry = (m_bottom - m_top) / 2;
            if (rx <= 0 || ry <= 0)
                return false;
            const double dx = (px - (m_left + rx)) / rx, dy = (py - (m_top + ry)) / ry;
            return dx * dx + dy * dy < 1;
        }
        case Kind::Polygon: {
            // Non-zero winding number of the pixel centre.
            int winding = 0;
            for (std::size_t i = 0; i < m_points.size(); ++i) {
                const auto [x1, y1] = m_points[i];
                const auto [x2, y2] = m_points[(i + 1) % m_points.size()];
                const double side = (x2 - x1) * (py - y1) - (px - x1) * (y2 - y1);
                if (y1 <= py && y2 > py && side > 0)
                    ++winding;
                else if (y1 > py && y2 <= py && side < 0)
                    --winding;
            }
            return winding != 0;
        }
    }
    return false;
}

void MapItem::AddArea(const AttributeList& attributes)
{
    AreaLink link;
    std::string shapeName;
    std::vector<int> numbers;
    for (const Attribute& attribute : attributes.Items()) {
        switch (attribute.symbol) {
            case Sym::Href:
                link.href = attribute.value;
                break;
            case Sym::Nohref:
                link.href.clear();
                break;
            case Sym::Target:
                link.target = attribute.value;
                break;
            case Sym::Title:
                link.title = attribute.value;
                break;
            case Sym::Shape:
                shapeName = LowerAscii(attribute.value).substr(0, 4);
                break;
            case Sym::Coords:
                numbers = SplitCoords(attribute.value);
                break;
            default:
                break;
        }
    }
    std::optional<AreaShape> shape;
    if (shapeName == "circ")
        shape = AreaShape::Circle(numbers);
    else if (shapeName == "poly")
        shape = AreaShape::Polygon(numbers);
    else
        shape = AreaShape::Rectangle(numbers);
    if (shape)
        m_areas.emplace_back(std::move(*shape), std::move(link));
}

std::optional<AreaLink> MapItem::LinkAt(int x, int y) const
{
    for (const auto& [shape, link] : m_areas) {
        if (shape.Contains(x, y)) {
            if (link.href.empty())
                return std::nullopt;
            return link;
        }
    }
    return std::nullopt;
}

}  // namespace htmlview
