#include "setup/forms/form_tree.h"

#include <bit>
#include <cstring>
#include <limits>

#include "setup/forms/extended_float.h"

namespace setup::forms {

// Written out: FormValue and FormCollectionItem contain each other, so the comparison is defined
// here, where both are complete.
bool FormCollectionItem::operator==(const FormCollectionItem& other) const
{
    return order == other.order && properties == other.properties;
}

FormValue FormValue::Bare(ValueType type)
{
    FormValue v;
    v.type = type;
    return v;
}

FormValue FormValue::Integer(std::int64_t value)
{
    FormValue v;
    v.integer = value;
    if (value >= INT8_MIN && value <= INT8_MAX)
        v.type = ValueType::Int8;
    else if (value >= INT16_MIN && value <= INT16_MAX)
        v.type = ValueType::Int16;
    else if (value >= INT32_MIN && value <= INT32_MAX)
        v.type = ValueType::Int32;
    else
        v.type = ValueType::Int64;
    return v;
}

FormValue FormValue::Text(std::string text)
{
    FormValue v;
    v.type = text.size() <= 255 ? ValueType::String : ValueType::LString;
    v.bytes = std::move(text);
    return v;
}

FormValue FormValue::Identifier(std::string name)
{
    FormValue v;
    v.type = ValueType::Ident;
    v.bytes = std::move(name);
    return v;
}

FormValue FormValue::Boolean(bool value)
{
    FormValue v;
    v.type = value ? ValueType::True : ValueType::False;
    return v;
}

FormValue FormValue::ExtendedFloat(long double value)
{
    FormValue v;
    v.type = ValueType::Extended;
    v.extended = EncodeExtended(value);
    return v;
}

FormValue FormValue::SingleFloat(float value)
{
    FormValue v;
    v.type = ValueType::Single;
    v.integer = std::bit_cast<std::uint32_t>(value);
    return v;
}

FormValue FormValue::DoubleFloat(double value, ValueType type)
{
    FormValue v;
    v.type = type;
    v.integer = std::bit_cast<std::int64_t>(value);
    return v;
}

FormValue FormValue::CurrencyScaled(std::int64_t tenThousandths)
{
    FormValue v;
    v.type = ValueType::Currency;
    v.integer = tenThousandths;
    return v;
}

FormValue FormValue::Data(std::string binary)
{
    FormValue v;
    v.type = ValueType::Binary;
    v.bytes = std::move(binary);
    return v;
}

FormValue FormValue::Wide(std::u16string text)
{
    FormValue v;
    v.type = ValueType::WString;
    v.wide = std::move(text);
    return v;
}

FormValue FormValue::Members(std::vector<std::string> names)
{
    FormValue v;
    v.type = ValueType::Set;
    v.set = std::move(names);
    return v;
}

FormValue FormValue::Values(std::vector<FormValue> values)
{
    FormValue v;
    v.type = ValueType::List;
    v.list = std::move(values);
    return v;
}

FormValue FormValue::Collection(std::vector<FormCollectionItem> items)
{
    FormValue v;
    v.type = ValueType::Collection;
    v.items = std::move(items);
    return v;
}

bool FormValue::IsInteger() const
{
    return type == ValueType::Int8 || type == ValueType::Int16 || type == ValueType::Int32 ||
           type == ValueType::Int64;
}

bool FormValue::IsFloat() const
{
    return type == ValueType::Extended || type == ValueType::Single || type == ValueType::Double ||
           type == ValueType::Date || type == ValueType::Currency;
}

bool FormValue::IsString() const
{
    return type == ValueType::String || type == ValueType::LString ||
           type == ValueType::UTF8String || type == ValueType::WString;
}

long double FormValue::AsFloat() const
{
    switch (type) {
        case ValueType::Extended:
            return DecodeExtended(extended);
        case ValueType::Single:
            return std::bit_cast<float>(static_cast<std::uint32_t>(integer));
        case ValueType::Double:
        case ValueType::Date:
            return std::bit_cast<double>(integer);
        case ValueType::Currency:
            return static_cast<long double>(integer) / 10000;
        default:
            return static_cast<long double>(integer);
    }
}

std::string FormValue::AsText() const
{
    if (type != ValueType::WString)
        return bytes;
    std::string text;
    for (const char16_t unit : wide)
        text += unit <= 0xFF ? static_cast<char>(unit) : '?';
    return text;
}

}  // namespace setup::forms
