#include "setup/engine/script/hashed_string_list.h"

#include "setup/engine/rtl/code_page.h"

namespace setup::engine {
namespace {

constexpr std::size_t kMinimumSlots = 16;

// Walks a text's upper-cased bytes the way the code page upper-cases it: the trail byte of a
// double-byte character stays as it is.
class UpperBytes
{
public:
    UpperBytes(const rtl::CodePageFacts& codePage, std::string_view text)
        : m_codePage(codePage), m_text(text)
    {}

    bool AtEnd() const { return m_position >= m_text.size(); }

    std::uint8_t Next()
    {
        const auto byte = static_cast<std::uint8_t>(m_text[m_position++]);
        if (m_trail) {
            m_trail = false;
            return byte;
        }
        m_trail = m_codePage.leadByte[byte];
        return m_trail ? byte : m_codePage.upper[byte];
    }

private:
    const rtl::CodePageFacts& m_codePage;
    std::string_view m_text;
    std::size_t m_position = 0;
    bool m_trail = false;
};

std::uint32_t UpperHash(const rtl::CodePageFacts& codePage, std::string_view text)
{
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (UpperBytes bytes(codePage, text); !bytes.AtEnd();)
        hash = (hash ^ bytes.Next()) * 16777619u;
    return hash;
}

bool SameUpper(const rtl::CodePageFacts& codePage, std::string_view a, std::string_view b)
{
    // Upper-casing keeps a text's length.
    if (a.size() != b.size())
        return false;
    UpperBytes left(codePage, a);
    UpperBytes right(codePage, b);
    while (!left.AtEnd()) {
        if (left.Next() != right.Next())
            return false;
    }
    return true;
}

}  // namespace

void THashedStringList::Add(std::string item)
{
    const std::uint32_t hash = UpperHash(rtl::SystemCodePage(), item);
    const std::size_t slot = FindSlot(item, hash);
    if (m_slots.empty() || m_slots[slot].item == kEmpty) {
        const auto index = static_cast<std::uint32_t>(m_items.size());
        if ((m_indexed + 1) * 2 > m_slots.size()) {
            Rehash(m_slots.empty() ? kMinimumSlots : m_slots.size() * 2);
            m_slots[FindSlot(item, hash)] = {index, hash};
        } else {
            m_slots[slot] = {index, hash};
        }
        ++m_indexed;
    }
    m_items.push_back(std::move(item));
}

void THashedStringList::Clear()
{
    m_items.clear();
    m_slots.clear();
    m_indexed = 0;
}

int THashedStringList::IndexOf(std::string_view text) const
{
    if (m_slots.empty())
        return -1;
    const std::uint32_t item = m_slots[FindSlot(text, UpperHash(rtl::SystemCodePage(), text))].item;
    return item == kEmpty ? -1 : static_cast<int>(item);
}

std::string THashedStringList::ItemOrEmpty(long long index) const
{
    if (index < 0 || index >= static_cast<long long>(m_items.size()))
        return {};
    return m_items[static_cast<std::size_t>(index)];
}

std::size_t THashedStringList::FindSlot(std::string_view text, std::uint32_t hash) const
{
    if (m_slots.empty())
        return 0;
    const rtl::CodePageFacts& codePage = rtl::SystemCodePage();
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot& entry = m_slots[slot];
        if (entry.item == kEmpty ||
            (entry.hash == hash && SameUpper(codePage, m_items[entry.item], text)))
            return slot;
    }
}

void THashedStringList::Rehash(std::size_t slotCount)
{
    std::vector<Slot> old(slotCount);
    old.swap(m_slots);
    const std::size_t mask = slotCount - 1;
    for (const Slot& entry : old) {
        if (entry.item == kEmpty)
            continue;
        std::size_t slot = entry.hash & mask;
        while (m_slots[slot].item != kEmpty)
            slot = (slot + 1) & mask;
        m_slots[slot] = entry;
    }
}

}  // namespace setup::engine
