// The pictures of the viewer's documents: read from files by their expanded sources, decoded once
// (the first frame of a GIF) and kept in the viewer's cache across loads.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "setup/htmlview/images/image_cache.h"
#include "setup/htmlview/images/image_loader.h"
#include "setup/htmlview/images/pixel_image.h"
#include "setup/htmlview/viewer/viewer_window.h"

namespace htmlview {

class ImageStore
{
public:
    // `expand` turns a document's source into a file path; pictures are kept in the screen's
    // colours (the shared palette on a 256-colour screen).
    ImageStore(const IViewerFiles& files, std::function<std::string(const std::string&)> expand,
               ScreenColors screen = {});

    // None when the file is missing or does not decode.
    const PixelImage* Find(const std::string& source);
    // One more load: pictures unused past the cache limit are dropped.
    void Age() { m_cache.Age(); }
    ImageCache& Cache() { return m_cache; }

    // Asked before the file: the owner's picture, or the owner's bytes to decode.
    std::function<std::optional<PixelImage>(const std::string& source)> bitmapRequest;
    std::function<std::optional<std::string>(const std::string& source)> streamRequest;

private:
    const IViewerFiles& m_files;
    std::function<std::string(const std::string&)> m_expand;
    ScreenColors m_screen;
    ImageCache m_cache;
};

}  // namespace htmlview
