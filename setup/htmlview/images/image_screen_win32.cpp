#include "setup/htmlview/images/image_screen_win32.h"

#include <cstring>
#include <vector>

#include "setup/htmlview/images/global_palette.h"

namespace htmlview {
namespace {

// A BITMAPINFO with room for 256 colours.
struct DibInfo
{
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

std::vector<Rgb> PaletteEntries(HPALETTE palette, int count)
{
    std::vector<PALETTEENTRY> entries(static_cast<std::size_t>(count));
    const UINT read = GetPaletteEntries(palette, 0, static_cast<UINT>(count), entries.data());
    std::vector<Rgb> colors;
    for (UINT i = 0; i < read; ++i)
        colors.push_back({entries[i].peRed, entries[i].peGreen, entries[i].peBlue});
    return colors;
}

}  // namespace

ScreenColors ReadScreenColors()
{
    ScreenColors screen;
    core::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return screen;
    const int bits = GetDeviceCaps(dc.Get(), BITSPIXEL) * GetDeviceCaps(dc.Get(), PLANES);
    screen.depth = bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
    screen.defaultPalette =
        PaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 20);
    if (screen.depth == 8) {
        std::vector<PALETTEENTRY> entries(256);
        const UINT read = GetSystemPaletteEntries(dc.Get(), 0, 256, entries.data());
        std::vector<Rgb> system(256);
        for (UINT i = 0; i < read && i < 256; ++i)
            system[i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
        screen.globalPalette = BuildGlobalPalette(system, screen.defaultPalette);
    }
    return screen;
}

core::UniqueGdiObject CreateBitmapFromPixels(const PixelImage& image)
{
    DibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = image.width;
    info.header.biHeight = -image.height;  // our rows run top first
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(image.bitsPerPixel);
    info.header.biCompression = BI_RGB;
    for (std::size_t i = 0; i < image.palette.size() && i < 256; ++i) {
        info.colors[i] = {image.palette[i].blue, image.palette[i].green, image.palette[i].red, 0};
        info.header.biClrUsed = static_cast<DWORD>(i + 1);
    }
    void* bits = nullptr;
    core::UniqueGdiObject bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                                  DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits && !image.pixels.empty())
        std::memcpy(bits, image.pixels.data(), image.pixels.size());
    return bitmap;
}

PixelImage ReadBitmapPixels(HBITMAP bitmap)
{
    PixelImage image;
    BITMAP described{};
    if (!GetObjectW(bitmap, sizeof described, &described))
        return image;
    image.Allocate(described.bmWidth, described.bmHeight, 24, UINT64_MAX);
    DibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = image.width;
    info.header.biHeight = -image.height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 24;
    info.header.biCompression = BI_RGB;
    core::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc || GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(image.height), image.pixels.data(),
                         reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != image.height)
        return {};
    return image;
}

bool DrawImageWithMask(HDC target, HBITMAP image, HBITMAP mask, int left, int top, int width,
                       int height)
{
    BITMAP described{};
    if (!GetObjectW(image, sizeof described, &described))
        return false;
    core::UniqueMemoryDc source(CreateCompatibleDC(target));
    if (!source)
        return false;
    const COLORREF oldText = SetTextColor(target, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(target, RGB(255, 255, 255));
    const int oldMode = SetStretchBltMode(target, COLORONCOLOR);
    bool drawn;
    {
        SelectGuard selectMask(source.Get(), mask);
        drawn = StretchBlt(target, left, top, width, height, source.Get(), 0, 0, described.bmWidth,
                           described.bmHeight, SRCAND) != 0;
    }
    {
        SelectGuard selectImage(source.Get(), image);
        drawn = drawn && StretchBlt(target, left, top, width, height, source.Get(), 0, 0,
                                    described.bmWidth, described.bmHeight, SRCPAINT) != 0;
    }
    SetStretchBltMode(target, oldMode);
    SetBkColor(target, oldBack);
    SetTextColor(target, oldText);
    return drawn;
}

}  // namespace htmlview
