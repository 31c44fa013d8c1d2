#include "setup/htmlview/util/char_buffers.h"

namespace htmlview {

std::u16string MultiByteToWide(const ICodePages& codePages, int codePage, std::string_view bytes)
{
    std::u16string wide = codePages.ToWide(codePage, bytes);
    if (wide.empty() && !bytes.empty())
        wide = codePages.ToWide(codePages.AnsiCodePage(), bytes);
    return wide;
}

std::string WideToMultiByte(const ICodePages& codePages, int codePage, std::u16string_view text)
{
    std::string bytes = codePages.FromWide(codePage, text);
    if (bytes.empty() && !text.empty())
        bytes = codePages.FromWide(codePages.AnsiCodePage(), text);
    return bytes;
}

int CharLengthAt(const ICodePages& codePages, int codePage, std::string_view text)
{
    if (text.empty())
        return 0;
    if (codePage != 65001)
        return codePages.NextCharLength(codePage, text);
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead == 0)
        return 0;
    if (lead >= 0xC0 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    return 1;
}

void CharCollection::Add(char byte, int position)
{
    m_bytes += byte;
    m_positions.push_back(position);
}

void CharCollection::Clear()
{
    m_bytes.clear();
    m_positions.clear();
}

void CharCollection::Append(const CharCollection& other)
{
    m_bytes += other.m_bytes;
    m_positions.insert(m_positions.end(), other.m_positions.begin(), other.m_positions.end());
}

void TokenObj::Add(char16_t c, int position)
{
    m_text += c;
    m_positions.push_back(position);
}

void TokenObj::Clear()
{
    m_text.clear();
    m_positions.clear();
}

void TokenObj::Append(const CharCollection& bytes, int codePage, const ICodePages& codePages)
{
    const std::u16string wide = MultiByteToWide(codePages, codePage, bytes.Text());
    if (wide.size() == bytes.Size()) {
        for (std::size_t i = 0; i < wide.size(); ++i)
            Add(wide[i], bytes.Positions()[i]);
        return;
    }
    // Walk the bytes character by character; a surrogate pair shares its character's position.
    const std::string_view text = bytes.Text();
    std::size_t byte = 0;
    std::size_t w = 0;
    while (w < wide.size() && byte < text.size()) {
        const int length = CharLengthAt(codePages, codePage, text.substr(byte));
        if (length <= 0)
            break;
        const int position = bytes.Positions()[byte];
        Add(wide[w++], position);
        if (w < wide.size() && wide[w - 1] >= 0xD800 && wide[w - 1] <= 0xDBFF)
            Add(wide[w++], position);
        byte += static_cast<std::size_t>(length);
    }
}

}  // namespace htmlview
