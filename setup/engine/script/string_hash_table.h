// The text-to-text hash table with assignment and its stream format: for each pair in
// enumeration order, a 32-bit little-endian key length, the key, a 32-bit value length, the value.
#pragma once

#include <optional>

#include "setup/engine/script/hash_table.h"

namespace setup::engine {

struct TPair
{
    std::string Key;
    std::string Value;
};

class TStringHashTable : public TCustomStringHashTable
{
public:
    class TPairEnumerator : public THashEnumerator
    {
    public:
        using THashEnumerator::THashEnumerator;
        TPair Current() const { return {CurrentNode()->key, CurrentNode()->value}; }
    };

    TStringHashTable(bool caseSensitive, double loadFactor, std::int32_t capacity)
        : TCustomStringHashTable(caseSensitive, loadFactor, capacity)
    {}

    std::string ClassName() const override { return "TStringHashTable"; }
    void AssignTo(TCustomHashTable& target) const override;
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) const override;

    // Inserts, or replaces the value of an equal key (which keeps its first spelling). An empty
    // key is ignored.
    void Put(std::string_view key, std::string_view value);
    bool TryGetValue(std::string_view key, std::string& value) const;
    bool ContainsKey(std::string_view key) const;
    // Look-up with a hash the caller computed with Hash(); nullptr when absent.
    const std::string* Find(std::string_view key, std::uint32_t hash) const;
    TPairEnumerator GetEnumerator() const { return TPairEnumerator(*this); }
    // Pairs in enumeration order (takes and releases the enumerator lock).
    std::vector<TPair> Pairs() const;
};

}  // namespace setup::engine
