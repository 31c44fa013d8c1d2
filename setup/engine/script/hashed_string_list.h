// A string list with a hash index for look-up by text, letter case ignored: the form of the
// compiled script's per-statement lists and keyed tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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
    // A slot of the open-addressed index: the first item with some upper-cased text and that
    // text's hash. The index refers to the items themselves, so adding an item costs no copy of
    // it; a script of many statements adds hundreds of thousands.
    struct Slot
    {
        std::uint32_t item = kEmpty;
        std::uint32_t hash = 0;
    };
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;

    std::size_t FindSlot(std::string_view text, std::uint32_t hash) const;
    void Rehash(std::size_t slotCount);

    std::vector<std::string> m_items;
    std::vector<Slot> m_slots;  // a power of two in size, at most half full
    std::size_t m_indexed = 0;  // slots in use
};

}  // namespace setup::engine
