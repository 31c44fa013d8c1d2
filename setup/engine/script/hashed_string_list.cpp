#include "setup/engine/script/hashed_string_list.h"

#include "setup/engine/rtl/code_page.h"

namespace setup::engine {

void THashedStringList::Add(std::string item)
{
    m_firstIndex.try_emplace(rtl::AnsiUpperCase(item), static_cast<int>(m_items.size()));
    m_items.push_back(std::move(item));
}

void THashedStringList::Clear()
{
    m_items.clear();
    m_firstIndex.clear();
}

int THashedStringList::IndexOf(std::string_view text) const
{
    const auto found = m_firstIndex.find(rtl::AnsiUpperCase(text));
    return found == m_firstIndex.end() ? -1 : found->second;
}

std::string THashedStringList::ItemOrEmpty(long long index) const
{
    if (index < 0 || index >= static_cast<long long>(m_items.size()))
        return {};
    return m_items[static_cast<std::size_t>(index)];
}

}  // namespace setup::engine
