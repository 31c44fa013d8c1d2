#include "setup/ui/tray/notify_icon_data.h"

namespace setup::ui::tray {

std::string CutToField(std::string_view text, std::size_t fieldChars)
{
    return std::string(text.substr(0, fieldChars - 1));
}

void NotifyIconData::SetTip(std::string_view text)
{
    tip = CutToField(text, kTipChars);
}

void NotifyIconData::SetInfo(std::string_view text)
{
    info = CutToField(text, kInfoChars);
}

void NotifyIconData::SetInfoTitle(std::string_view text)
{
    infoTitle = CutToField(text, kInfoTitleChars);
}

std::uint32_t NotifyIconDataSize(std::size_t pointerBytes)
{
    auto alignUp = [](std::size_t offset, std::size_t to) { return (offset + to - 1) / to * to; };
    std::size_t size = 4;                            // cbSize
    size = alignUp(size, pointerBytes) + pointerBytes;  // hWnd
    size += 4 + 4 + 4;                               // uID, uFlags, uCallbackMessage
    size = alignUp(size, pointerBytes) + pointerBytes;  // hIcon
    size += kTipChars + 4 + 4 + kInfoChars + 4 + kInfoTitleChars + 4;
    return static_cast<std::uint32_t>(alignUp(size, pointerBytes == 8 ? 8 : 4));
}

}  // namespace setup::ui::tray
