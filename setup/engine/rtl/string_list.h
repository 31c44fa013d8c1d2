// An ordered list of ANSI texts with the framework's case-insensitive look-up and comma text,
// the form in which the engine hands lists to plug-ins and keeps command-line assignments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace setup::rtl {

class TStringList
{
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> items) : m_items(items) {}

    std::size_t Count() const { return m_items.size(); }
    const std::string& operator[](std::size_t index) const { return m_items[index]; }
    std::string& operator[](std::size_t index) { return m_items[index]; }
    const std::vector<std::string>& Items() const { return m_items; }
    void Add(std::string item) { m_items.push_back(std::move(item)); }
    void Clear() { m_items.clear(); }

    // Index of the first item equal to the text in the user locale, letter case ignored; -1 when
    // none.
    int IndexOf(std::string_view text) const;

    std::string CommaText() const;
    void SetCommaText(std::string_view text);

    bool operator==(const TStringList&) const = default;

private:
    std::vector<std::string> m_items;
};

// Comma text of a list of items (see TStringList::CommaText), usable without a list object.
std::string ToCommaText(const std::vector<std::string>& items);
std::vector<std::string> FromCommaText(std::string_view text);

}  // namespace setup::rtl
