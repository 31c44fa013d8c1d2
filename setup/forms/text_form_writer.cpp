#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "setup/forms/form_errors.h"
#include "setup/forms/text_form.h"
#include "setup/forms/text_form_lexis.h"

namespace setup::forms {
namespace {

// The shortest decimal text that reads back as the same value of the given width.
template <class Float>
std::string ShortestText(Float value, Float (*parse)(const char*, char**))
{
    if (!std::isfinite(value))
        throw EFilerError("A float that is not finite cannot be written as text");
    char text[64];
    for (int precision = 1; precision <= 21; ++precision) {
        std::snprintf(text, sizeof text, "%.*Lg", precision, static_cast<long double>(value));
        if (parse(text, nullptr) == value)
            break;
    }
    // "1e+300" and "1e-05" are written "1E300" and "1E-5".
    std::string result = text;
    const std::size_t e = result.find('e');
    if (e != std::string::npos) {
        std::size_t digits = e + 1;
        if (result[digits] == '+')
            result.erase(digits, 1);
        else if (result[digits] == '-')
            ++digits;
        while (digits + 1 < result.size() && result[digits] == '0')
            result.erase(digits, 1);
        result[e] = 'E';
    } else if (result.find('.') == std::string::npos) {
        result += ".0";
    }
    return result;
}

float ParseSingle(const char* text, char** end)
{
    return std::strtof(text, end);
}
double ParseDouble(const char* text, char** end)
{
    return std::strtod(text, end);
}
long double ParseExtended(const char* text, char** end)
{
    return std::strtold(text, end);
}

std::string CurrencyText(std::int64_t scaled)
{
    const bool negative = scaled < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    char text[48];
    std::snprintf(text, sizeof text, "%s%" PRIu64 ".%04" PRIu64, negative ? "-" : "",
                  magnitude / 10000, magnitude % 10000);
    std::string result = text;
    while (result.back() == '0' && result[result.size() - 2] != '.')
        result.pop_back();
    return result + "C";
}

// Printable characters in quotes, the rest as #code; units above 255 only come from WString.
template <class Units>
std::string QuotedText(const Units& units)
{
    if (units.empty())
        return "''";
    std::string text;
    bool quoted = false;
    for (const auto unit : units) {
        const auto code = static_cast<std::uint32_t>(
            static_cast<std::make_unsigned_t<typename Units::value_type>>(unit));
        // Bytes above 127 stay as they are: the text is ANSI, as the strings are.
        const bool plain = code >= ' ' && code != 0x7F && code <= 0xFF;
        if (plain != quoted) {
            text += '\'';
            quoted = plain;
        }
        if (!plain)
            text += '#' + std::to_string(code);
        else if (code == '\'')
            text += "''";
        else
            text += static_cast<char>(code);
    }
    if (quoted)
        text += '\'';
    return text;
}

class TextWriter
{
public:
    std::string text;

    void WriteObject(const FormObject& object, int depth)
    {
        Indent(depth);
        text += (object.flags & kInherited) ? "inherited "
                : (object.flags & kInline)  ? "inline "
                                            : "object ";
        if (!object.name.empty())
            text += Identifier(object.name, false) + ": ";
        text += Identifier(object.className, false);
        if (object.flags & kChildPos)
            text += " [" + std::to_string(object.position.value) + "]";
        text += "\n";
        WriteProperties(object.properties, depth + 1);
        for (const FormObject& child : object.children)
            WriteObject(child, depth + 1);
        Indent(depth);
        text += "end\n";
    }

private:
    void Indent(int depth) { text.append(2 * depth, ' '); }

    static const std::string& Identifier(const std::string& name, bool dotted)
    {
        if (!IsFormIdentifier(name, dotted))
            throw EFilerError("'" + name + "' cannot be written as a text form name");
        return name;
    }

    void WriteProperties(const std::vector<FormProperty>& properties, int depth)
    {
        for (const FormProperty& property : properties) {
            Indent(depth);
            text += Identifier(property.name, true) + " = ";
            WriteValue(property.value, depth);
            text += "\n";
        }
    }

    void WriteValue(const FormValue& value, int depth)
    {
        switch (value.type) {
            case ValueType::Null:
                text += "Null";
                break;
            case ValueType::List:
                text += "(";
                for (const FormValue& element : value.list) {
                    text += "\n";
                    Indent(depth + 1);
                    WriteValue(element, depth + 1);
                }
                text += ")";
                break;
            case ValueType::Int8:
            case ValueType::Int16:
            case ValueType::Int32:
            case ValueType::Int64:
                text += std::to_string(value.integer);
                break;
            case ValueType::Extended:
                text += ShortestText(value.AsFloat(), ParseExtended);
                break;
            case ValueType::Single:
                text += ShortestText(static_cast<float>(value.AsFloat()), ParseSingle) + "S";
                break;
            case ValueType::Double:
                text += ShortestText(static_cast<double>(value.AsFloat()), ParseDouble);
                break;
            case ValueType::Date:
                text += ShortestText(static_cast<double>(value.AsFloat()), ParseDouble) + "D";
                break;
            case ValueType::Currency:
                text += CurrencyText(value.integer);
                break;
            case ValueType::String:
            case ValueType::LString:
            case ValueType::UTF8String:
                text += QuotedText(value.bytes);
                break;
            case ValueType::WString:
                text += QuotedText(value.wide);
                break;
            case ValueType::Ident:
                text += Identifier(value.bytes, true);
                break;
            case ValueType::False:
                text += "False";
                break;
            case ValueType::True:
                text += "True";
                break;
            case ValueType::Nil:
                text += "nil";
                break;
            case ValueType::Binary:
                WriteBinary(value.bytes, depth);
                break;
            case ValueType::Set:
                text += "[";
                for (std::size_t i = 0; i < value.set.size(); ++i)
                    text += (i ? ", " : "") + Identifier(value.set[i], false);
                text += "]";
                break;
            case ValueType::Collection:
                text += "<";
                for (const FormCollectionItem& item : value.items) {
                    text += "\n";
                    Indent(depth + 1);
                    text += "item";
                    if (item.order.type != ValueType::Null)
                        text += " [" + std::to_string(item.order.value) + "]";
                    text += "\n";
                    WriteProperties(item.properties, depth + 2);
                    Indent(depth + 1);
                    text += "end";
                }
                text += ">";
                break;
        }
    }

    void WriteBinary(const std::string& bytes, int depth)
    {
        static const char kHex[] = "0123456789ABCDEF";
        text += "{";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i % 32 == 0) {
                text += "\n";
                Indent(depth + 1);
            }
            const auto byte = static_cast<std::uint8_t>(bytes[i]);
            text += kHex[byte >> 4];
            text += kHex[byte & 15];
        }
        text += "}";
    }
};

}  // namespace

std::string WriteTextForm(const FormObject& root)
{
    TextWriter writer;
    writer.WriteObject(root, 0);
    return std::move(writer.text);
}

}  // namespace setup::forms
