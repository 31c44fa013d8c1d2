#include "standins/archive/entry_names.h"

#include <unordered_map>

namespace standins::archive {
namespace {

bool IsSeparator(char16_t unit)
{
    return unit == u'\\' || unit == u'/';
}

bool IsClimbingComponent(std::u16string_view component)
{
    // "." is harmless but never needed; every all-dots-and-spaces component is refused alike.
    for (char16_t unit : component) {
        if (unit != u'.' && unit != u' ') {
            return false;
        }
    }
    return true;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 open devices wherever they stand in a path, also with an
// extension ("nul.txt").
bool IsDeviceName(std::u16string_view component)
{
    std::u16string_view base = component.substr(0, component.find(u'.'));
    while (!base.empty() && base.back() == u' ') {
        base.remove_suffix(1);
    }
    std::string upper;
    for (char16_t unit : base) {
        if (unit > 0x7F) {
            return false;
        }
        upper.push_back(static_cast<char>(unit >= u'a' && unit <= u'z' ? unit - 0x20 : unit));
    }
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") {
        return true;
    }
    return upper.size() == 4 &&
           (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

std::string LookupKey(std::string_view name)
{
    std::string key;
    key.reserve(name.size());
    for (char c : name) {
        if (c == '/') {
            c = '\\';
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        key.push_back(c);
    }
    return key;
}

}  // namespace

bool IsSafeEntryName(std::u16string_view name)
{
    if (name.empty() || IsSeparator(name.front())) {
        return false;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size()) {
            const char16_t unit = name[i];
            if (unit == u':' || unit < 0x20) {
                return false;
            }
            if (!IsSeparator(unit)) {
                continue;
            }
        }
        const std::u16string_view component = name.substr(start, i - start);
        // Empty components come from doubled or trailing separators; refused like the others.
        if (component.empty() || IsClimbingComponent(component) || IsDeviceName(component)) {
            return false;
        }
        start = i + 1;
    }
    return true;
}

std::u16string_view BareName(std::u16string_view name)
{
    const std::size_t last = name.find_last_of(u"\\/");
    return last == std::u16string_view::npos ? name : name.substr(last + 1);
}

std::size_t SelectEntries(const std::vector<std::string>& archiveNames,
                          const std::vector<std::string>& wanted, std::vector<bool>& selected)
{
    std::unordered_multimap<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < archiveNames.size(); ++i) {
        byName.emplace(LookupKey(archiveNames[i]), i);
    }
    selected.assign(archiveNames.size(), false);
    for (std::size_t w = 0; w < wanted.size(); ++w) {
        const auto [first, last] = byName.equal_range(LookupKey(wanted[w]));
        if (first == last) {
            return w;
        }
        for (auto it = first; it != last; ++it) {
            selected[it->second] = true;
        }
    }
    return std::string::npos;
}

}  // namespace standins::archive
