// A drop-down list whose entries carry an image and an indent level, drawn by the control: the
// shell's folder combo box shows the path to a folder this way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/ui/geometry.h"
#include "setup/ui/list_controls.h"

namespace setup::ui {

struct TNsImageComboItem
{
    std::int32_t indent = 0;
    std::int32_t imageIndex = -1;
    std::int32_t overlayIndex = -1;
};

class TNsCustomImageCombo : public TCustomComboBox
{
public:
    FORMS_CLASS_INFO()
    explicit TNsCustomImageCombo(forms::TComponent* owner);

    std::int32_t indentPixels = 12;
    // The entries show the system's small icons.
    bool systemImages = true;

    void AddImageItem(const std::string& text, std::int32_t imageIndex, std::int32_t indent,
                      std::int32_t overlayIndex = -1);
    void ClearImageItems();
    // The entry's image and indent; a plain entry for an index out of range.
    TNsImageComboItem ImageItem(std::size_t index) const;
    // Shows another picture for the entry; an index out of range is ignored.
    void SetItemImage(std::size_t index, std::int32_t imageIndex);

private:
    std::vector<TNsImageComboItem> m_imageItems;
};

struct ImageComboLayout
{
    int imageLeft = 0;
    int imageTop = 0;
    TRect textBox;
};

// Where an entry's image and text go in `rect`; the closed box's own field shows no indent.
ImageComboLayout LayOutImageComboItem(TRect rect, int indentPixels, int indent, bool editField,
                                      int imageWidth, int imageHeight, int textWidth);
// Tall enough for the font's characters and for the images.
int ImageComboItemHeight(int fontHeight, int imageHeight);

}  // namespace setup::ui
