#include "setup/htmlview/parser/css_reader.h"

#include <optional>
#include <vector>

#include "setup/htmlview/parser/css_shorthands.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

// A descendant selector of more parts than this is dropped: matching it walks the open elements
// once per part.
constexpr std::size_t kMaxSelectorParts = 32;

bool IsNameChar(char c)
{
    return c == '-' || IsAsciiDigit(c) || IsAsciiLetter(c);
}

bool IsSelectorChar(char c)
{
    return c == ' ' || c == '#' || c == '-' || c == '.' || c == ':' || c == '_' ||
           IsAsciiDigit(c) || IsAsciiLetter(c);
}

std::string WithoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

class SheetReader
{
public:
    SheetReader(const StyleSheetSource& source, IStyleSheetTarget& target)
        : m_source(source), m_target(target)
    {
        m_pushed = source.current == '\r' ? ' ' : source.current;
        m_ch = ' ';
    }

    char Read()
    {
        SkipWhile(" !-<>");
        while (m_ch != '\0' && (m_source.fromFile || m_ch != '<')) {
            if (m_ch == '@') {
                ReadAtRule();
            } else if (m_ch == '<') {
                SkipMarkup();
            } else {
                ReadRule();
            }
            SkipWhile(" ->");
        }
        return UpperAscii(m_ch);
    }

private:
    char Raw()
    {
        char c;
        if (m_pushed) {
            c = *m_pushed;
            m_pushed.reset();
        } else {
            c = m_source.next();
        }
        return c == '\r' ? ' ' : c;
    }

    // The next character with comments skipped; a comment also ends at "<" or the end.
    void Next()
    {
        for (;;) {
            m_ch = Raw();
            if (m_ch != '/')
                return;
            const char following = Raw();
            if (following != '*') {
                m_pushed = following;
                return;
            }
            char c = Raw();
            for (;;) {
                if (c == '\0' || c == '<') {
                    m_ch = c;
                    return;
                }
                if (c != '*') {
                    c = Raw();
                    continue;
                }
                c = Raw();
                if (c == '/')
                    break;
            }
        }
    }

    void SkipWhile(std::string_view characters)
    {
        while (m_ch != '\0' && characters.find(m_ch) != std::string_view::npos)
            Next();
    }

    bool AtBlockEnd() const { return m_ch == '\0' || (!m_source.fromFile && m_ch == '<'); }

    void ReadAtRule()
    {
        std::string text;
        Next();
        while (m_ch != '\0' && m_ch != ';' && m_ch != '<' && m_ch != '{') {
            text += m_ch;
            Next();
        }
        if (m_ch == ';') {
            Next();
        } else if (m_ch == '{') {
            Next();
            if (LowerAscii(text).find("screen") != std::string::npos)
                ReadRulesOfBlock();
            else
                SkipBlock();
        }
    }

    void ReadRulesOfBlock()
    {
        for (;;) {
            SkipWhile(" ");
            if (m_ch == '}') {
                Next();
                return;
            }
            if (AtBlockEnd())
                return;
            // A rule stops in front of "<"; in a linked sheet the "<" is passed here as it is
            // between rules, or the block would never end.
            if (m_ch == '<')
                SkipMarkup();
            else
                ReadRule();
        }
    }

    // Markup in a linked sheet: up to the next space.
    void SkipMarkup()
    {
        while (m_ch != ' ' && m_ch != '\0')
            Next();
        SkipWhile(" ");
    }

    // Skips to the "}" that closes the block, nested blocks included; a counter, not recursion.
    void SkipBlock()
    {
        long depth = 1;
        while (depth > 0 && !AtBlockEnd()) {
            if (m_ch == '{')
                ++depth;
            else if (m_ch == '}')
                --depth;
            Next();
        }
    }

    void ReadRule()
    {
        m_selectors.clear();
        for (;;) {
            SkipWhile(" ");
            std::string text;
            while (m_ch != '\0' && IsSelectorChar(m_ch)) {
                text += m_ch;
                Next();
            }
            AddSelector(LowerAscii(Trim(text)));
            if (m_ch != ',')
                break;
            Next();
        }
        while (m_ch != '{' && m_ch != '<' && m_ch != '\0')
            Next();
        if (m_ch == '{')
            ReadDeclarations();
    }

