#include "setup/htmlview/viewer/image_store.h"

#include <memory>
#include <span>

#include "setup/htmlview/images/gif_decoder.h"
#include "setup/htmlview/images/gif_strip.h"
#include "setup/htmlview/images/image_loader.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

// The first frame of a GIF as a still picture.
std::optional<PixelImage> FirstGifFrame(std::span<const std::uint8_t> bytes)
{
    const GifStrip strip = BuildGifStrip(LoadGif(bytes));
    if (strip.cellWidth <= 0 || strip.height <= 0)
        return std::nullopt;
    PixelImage image;
    image.Allocate(strip.cellWidth, strip.height, 24, 64u << 20);
    for (int y = 0; y < strip.height; ++y)
        for (int x = 0; x < strip.cellWidth; ++x)
            image.SetColor(x, y, strip.ColorAt(x, y));
    return image;
}

std::optional<PixelImage> Decode(const std::string& data, const ScreenColors& screen)
{
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()),
                                              data.size());
    try {
        const ImageKind kind = ImageKindOf(bytes);
        if (kind == ImageKind::Gif87 || kind == ImageKind::Gif89) {
            if (auto frame = FirstGifFrame(bytes))
                return ConvertForScreen(std::move(*frame), screen);
            return std::nullopt;
        }
        int transparency = kNoTransparency;
        if (auto loaded = LoadImageFromBytes(bytes, transparency, screen))
            return std::move(loaded->image);
    } catch (const std::exception&) {
        // A damaged picture shows as missing.
    }
    return std::nullopt;
}

}  // namespace

ImageStore::ImageStore(const IViewerFiles& files,
                       std::function<std::string(const std::string&)> expand, ScreenColors screen)
    : m_files(files), m_expand(std::move(expand)), m_screen(std::move(screen))
{}

const PixelImage* ImageStore::Find(const std::string& source)
{
    const std::string key = UpperAscii(Trim(source));
    if (key.empty())
        return nullptr;
    if (!m_cache.Contains(key)) {
        CachedImage item;
        const std::string trimmed(Trim(source));
        std::optional<PixelImage> image;
        if (bitmapRequest)
            if (auto given = bitmapRequest(trimmed))
                image = ConvertForScreen(std::move(*given), m_screen);
        std::optional<std::string> data;
        if (!image && streamRequest)
            data = streamRequest(trimmed);
        if (!image && !data)
            data = m_files.ReadFile(m_expand(trimmed));
        if (!image && data)
            image = Decode(*data, m_screen);
        if (image)
            item.image = std::make_shared<const PixelImage>(std::move(*image));
        m_cache.Add(key, std::move(item));
    }
    const CachedImage* item = m_cache.Take(key);
    if (!item)
        return nullptr;
    m_cache.Release(key);
    return item->image.get();
}

}  // namespace htmlview
