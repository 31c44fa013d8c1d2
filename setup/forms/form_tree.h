// A form as plain data: the object records, their properties and every value type of the binary
// form stream. The binary and text codecs read and write this tree; the component reader applies
// it to live components.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace setup::forms {

// The type byte of a value in the binary form stream.
enum class ValueType : std::uint8_t
{
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,
    Date = 17,
    WString = 18,
    Int64 = 19,
    UTF8String = 20,
    Double = 21,
};
inline constexpr std::uint8_t kLastValueType = 21;

struct FormValue;
struct FormProperty;

// An integer that may be absent (a child position, a collection item's order); `type` is Null when
// absent, else the width it was stored with.
struct OptionalInteger
{
    ValueType type = ValueType::Null;
    std::int32_t value = 0;
    bool operator==(const OptionalInteger&) const = default;
};

struct FormCollectionItem
{
    OptionalInteger order;
    std::vector<FormProperty> properties;
    bool operator==(const FormCollectionItem&) const;
};

// One value. Floats keep their stored bits, so a form read and written again is unchanged:
// Single in the low 32 bits of `integer`, Double and Date as the 64 bits of `integer`, Currency as
// the scaled integer, Extended as its ten bytes.
struct FormValue
{
    ValueType type = ValueType::Null;
    std::int64_t integer = 0;
    std::array<std::uint8_t, 10> extended{};
    std::string bytes;    // String, Ident, LString, UTF8String, Binary
    std::u16string wide;  // WString
    std::vector<std::string> set;
    std::vector<FormValue> list;
    std::vector<FormCollectionItem> items;

    bool operator==(const FormValue&) const = default;

    static FormValue Bare(ValueType type);         // a type without payload: Nil, Null, False, True
    static FormValue Integer(std::int64_t value);  // the narrowest integer type that holds it
    static FormValue Text(std::string text);       // String, or LString past 255 bytes
    static FormValue Identifier(std::string name);
    static FormValue Boolean(bool value);
    static FormValue ExtendedFloat(long double value);
    static FormValue SingleFloat(float value);
    static FormValue DoubleFloat(double value, ValueType type = ValueType::Double);
    static FormValue CurrencyScaled(std::int64_t tenThousandths);
    static FormValue Data(std::string binary);
    static FormValue Wide(std::u16string text);
    static FormValue Members(std::vector<std::string> names);
    static FormValue Values(std::vector<FormValue> values);
    static FormValue Collection(std::vector<FormCollectionItem> items);

    bool IsInteger() const;
    bool IsFloat() const;
    bool IsString() const;
    // Numeric value of an integer or float type.
    long double AsFloat() const;
    // Text of a String, LString, UTF8String or Ident; WString units above 255 become '?'.
    std::string AsText() const;
};

struct FormProperty
{
    std::string name;  // may be a dotted path, such as Font.Name
    FormValue value;
    bool operator==(const FormProperty&) const = default;
};

enum ObjectFlags : std::uint8_t
{
    kInherited = 1,
    kChildPos = 2,
    kInline = 4,
};

struct FormObject
{
    std::uint8_t flags = 0;
    OptionalInteger position;  // with kChildPos
    std::string className;
    std::string name;
    std::vector<FormProperty> properties;
    std::vector<FormObject> children;
    bool operator==(const FormObject&) const = default;
};

}  // namespace setup::forms
