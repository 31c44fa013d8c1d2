// The store of script variables: names to text values in one hash table under one critical
// section, and the expansion of variable names written between two dollar signs.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

#include "setup/engine/rtl/string_list.h"
#include "setup/engine/script/string_hash_table.h"

namespace setup::engine {

// Expansion stops replacing after this many replacements in one text; references left by then
// stay as written. Legitimate texts hold far fewer; this bounds chains that multiply text.
constexpr std::size_t kMaxExpansionReplacements = 10000;

class TVariableManager
{
public:
    TVariableManager(bool caseSensitive, bool lockReads);
    TVariableManager(const TVariableManager&) = delete;
    TVariableManager& operator=(const TVariableManager&) = delete;

    void SetValue(std::string_view name, std::string_view value);
    void Update(std::string_view name, std::string_view value);
    void Clear();
    bool Exists(std::string_view name) const;
    std::string GetValue(std::string_view name) const;
    // Defined flag and value in one look-up.
    bool TryGetValue(std::string_view name, std::string& value) const;
    // Name, value, name, value ... in the table's enumeration order; returns the line count.
    std::size_t GetList(rtl::TStringList& list) const;

    void Lock(bool write) const;
    void Unlock(bool write) const;

    // Replaces every reference to a defined variable by its value, also inside inserted values.
    // A name is never expanded again inside its own inserted value (directly or through other
    // variables), so self and mutual references end, left as written.
    std::string Expand(std::string_view text) const;
    // As Expand, each inserted value enclosed in double quotes (inner quotes not escaped).
    std::string ExpandQuoted(std::string_view text) const;

private:
    std::string ExpandText(std::string_view text, bool quoted) const;

    mutable std::recursive_mutex m_lock;
    bool m_lockReads;
    TStringHashTable m_table;
};

}  // namespace setup::engine
