// The C++ types of published properties and the type information each maps to. A property's type
// information follows from its member's C++ type, so a class declares a property in one line.
// Enumerations declare theirs with FORMS_ENUM_TYPE.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "setup/forms/class_info.h"
#include "setup/forms/type_info.h"

namespace setup::forms {

// Integers with named values or texts of their own.
enum TColor : std::int32_t
{
};
enum TCursor : std::int16_t
{
};
enum TFontCharset : std::uint8_t
{
};
enum TShortCut : std::uint16_t
{
};

// Days since 30 December 1899, the time of day as the fraction.
struct TDateTime
{
    double value = 0;
    bool operator==(const TDateTime&) const = default;
};
struct TDate : TDateTime
{
};
struct TTime : TDateTime
{
};

// A set over an enumeration: bit n stands for the member of ordinal n.
template <class E>
struct TSet
{
    std::uint32_t bits = 0;
    bool Has(E member) const { return (bits >> static_cast<int>(member)) & 1; }
    void Include(E member) { bits |= 1u << static_cast<int>(member); }
    void Exclude(E member) { bits &= ~(1u << static_cast<int>(member)); }
    bool operator==(const TSet&) const = default;
};

struct TNotifyEvent : TEvent<>
{
};
// Asked before a form closes; the handler may clear the flag to keep it open.
struct TCloseQueryEvent : TEvent<bool&>
{
};

template <class T>
struct TypeOfTraits;  // specialised per property type; see TypeOf

template <class T>
const TypeInfo& TypeOf()
{
    return TypeOfTraits<T>::Get();
}

#define FORMS_TYPE_OF(Cpp, ...)                       \
    template <>                                       \
    struct TypeOfTraits<Cpp>                          \
    {                                                 \
        static const TypeInfo& Get()                  \
        {                                             \
            static const TypeInfo type = __VA_ARGS__; \
            return type;                              \
        }                                             \
    };

// An enumeration's type information from its identifiers, in ordinal order:
//   FORMS_ENUM_TYPE(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
#define FORMS_ENUM_TYPE(Enum, ...) \
    FORMS_TYPE_OF(Enum, ::setup::forms::EnumType(#Enum, {__VA_ARGS__}))

FORMS_TYPE_OF(std::int32_t, OrdinalType(TypeKind::Integer, "Integer", INT32_MIN, INT32_MAX))
FORMS_TYPE_OF(std::int16_t, OrdinalType(TypeKind::Integer, "SmallInt", INT16_MIN, INT16_MAX))
FORMS_TYPE_OF(std::uint8_t, OrdinalType(TypeKind::Integer, "Byte", 0, UINT8_MAX))
FORMS_TYPE_OF(std::uint16_t, OrdinalType(TypeKind::Integer, "Word", 0, UINT16_MAX))
FORMS_TYPE_OF(std::uint32_t, OrdinalType(TypeKind::Integer, "Cardinal", 0, UINT32_MAX))
FORMS_TYPE_OF(std::int64_t, OrdinalType(TypeKind::Int64, "Int64", INT64_MIN, INT64_MAX))
FORMS_TYPE_OF(char, OrdinalType(TypeKind::Char, "Char", 0, 255))
FORMS_TYPE_OF(char16_t, OrdinalType(TypeKind::WChar, "WideChar", 0, 0xFFFF))
FORMS_TYPE_OF(bool, EnumType("Boolean", {"False", "True"}))
FORMS_TYPE_OF(TColor,
              OrdinalType(TypeKind::Integer, "TColor", INT32_MIN, INT32_MAX, TypeFlavour::Color))
FORMS_TYPE_OF(TCursor,
              OrdinalType(TypeKind::Integer, "TCursor", INT16_MIN, INT16_MAX, TypeFlavour::Cursor))
FORMS_TYPE_OF(TFontCharset,
              OrdinalType(TypeKind::Integer, "TFontCharset", 0, UINT8_MAX, TypeFlavour::Charset))
FORMS_TYPE_OF(TShortCut,
              OrdinalType(TypeKind::Integer, "TShortCut", 0, UINT16_MAX, TypeFlavour::ShortCut))
FORMS_TYPE_OF(float, FloatTypeInfo("Single", FloatType::Single))
FORMS_TYPE_OF(double, FloatTypeInfo("Double", FloatType::Double))
FORMS_TYPE_OF(long double, FloatTypeInfo("Extended", FloatType::Extended))
FORMS_TYPE_OF(TDateTime, FloatTypeInfo("TDateTime", FloatType::Double, TypeFlavour::DateTime))
FORMS_TYPE_OF(TDate, FloatTypeInfo("TDate", FloatType::Double, TypeFlavour::Date))
FORMS_TYPE_OF(TTime, FloatTypeInfo("TTime", FloatType::Double, TypeFlavour::Time))
FORMS_TYPE_OF(std::string, [] {
    TypeInfo type;
    type.kind = TypeKind::String;
    type.name = "string";
    return type;
}())
// An event type's information from its handler signature: FORMS_EVENT_TYPE(TCloseQueryEvent)
#define FORMS_EVENT_TYPE(Event) \
    FORMS_TYPE_OF(Event, ::setup::forms::MethodType(#Event, typeid(Event::Handler)))

FORMS_EVENT_TYPE(TNotifyEvent)
FORMS_EVENT_TYPE(TCloseQueryEvent)

template <class E>
struct TypeOfTraits<TSet<E>>
{
    static const TypeInfo& Get()
    {
        static const TypeInfo type = SetType("set of " + TypeOf<E>().name, TypeOf<E>());
        return type;
    }
};

// Object properties: a reference to a component or an owned object such as a font or a string
// list; the type is the pointee's class.
template <class T>
struct TypeOfTraits<T*>
{
    static const TypeInfo& Get() { return T::StaticClass().AsType(); }
};

}  // namespace setup::forms
