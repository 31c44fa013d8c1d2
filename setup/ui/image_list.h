// TImageList: images of one size, drawn by index (tree nodes, menu items). Images come from
// bitmaps cut into pieces of the list's width; the list's own form-file data is kept as read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/forms/component.h"
#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/canvas.h"

namespace setup::ui {

class TGraphic;

// Pixels of this colour are transparent where the system draws a list's images.
inline constexpr htmlview::Rgb kImageListTransparent{255, 0, 254};

class TImageList : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    using TComponent::TComponent;

    std::int32_t Width() const { return m_width; }
    void SetWidth(std::int32_t width);
    std::int32_t Height() const { return m_height; }
    void SetHeight(std::int32_t height);
    int Count() const { return static_cast<int>(m_images.size()); }
    // Cuts the bitmap or JPEG image into images of the list's size, left to right; returns the
    // index of the first, -1 when the graphic has no pixels or is smaller than one image.
    int Add(const TGraphic& graphic);
    // One image of the list's size; -1 (and nothing added) for another size.
    int AddImage(htmlview::PixelImage image);
    void Clear() { m_images.clear(); }
    // An index out of range draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index) const;
    const htmlview::PixelImage* Image(int index) const;

    bool masked = true;
    TColor bkColor = clNone;

    void DefineProperties(forms::PropertyDefiner& definer) override;

private:
    std::int32_t m_width = 16;
    std::int32_t m_height = 16;
    std::vector<htmlview::PixelImage> m_images;
    std::string m_storedData;
};

}  // namespace setup::ui
