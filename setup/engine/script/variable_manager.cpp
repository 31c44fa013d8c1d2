#include "setup/engine/script/variable_manager.h"

#include <algorithm>
#include <vector>

#include "setup/engine/rtl/code_page.h"

namespace setup::engine {
namespace {

class LockScope
{
public:
    LockScope(const TVariableManager& manager, bool write) : m_manager(manager), m_write(write)
    {
        m_manager.Lock(m_write);
    }
    ~LockScope() { m_manager.Unlock(m_write); }
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;

private:
    const TVariableManager& m_manager;
    bool m_write;
};

constexpr double kLoadFactor = 2.0;

}  // namespace

TVariableManager::TVariableManager(bool caseSensitive, bool lockReads)
    : m_lockReads(lockReads), m_table(caseSensitive, kLoadFactor, 0)
{}

void TVariableManager::Lock(bool write) const
{
    if (write || m_lockReads)
        m_lock.lock();
}

void TVariableManager::Unlock(bool write) const
{
    if (write || m_lockReads)
        m_lock.unlock();
}

void TVariableManager::SetValue(std::string_view name, std::string_view value)
{
    LockScope lock(*this, true);
    m_table.Put(name, value);
}

void TVariableManager::Update(std::string_view name, std::string_view value)
{
    SetValue(name, value);
}

void TVariableManager::Clear()
{
    LockScope lock(*this, true);
    m_table.Clear();
}

bool TVariableManager::Exists(std::string_view name) const
{
    LockScope lock(*this, false);
    return m_table.ContainsKey(name);
}

bool TVariableManager::TryGetValue(std::string_view name, std::string& value) const
{
    value.clear();
    if (name.empty())
        return false;
    LockScope lock(*this, false);
    if (const std::string* found = m_table.Find(name, m_table.Hash(name))) {
        value = *found;
        return true;
    }
    return false;
}

std::string TVariableManager::GetValue(std::string_view name) const
{
    std::string value;
    TryGetValue(name, value);
    return value;
}

std::size_t TVariableManager::GetList(rtl::TStringList& list) const
{
    LockScope lock(*this, false);
    list.Clear();
    for (const TPair& pair : m_table.Pairs()) {
        list.Add(pair.Key);
        list.Add(pair.Value);
    }
    return list.Count();
}

std::string TVariableManager::Expand(std::string_view text) const
{
    return ExpandText(text, false);
}

std::string TVariableManager::ExpandQuoted(std::string_view text) const
{
    return ExpandText(text, true);
}

std::string TVariableManager::ExpandText(std::string_view text, bool quoted) const
{
    std::string result(text);
    if (result.find('$') == std::string::npos)
        return result;

    // Inserted values still being scanned, innermost last; each ends where its value ends.
    struct Insertion
    {
        std::size_t end;
        std::string name;
    };
    std::vector<Insertion> insertions;
    std::size_t replacements = 0;
    std::size_t scan = 0;
    for (;;) {
        const std::size_t first = result.find('$', scan);
        if (first == std::string::npos)
            break;
        while (!insertions.empty() && insertions.back().end <= first)
            insertions.pop_back();
        const std::size_t second = result.find('$', first + 1);
        if (second == std::string::npos)
            break;
        const std::string name = result.substr(first + 1, second - first - 1);
        const bool inOwnValue =
            std::any_of(insertions.begin(), insertions.end(),
                        [&](const Insertion& i) { return rtl::AnsiSameText(i.name, name); });
        std::string value;
        if (inOwnValue || replacements >= kMaxExpansionReplacements || !TryGetValue(name, value)) {
            scan = second;  // the closing '$' may open the next name
            continue;
        }
        if (quoted)
            value = '"' + value + '"';
        const std::size_t oldLength = second - first + 1;
        result.replace(first, oldLength, value);
        const std::size_t valueEnd = first + value.size();
        for (Insertion& outer : insertions) {
            // Enclosing values shift with the text; a reference that ran past one's end makes
            // it reach at least over the new value, so the stack stays nested.
            const std::size_t shifted =
                outer.end + value.size() >= oldLength ? outer.end + value.size() - oldLength : 0;
            outer.end = std::max(shifted, valueEnd);
        }
        insertions.push_back({valueEnd, name});
        ++replacements;
        scan = first;
    }
    return result;
}

}  // namespace setup::engine
