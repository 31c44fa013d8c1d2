#include "setup/htmlview/parser/tokenizer.h"

#include "core/scope_guard.h"
#include "setup/htmlview/parser/charsets.h"
#include "setup/htmlview/parser/entities.h"
#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/win_math.h"

namespace htmlview {

namespace {

constexpr int kMaxEntityName = 11;
constexpr int kMaxEntityDigits = 10;

bool IsControlByte(char c)
{
    return c >= 1 && c <= 8;
}

bool IsHexDigit(char c)
{
    return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The number of an attribute value: trimmed, one trailing "%" dropped, rounded; 0 when it is
// not a number.
int NumberOfValue(std::string_view value)
{
    value = Trim(value);
    if (!value.empty() && value.back() == '%')
        value.remove_suffix(1);
    if (value.empty() ||
        !(value[0] == '+' || value[0] == '-' || value[0] == '.' || IsAsciiDigit(value[0])))
        return 0;
    const auto number = ParseDecimal(value);
    return number ? RoundClamped(*number) : 0;
}

// A numeric reference's digits as a code point; beyond Unicode is "?".
std::uint32_t CodePointOf(std::string_view digits, bool hex)
{
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = IsAsciiDigit(c) ? c - '0' : (UpperAscii(c) - 'A' + 10);
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    }
    return value > 0x10FFFF ? '?' : static_cast<std::uint32_t>(value);
}

}  // namespace

Tokenizer::Tokenizer(std::string document, const ICodePages& codePages, TokenizerHooks hooks)
    : m_document(std::move(document)), m_codePages(codePages), m_hooks(std::move(hooks))
{
    if (const std::size_t nul = m_document.find('\0'); nul != std::string::npos)
        m_document.resize(nul);
    if (m_document.size() >= 4 && m_document.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        m_document.erase(0, 3);
        m_utf8Mark = true;
        m_codePage = 65001;
        m_position = 2;  // positions still count the mark's bytes
    } else if (HasJisEscape(m_document)) {
        m_document = JisToShiftJis(m_document);
        m_shiftJis = true;
        m_codePage = 932;
    }
}

char Tokenizer::PeekRawChar() const
{
    if (m_insertedPos < m_inserted.size())
        return m_inserted[m_insertedPos];
    return m_documentPos < m_document.size() ? m_document[m_documentPos] : '\0';
}

char Tokenizer::NextRawChar()
{
    if (m_insertedPos < m_inserted.size())
        return m_inserted[m_insertedPos++];
    if (!m_inserted.empty()) {
        m_inserted.clear();
        m_insertedPos = 0;
    }
    if (m_documentPos >= m_document.size())
        return '\0';
    ++m_position;
    const char c = m_document[m_documentPos++];
    if (m_documentPos % 4096 == 0 && m_hooks.progress && !m_preScan)
        m_hooks.progress(m_documentPos, m_document.size());
    return c;
}

void Tokenizer::ReadChar()
{
    char c = NextRawChar();
    // CR LF and LF CR are one line end; the second byte of a pair does not pair again.
    if ((c == '\n' && m_lastLineEnd == '\r') || (c == '\r' && m_lastLineEnd == '\n')) {
        m_lastLineEnd = 0;
        c = NextRawChar();
    }
    m_lastLineEnd = (c == '\r' || c == '\n') ? c : 0;
    if (c == '\n')
        c = '\r';
    else if (c == '\t')
        c = ' ';
    m_ch = c;
    m_upperCh = UpperAscii(c);
    if (c == '\0' && m_inComment)
        throw ParseError("Open Comment at End of HTML File");
}

void Tokenizer::GetCh()
{
    ReadChar();
    // No comment starts inside another: an include's parameters are read inside its comment, and
    // a comment there would nest the readers as deep as the document goes.
    while (m_ch == '<' && !m_scriptMode && !m_inComment && PeekRawChar() == '!')
        SkipComment();
}

void Tokenizer::SkipWhiteSpace()
{
    while (m_ch == ' ' || m_ch == '\r')
        GetCh();
}

void Tokenizer::SkipComment()
{
    ReadChar();  // the "!"
    m_inComment = true;
    ReadChar();
    if (m_ch == '-' && PeekRawChar() == '-') {
        ReadChar();
        ReadChar();
        if (m_ch == '#' && m_hooks.include)
            RunInclude();
        else
            SkipDashComment();
    } else {
        while (m_ch != '>')
            ReadChar();
    }
    m_inComment = false;
    ReadChar();
}

void Tokenizer::SkipDashComment()
{
    // Ends at two dashes followed, after more dashes, spaces, line ends and one optional "!",
    // by ">". Every ReadChar here fails at the end of the text, so the loop ends.
    for (;;) {
        while (m_ch != '-')
            ReadChar();
        ReadChar();
        if (m_ch != '-')
            continue;
        while (m_ch == '-')
            ReadChar();
        while (m_ch == ' ' || m_ch == '\r')
            ReadChar();
        if (m_ch == '!')
            ReadChar();
        if (m_ch == '>')
            return;
    }
}

void Tokenizer::RunInclude()
{
    auto isNameChar = [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_'; };
    ReadChar();  // past "#"
    std::string command;
    while (isNameChar(m_ch) && command.size() < kMaxNameLength) {
        command += m_ch;
        ReadChar();
    }
    std::vector<std::string> params;
    for (;;) {
        while (m_ch == ' ' || m_ch == '\r')
            ReadChar();
        if (!IsAsciiLetter(m_ch))
            break;
        std::string param;
        while (isNameChar(m_ch)) {
            if (param.size() < kMaxNameLength)
                param += m_ch;
            ReadChar();
        }
        if (m_ch == '=') {
            param += '=';
            ReadChar();
            if (m_ch == '"' || m_ch == '\'') {
                const char quote = m_ch;
                ReadChar();
                while (m_ch != quote && m_ch != '\0') {
                    if (m_ch == '&') {
                        param += DecodeAttributeEntity();
                        continue;
                    }
                    param += m_ch == '\r' ? ' ' : m_ch;
                    ReadChar();
                }
                if (m_ch == quote)
                    ReadChar();
            } else {
                while (m_ch != ' ' && m_ch != '\r' && m_ch != '-' && m_ch != '>' && m_ch != '\0') {
                    param += m_ch;
                    ReadChar();
                }
            }
        }
        if (params.size() < AttributeList::kMaxAttributes)
            params.push_back(std::move(param));
    }
    SkipDashComment();
    if (++m_includes > kMaxIncludes)
        return;
    std::string text = m_hooks.include(command, params);
    if (text.empty())
        return;
    text += m_inserted.substr(std::min(m_insertedPos, m_inserted.size()));
    if (text.size() > kMaxInsertedText)
        return;
    m_inserted = std::move(text);
    m_insertedPos = 0;
}

void Tokenizer::ReadSymbol()
{
    m_token.Clear();
    if (m_ch == '\0') {
        m_symbol = Sym::Eof;
    } else if (m_ch == '<') {
        ReadTag();
    } else if (!ReadText() && IsControlByte(m_ch)) {
        throw ParseError("Not an HTML or Text document");
    }
}

void Tokenizer::ReadTag()
{
    m_tagPosition = m_position;
    GetCh();
    bool endTag = false;
    if (m_ch == '/') {
        endTag = true;
        GetCh();
    } else if (!IsAsciiLetter(m_ch)) {
        m_symbol = Sym::Text;
        m_token.Add(u'<', m_tagPosition);
        return;
    }
    std::string name;
    while (IsAsciiLetter(m_ch) || IsAsciiDigit(m_ch) || m_ch == '/') {
        if (name == "H" && m_ch >= '1' && m_ch <= '6')
            break;
        if (name.size() < kMaxNameLength)
            name += m_upperCh;
        GetCh();
    }
    m_symbol = endTag ? EndTagSymbol(name) : StartTagSymbol(name);
    SkipWhiteSpace();
    m_headingLevel = 0;
    if ((m_symbol == Sym::H || m_symbol == Sym::HEnd) && m_ch >= '1' && m_ch <= '6') {
        m_headingLevel = m_ch - '0';
        GetCh();
    }
    m_attributes.Clear();
    while (ReadAttribute()) {
    }
    while (m_ch != '>' && m_ch != '\0')
        GetCh();
    if (m_ch == '>' && m_symbol != Sym::Script && m_symbol != Sym::Style)
        GetCh();
}

bool Tokenizer::ReadAttribute()
{
    SkipWhiteSpace();
    if (!IsAsciiLetter(m_ch))
        return false;
    Attribute attribute;
    while (IsAsciiLetter(m_ch) || IsAsciiDigit(m_ch) || m_ch == '-') {
        if (attribute.name.size() < kMaxNameLength)
            attribute.name += m_upperCh;
        GetCh();
    }
    attribute.symbol = AttributeSymbol(attribute.name);
    SkipWhiteSpace();
    attribute.number = attribute.symbol == Sym::Border ? 1 : 0;
    if (m_ch == '=') {
        GetCh();
        SkipWhiteSpace();
        std::string& value = attribute.value;
        if (m_ch == '"' || m_ch == '\'') {
            const char quote = m_ch;
            GetCh();
            while (m_ch != quote && m_ch != '\0') {
                if (m_ch == '&') {
                    value += DecodeAttributeEntity();
                    continue;
                }
                if (m_ch != '\r')
                    value += m_ch;
                GetCh();
            }
            if (m_ch == quote)
                GetCh();
            attribute.number = NumberOfValue(value);
        } else if (m_ch == '+' || m_ch == '-' || IsAsciiDigit(m_ch)) {
            while (m_ch != '\0' && m_ch != ' ' && m_ch != '\r' && m_ch != '%' && m_ch != '>') {
                if (m_ch == '&') {
                    value += DecodeAttributeEntity();
                    continue;
                }
                value += m_ch;
                GetCh();
            }
            const auto number = ParseDecimal(value);
            attribute.number = number ? RoundClamped(*number) : 0;
            SkipWhiteSpace();
            if (m_ch == '%') {
                value += '%';
                GetCh();
            }
        } else {
            while (m_ch != '\0' && m_ch != ' ' && m_ch != '\r' && m_ch != '>') {
                if (m_ch == '&') {
                    value += DecodeAttributeEntity();
                    continue;
                }
                value += m_ch;
                GetCh();
            }
        }
    }
    if (attribute.symbol == Sym::Id && !attribute.value.empty() && !m_preScan && m_hooks.idFound)
        m_hooks.idFound(attribute.value, m_position);
    m_attributes.Add(std::move(attribute));
    return true;
}

bool Tokenizer::ReadText()
{
    m_symbol = Sym::Text;
    CharCollection bytes;
    bool consumed = false;
    while (m_ch != '<' && m_ch != '\0' && !IsControlByte(m_ch)) {
        consumed = true;
        if (m_ch == ' ' || m_ch == '\r') {
            bytes.Add(' ', m_position);
            while (m_ch == ' ' || m_ch == '\r')
                GetCh();
        } else if (m_ch == '&') {
            DecodeTextEntity(bytes);
        } else {
            bytes.Add(m_ch, m_position);
            GetCh();
        }
    }
    m_token.Append(bytes, m_codePage, m_codePages);
    return consumed;
}

std::string Tokenizer::BytesOfCodePoint(std::uint32_t code) const
{
    std::u16string wide;
    if (code >= 0x10000) {
        wide += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        wide += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        wide += static_cast<char16_t>(code);
    }
    std::string bytes = WideToMultiByte(m_codePages, m_codePage, wide);
    if (bytes.size() > 11)
        bytes.resize(11);
    return bytes;
}

std::optional<std::uint32_t> Tokenizer::ReadNumericReference(std::string& read)
{
    read += '#';
    GetCh();
    bool hex = false;
    if (m_ch == 'x' || m_ch == 'X') {
        read += m_ch;
        hex = true;
        GetCh();
    }
    std::string digits;
    while ((hex ? IsHexDigit(m_ch) : IsAsciiDigit(m_ch)) && digits.size() < kMaxEntityDigits) {
        digits += m_ch;
        GetCh();
    }
    if (digits.empty())
        return std::nullopt;
    if (m_ch == ';')
        GetCh();
    return CodePointOf(digits, hex);
}

std::string Tokenizer::ReadEntityName()
{
    std::string name;
    while ((IsAsciiLetter(m_ch) || IsAsciiDigit(m_ch)) && name.size() < kMaxEntityName) {
        name += m_ch;
        GetCh();
    }
    return name;
}

std::string Tokenizer::DecodeAttributeEntity()
{
    std::string literal = "&";
    GetCh();
    if (m_ch == '#') {
        const auto code = ReadNumericReference(literal);
        if (!code)
            return literal;
        if (*code == 9)
            return " ";
        if (*code < 32)
            return "?";
        if (*code < 256)
            return std::string(1, static_cast<char>(*code));
        return BytesOfCodePoint(*code);
    }
    const std::string name = ReadEntityName();
    literal += name;
    const auto code = LookUpEntity(name);
    if (!code)
        return literal;
    if (m_ch == ';')
        GetCh();
    else if (*code > 255)
        return literal;
    return BytesOfCodePoint(*code);
}

void Tokenizer::DecodeTextEntity(CharCollection& bytes)
{
    const int position = m_position;
    auto literal = [&](std::string_view text) {
        for (const char c : text)
            bytes.Add(c, position);
    };
    auto wide = [&](std::uint32_t code) {
        m_token.Append(bytes, m_codePage, m_codePages);
        bytes.Clear();
        if (code >= 0x10000) {
            m_token.Add(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)), position);
            m_token.Add(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)), position);
        } else {
            m_token.Add(static_cast<char16_t>(code), position);
        }
    };
    GetCh();
    if (m_ch == '#') {
        std::string read = "&";
        const auto code = ReadNumericReference(read);
        if (!code)
            literal(read);
        else if (*code == 9)
            bytes.Add(' ', position);
        else if (*code < 32)
            bytes.Add('?', position);
        else if (*code < 256)
            bytes.Add(static_cast<char>(*code), position);
        else
            wide(*code);
        return;
    }
    const std::string name = ReadEntityName();
    const auto code = LookUpEntity(name);
    if (!code) {
        literal("&" + name);
        return;
    }
    if (m_ch == ';')
        GetCh();
    wide(*code);
}

