// A string list with a hash index for look-up by text, letter case ignored: the form of the
// compiled script's per-statement lists and keyed tables.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace setup::engine {

class THashedStringList
{
public:
    void Add(std::string item);
    void Clear();

    std::size_t Count() const { return m_items.size(); }
    const std::string& operator[](std::size_t index) const { return m_items[index]; }
    const std::vector<std::string>& Items() const { return m_items; }

    // The index of the first item equal to the text, letter case ignored; -1 when none.
    int IndexOf(std::string_view text) const;
    // The item at index, or the empty text outside the list.
    std::string ItemOrEmpty(long long index) const;

private:
    std::vector<std::string> m_items;
    std::unordered_map<std::string, int> m_firstIndex;  // upper-cased text -> first index
};

}  // namespace setup::engine
