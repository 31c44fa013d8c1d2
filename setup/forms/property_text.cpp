#include "setup/forms/property_text.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "setup/engine/rtl/exceptions.h"

namespace setup::forms {
namespace {

constexpr std::uint16_t kShift = 0x2000;
constexpr std::uint16_t kCtrl = 0x4000;
constexpr std::uint16_t kAlt = 0x8000;
constexpr std::uint16_t kF1 = 0x70;
constexpr std::uint16_t kBackspace = 0x08;
constexpr std::uint16_t kInsert = 0x2D;
constexpr std::uint16_t kDelete = 0x2E;

[[noreturn]] void Invalid()
{
    throw rtl::Exception("Invalid property value");
}

// A decimal integer with an optional sign, or "$" and hexadecimal digits.
std::optional<std::int64_t> TextToInteger(std::string_view text)
{
    if (text.empty() || text.size() > 20)
        return std::nullopt;
    const bool negative = text.front() == '-';
    if (negative || text.front() == '+')
        text.remove_prefix(1);
    const bool hex = !text.empty() && text.front() == '$';
    if (hex)
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > static_cast<std::uint64_t>(INT64_MAX))
            return std::nullopt;
    }
    const auto signedValue = static_cast<std::int64_t>(value);
    return negative ? -signedValue : signedValue;
}

std::string IntegerText(const TypeInfo& type, std::int64_t value)
{
    const auto named = [&]() -> std::optional<std::string> {
        if (value < INT32_MIN || value > INT32_MAX)
            return std::nullopt;
        return IntToIdent(type.idents, static_cast<std::int32_t>(value));
    };
    switch (type.flavour) {
        case TypeFlavour::Color:
            return ColorToText(static_cast<std::int32_t>(value));
        case TypeFlavour::ShortCut:
            return value == 0 ? "(None)" : ShortCutToText(static_cast<std::uint16_t>(value));
        case TypeFlavour::Cursor:
        case TypeFlavour::Charset:
            return named().value_or(std::to_string(value));
        default:
            return std::to_string(value);
    }
}

std::int64_t TextToIntegerOf(const TypeInfo& type, std::string_view text)
{
    std::optional<std::int64_t> value;
    switch (type.flavour) {
        case TypeFlavour::Color:
            value = TextToColor(text);
            break;
        case TypeFlavour::ShortCut:
            value = TextToShortCut(text);
            break;
        case TypeFlavour::Cursor:
        case TypeFlavour::Charset:
            value = IdentToInt(type.idents, text);
            if (!value)
                value = TextToInteger(text);
            break;
        default:
            value = TextToInteger(text);
            break;
    }
    if (!value || *value < type.minValue || *value > type.maxValue)
        Invalid();
    return *value;
}

bool IsDateOrTime(const TypeInfo& type)
{
    return type.flavour == TypeFlavour::DateTime || type.flavour == TypeFlavour::Date ||
           type.flavour == TypeFlavour::Time;
}

std::string FloatText(const TypeInfo& type, long double value, const FormatSettings& settings)
{
    if (!IsDateOrTime(type))
        return FloatToText(value, settings);
    if (value == 0)
        return {};
    try {
        const auto date = static_cast<double>(value);
        if (type.flavour == TypeFlavour::Date)
            return DateToText(date, settings);
        if (type.flavour == TypeFlavour::Time)
            return TimeToText(date, settings);
        return DateTimeToText(date, settings);
    } catch (const rtl::Exception&) {
        return FloatToText(value, settings);  // no date: the number says what it is
    }
}

long double TextToFloatOf(const TypeInfo& type, std::string_view text,
                          const FormatSettings& settings)
{
    if (!IsDateOrTime(type)) {
        const auto value = TextToFloat(text, settings);
        if (!value)
            Invalid();
        return *value;
    }
    if (text.empty())
        return 0;
    const auto value = TextToDateTime(text, settings);
    if (!value)
        Invalid();
    // A date keeps only the date it was given, a time only the time of day.
    if (type.flavour == TypeFlavour::Date)
        return std::trunc(*value);
    if (type.flavour == TypeFlavour::Time)
        return std::fabs(*value - std::trunc(*value));
    return *value;
}

