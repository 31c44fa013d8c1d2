// Reduces true-colour images to 8-bit palette images for screens of 256 colours or fewer:
// palettes (web-safe, given, or optimised by an octree quantizer), colour lookups, and the
// nearest-colour and Floyd-Steinberg (serpentine) dither engines.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "setup/htmlview/images/pixel_image.h"

namespace htmlview {

class IColorLookup
{
public:
    virtual ~IColorLookup() = default;
    virtual int ColorCount() const = 0;
    // The palette index for a colour and the palette's colour there.
    virtual int Lookup(Rgb color, Rgb& found) = 0;
};

// The 216-colour web-safe cube: each component to the nearest of six levels 51 apart.
class WebSafeLookup : public IColorLookup
{
public:
    int ColorCount() const override { return 216; }
    int Lookup(Rgb color, Rgb& found) override;
};

// Any palette, through a lazily filled table of 15-bit colour cells.
class InverseTableLookup : public IColorLookup
{
public:
    explicit InverseTableLookup(std::vector<Rgb> palette);
    int ColorCount() const override { return static_cast<int>(m_palette.size()); }
    int Lookup(Rgb color, Rgb& found) override;

private:
    static int Cell(Rgb c) { return (c.red >> 3) | ((c.green >> 3) << 5) | ((c.blue >> 3) << 10); }
    std::vector<Rgb> m_palette;
    std::vector<std::int16_t> m_cells;
};

// Walks the rows in alternating directions and picks an index per pixel.
class DitherEngine
{
public:
    DitherEngine(IColorLookup& lookup, int width) : m_lookup(lookup), m_width(width) {}
    virtual ~DitherEngine() = default;
    virtual int Dither(Rgb color);
    virtual void NextLine();
    int Column() const { return m_column; }
    int Direction() const { return m_direction; }

protected:
    IColorLookup& m_lookup;
    int m_width;
    int m_direction = 1;
    int m_column = 0;
};

class FloydSteinbergEngine : public DitherEngine
{
public:
    FloydSteinbergEngine(IColorLookup& lookup, int width);
    int Dither(Rgb color) override;
    void NextLine() override;

private:
    struct Channel
    {
        std::vector<int> errors;  // width + 2 entries: the row below
        int current = 0, below = 0, belowBehind = 0;
    };
    std::array<Channel, 3> m_channels;
    std::size_t m_at = 0;
};

class OctreeQuantizer
{
public:
    OctreeQuantizer(int maxColors, int colorBits = 8);
    ~OctreeQuantizer();
    OctreeQuantizer(const OctreeQuantizer&) = delete;
    OctreeQuantizer& operator=(const OctreeQuantizer&) = delete;

    void Add(Rgb color);
    void AddImage(const PixelImage& image);
    // Leaves depth-first in child order; black for a leaf without pixels.
    std::vector<Rgb> Colors() const;

private:
    struct Node;
    void Reduce();
    Node* m_root;
    int m_leafCount = 0;
    std::array<Node*, 8> m_reducible{};
    int m_maxColors;
    int m_colorBits;
};

std::vector<Rgb> WebSafePalette();

// 256 entries with the system's 20 static colours kept at both ends, or `count` entries alone.
std::vector<Rgb> OptimizedPalette(const PixelImage& image, int count, int colorBits,
                                  bool includeSystemColors, const std::vector<Rgb>& defaultPalette);

enum class DitherKind
{
    Nearest,
    FloydSteinberg
};

// An 8-bit image of the source (any format) in the palette; the web-safe palette uses its
// arithmetic lookup.
PixelImage ReduceColors(const PixelImage& source, const std::vector<Rgb>& palette,
                        DitherKind dither, bool webSafe = false);

}  // namespace htmlview
