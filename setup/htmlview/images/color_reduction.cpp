#include "setup/htmlview/images/color_reduction.h"

#include <algorithm>
#include <cstdlib>

namespace htmlview {

int WebSafeLookup::Lookup(Rgb color, Rgb& found)
{
    const int r = (color.red + 3) / 51, g = (color.green + 3) / 51, b = (color.blue + 3) / 51;
    found = {static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
             static_cast<std::uint8_t>(b * 51)};
    return r * 36 + g * 6 + b;
}

InverseTableLookup::InverseTableLookup(std::vector<Rgb> palette)
    : m_palette(std::move(palette)), m_cells(32768, -1)
{
    if (m_palette.size() > 256)
        m_palette.resize(256);
    // The first entry of a cell owns it.
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        auto& cell = m_cells[static_cast<std::size_t>(Cell(m_palette[i]))];
        if (cell == -1)
            cell = static_cast<std::int16_t>(i);
    }
}

int InverseTableLookup::Lookup(Rgb color, Rgb& found)
{
    auto& cell = m_cells[static_cast<std::size_t>(Cell(color))];
    if (cell == -1) {
        int best = 0;
        int bestDistance = 1 << 30;
        for (std::size_t i = 0; i < m_palette.size(); ++i) {
            const Rgb& p = m_palette[i];
            const int distance = std::abs(p.red - color.red) + std::abs(p.green - color.green) +
                                 std::abs(p.blue - color.blue);
            if (distance < bestDistance) {
                best = static_cast<int>(i);
                bestDistance = distance;
            }
        }
        cell = static_cast<std::int16_t>(best);
    }
    found = m_palette[static_cast<std::size_t>(cell)];
    return cell;
}

int DitherEngine::Dither(Rgb color)
{
    Rgb found;
    const int index = m_lookup.Lookup(color, found);
    m_column += m_direction;
    return index;
}

void DitherEngine::NextLine()
{
    m_direction = -m_direction;
    m_column = m_direction == 1 ? 0 : m_width - 1;
}

FloydSteinbergEngine::FloydSteinbergEngine(IColorLookup& lookup, int width)
    : DitherEngine(lookup, width)
{
    for (Channel& channel : m_channels)
        channel.errors.assign(static_cast<std::size_t>(width) + 2, 0);
}

int FloydSteinbergEngine::Dither(Rgb color)
{
    const int values[3] = {color.red, color.green, color.blue};
    int wanted[3];
    const auto ahead = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(m_at) + m_direction);
    for (int c = 0; c < 3; ++c) {
        const Channel& ch = m_channels[static_cast<std::size_t>(c)];
        wanted[c] = std::clamp(values[c] + (ch.errors[ahead] + ch.current + 8) / 16, 0, 255);
    }
    Rgb found;
    const int index =
        m_lookup.Lookup({static_cast<std::uint8_t>(wanted[0]), static_cast<std::uint8_t>(wanted[1]),
                         static_cast<std::uint8_t>(wanted[2])},
                        found);
    const int got[3] = {found.red, found.green, found.blue};
    for (int c = 0; c < 3; ++c) {
        Channel& ch = m_channels[static_cast<std::size_t>(c)];
        const int error = wanted[c] - got[c];
        ch.errors[m_at] = ch.belowBehind + 3 * error;
        ch.belowBehind = ch.below + 5 * error;
        ch.below = error;
        ch.current = 7 * error;
    }
    m_at = ahead;
    m_column += m_direction;
    return index;
}

void FloydSteinbergEngine::NextLine()
{
    for (Channel& ch : m_channels) {
        ch.errors[m_at] = ch.belowBehind;
        ch.current = ch.below = ch.belowBehind = 0;
    }
    DitherEngine::NextLine();
    m_at = m_direction == 1 ? 0 : static_cast<std::size_t>(m_width) + 1;
}

struct OctreeQuantizer::Node
{
    bool leaf = false;
    std::uint64_t pixels = 0;
    std::uint64_t red = 0, green = 0, blue = 0;
    Node* nextReducible = nullptr;
    std::array<std::unique_ptr<Node>, 8> children;
};

OctreeQuantizer::OctreeQuantizer(int maxColors, int colorBits)
    : m_root(new Node),
      m_maxColors(std::max(1, maxColors)),
      m_colorBits(std::clamp(colorBits, 1, 8))
{}

OctreeQuantizer::~OctreeQuantizer()
{
    delete m_root;
}

