#include "setup/ui/shell_transfer.h"

namespace setup::ui {

namespace {

constexpr std::size_t kDropFilesHeader = 20;

void PutUint32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t GetUint32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The list starting at the offset, cut to its own bytes; none when it runs past the block.
std::optional<IdList> ListAt(std::string_view block, std::uint32_t offset)
{
    if (offset > block.size())
        return std::nullopt;
    const std::string_view rest = block.substr(offset);
    const std::size_t size = IdListSize(rest);
    if (size == 0)
        return std::nullopt;
    return IdList(rest.substr(0, size));
}

}  // namespace

std::string BuildIdListArray(const IdListArray& array)
{
    const IdList parent = array.parent.empty() ? DesktopIdList() : array.parent;
    const std::size_t count = array.items.size();
    std::string block;
    PutUint32(block, static_cast<std::uint32_t>(count));
    std::size_t offset = 4 + 4 * (count + 1);
    std::string lists;
    PutUint32(block, static_cast<std::uint32_t>(offset));
    lists += parent.substr(0, IdListSize(parent));
    for (const IdList& item : array.items) {
        PutUint32(block, static_cast<std::uint32_t>(offset + lists.size()));
        const std::size_t size = IdListSize(item);
        lists += size ? item.substr(0, size) : DesktopIdList();
    }
    return block + lists;
}

std::optional<IdListArray> ParseIdListArray(std::string_view block)
{
    if (block.size() < 8)
        return std::nullopt;
    const std::uint32_t count = GetUint32(block, 0);
    // Every offset must lie inside the block before any is read.
    if (count > (block.size() - 8) / 4)
        return std::nullopt;
    IdListArray array;
    auto parent = ListAt(block, GetUint32(block, 4));
    if (!parent)
        return std::nullopt;
    array.parent = *parent;
    for (std::uint32_t i = 1; i <= count; ++i) {
        auto item = ListAt(block, GetUint32(block, 4 + 4 * i));
        if (!item)
            return std::nullopt;
        array.items.push_back(*item);
    }
    return array;
}

std::string BuildDropFiles(const std::vector<std::u16string>& paths)
{
    std::string block;
    PutUint32(block, kDropFilesHeader);
    PutUint32(block, 0);  // the drop point
    PutUint32(block, 0);
    PutUint32(block, 0);  // not in the client area
    PutUint32(block, 1);  // wide names
    auto putChar = [&](char16_t c) {
        block += static_cast<char>(c & 0xFF);
        block += static_cast<char>(c >> 8);
    };
    for (const std::u16string& path : paths) {
        for (char16_t c : path)
            if (c != 0)
                putChar(c);
        putChar(0);
    }
    putChar(0);
    return block;
}

DragAnswer ContinueDrag(bool escapePressed, std::uint32_t keyState, std::uint32_t dragButton)
{
    const std::uint32_t buttons = kKeyLeftButton | kKeyRightButton | kKeyMiddleButton;
    if (escapePressed || (keyState & (buttons & ~dragButton)))
        return DragAnswer::Cancel;
    return (keyState & dragButton) ? DragAnswer::Continue : DragAnswer::Drop;
}

}  // namespace setup::ui
