// Text that carries each character's position in the source document through the code-page
// conversion: bytes as read, and the wide characters the layout gets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "setup/htmlview/util/platform.h"

namespace htmlview {

// Bytes to wide text in a code page; when that converts nothing, in the ANSI code page.
std::u16string MultiByteToWide(const ICodePages& codePages, int codePage, std::string_view bytes);
std::string WideToMultiByte(const ICodePages& codePages, int codePage, std::u16string_view text);

// Byte length of the character at the start of the text (0 for none or a NUL in UTF-8).
int CharLengthAt(const ICodePages& codePages, int codePage, std::string_view text);

class CharCollection
{
public:
    void Add(char byte, int position);
    void Clear();
    void Append(const CharCollection& other);
    const std::string& Text() const { return m_bytes; }
    const std::vector<int>& Positions() const { return m_positions; }
    std::size_t Size() const { return m_bytes.size(); }

private:
    std::string m_bytes;
    std::vector<int> m_positions;
};

class TokenObj
{
public:
    void Add(char16_t c, int position);
    void Clear();
    // Converts the bytes in the code page; each wide character takes the position of its first
    // byte.
    void Append(const CharCollection& bytes, int codePage, const ICodePages& codePages);
    const std::u16string& Text() const { return m_text; }
    const std::vector<int>& Positions() const { return m_positions; }
    std::size_t Size() const { return m_text.size(); }

private:
    std::u16string m_text;
    std::vector<int> m_positions;
};

}  // namespace htmlview
