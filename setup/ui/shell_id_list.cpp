#include "setup/ui/shell_id_list.h"

#include <cstdint>
#include <vector>

namespace setup::ui {

namespace {

std::size_t CountAt(std::string_view list, std::size_t offset)
{
    return static_cast<unsigned char>(list[offset]) |
           (static_cast<std::size_t>(static_cast<unsigned char>(list[offset + 1])) << 8);
}

// The offsets of the items; none when the chain runs past the bytes or lacks its terminator.
std::optional<std::vector<std::size_t>> ItemOffsets(std::string_view list)
{
    std::vector<std::size_t> offsets;
    std::size_t offset = 0;
    while (offset + 2 <= list.size()) {
        const std::size_t count = CountAt(list, offset);
        if (count == 0)
            return offsets;
        if (count < 2 || count > list.size() - offset)
            return std::nullopt;
        offsets.push_back(offset);
        offset += count;
    }
    return std::nullopt;
}

IdList Terminated(std::string_view items)
{
    IdList list(items);
    list.append(2, '\0');
    return list;
}

}  // namespace

IdList DesktopIdList()
{
    return IdList(2, '\0');
}

IdList MakeIdItem(std::string_view bytes)
{
    const std::size_t count = bytes.size() + 2;
    IdList item;
    item.push_back(static_cast<char>(count & 0xFF));
    item.push_back(static_cast<char>((count >> 8) & 0xFF));
    item.append(bytes);
    return Terminated(item);
}

std::optional<std::size_t> IdListCount(std::string_view list)
{
    auto offsets = ItemOffsets(list);
    if (!offsets)
        return std::nullopt;
    return offsets->size();
}

std::size_t IdListSize(std::string_view list)
{
    auto offsets = ItemOffsets(list);
    if (!offsets)
        return 0;
    if (offsets->empty())
        return 2;
    return offsets->back() + CountAt(list, offsets->back()) + 2;
}

IdList ConcatIdLists(std::string_view first, std::string_view second)
{
    const std::size_t a = IdListSize(first);
    const std::size_t b = IdListSize(second);
    if (a == 0 && b == 0)
        return {};
    IdList joined(first.substr(0, a > 0 ? a - 2 : 0));
    joined.append(second.substr(0, b > 0 ? b - 2 : 0));
    return Terminated(joined);
}

IdList IdListParent(std::string_view list, std::size_t n)
{
    auto offsets = ItemOffsets(list);
    if (!offsets || n > offsets->size())
        return {};
    const std::size_t keep = offsets->size() - n;
    const std::size_t end = keep == offsets->size() ? IdListSize(list) - 2 : (*offsets)[keep];
    return Terminated(list.substr(0, end));
}

IdList IdListItem(std::string_view list, std::size_t i)
{
    auto offsets = ItemOffsets(list);
    if (!offsets || i >= offsets->size())
        return {};
    const std::size_t offset = (*offsets)[i];
    return Terminated(list.substr(offset, CountAt(list, offset)));
}

IdList IdListLast(std::string_view list)
{
    auto count = IdListCount(list);
    if (!count || *count == 0)
        return {};
    return IdListItem(list, *count - 1);
}

std::string_view IdItemPayload(std::string_view item)
{
    if (IdListCount(item) != 1)
        return {};
    return item.substr(2, CountAt(item, 0) - 2);
}

}  // namespace setup::ui
