#include "setup/forms/class_info.h"

#include <cctype>

#include <gtest/gtest.h>

#include "setup/forms/property_types.h"
#include "setup/forms/tests/test_classes.h"

namespace setup::forms {
namespace {

using namespace testing;

std::vector<std::string> Names(const std::vector<const PropInfo*>& properties)
{
    std::vector<std::string> names;
    for (const PropInfo* property : properties)
        names.push_back(property->name);
    return names;
}

TEST(ClassInfo, ListsInheritedPropertiesFirstAndFindsThemIgnoringCase)
{
    const ClassInfo& label = TTestLabel::StaticClass();
    const std::vector<std::string> names = Names(label.Properties());
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(names[0], "Name");
    EXPECT_EQ(names[1], "Tag");
    EXPECT_EQ(names[2], "Left");
    EXPECT_EQ(names.back(), "FocusControl");
    EXPECT_EQ(label.FindProperty("tag"), TComponent::StaticClass().FindProperty("Tag"));
    EXPECT_EQ(label.FindProperty("FOCUSCONTROL")->type->classType, &TTestControl::StaticClass());
    EXPECT_EQ(TTestControl::StaticClass().FindProperty("FocusControl"), nullptr);
    EXPECT_EQ(label.FindProperty("Missing"), nullptr);

    EXPECT_TRUE(label.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(label.InheritsFrom(label));
    EXPECT_FALSE(TTestControl::StaticClass().InheritsFrom(label));
    EXPECT_FALSE(TTestFont::StaticClass().InheritsFrom(TComponent::StaticClass()));
}

TEST(ClassInfo, GivesEachPropertyTheTypeOfItsMember)
{
    struct Case
    {
        const ClassInfo& owner;
        const char* property;
        TypeKind kind;
        const char* typeName;
    };
    const Case cases[] = {
        {TTestControl::StaticClass(), "Left", TypeKind::Integer, "Integer"},
        {TTestControl::StaticClass(), "Caption", TypeKind::String, "string"},
        {TTestControl::StaticClass(), "Visible", TypeKind::Enumeration, "Boolean"},
        {TTestControl::StaticClass(), "Alignment", TypeKind::Enumeration, "TAlignment"},
        {TTestControl::StaticClass(), "Cursor", TypeKind::Integer, "TCursor"},
        {TTestControl::StaticClass(), "ShortCut", TypeKind::Integer, "TShortCut"},
        {TTestControl::StaticClass(), "Accelerator", TypeKind::Char, "Char"},
        {TTestControl::StaticClass(), "Big", TypeKind::Int64, "Int64"},
        {TTestControl::StaticClass(), "Ratio", TypeKind::Float, "Double"},
        {TTestControl::StaticClass(), "Stamp", TypeKind::Float, "TDateTime"},
        {TTestControl::StaticClass(), "Font", TypeKind::Class, "TFont"},
        {TTestControl::StaticClass(), "Lines", TypeKind::Class, "TStrings"},
        {TTestControl::StaticClass(), "OnClick", TypeKind::Method, "TNotifyEvent"},
        {TTestFont::StaticClass(), "Color", TypeKind::Integer, "TColor"},
        {TTestFont::StaticClass(), "Charset", TypeKind::Integer, "TFontCharset"},
        {TTestFont::StaticClass(), "Style", TypeKind::Set, "set of TFontStyle"},
        {TTestList::StaticClass(), "Columns", TypeKind::Class, "TCollection"},
    };
    for (const Case& c : cases) {
        const PropInfo* info = c.owner.FindProperty(c.property);
        ASSERT_NE(info, nullptr) << c.property;
        EXPECT_EQ(info->type->kind, c.kind) << c.property;
        EXPECT_EQ(info->type->name, c.typeName) << c.property;
    }
    EXPECT_EQ(TypeOf<TSet<TFontStyle>>().elementType, &TypeOf<TFontStyle>());
    EXPECT_EQ(EnumName(TypeOf<TAlignment>(), 2), "taCenter");
    EXPECT_EQ(EnumValue(TypeOf<TAlignment>(), "TARIGHTJUSTIFY"), 1);
    EXPECT_EQ(EnumValue(TypeOf<TAlignment>(), "taMiddle"), std::nullopt);
    EXPECT_EQ(EnumName(TypeOf<TAlignment>(), 3), "");
}

TEST(ClassInfo, ReadsAndWritesPropertiesThroughTheirAccessors)
{
    TTestForm form;
    auto* label = new TTestLabel(&form);
    auto* edit = new TTestControl(&form);
    const ClassInfo& info = label->ClassType();
    EXPECT_EQ(&info, &TTestLabel::StaticClass());

    info.FindProperty("Caption")->set(*label, std::string("Name:"));
    info.FindProperty("Left")->set(*label, std::int64_t{12});
    info.FindProperty("Alignment")->set(*label, std::int64_t{taCenter});
    info.FindProperty("Stamp")->set(*label, 36526.25L);
    info.FindProperty("FocusControl")->set(*label, static_cast<TObject*>(edit));
    EXPECT_EQ(label->Caption(), "Name:");
    EXPECT_EQ(label->captionWrites, 1);  // the setter ran
    EXPECT_EQ(label->left, 12);
    EXPECT_EQ(label->alignment, taCenter);
    EXPECT_EQ(label->stamp.value, 36526.25);
    EXPECT_EQ(label->FocusControl(), edit);
    EXPECT_EQ(std::get<std::int64_t>(info.FindProperty("Left")->get(*label)), 12);
    EXPECT_EQ(std::get<TObject*>(info.FindProperty("Font")->get(*label)), label->Font());

    const PropInfo* style = TTestFont::StaticClass().FindProperty("Style");
    style->set(*label->Font(), std::int64_t{0b101});
    EXPECT_TRUE(label->Font()->style.Has(fsBold));
    EXPECT_FALSE(label->Font()->style.Has(fsItalic));
    EXPECT_TRUE(label->Font()->style.Has(fsUnderline));
}

TEST(ClassInfo, ResolvesPublishedMethodsByNameAndCallsThem)
{
    TTestForm form;
    TTestControl button(nullptr);
    const MethodInfo* click = form.ClassType().FindMethod("button1click");
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->name, "Button1Click");
    EXPECT_EQ(form.ClassType().FindMethod("Button2Click"), nullptr);

    TTestControl::StaticClass().FindProperty("OnClick")->set(button, TMethod{click, &form});
    const auto handler =
        std::get<TMethod>(TTestControl::StaticClass().FindProperty("OnClick")->get(button));
    EXPECT_EQ(handler.method->name, "Button1Click");  // read back by name
    button.onClick.Call(&button);
    ASSERT_EQ(form.clicks.size(), 1u);
    EXPECT_EQ(form.clicks[0], &button);
    TNotifyEvent{}.Call(&button);  // an unassigned event does nothing
}

TEST(ClassRegistry, FindsClassesByNameIgnoringCaseAndCreatesThem)
{
    ClassRegistry registry;
    RegisterTestClasses(registry);
    registry.Register(TTestLabel::StaticClass());
    EXPECT_EQ(registry.Find("ttestlabel"), &TTestLabel::StaticClass());
    EXPECT_EQ(registry.Find("TTestForm"), nullptr);

    TTestForm owner;
    TObject* created = registry.Find("TTestTimer")->Create(&owner);
    ASSERT_NE(dynamic_cast<TTestTimer*>(created), nullptr);
    EXPECT_EQ(owner.Component(0), created);
    EXPECT_FALSE(TStrings::StaticClass().CanCreate());
}

TEST(IdentifierTables, NameIntegerValuesBothWays)
{
    struct Case
    {
        std::span<const IdentEntry> table;
        std::int32_t value;
        const char* name;
    };
    const Case cases[] = {
        {ColorIdents(), 0x0000FF, "clRed"},
        {ColorIdents(), static_cast<std::int32_t>(0xFF00000F), "clBtnFace"},
        {ColorIdents(), 0x1FFFFFFF, "clNone"},
        {CursorIdents(), -21, "crHandPoint"},
        {CursorIdents(), 0, "crDefault"},
        {CharsetIdents(), 1, "DEFAULT_CHARSET"},
        {CharsetIdents(), 238, "EASTEUROPE_CHARSET"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IntToIdent(c.table, c.value), c.name);
        std::string upper = c.name;
        for (char& ch : upper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_EQ(IdentToInt(c.table, upper), c.value) << upper;
    }
    EXPECT_EQ(IntToIdent(ColorIdents(), 0x123456), std::nullopt);
    EXPECT_EQ(IdentToInt(CursorIdents(), "crSize"), -22);
    EXPECT_EQ(IntToIdent(CursorIdents(), -22), "crSizeAll");  // the first name of a value
}

TEST(ShortCutText, ConvertsBothWays)
{
    struct Case
    {
        std::uint16_t shortCut;
        const char* text;
    };
    const Case cases[] = {
        {0x4053, "Ctrl+S"},        {0x0074, "F5"},       {0x2071, "Shift+F2"},
        {0x6070, "Shift+Ctrl+F1"}, {0x8008, "Alt+BkSp"}, {0xA008, "Shift+Alt+BkSp"},
        {0x402E, "Ctrl+Del"},      {0x0030, "0"},        {0x0087, "F24"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
        EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << c.text;
    }
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(TextToShortCut("(None)"), 0);
    EXPECT_EQ(TextToShortCut("ctrl+s"), 0x4053);
}

}  // namespace
}  // namespace setup::forms
