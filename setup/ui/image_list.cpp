#include "setup/ui/image_list.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/picture.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TImageList::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TImageList>("TImageList", &forms::TComponent::StaticClass())
            .Property("BkColor", &TImageList::bkColor)
            .Property("Height", &TImageList::Height, &TImageList::SetHeight)
            .Property("Masked", &TImageList::masked)
            .Property("Width", &TImageList::Width, &TImageList::SetWidth)
            .Build();
    return info;
}

void TImageList::SetWidth(std::int32_t width)
{
    // A new size empties the list, as its images no longer fit.
    if (width == m_width)
        return;
    m_width = width < 1 ? 1 : width;
    m_images.clear();
}

void TImageList::SetHeight(std::int32_t height)
{
    if (height == m_height)
        return;
    m_height = height < 1 ? 1 : height;
    m_images.clear();
}

int TImageList::Add(const TGraphic& graphic)
{
    const htmlview::PixelImage* source = graphic.Pixels();
    if (!source || source->width < m_width || source->height < m_height)
        return -1;
    const int first = Count();
    for (int left = 0; left + m_width <= source->width; left += m_width)
        m_images.push_back(CropPixels(*source, TRect::Bounds(left, 0, m_width, m_height)));
    return first;
}

int TImageList::AddImage(htmlview::PixelImage image)
{
    if (image.width != m_width || image.height != m_height)
        return -1;
    m_images.push_back(std::move(image));
    return Count() - 1;
}

const htmlview::PixelImage* TImageList::Image(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return &m_images[static_cast<std::size_t>(index)];
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const
{
    const htmlview::PixelImage* image = Image(index);
    if (image && canvas.Device())
        canvas.Device()->DrawImage(TRect::Bounds(x, y, m_width, m_height), *image);
}

void TImageList::DefineProperties(forms::PropertyDefiner& definer)
{
    definer.DefineBinaryProperty(
        "Bitmap", [this](std::string_view bytes) { m_storedData = bytes; },
        [this]() -> std::optional<std::string> {
            if (m_storedData.empty())
                return std::nullopt;
            return m_storedData;
        });
}

}  // namespace setup::ui
