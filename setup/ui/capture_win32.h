// Pictures of forms as the screen shows them, child windows and windowless controls included:
// for tests that look at pixels and for people who look at pages.
#pragma once

#include <cstdint>
#include <string>

#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/form.h"

namespace setup::ui {

// Repaints the form and copies its window's area of the screen through a 32-bit bitmap; the
// result is the whole window (frame and caption too), 24 bits per pixel. Raises rtl::Exception
// when the form has no window on the screen.
htmlview::PixelImage CaptureForm(TCustomForm& form);
// The same for a window of the screen that is no form's (the window stays where it is in the
// stack of windows).
htmlview::PixelImage CaptureWindow(std::uintptr_t window);
// Where the form's client area starts within the captured picture.
TPoint ClientOffsetInCapture(TCustomForm& form);
// Writes the picture as a PNG file.
void SavePngFile(const htmlview::PixelImage& image, const std::string& path);

}  // namespace setup::ui
