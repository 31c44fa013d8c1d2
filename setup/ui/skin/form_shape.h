// TSkFormShape: an image on a borderless form whose picture gives the form its outline. Every
// pixel of the picture's transparent colour is cut out of the window, once, at the first showing;
// a press on the picture moves the form.
#pragma once

#include <optional>
#include <vector>

#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/skin/colors.h"

namespace setup::ui::skin {

// One rectangle per run of pixels that differ from the key (red, green and blue compared), row
// by row; empty when every pixel has the key colour.
std::vector<TRect> OpaqueRuns(const htmlview::PixelImage& image, Rgb32 key);

class TSkFormShape : public TImage
{
public:
    FORMS_CLASS_INFO()
    // Outside design mode the owner must be a form: it loses its border and its OnShow handler.
    explicit TSkFormShape(forms::TComponent* owner);

    bool allowFormDrag = true;
    bool active = false;  // kept from older page files; not used
    TNotifyEvent onFormShow;

    void FormShow(TObject* sender);
    bool ShapeBuilt() const { return m_shapeBuilt; }
    // The outline of the picture as rectangles; none leaves the window rectangular.
    virtual std::optional<std::vector<TRect>> ShapeRegion(const htmlview::PixelImage& scratch);
    void MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void BuildShape();
    bool m_shapeBuilt = false;
};

}  // namespace setup::ui::skin
