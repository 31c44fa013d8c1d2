// Run-time type information of property types: ordinal, float, string, set, class and method
// types, with the identifier tables that give some integer types their names (colours, cursors,
// character sets) and the text of keyboard shortcuts.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace setup::forms {

class ClassInfo;

enum class TypeKind
{
    Integer,
    Char,
    WChar,
    Enumeration,
    Float,
    Set,
    Class,
    Method,
    String,
    WString,
    Int64,
};

enum class FloatType
{
    Single,
    Double,
    Extended,
    Currency,
};

// What an integer or float type stands for, where that changes how it is named or read.
enum class TypeFlavour
{
    Plain,
    Color,
    Cursor,
    Charset,
    ShortCut,
    DateTime,
    Date,
    Time,
};

struct IdentEntry
{
    std::int32_t value;
    const char* name;
};

struct TypeInfo
{
    TypeKind kind = TypeKind::Integer;
    std::string name;
    TypeFlavour flavour = TypeFlavour::Plain;
    std::int64_t minValue = 0;  // ordinal types
    std::int64_t maxValue = 0;
    std::vector<std::string> enumNames;         // Enumeration: one per value from minValue
    const TypeInfo* elementType = nullptr;      // Set
    FloatType floatType = FloatType::Extended;  // Float
    const ClassInfo* classType = nullptr;       // Class
    std::span<const IdentEntry> idents;         // Integer types with named values
    const std::type_info* signature = nullptr;  // Method: the handler type its methods must have

    bool IsBoolean() const;
};

TypeInfo OrdinalType(TypeKind kind, std::string name, std::int64_t minValue, std::int64_t maxValue,
                     TypeFlavour flavour = TypeFlavour::Plain);
TypeInfo EnumType(std::string name, std::vector<std::string> names);
TypeInfo SetType(std::string name, const TypeInfo& element);
TypeInfo FloatTypeInfo(std::string name, FloatType type, TypeFlavour flavour = TypeFlavour::Plain);
TypeInfo MethodType(std::string name, const std::type_info& signature);

// Identifier of an enumeration value (empty outside the range) and the value of an identifier,
// letter case ignored.
std::string EnumName(const TypeInfo& type, std::int64_t value);
std::optional<std::int64_t> EnumValue(const TypeInfo& type, std::string_view name);

// Named values of integer types (clRed, crHandPoint, ANSI_CHARSET), letter case ignored on lookup.
std::optional<std::string> IntToIdent(std::span<const IdentEntry> idents, std::int32_t value);
std::optional<std::int32_t> IdentToInt(std::span<const IdentEntry> idents, std::string_view name);
std::span<const IdentEntry> ColorIdents();
std::span<const IdentEntry> CursorIdents();
std::span<const IdentEntry> CharsetIdents();

// Shortcut texts such as "Ctrl+S", "Shift+Alt+BkSp" and "F5"; 0 is "" and unknown text is 0.
std::string ShortCutToText(std::uint16_t shortCut);
std::uint16_t TextToShortCut(std::string_view text);

// Case-insensitive equality of ASCII names, as the component model compares names.
bool SameName(std::string_view a, std::string_view b);

}  // namespace setup::forms