void OctreeQuantizer::Add(Rgb color)
{
    Node* node = m_root;
    for (int level = 0; !node->leaf && level < m_colorBits; ++level) {
        const int bit = 7 - level;
        const int child = (((color.red >> bit) & 1) << 2) | (((color.green >> bit) & 1) << 1) |
                          ((color.blue >> bit) & 1);
        auto& slot = node->children[static_cast<std::size_t>(child)];
        if (!slot) {
            slot = std::make_unique<Node>();
            if (level + 1 == m_colorBits) {
                slot->leaf = true;
                ++m_leafCount;
            } else {
                slot->nextReducible = m_reducible[static_cast<std::size_t>(level + 1)];
                m_reducible[static_cast<std::size_t>(level + 1)] = slot.get();
            }
        }
        node = slot.get();
    }
    node->pixels += 1;
    node->red += color.red;
    node->green += color.green;
    node->blue += color.blue;
    while (m_leafCount > m_maxColors)
        Reduce();
}

void OctreeQuantizer::Reduce()
{
    int level = m_colorBits - 1;
    while (level > 0 && !m_reducible[static_cast<std::size_t>(level)])
        --level;
    Node* node = level > 0 ? m_reducible[static_cast<std::size_t>(level)] : m_root;
    if (level > 0)
        m_reducible[static_cast<std::size_t>(level)] = node->nextReducible;
    int children = 0;
    for (auto& child : node->children) {
        if (!child)
            continue;
        node->pixels += child->pixels;
        node->red += child->red;
        node->green += child->green;
        node->blue += child->blue;
        // A child that is no leaf yet still sits on its level's list: unlink it first.
        if (!child->leaf)
            for (Node** link = &m_reducible[static_cast<std::size_t>(level + 1)]; *link;
                 link = &(*link)->nextReducible)
                if (*link == child.get()) {
                    *link = child->nextReducible;
                    break;
                }
        child.reset();
        ++children;
    }
    node->leaf = true;
    m_leafCount -= children - 1;
}

void OctreeQuantizer::AddImage(const PixelImage& image)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            Add(image.ColorAt(x, y));
}

std::vector<Rgb> OctreeQuantizer::Colors() const
{
    std::vector<Rgb> colors;
    auto walk = [&](auto&& self, const Node& node) -> void {
        if (node.leaf) {
            if (node.pixels == 0)
                colors.push_back({});
            else
                colors.push_back({static_cast<std::uint8_t>(node.red / node.pixels),
                                  static_cast<std::uint8_t>(node.green / node.pixels),
                                  static_cast<std::uint8_t>(node.blue / node.pixels)});
            return;
        }
        for (const auto& child : node.children)
            if (child)
                self(self, *child);
    };
    walk(walk, *m_root);
    return colors;
}

std::vector<Rgb> WebSafePalette()
{
    std::vector<Rgb> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back({static_cast<std::uint8_t>(r * 51),
                                   static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51)});
    return palette;
}

std::vector<Rgb> OptimizedPalette(const PixelImage& image, int count, int colorBits,
                                  bool includeSystemColors, const std::vector<Rgb>& defaultPalette)
{
    const int quantized = includeSystemColors ? 236 : count;
    OctreeQuantizer quantizer(quantized, colorBits);
    quantizer.AddImage(image);
    std::vector<Rgb> colors = quantizer.Colors();
    colors.resize(static_cast<std::size_t>(quantized));
    if (!includeSystemColors)
        return colors;
    std::vector<Rgb> palette(256);
    for (std::size_t i = 0; i < 10 && i < defaultPalette.size(); ++i)
        palette[i] = defaultPalette[i];
    for (std::size_t i = 10; i < 20 && i < defaultPalette.size(); ++i)
        palette[236 + i] = defaultPalette[i];
    std::copy(colors.begin(), colors.end(), palette.begin() + 10);
    return palette;
}

PixelImage ReduceColors(const PixelImage& source, const std::vector<Rgb>& palette,
                        DitherKind dither, bool webSafe)
{
    PixelImage result;
    result.Allocate(source.width, source.height, 8, UINT64_MAX);
    for (std::size_t i = 0; i < palette.size() && i < result.palette.size(); ++i)
        result.palette[i] = palette[i];
    if (palette.empty() || source.width == 0)
        return result;
    std::unique_ptr<IColorLookup> lookup;
    if (webSafe)
        lookup = std::make_unique<WebSafeLookup>();
    else
        lookup = std::make_unique<InverseTableLookup>(palette);
    std::unique_ptr<DitherEngine> engine =
        dither == DitherKind::FloydSteinberg
            ? std::make_unique<FloydSteinbergEngine>(*lookup, source.width)
            : std::make_unique<DitherEngine>(*lookup, source.width);
    for (int y = 0; y < source.height; ++y) {
        for (int x = engine->Column(); x >= 0 && x < source.width; x = engine->Column())
            result.SetIndex(x, y, engine->Dither(source.ColorAt(x, y)));
        engine->NextLine();
    }
    return result;
}

}  // namespace htmlview
