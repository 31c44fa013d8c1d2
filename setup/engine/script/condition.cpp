#include "setup/engine/script/condition.h"

#include <string>

namespace setup::engine {
namespace {

constexpr int kTrue = 1;
constexpr int kFalse = 0;
constexpr int kError = -1;

// Consumes the expression from the front while it parses.
class ConditionParser
{
public:
    explicit ConditionParser(std::string_view text) : m_rest(text) {}

    bool AtEnd() const { return m_rest.empty(); }

    int List()
    {
        int value = Operand();
        if (value == kError)
            return kError;
        for (;;) {
            SkipSpaces();
            if (m_rest.empty() || m_rest.front() == ')')
                return value;
            const std::string_view word = Word();
            const int operand = Operand();
            if (operand == kError)
                return kError;
            if (word == "and")
                value = value == kTrue && operand == kTrue ? kTrue : kFalse;
            else if (word == "or")
                value = value == kTrue || operand == kTrue ? kTrue : kFalse;
            else
                return kError;
        }
    }

    int Operand()
    {
        SkipSpaces();
        if (m_rest.empty())
            return kError;
        if (m_rest.front() == '(') {
            m_rest.remove_prefix(1);
            const int value = List();
            SkipSpaces();
            if (value == kError || m_rest.empty() || m_rest.front() != ')')
                return kError;
            m_rest.remove_prefix(1);
            return value;
        }
        if (m_rest.front() == '"')
            return Comparison();
        return kError;
    }

private:
    void SkipSpaces()
    {
        while (!m_rest.empty() && m_rest.front() == ' ')
            m_rest.remove_prefix(1);
    }

    // The characters up to the next space or double quote.
    std::string_view Word()
    {
        SkipSpaces();
        size_t end = 0;
        while (end < m_rest.size() && m_rest[end] != ' ' && m_rest[end] != '"')
            ++end;
        const std::string_view word = m_rest.substr(0, end);
        m_rest.remove_prefix(end);
        return word;
    }

    // After an opening quote: "" stands for one quote; a single quote closes the text and is
    // consumed. Without a closing quote the expression is left as it was, so the parse fails.
    bool QuotedText(std::string& value)
    {
        if (m_rest.empty() || m_rest.front() != '"')
            return false;
        value.clear();
        for (size_t i = 1; i < m_rest.size(); ++i) {
            if (m_rest[i] != '"') {
                value += m_rest[i];
            } else if (i + 1 < m_rest.size() && m_rest[i + 1] == '"') {
                value += '"';
                ++i;
            } else {
                m_rest.remove_prefix(i + 1);
                return true;
            }
        }
        return false;
    }

    int Comparison()
    {
        std::string left;
        std::string right;
        if (!QuotedText(left))
            return kError;
        const std::string_view op = Word();
        SkipSpaces();
        if (!QuotedText(right))
            return kError;
        // Ordinal byte comparison, letter case significant.
        const int order = std::string_view(left).compare(right);
        if (op == "=")
            return order == 0 ? kTrue : kFalse;
        if (op == "<>")
            return order != 0 ? kTrue : kFalse;
        if (op == "<=")
            return order <= 0 ? kTrue : kFalse;
        if (op == "<")
            return order < 0 ? kTrue : kFalse;
        if (op == ">=")
            return order >= 0 ? kTrue : kFalse;
        if (op == ">")
            return order > 0 ? kTrue : kFalse;
        return kError;
    }

    std::string_view m_rest;
};

}  // namespace

std::string EvaluateCondition(std::string_view text)
{
    const std::string wrapped = "(" + std::string(text) + ")";
    ConditionParser parser(wrapped);
    const int value = parser.List();
    if (value == kError || !parser.AtEnd())
        return "ERROR";
    return value == kTrue ? "TRUE" : "FALSE";
}

bool IsValidCondition(std::string_view text)
{
    std::string quoted(text);
    for (char& c : quoted)
        if (c == '$')
            c = '"';
    return EvaluateCondition(quoted) != "ERROR";
}

}  // namespace setup::engine
