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

std::optional<PixelImage> Decode(const std::string& data)
{
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()),
                                              data.size());
    try {
        const ImageKind kind = ImageKindOf(bytes);
        if (kind == ImageKind::Gif87 || kind == ImageKind::Gif89)
            return FirstGifFrame(bytes);
        int transparency = kNoTransparency;
        if (auto loaded = LoadImageFromBytes(bytes, transparency, ScreenColors{}))
            return std::move(loaded->image);
    } catch (const std::exception&) {
        // A damaged picture shows as missing.
    }
    return std::nullopt;
}

}  // namespace

ImageStore::ImageStore(const IViewerFiles& files,
                       std::function<std::string(const std::string&)> expand)
    : m_files(files), m_expand(std::move(expand))
{}

const PixelImage* ImageStore::Find(const std::string& source)
{
    const std::string key = UpperAscii(Trim(source));
    if (key.empty())
        return nullptr;
    if (!m_cache.Contains(key)) {
        CachedImage item;
        if (const auto data = m_files.ReadFile(m_expand(std::string(Trim(source)))))
            if (auto image = Decode(*data))
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
