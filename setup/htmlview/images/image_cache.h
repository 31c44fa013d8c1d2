// Decoded images shared by the documents of one viewer, by source, freed once no document has
// used them for more loads than the limit.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "setup/htmlview/images/animated_image.h"
#include "setup/htmlview/images/pixel_image.h"

namespace htmlview {

struct CachedImage
{
    std::shared_ptr<const PixelImage> image;         // a still image, or
    std::shared_ptr<const AnimatedImage> animation;  // a GIF
    std::shared_ptr<const PixelImage> mask;
    int transparency = 0;
    int idle = 0;  // loads since it was last taken
    int uses = 0;  // document images using it now
};

class ImageCache
{
public:
    // Keys are image sources, already upper-cased and trimmed by the caller.
    void Add(const std::string& key, CachedImage item);
    // The item for a document that starts using it; none when absent.
    const CachedImage* Take(const std::string& key);
    void Release(const std::string& key);
    // One more load: items idle past the limit and unused are freed.
    void Age();
    void SetLimit(int limit);
    int Limit() const { return m_limit; }
    void Clear() { m_items.clear(); }
    bool Contains(const std::string& key) const { return m_items.count(key) != 0; }
    std::size_t Size() const { return m_items.size(); }

private:
    std::map<std::string, CachedImage> m_items;
    int m_limit = 4;
};

}  // namespace htmlview
