#include "setup/forms/type_info.h"

namespace setup::forms {

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool TypeInfo::IsBoolean() const
{
    return kind == TypeKind::Enumeration && enumNames.size() == 2 && enumNames[0] == "False" &&
           enumNames[1] == "True";
}

TypeInfo OrdinalType(TypeKind kind, std::string name, std::int64_t minValue, std::int64_t maxValue,
                     TypeFlavour flavour)
{
    TypeInfo type;
    type.kind = kind;
    type.name = std::move(name);
    type.minValue = minValue;
    type.maxValue = maxValue;
    type.flavour = flavour;
    switch (flavour) {
        case TypeFlavour::Color:
            type.idents = ColorIdents();
            break;
        case TypeFlavour::Cursor:
            type.idents = CursorIdents();
            break;
        case TypeFlavour::Charset:
            type.idents = CharsetIdents();
            break;
        default:
            break;
    }
    return type;
}

TypeInfo EnumType(std::string name, std::vector<std::string> names)
{
    TypeInfo type;
    type.kind = TypeKind::Enumeration;
    type.name = std::move(name);
    type.maxValue = static_cast<std::int64_t>(names.size()) - 1;
    type.enumNames = std::move(names);
    return type;
}

TypeInfo SetType(std::string name, const TypeInfo& element)
{
    TypeInfo type;
    type.kind = TypeKind::Set;
    type.name = std::move(name);
    type.elementType = &element;
    return type;
}

TypeInfo FloatTypeInfo(std::string name, FloatType floatType, TypeFlavour flavour)
{
    TypeInfo type;
    type.kind = TypeKind::Float;
    type.name = std::move(name);
    type.floatType = floatType;
    type.flavour = flavour;
    return type;
}

TypeInfo MethodType(std::string name, const std::type_info& signature)
{
    TypeInfo type;
    type.kind = TypeKind::Method;
    type.name = std::move(name);
    type.signature = &signature;
    return type;
}

std::string EnumName(const TypeInfo& type, std::int64_t value)
{
    if (value < type.minValue || value > type.maxValue ||
        static_cast<std::size_t>(value - type.minValue) >= type.enumNames.size())
        return {};
    return type.enumNames[static_cast<std::size_t>(value - type.minValue)];
}

std::optional<std::int64_t> EnumValue(const TypeInfo& type, std::string_view name)
{
    for (std::size_t i = 0; i < type.enumNames.size(); ++i)
        if (SameName(type.enumNames[i], name))
            return type.minValue + static_cast<std::int64_t>(i);
    return std::nullopt;
}

std::optional<std::string> IntToIdent(std::span<const IdentEntry> idents, std::int32_t value)
{
    for (const IdentEntry& entry : idents)
        if (entry.value == value)
            return entry.name;
    return std::nullopt;
}

std::optional<std::int32_t> IdentToInt(std::span<const IdentEntry> idents, std::string_view name)
{
    for (const IdentEntry& entry : idents)
        if (SameName(entry.name, name))
            return entry.value;
    return std::nullopt;
}

namespace {

// System colours are 0xFF000000 plus the system colour index.
constexpr std::int32_t System(int index)
{
    return static_cast<std::int32_t>(0xFF000000u | static_cast<std::uint32_t>(index));
}

constexpr IdentEntry kColors[] = {
    {0x000000, "clBlack"},
    {0x000080, "clMaroon"},
    {0x008000, "clGreen"},
    {0x008080, "clOlive"},
    {0x800000, "clNavy"},
    {0x800080, "clPurple"},
    {0x808000, "clTeal"},
    {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},
    {0x00FF00, "clLime"},
    {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},
    {0xFF00FF, "clFuchsia"},
    {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"},
    {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},
    {0xA4A0A0, "clMedGray"},
    {System(0), "clScrollBar"},
    {System(1), "clBackground"},
    {System(2), "clActiveCaption"},
    {System(3), "clInactiveCaption"},
    {System(4), "clMenu"},
    {System(5), "clWindow"},
    {System(6), "clWindowFrame"},
    {System(7), "clMenuText"},
    {System(8), "clWindowText"},
    {System(9), "clCaptionText"},
    {System(10), "clActiveBorder"},
    {System(11), "clInactiveBorder"},
    {System(12), "clAppWorkSpace"},
    {System(13), "clHighlight"},
    {System(14), "clHighlightText"},
    {System(15), "clBtnFace"},
    {System(16), "clBtnShadow"},
    {System(17), "clGrayText"},
    {System(18), "clBtnText"},
    {System(19), "clInactiveCaptionText"},
    {System(20), "clBtnHighlight"},
    {System(21), "cl3DDkShadow"},
    {System(22), "cl3DLight"},
    {System(23), "clInfoText"},
    {System(24), "clInfoBk"},
    {System(26), "clHotLight"},
    {System(27), "clGradientActiveCaption"},
    {System(28), "clGradientInactiveCaption"},
    {System(29), "clMenuHighlight"},
    {System(30), "clMenuBar"},
    {0x1FFFFFFF, "clNone"},
    {0x20000000, "clDefault"},
};

constexpr IdentEntry kCursors[] = {
    {0, "crDefault"},     {-1, "crNone"},     {-2, "crArrow"},      {-3, "crCross"},
    {-4, "crIBeam"},      {-6, "crSizeNESW"}, {-7, "crSizeNS"},     {-8, "crSizeNWSE"},
    {-9, "crSizeWE"},     {-10, "crUpArrow"}, {-11, "crHourGlass"}, {-12, "crDrag"},
    {-13, "crNoDrop"},    {-14, "crHSplit"},  {-15, "crVSplit"},    {-16, "crMultiDrag"},
    {-17, "crSQLWait"},   {-18, "crNo"},      {-19, "crAppStart"},  {-20, "crHelp"},
    {-21, "crHandPoint"}, {-22, "crSizeAll"}, {-22, "crSize"},
};

constexpr IdentEntry kCharsets[] = {
    {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};

constexpr std::uint16_t kShift = 0x2000;
constexpr std::uint16_t kCtrl = 0x4000;
constexpr std::uint16_t kAlt = 0x8000;

// Key names of the virtual-key codes that are not a letter, a digit or a function key.
constexpr IdentEntry kKeyNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
};

std::string KeyName(int key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= 0x70 && key <= 0x87)  // F1 to F24
        return "F" + std::to_string(key - 0x6F);
    return IntToIdent(kKeyNames, key).value_or("");
}

}  // namespace

std::span<const IdentEntry> ColorIdents()
{
    return kColors;
}
std::span<const IdentEntry> CursorIdents()
{
    return kCursors;
}
std::span<const IdentEntry> CharsetIdents()
{
    return kCharsets;
}

std::string ShortCutToText(std::uint16_t shortCut)
{
    const std::string key = KeyName(shortCut & 0xFF);
    if (key.empty())
        return {};
    std::string text;
    if (shortCut & kShift)
        text += "Shift+";
    if (shortCut & kCtrl)
        text += "Ctrl+";
    if (shortCut & kAlt)
        text += "Alt+";
    return text + key;
}

std::uint16_t TextToShortCut(std::string_view text)
{
    std::uint16_t modifiers = 0;
    for (;;) {
        const auto take = [&](std::string_view prefix, std::uint16_t flag) {
            if (text.size() > prefix.size() && SameName(text.substr(0, prefix.size()), prefix)) {
                text.remove_prefix(prefix.size());
                modifiers |= flag;
                return true;
            }
            return false;
        };
        if (!take("Shift+", kShift) && !take("Ctrl+", kCtrl) && !take("Alt+", kAlt))
            break;
    }
    for (int key = 1; key <= 0xFF; ++key) {
        const std::string name = KeyName(key);
        if (!name.empty() && SameName(name, text))
            return static_cast<std::uint16_t>(modifiers | key);
    }
    return 0;
}

}  // namespace setup::forms