void Tokenizer::ReadScript()
{
    const Attribute* nameAttribute = m_attributes.Find(Sym::Name);
    const Attribute* languageAttribute = m_attributes.Find(Sym::Language);
    const std::string name = nameAttribute ? nameAttribute->value : std::string();
    const std::string language = languageAttribute ? languageAttribute->value : std::string();
    const bool collect = static_cast<bool>(m_hooks.script);
    const core::ScopeGuard scriptModeOff([this] { m_scriptMode = false; });
    m_scriptMode = collect;
    std::string script;
    GetCh();  // past ">"
    bool ended = false;
    while (m_ch != '\0' && !ended) {
        if (m_ch == '\r') {
            if (collect)
                script += "\r\n";
            GetCh();
        } else if (m_ch == '<') {
            std::string run = "<";
            GetCh();
            while ((m_ch == '/' || IsAsciiLetter(m_ch)) && run.size() < kMaxNameLength) {
                run += m_ch;
                GetCh();
            }
            ended = EqualsNoCase(run, "</script");
            if (!ended && collect)
                script += run;
        } else {
            if (collect)
                script += m_ch;
            GetCh();
        }
    }
    for (int i = 0; ended && i < 6 && m_ch != '>' && m_ch != '\0'; ++i)
        GetCh();
    // The script is handed over before anything behind the end tag is read.
    if (collect)
        m_hooks.script(name, language, script);
    m_scriptMode = false;
    if (ended && m_ch == '>')
        GetCh();
}

std::string Tokenizer::ReadTextArea()
{
    std::string contents;
    std::string line;
    while (m_ch != '\0') {
        if (m_ch == '\r') {
            contents += line + "\r\n";
            line.clear();
            GetCh();
        } else if (m_ch == '&') {
            line += DecodeAttributeEntity();
        } else if (m_ch == '<') {
            std::string run = "<";
            GetCh();
            while (m_ch != ' ' && m_ch != '\r' && m_ch != '>' && m_ch != '\0' &&
                   run.size() <= kMaxNameLength) {
                run += m_ch;
                GetCh();
            }
            if (EqualsNoCase(run, "</textarea"))
                break;
            line += run;
        } else {
            line += m_ch;
            GetCh();
        }
    }
    while (m_ch != '>' && m_ch != '\0')
        GetCh();
    if (m_ch == '>')
        GetCh();
    return contents + line;
}

void Tokenizer::ConvertRestFromEucJp()
{
    if (m_eucConverted)
        return;
    m_eucConverted = true;
    m_document = m_document.substr(0, m_documentPos) +
                 EucJpToShiftJis(std::string_view(m_document).substr(m_documentPos));
}

}  // namespace htmlview
