#include "setup/engine/rtl/string_list.h"

#include "setup/engine/rtl/code_page.h"

namespace setup::rtl {
namespace {

constexpr char kQuote = '"';
constexpr char kDelimiter = ',';

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

bool NeedsQuotes(std::string_view item)
{
    for (char c : item) {
        if (IsBlankOrControl(c) || c == kQuote || c == kDelimiter)
            return true;
    }
    return false;
}

std::string Quoted(std::string_view item)
{
    std::string result(1, kQuote);
    for (char c : item) {
        result += c;
        if (c == kQuote)
            result += kQuote;
    }
    result += kQuote;
    return result;
}

}  // namespace

int TStringList::IndexOf(std::string_view text) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (AnsiSameText(m_items[i], text))
            return static_cast<int>(i);
    }
    return -1;
}

std::string ToCommaText(const std::vector<std::string>& items)
{
    if (items.size() == 1 && items[0].empty())
        return std::string(2, kQuote);
    std::string result;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            result += kDelimiter;
        result += NeedsQuotes(items[i]) ? Quoted(items[i]) : items[i];
    }
    return result;
}

std::vector<std::string> FromCommaText(std::string_view text)
{
    // The text ends at its first NUL, as the zero-terminated text a plug-in hands back does.
    if (const auto nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);

    std::vector<std::string> items;
    std::size_t p = 0;
    const auto skipBlanks = [&] {
        while (p < text.size() && IsBlankOrControl(text[p]))
            ++p;
    };
    skipBlanks();
    while (p < text.size()) {
        std::string item;
        if (text[p] == kQuote) {
            ++p;
            while (p < text.size()) {
                if (text[p] == kQuote) {
                    if (p + 1 < text.size() && text[p + 1] == kQuote) {
                        item += kQuote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            while (p < text.size() && text[p] != kDelimiter && !IsBlankOrControl(text[p]))
                item += text[p++];
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (p < text.size() && text[p] == kDelimiter) {
            if (p + 1 == text.size())
                items.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return items;
}

std::string TStringList::CommaText() const
{
    return ToCommaText(m_items);
}

void TStringList::SetCommaText(std::string_view text)
{
    m_items = FromCommaText(text);
}

}  // namespace setup::rtl
