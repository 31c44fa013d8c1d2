#include "suite/recyclebin/recycled_items.h"

#include <cwctype>

namespace trashwipe {
namespace {

std::wstring SingleBackslashes(std::wstring_view path)
{
    std::wstring out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        out.push_back(path[i]);
        if (path[i] == L'\\' && i + 1 < path.size() && path[i + 1] == L'\\')
            ++i;
    }
    return out;
}

}  // namespace

bool SamePathIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

std::size_t RecycledItemList::Add(RecycledItem item)
{
    m_items.push_back(std::move(item));
    return m_items.size() - 1;
}

ResolvedPath RecycledItemList::Resolve(std::wstring_view rawPath) const
{
    const std::wstring path = SingleBackslashes(rawPath);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const RecycledItem& item = m_items[i];
        // A path below a folder entry: the folder must be the whole path or a leading part of it
        // that ends at a separator, so "$R1" does not claim "$R1.txt".
        if (item.isFolder && !item.realPath.empty() && path.starts_with(item.realPath) &&
            path.size() > item.realPath.size() && path[item.realPath.size()] == L'\\')
            return {item.displayPath + path.substr(item.realPath.size()), std::nullopt};
        if (item.isFolder && path == item.realPath)
            return {item.displayPath, i};
        if (SamePathIgnoringCase(path, item.displayPath))
            return {item.realPath, i};
        if (SamePathIgnoringCase(path, item.realPath))
            return {item.displayPath, i};
    }
    return {};
}

SplitPath SplitItemPath(std::wstring_view path)
{
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos)
        return {std::wstring(path), std::nullopt};
    std::wstring folder(path.substr(0, slash));
    if (!folder.empty() && folder.back() == L':')
        folder.push_back(L'\\');
    return {std::wstring(path.substr(slash + 1)), folder};
}

}  // namespace trashwipe
