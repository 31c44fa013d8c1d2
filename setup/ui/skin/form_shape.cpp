#include "setup/ui/skin/form_shape.h"

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/class_builder.h"
#include "setup/ui/form.h"
#include "setup/ui/skin/flat_glyphs.h"

namespace setup::ui::skin {

using forms::ClassBuilder;
using forms::ClassInfo;

std::vector<TRect> OpaqueRuns(const htmlview::PixelImage& image, Rgb32 key)
{
    key &= 0xFFFFFF;
    std::vector<TRect> runs;
    for (int y = 0; y < image.height; ++y) {
        int start = -1;
        for (int x = 0; x < image.width; ++x) {
            const bool opaque = PixelAt(image, x, y) != key;
            if (opaque && start < 0)
                start = x;
            else if (!opaque && start >= 0) {
                runs.push_back({start, y, x, y + 1});
                start = -1;
            }
        }
        if (start >= 0)
            runs.push_back({start, y, image.width, y + 1});
    }
    return runs;
}

const ClassInfo& TSkFormShape::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TSkFormShape>("TSkFormShape", &TImage::StaticClass())
            .Property("Active", &TSkFormShape::active)
            .Property("AllowFormDrag", &TSkFormShape::allowFormDrag)
            .Property("OnFormShow", &TSkFormShape::onFormShow)
            .Method("FormShow", &TSkFormShape::FormShow)
            .Build();
    return info;
}

TSkFormShape::TSkFormShape(forms::TComponent* owner) : TImage(owner)
{
    SetAlign(alClient);
    transparent = true;
    if (!owner || owner->HasState(forms::csDesigning))
        return;
    auto* form = dynamic_cast<TCustomForm*>(owner);
    if (!form)
        throw rtl::Exception("Invalid class typecast");
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    static_cast<forms::TMethod&>(form->onShow) = {StaticClass().FindMethod("FormShow"), this};
}

void TSkFormShape::FormShow(TObject* sender)
{
    BuildShape();
    onFormShow(this);
}

void TSkFormShape::BuildShape()
{
    if (m_shapeBuilt)
        return;
    m_shapeBuilt = true;
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (!form)
        return;
    const int width = Picture()->Width();
    const int height = Picture()->Height();
    htmlview::PixelImage scratch = NewPixels(width, height, 0);
    if (const TGraphic* graphic = Picture()->Graphic()) {
        // A bitmap's transparent colour is its bottom-left pixel; the scratch starts in it so
        // that whatever the picture leaves undrawn is cut away too.
        const htmlview::PixelImage* pixels = graphic->Pixels();
        if (pixels && graphic->Format() == GraphicFormat::Bitmap && pixels->height > 0)
            FillPixels(scratch, {0, 0, width, height}, PixelAt(*pixels, 0, pixels->height - 1));
        if (pixels)
            for (int y = 0; y < std::min(height, pixels->height); ++y)
                for (int x = 0; x < std::min(width, pixels->width); ++x)
                    SetPixel(scratch, x, y, PixelAt(*pixels, x, y));
    }
    form->SetWindowRegion(ShapeRegion(scratch));
}

std::optional<std::vector<TRect>> TSkFormShape::ShapeRegion(const htmlview::PixelImage& scratch)
{
    if (!transparent || scratch.width == 0 || scratch.height == 0)
        return std::nullopt;
    std::vector<TRect> runs = OpaqueRuns(scratch, PixelAt(scratch, 0, scratch.height - 1));
    if (runs.empty())
        return std::nullopt;
    return runs;
}

void TSkFormShape::MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x,
                                   int y)
{
    TImage::MouseFromWindow(down, button, shift, x, y);
    if (!down || !allowFormDrag)
        return;
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
        form->BeginUserMove();
}

}  // namespace setup::ui::skin