std::string SetText(const TypeInfo& type, std::int64_t bits)
{
    std::string text = "[";
    for (std::int64_t ordinal = 0; ordinal < 32; ++ordinal) {
        if (!((bits >> ordinal) & 1))
            continue;
        if (text.size() > 1)
            text += ',';
        text += EnumName(*type.elementType, ordinal);
    }
    return text + "]";
}

std::string MethodText(const TMethod& method, const TComponent* root)
{
    if (!method || !root || method.data != root)
        return {};
    return root->ClassType().FindMethod(method.method->name) == method.method ? method.method->name
                                                                              : "";
}

// The value a text stands for; none when the text leaves the property as it is.
std::optional<PropValue> ValueFromText(const PropInfo& info, std::string_view text,
                                       const PropertyTextContext& context)
{
    const TypeInfo& type = *info.type;
    switch (type.kind) {
        case TypeKind::Integer:
            return TextToIntegerOf(type, text);
        case TypeKind::Char:
        case TypeKind::WChar:
            return std::int64_t{text.empty() ? 0 : static_cast<unsigned char>(text[0])};
        case TypeKind::Enumeration:
            if (const auto value = EnumValue(type, text))
                return *value;
            Invalid();
        case TypeKind::Float:
            return TextToFloatOf(type, text, context.settings);
        case TypeKind::Set: {
            if (text.size() < 3)
                return std::nullopt;
            if (text.front() == '[')
                text.remove_prefix(1);
            if (text.back() == ']')
                text.remove_suffix(1);
            std::int64_t bits = 0;
            for (;;) {
                const std::size_t comma = std::min(text.find(','), text.size());
                const auto ordinal = EnumValue(*type.elementType, text.substr(0, comma));
                if (!ordinal || *ordinal < 0 || *ordinal >= 32)
                    Invalid();
                bits |= std::int64_t{1} << *ordinal;
                if (comma == text.size())
                    break;
                text.remove_prefix(comma + 1);
            }
            return bits;
        }
        case TypeKind::Class: {
            if (!type.classType || !type.classType->InheritsFrom(TComponent::StaticClass()))
                Invalid();
            if (text.empty() || !context.root)
                return static_cast<TObject*>(nullptr);
            TComponent* found = SameName(context.root->Name(), text)
                                    ? context.root
                                    : context.root->FindComponent(text);
            if (found && !found->InheritsFrom(*type.classType))
                Invalid();
            return static_cast<TObject*>(found);
        }
        case TypeKind::Method: {
            if (text.empty())
                return TMethod{};
            const MethodInfo* method =
                context.root ? context.root->ClassType().FindMethod(text) : nullptr;
            if (!method || (type.signature && method->invoke.type() != *type.signature))
                Invalid();
            return TMethod{method, context.root};
        }
        case TypeKind::String:
        case TypeKind::WString:
            return std::string(text);
        case TypeKind::Int64:
            break;
    }
    return std::nullopt;
}

std::vector<std::string> IdentValues(std::span<const IdentEntry> idents,
                                     const std::vector<std::int32_t>& values)
{
    std::vector<std::string> texts;
    for (const std::int32_t value : values)
        if (const auto name = IntToIdent(idents, value))
            texts.push_back(*name);
    return texts;
}

std::vector<std::string> ColorValues()
{
    std::vector<std::string> texts;
    // The sixteen standard colours lead the table; the system colours have the top byte set.
    const std::span<const IdentEntry> colors = ColorIdents();
    for (std::size_t i = 0; i < colors.size(); ++i)
        if (i < 16 || (static_cast<std::uint32_t>(colors[i].value) >> 24) == 0xFF)
            texts.push_back(colors[i].name);
    return texts;
}

std::vector<std::string> ShortCutValues()
{
    std::vector<std::uint16_t> keys;
    for (std::uint16_t letter = 'A'; letter <= 'Z'; ++letter)
        keys.push_back(kCtrl | letter);
    for (const int modifiers : {0, kCtrl + 0, kShift + 0, kShift | kCtrl})
        for (std::uint16_t f = 0; f < 12; ++f)
            keys.push_back(static_cast<std::uint16_t>(modifiers | (kF1 + f)));
    for (const int modifiers : {0, kShift + 0, kCtrl + 0}) {
        keys.push_back(static_cast<std::uint16_t>(modifiers | kInsert));
        keys.push_back(static_cast<std::uint16_t>(modifiers | kDelete));
    }
    keys.push_back(kAlt | kBackspace);
    keys.push_back(kShift | kAlt | kBackspace);
    std::vector<std::string> texts = {"(None)"};
    for (const std::uint16_t key : keys)
        texts.push_back(ShortCutToText(key));
    return texts;
}

}  // namespace

