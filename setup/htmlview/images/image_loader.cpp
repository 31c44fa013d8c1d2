#include "setup/htmlview/images/image_loader.h"

#include <algorithm>
#include <cstring>

#include "setup/htmlview/images/color_reduction.h"
#include "setup/htmlview/images/jpeg_decoder.h"
#include "setup/htmlview/images/png_reader.h"

namespace htmlview {
namespace {

constexpr std::uint64_t kMaxPixelBytes = 200'000'000;

std::uint32_t Big32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

std::uint32_t Little(std::span<const std::uint8_t> d, std::size_t at, int bytes)
{
    if (at + static_cast<std::size_t>(bytes) > d.size())
        throw ImageError("Bitmap image is not valid");
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | d[at + static_cast<std::size_t>(i)];
    return value;
}

}  // namespace

ImageKind ImageKindOf(std::span<const std::uint8_t> d)
{
    if (d.size() >= 2 && d[0] == 'B' && d[1] == 'M')
        return ImageKind::Bmp;
    if (d.size() >= 5 && std::memcmp(d.data(), "GIF8", 4) == 0)
        return d[4] == '9' ? ImageKind::Gif89 : ImageKind::Gif87;
    if (d.size() >= 4 && d[0] == 0x89 && std::memcmp(d.data() + 1, "PNG", 3) == 0)
        return ImageKind::Png;
    if (d.size() >= 2 && d[0] == 0xFF && d[1] == 0xD8)
        return ImageKind::Jpeg;
    return ImageKind::Other;
}

std::optional<Rgb> FindPngTransparentColor(std::span<const std::uint8_t> d)
{
    if (d.size() < 8 || std::memcmp(d.data(), kPngSignature, 8) != 0)
        return std::nullopt;
    // The chunks read here have fixed largest sizes; a longer one ends the scan without a colour.
    int colorType = -1;
    std::vector<Rgb> palette;
    for (std::size_t at = 8; d.size() - at >= 8;) {
        const std::uint32_t length = Big32(&d[at]);
        const std::string type(reinterpret_cast<const char*>(&d[at + 4]), 4);
        const std::size_t body = at + 8;
        if (d.size() - body < std::uint64_t{length} + 4)
            return std::nullopt;
        if (type == "IHDR") {
            if (length < 13 || length > 20)
                return std::nullopt;
            colorType = d[body + 9];
            if (colorType != 2 && colorType != 3)
                return std::nullopt;
        } else if (type == "PLTE") {
            if (length > 768)
                return std::nullopt;
            palette.clear();
            for (std::size_t i = 0; i + 3 <= length; i += 3)
                palette.push_back({d[body + i], d[body + i + 1], d[body + i + 2]});
        } else if (type == "tRNS") {
            if (colorType != 3 || length > 256)
                return std::nullopt;
            for (std::size_t i = 0; i < length; ++i)
                if (d[body + i] == 0)
                    return i < palette.size() ? std::optional<Rgb>(palette[i]) : std::nullopt;
            return std::nullopt;
        } else if (type == "IDAT") {
            return std::nullopt;
        }
        at = body + length + 4;
    }
    return std::nullopt;
}

PixelImage MakeImageMask(const PixelImage& image, std::optional<Rgb> key)
{
    PixelImage mask;
    mask.Allocate(image.width, image.height, 1, UINT64_MAX);
    mask.palette = {{0, 0, 0}, {255, 255, 255}};
    if (image.width == 0 || image.height == 0)
        return mask;
    const Rgb transparent = key ? *key : image.ColorAt(0, image.height - 1);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            mask.SetIndex(x, y, image.ColorAt(x, y) == transparent ? 1 : 0);
    return mask;
}

PixelImage LoadBmp(std::span<const std::uint8_t> d, std::uint64_t maxPixelBytes)
{
    const std::uint32_t pixelOffset = Little(d, 10, 4);
    const std::uint32_t infoSize = Little(d, 14, 4);
    if (infoSize < 40)
        throw ImageError("Bitmap image is not valid");
    const auto width = static_cast<std::int32_t>(Little(d, 18, 4));
    const auto rawHeight = static_cast<std::int32_t>(Little(d, 22, 4));
    const int bits = static_cast<int>(Little(d, 28, 2));
    const std::uint32_t compression = Little(d, 30, 4);
    std::uint32_t colors = Little(d, 46, 4);
    if (compression != 0 || width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        throw ImageError("Invalid pixel format");
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    PixelImage image;
    image.Allocate(width, height, bits == 32 ? 24 : bits, maxPixelBytes);
    if (bits <= 8) {
        const std::uint32_t full = 1u << bits;
        if (colors == 0 || colors > full)
            colors = full;
        for (std::uint32_t i = 0; i < colors; ++i) {
            const std::size_t at = 14 + infoSize + 4 * std::size_t{i};
            image.palette[i] = {static_cast<std::uint8_t>(Little(d, at + 2, 1)),
                                static_cast<std::uint8_t>(Little(d, at + 1, 1)),
                                static_cast<std::uint8_t>(Little(d, at, 1))};
        }
    }
    const std::uint64_t stride = DibRowBytes(static_cast<std::uint64_t>(width), bits);
    for (int y = 0; y < height; ++y) {
        const int fileRow = rawHeight < 0 ? y : height - 1 - y;
        const std::uint64_t at = pixelOffset + stride * static_cast<std::uint64_t>(fileRow);
        if (at + stride > d.size())
            throw ImageError("Bitmap image is not valid");
        const std::uint8_t* row = d.data() + at;
        if (bits == 32)
            for (int x = 0; x < width; ++x)
                image.SetColor(x, y, {row[x * 4 + 2], row[x * 4 + 1], row[x * 4]});
        else
            std::memcpy(image.Row(y), row, image.Stride());
    }
    return image;
}

PixelImage ConvertForScreen(PixelImage image, const ScreenColors& screen)
{
    if (screen.depth > 8)
        return image;
    const std::vector<Rgb>& palette = screen.depth < 8 || screen.globalPalette.empty()
                                          ? screen.defaultPalette
                                          : screen.globalPalette;
    return ReduceColors(image, palette, DitherKind::FloydSteinberg);
}

PixelImage StretchBackgroundImage(const PixelImage& image, int wantedWidth, int wantedHeight)
{
    const int width = image.width == 1 ? std::clamp(wantedWidth, 1, 100) : image.width;
    const int height = image.height == 1 ? std::clamp(wantedHeight, 1, 100) : image.height;
    PixelImage result;
    result.Allocate(width, height, 24, UINT64_MAX);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            result.SetColor(
                x, y,
                image.ColorAt(static_cast<int>(std::int64_t{x} * image.width / width),
                              static_cast<int>(std::int64_t{y} * image.height / height)));
    return result;
}

std::optional<LoadedImage> LoadImageFromBytes(std::span<const std::uint8_t> data, int& transparency,
                                              const ScreenColors& screen)
{
    if (data.size() < 20)
        return std::nullopt;
    try {
        LoadedImage loaded;
        std::optional<Rgb> key;
        switch (ImageKindOf(data)) {
            case ImageKind::Jpeg: {
                transparency = kNoTransparency;
                JpegRequest request;
                request.eightBit = screen.depth <= 8;
                if (screen.depth == 8 && !screen.globalPalette.empty())
                    request.palette = &screen.globalPalette;
                loaded.image = DecodeJpeg(data, request);
                break;
            }
            case ImageKind::Png:
                if ((key = FindPngTransparentColor(data)))
                    transparency = kOneColor;
                loaded.image = LoadPng(data).image;
                break;
            case ImageKind::Bmp:
                loaded.image = LoadBmp(data, kMaxPixelBytes);
                break;
            default:
                return std::nullopt;
        }
        if (transparency == kLowerLeftCorner) {
            loaded.mask = MakeImageMask(loaded.image, std::nullopt);
        } else if (transparency == kOneColor) {
            loaded.mask = MakeImageMask(loaded.image, key);
            // Transparent pixels turn black, so that drawing ORs the image over the masked hole.
            if (loaded.image.bitsPerPixel == 24) {
                for (int y = 0; y < loaded.image.height; ++y)
                    for (int x = 0; x < loaded.image.width; ++x)
                        if (loaded.mask->IndexAt(x, y))
                            loaded.image.SetColor(x, y, {});
            } else {
                for (auto& entry : loaded.image.palette)
                    if (key && entry == *key)
                        entry = {};
            }
        }
        loaded.image = ConvertForScreen(std::move(loaded.image), screen);
        return loaded;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace htmlview
