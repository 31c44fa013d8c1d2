// The pictures of the viewer's documents: read from files by their expanded sources, decoded once
// (the first frame of a GIF) and kept in the viewer's cache across loads.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "setup/htmlview/images/image_cache.h"
#include "setup/htmlview/images/pixel_image.h"
#include "setup/htmlview/viewer/viewer_window.h"

namespace htmlview {

class ImageStore
{
public:
    // `expand` turns a document's source into a file path.
    ImageStore(const IViewerFiles& files, std::function<std::string(const std::string&)> expand);

    // None when the file is missing or does not decode.
    const PixelImage* Find(const std::string& source);
    // One more load: pictures unused past the cache limit are dropped.
    void Age() { m_cache.Age(); }
    ImageCache& Cache() { return m_cache; }

private:
    const IViewerFiles& m_files;
    std::function<std::string(const std::string&)> m_expand;
    ImageCache m_cache;
};

}  // namespace htmlview
