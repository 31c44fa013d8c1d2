#include "setup/ui/image_combo.h"

#include <algorithm>
#include <cstdlib>

#include "setup/forms/class_builder.h"

namespace setup::ui {

const forms::ClassInfo& TNsCustomImageCombo::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TNsCustomImageCombo>("TNsCustomImageCombo",
                                                 &TCustomComboBox::StaticClass())
            .Property("IndentPixels", &TNsCustomImageCombo::indentPixels)
            .Build();
    return info;
}

TNsCustomImageCombo::TNsCustomImageCombo(forms::TComponent* owner) : TCustomComboBox(owner)
{
    SetStyle(csOwnerDrawFixed);
}

void TNsCustomImageCombo::AddImageItem(const std::string& text, std::int32_t imageIndex,
                                       std::int32_t indent, std::int32_t overlayIndex)
{
    m_imageItems.push_back({indent, imageIndex, overlayIndex});
    Items()->Add(text);
}

void TNsCustomImageCombo::SetItemImage(std::size_t index, std::int32_t imageIndex)
{
    if (index >= m_imageItems.size())
        return;
    m_imageItems[index].imageIndex = imageIndex;
    Changed(Aspect::Paint);
}

void TNsCustomImageCombo::ClearImageItems()
{
    m_imageItems.clear();
    Items()->Clear();
}

TNsImageComboItem TNsCustomImageCombo::ImageItem(std::size_t index) const
{
    return index < m_imageItems.size() ? m_imageItems[index] : TNsImageComboItem{};
}

ImageComboLayout LayOutImageComboItem(TRect rect, int indentPixels, int indent, bool editField,
                                      int imageWidth, int imageHeight, int textWidth)
{
    const int offset = editField ? 0 : indentPixels * std::max(0, indent);
    ImageComboLayout layout;
    layout.imageLeft = rect.left + 2 + offset;
    layout.imageTop = rect.top + (rect.Height() - imageHeight) / 2;
    const int textLeft = rect.left + 1 + offset + (imageWidth > 0 ? imageWidth + 4 : 4);
    layout.textBox = {textLeft, rect.top, std::min(rect.right, textLeft + textWidth + 3),
                      rect.bottom};
    return layout;
}

int ImageComboItemHeight(int fontHeight, int imageHeight)
{
    return std::max(std::abs(fontHeight) + 2, imageHeight);
}

}  // namespace setup::ui
