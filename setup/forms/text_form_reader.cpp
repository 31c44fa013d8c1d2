#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "setup/forms/binary_form.h"
#include "setup/forms/form_errors.h"
#include "setup/forms/text_form.h"
#include "setup/forms/text_form_lexis.h"
#include "setup/forms/type_info.h"

namespace setup::forms {
namespace {

class TextReader
{
public:
    explicit TextReader(std::string_view text) : m_text(text) {}

    FormObject ReadRoot()
    {
        FormObject root = ReadObject(ReadWord(), 0);
        SkipBlanks();
        if (m_offset != m_text.size())
            Fail("End of text expected");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const
    {
        throw EParserError(message, m_line);
    }

    void SkipBlanks()
    {
        while (m_offset < m_text.size()) {
            const char c = m_text[m_offset];
            if (c == '\n')
                ++m_line;
            else if (c != ' ' && c != '\t' && c != '\r')
                break;
            ++m_offset;
        }
    }
    char Peek()
    {
        SkipBlanks();
        return m_offset < m_text.size() ? m_text[m_offset] : '\0';
    }
    void Expect(char c)
    {
        if (Peek() != c)
            Fail(std::string("'") + c + "' expected");
        ++m_offset;
    }
    bool Accept(char c)
    {
        if (Peek() != c)
            return false;
        ++m_offset;
        return true;
    }

    // An identifier, dots allowed between its parts.
    std::string ReadWord()
    {
        if (!IsIdentifierStart(Peek()))
            Fail("Identifier expected");
        const std::size_t start = m_offset;
        while (m_offset < m_text.size() &&
               (IsIdentifierChar(m_text[m_offset]) ||
                (m_text[m_offset] == '.' && m_offset + 1 < m_text.size() &&
                 IsIdentifierStart(m_text[m_offset + 1]))))
            ++m_offset;
        return std::string(m_text.substr(start, m_offset - start));
    }
    std::string ReadName()
    {
        std::string name = ReadWord();
        if (!IsFormIdentifier(name, false))
            Fail("Identifier expected");
        return name;
    }

    static void Nest(int depth, int line)
    {
        if (depth > kMaxFormNesting)
            throw EParserError("Nesting too deep", line);
    }

    OptionalInteger ReadPosition()
    {
        const FormValue value = ReadNumber();
        if (!value.IsInteger() || value.type == ValueType::Int64)
            Fail("Integer expected");
        Expect(']');
        return {value.type, static_cast<std::int32_t>(value.integer)};
    }

    FormObject ReadObject(const std::string& keyword, int depth)
    {
        Nest(depth, m_line);
        FormObject object;
        if (SameName(keyword, "inherited"))
            object.flags |= kInherited;
        else if (SameName(keyword, "inline"))
            object.flags |= kInline;
        else if (!SameName(keyword, "object"))
            Fail("'object' expected");
        object.className = ReadName();
        if (Accept(':')) {
            object.name = std::move(object.className);
            object.className = ReadName();
        }
        if (Accept('[')) {
            object.flags |= kChildPos;
            object.position = ReadPosition();
        }
        // A name followed by "=" is a property, even one called "end".
        for (;;) {
            const std::string word = ReadWord();
            if (Accept('='))
                object.properties.push_back({word, ReadValue(depth + 1)});
            else if (SameName(word, "end"))
                return object;
            else
                object.children.push_back(ReadObject(word, depth + 1));
        }
    }

    FormValue ReadValue(int depth)
    {
        Nest(depth, m_line);
        const char c = Peek();
        if (c == '\'' || c == '#')
            return ReadString();
        if (c == '-' || c == '+' || c == '$' || (c >= '0' && c <= '9'))
            return ReadNumber();
        if (c == '[')
            return ReadSet();
        if (c == '(')
            return ReadList(depth);
        if (c == '{')
            return ReadBinary();
        if (c == '<')
            return ReadCollection(depth);
        std::string word = ReadWord();
        if (SameName(word, "True"))
            return FormValue::Boolean(true);
        if (SameName(word, "False"))
            return FormValue::Boolean(false);
        if (SameName(word, "nil"))
            return FormValue::Bare(ValueType::Nil);
        return FormValue::Identifier(std::move(word));
    }

    // Quoted runs and #codes, joined directly or across lines with '+'.
    FormValue ReadString()
    {
        std::u16string units;
        bool wide = false;
        for (;;) {
            const char c = Peek();
            if (c == '\'') {
                ++m_offset;
                for (;;) {
                    if (m_offset >= m_text.size() || m_text[m_offset] == '\n')
                        Fail("Unterminated string");
                    const char q = m_text[m_offset++];
                    if (q == '\'') {
                        if (m_offset < m_text.size() && m_text[m_offset] == '\'')
                            ++m_offset;
                        else
                            break;
                    }
                    units += static_cast<char16_t>(static_cast<unsigned char>(q));
                }
            } else if (c == '#') {
                ++m_offset;
                const FormValue code = ReadNumber();
                if (!code.IsInteger() || code.integer < 0 || code.integer > 0xFFFF)
                    Fail("Character code expected");
                wide = wide || code.integer > 0xFF;
                units += static_cast<char16_t>(code.integer);
            } else if (c == '+') {
                ++m_offset;
                if (Peek() != '\'' && Peek() != '#')
                    Fail("String expected");
                continue;
            } else {
                break;
            }
            // Parts join when they touch; across blanks only with '+', so that the strings of a
            // list on their own lines stay apart.
            if (m_offset < m_text.size() && (m_text[m_offset] == '\'' || m_text[m_offset] == '#'))
                continue;
            if (Peek() != '+')
                break;
        }
        if (wide)
            return FormValue::Wide(std::move(units));
        std::string bytes(units.begin(), units.end());
        return FormValue::Text(std::move(bytes));
    }

    FormValue ReadNumber()
    {
        Peek();
        const std::size_t start = m_offset;
        if (m_text[m_offset] == '$') {
            ++m_offset;
            std::uint64_t value = 0;
            std::size_t digits = 0;
            for (; m_offset < m_text.size() &&
                   std::isxdigit(static_cast<unsigned char>(m_text[m_offset]));
                 ++m_offset, ++digits) {
                const char h = m_text[m_offset];
                value = value * 16 + (h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
                if (digits >= 16)
                    Fail("Number too large");
            }
            if (digits == 0)
                Fail("Number expected");
            // Up to eight digits form a 32-bit pattern, as the format stores integers.
            return FormValue::Integer(digits <= 8 ? static_cast<std::int32_t>(value)
                                                  : static_cast<std::int64_t>(value));
        }
        std::size_t end = m_offset;
        if (m_text[end] == '-' || m_text[end] == '+')
            ++end;
        bool isFloat = false;
        const auto digitsFrom = [&](std::size_t at) {
            while (at < m_text.size() && m_text[at] >= '0' && m_text[at] <= '9')
                ++at;
            return at;
        };
        const std::size_t intEnd = digitsFrom(end);
        if (intEnd == end)
            Fail("Number expected");
        end = intEnd;
        if (end < m_text.size() && m_text[end] == '.') {
            isFloat = true;
            end = digitsFrom(end + 1);
        }
        if (end < m_text.size() && (m_text[end] == 'e' || m_text[end] == 'E')) {
            std::size_t exponent = end + 1;
            if (exponent < m_text.size() && (m_text[exponent] == '-' || m_text[exponent] == '+'))
                ++exponent;
            const std::size_t exponentEnd = digitsFrom(exponent);
            if (exponentEnd == exponent)
                Fail("Number expected");
            isFloat = true;
            end = exponentEnd;
        }
        const std::string number(m_text.substr(start, end - start));
        m_offset = end;
        char suffix = 0;
        if (m_offset < m_text.size() &&
            std::string_view("SsCcDd").find(m_text[m_offset]) != std::string_view::npos &&
            (m_offset + 1 >= m_text.size() || !IsIdentifierChar(m_text[m_offset + 1])))
            suffix = static_cast<char>(m_text[m_offset++] & ~0x20);
        if (!isFloat && !suffix) {
            errno = 0;
            const long long value = std::strtoll(number.c_str(), nullptr, 10);
            if (errno == ERANGE)
                Fail("Number too large");
            return FormValue::Integer(value);
        }
        // Each width parses the text itself: rounding through a wider float first could differ.
        const long double value = std::strtold(number.c_str(), nullptr);
        if (!std::isfinite(value))
            Fail("Number too large");
        switch (suffix) {
            case 'S': {
                const float single = std::strtof(number.c_str(), nullptr);
                if (!std::isfinite(single))
                    Fail("Number too large");
                return FormValue::SingleFloat(single);
            }
            case 'D': {
                const double date = std::strtod(number.c_str(), nullptr);
                if (!std::isfinite(date))
                    Fail("Number too large");
                return FormValue::DoubleFloat(date, ValueType::Date);
            }
            case 'C':
                return FormValue::CurrencyScaled(ScaledCurrency(number));
            default:
                return FormValue::ExtendedFloat(value);
        }
    }

    // Ten-thousandths of a currency text, exact: digits past the fourth decimal round half up.
    std::int64_t ScaledCurrency(const std::string& number)
    {
        if (number.find_first_of("eE") != std::string::npos) {
            const long double scaled = std::round(std::strtold(number.c_str(), nullptr) * 10000);
            if (!(std::fabs(scaled) < 9.2e18L))
                Fail("Number too large");
            return static_cast<std::int64_t>(scaled);
        }
        std::size_t at = 0;
        const bool negative = number[at] == '-';
        if (number[at] == '-' || number[at] == '+')
            ++at;
        std::uint64_t scaled = 0;
        int decimals = -1;  // none before the point
        bool roundUp = false;
        for (; at < number.size(); ++at) {
            if (number[at] == '.') {
                decimals = 0;
                continue;
            }
            if (decimals == 4) {
                roundUp = number[at] >= '5';
                break;
            }
            scaled = Accumulate(scaled, number[at] - '0');
            if (decimals >= 0)
                ++decimals;
        }
        for (int i = decimals < 0 ? 0 : decimals; i < 4; ++i)
            scaled = Accumulate(scaled, 0);
        if (roundUp && ++scaled == 0)
            Fail("Number too large");
        const std::uint64_t limit =
            negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
        if (scaled > limit)
            Fail("Number too large");
        return negative ? static_cast<std::int64_t>(0 - scaled) : static_cast<std::int64_t>(scaled);
    }

    std::uint64_t Accumulate(std::uint64_t value, int digit)
    {
        if (value > (UINT64_MAX - static_cast<std::uint64_t>(digit)) / 10)
            Fail("Number too large");
        return value * 10 + static_cast<std::uint64_t>(digit);
    }

    FormValue ReadSet()
    {
        Expect('[');
        std::vector<std::string> members;
        if (!Accept(']')) {
            do
                members.push_back(ReadName());
            while (Accept(','));
            Expect(']');
        }
        return FormValue::Members(std::move(members));
    }

    FormValue ReadList(int depth)
    {
        Expect('(');
        std::vector<FormValue> values;
        while (!Accept(')'))
            values.push_back(ReadValue(depth + 1));
        return FormValue::Values(std::move(values));
    }

    FormValue ReadBinary()
    {
        Expect('{');
        std::string bytes;
        int pending = -1;
        for (;;) {
            const char c = Peek();
            if (c == '}')
                break;
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
                digit = (c | 0x20) - 'a' + 10;
            else
                Fail("Hexadecimal digit expected");
            ++m_offset;
            if (pending < 0) {
                pending = digit;
            } else {
                bytes += static_cast<char>(pending * 16 + digit);
                pending = -1;
            }
        }
        if (pending >= 0)
            Fail("Odd number of hexadecimal digits");
        ++m_offset;
        return FormValue::Data(std::move(bytes));
    }

    FormValue ReadCollection(int depth)
    {
        Expect('<');
        std::vector<FormCollectionItem> items;
        while (!Accept('>')) {
            if (!SameName(ReadWord(), "item"))
                Fail("'item' expected");
            FormCollectionItem item;
            if (Accept('['))
                item.order = ReadPosition();
            for (;;) {
                std::string word = ReadWord();
                if (Accept('='))
                    item.properties.push_back({std::move(word), ReadValue(depth + 2)});
                else if (SameName(word, "end"))
                    break;
                else
                    Fail("'=' expected");
            }
            items.push_back(std::move(item));
        }
        return FormValue::Collection(std::move(items));
    }

    std::string_view m_text;
    std::size_t m_offset = 0;
    int m_line = 1;
};

}  // namespace

FormObject ReadTextForm(std::string_view text)
{
    return TextReader(text).ReadRoot();
}

}  // namespace setup::forms