std::string ColorToText(std::int32_t color)
{
    if (const auto name = IntToIdent(ColorIdents(), color))
        return *name;
    char text[16];
    std::snprintf(text, sizeof text, "$%08" PRIX32, static_cast<std::uint32_t>(color));
    return text;
}

std::optional<std::int32_t> TextToColor(std::string_view text)
{
    if (const auto value = IdentToInt(ColorIdents(), text))
        return value;
    const auto number = TextToInteger(text);
    // "$FF000005" is a system colour: hexadecimal texts span the unsigned range too.
    if (!number || *number < INT32_MIN || *number > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*number));
}

std::string GetPropertyText(const TPersistent& instance, const PropInfo& info,
                            const PropertyTextContext& context)
{
    const TypeInfo& type = *info.type;
    const PropValue value = info.get(instance);
    switch (type.kind) {
        case TypeKind::Integer:
            return IntegerText(type, std::get<std::int64_t>(value));
        case TypeKind::Char:
        case TypeKind::WChar: {
            const std::int64_t code = std::get<std::int64_t>(value);
            return std::string(1, code <= 0xFF ? static_cast<char>(code) : '?');
        }
        case TypeKind::Enumeration:
            return EnumName(type, std::get<std::int64_t>(value));
        case TypeKind::Float:
            return FloatText(type, std::get<long double>(value), context.settings);
        case TypeKind::Set:
            return SetText(type, std::get<std::int64_t>(value));
        case TypeKind::Class: {
            TObject* object = std::get<TObject*>(value);
            if (const auto* component = dynamic_cast<const TComponent*>(object))
                return component->Name();
            if (!object)
                return {};
            return std::to_string(reinterpret_cast<std::uintptr_t>(object));
        }
        case TypeKind::Method:
            return MethodText(std::get<TMethod>(value), context.root);
        case TypeKind::String:
        case TypeKind::WString:
            return std::get<std::string>(value);
        case TypeKind::Int64:
            break;
    }
    return {};
}

void SetPropertyText(TPersistent& instance, const PropInfo& info, std::string_view text,
                     const PropertyTextContext& context)
{
    if (!info.set)
        Invalid();
    if (GetPropertyText(instance, info, context) == text)
        return;
    const std::optional<PropValue> value = ValueFromText(info, text, context);
    if (!value)
        return;
    try {
        info.set(instance, *value);
    } catch (const rtl::Exception&) {
        Invalid();
    }
}

std::vector<std::string> GetPropertyValues(const PropInfo& info, const PropertyTextContext& context)
{
    const TypeInfo& type = *info.type;
    switch (type.kind) {
        case TypeKind::Integer:
            if (type.flavour == TypeFlavour::Color)
                return ColorValues();
            if (type.flavour == TypeFlavour::ShortCut)
                return ShortCutValues();
            if (type.flavour == TypeFlavour::Cursor) {
                std::vector<std::int32_t> cursors;
                for (std::int32_t cursor = 0; cursor >= -32; --cursor)
                    cursors.push_back(cursor);
                return IdentValues(type.idents, cursors);
            }
            if (type.flavour == TypeFlavour::Charset) {
                std::vector<std::int32_t> charsets;
                for (std::int32_t charset = 0; charset <= 255; ++charset)
                    charsets.push_back(charset);
                return IdentValues(type.idents, charsets);
            }
            return {};
        case TypeKind::Enumeration:
            return type.enumNames;
        case TypeKind::Class: {
            std::vector<std::string> names;
            if (!context.root || !type.classType)
                return names;
            for (std::size_t i = 0; i < context.root->ComponentCount(); ++i) {
                const TComponent* component = context.root->Component(i);
                if (!component->Name().empty() && component->InheritsFrom(*type.classType))
                    names.push_back(component->Name());
            }
            return names;
        }
        default:
            return {};
    }
}

}  // namespace setup::forms