    // A descendant selector's key: the subject first, then the ancestors from the nearest
    // outward, the first of them prefixed by the number of ancestors and the counter.
    void AddSelector(const std::string& text)
    {
        if (text.empty())
            return;
        std::vector<std::string> parts;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t space = std::min(text.find(' ', at), text.size());
            if (space > at)
                parts.push_back(text.substr(at, space - at));
            at = space + 1;
            if (parts.size() > kMaxSelectorParts)
                return;
        }
        if (parts.size() == 1) {
            m_selectors.push_back(parts[0]);
            return;
        }
        std::string key = parts.back();
        for (std::size_t i = parts.size() - 1; i-- > 0;) {
            key += ' ';
            if (i == parts.size() - 2)
                key += std::to_string(parts.size() - 1) +
                       std::to_string(m_target.TakeDescendantNumber());
            key += parts[i];
        }
        m_selectors.push_back(key);
    }

    void ReadDeclarations()
    {
        Next();  // past "{"
        for (;;) {
            SkipWhile(" ");
            std::string property;
            while (IsNameChar(m_ch)) {
                property += m_ch;
                Next();
            }
            property = LowerAscii(Trim(property));
            SkipWhile(" ");
            if (m_ch == ':' || m_ch == '=') {
                Next();
                std::string value;
                while (m_ch != '\0' && m_ch != ';' && m_ch != '<' && m_ch != '}') {
                    value += m_ch;
                    Next();
                }
                Declare(property, WithoutQuotes(Trim(LowerAscii(value))));
            }
            SkipWhile(" ");
            if (m_ch == ';')
                Next();
            while (!(m_ch == '\0' || m_ch == '<' || m_ch == '}' || IsNameChar(m_ch)))
                Next();
            if (m_ch == '\0' || m_ch == '<')
                return;
            if (m_ch == '}') {
                Next();
                return;
            }
        }
    }

    void Declare(const std::string& property, const std::string& value)
    {
        ExpandDeclaration(property, value, m_source.basePath,
                          [this](const std::string& name, const std::string& simpleValue) {
                              for (const std::string& key : m_selectors)
                                  m_target.AddRuleValue(key, name, simpleValue);
                          });
    }

    const StyleSheetSource& m_source;
    IStyleSheetTarget& m_target;
    std::optional<char> m_pushed;
    char m_ch = ' ';
    std::vector<std::string> m_selectors;
};

}  // namespace

char ReadStyleSheet(const StyleSheetSource& source, IStyleSheetTarget& target)
{
    return SheetReader(source, target).Read();
}

void ReadStyleSheetText(std::string_view text, std::string_view basePath, IStyleSheetTarget& target)
{
    std::size_t at = 0;
    StyleSheetSource source;
    source.next = [&] { return at < text.size() ? text[at++] : '\0'; };
    source.current = text.empty() ? '\0' : text[at++];
    source.fromFile = true;
    source.basePath = basePath;
    ReadStyleSheet(source, target);
}

void ReadInlineStyle(std::string_view text, IDeclarationTarget& target)
{
    std::string lower = LowerAscii(text);
    for (char& c : lower)
        if (c == '\r')
            c = ' ';
    std::size_t at = 0;
    auto ch = [&] { return at < lower.size() ? lower[at] : '\0'; };
    auto skipSpaces = [&] {
        while (ch() == ' ')
            ++at;
    };
    const DeclarationSink sink = [&](const std::string& property, const std::string& value) {
        target.Assign(property, value);
    };
    while (ch() != '\0') {
        skipSpaces();
        std::string property;
        while (IsNameChar(ch()))
            property += lower[at++];
        skipSpaces();
        if (ch() == ':' || ch() == '=') {
            ++at;
            const std::size_t end = std::min(lower.find(';', at), lower.size());
            const std::string value =
                WithoutQuotes(Trim(std::string_view(lower).substr(at, end - at)));
            at = end;
            ExpandDeclaration(property, value, {}, sink);
        }
        skipSpaces();
        if (ch() == ';')
            ++at;
        while (ch() != '\0' && !IsNameChar(ch()))
            ++at;
    }
}

}  // namespace htmlview
