#include "setup/forms/property_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "setup/forms/property_interface.h"
#include "setup/forms/tests/test_classes.h"

namespace setup::forms {
namespace {

using namespace testing;

// A form with two labels that may point at each other and a timer.
struct LabelPage
{
    LabelPage()
    {
        form.SetName("LabelPage");
        label->SetName("Label1");
        other->SetName("Label2");
        timer->SetName("Timer1");
        label->Font()->style.Include(fsUnderline);
        properties.SetRoot(&form);
        properties.SetInstance(label);
        properties.settings = FormatSettings{};
    }
    TProperty& Get(std::string_view fullName)
    {
        TProperty* property = properties.Find(fullName);
        if (!property)
            throw std::runtime_error("no property " + std::string(fullName));
        return *property;
    }

    TTestForm form;
    TTestLabel* label = new TTestLabel(&form);
    TTestLabel* other = new TTestLabel(&form);
    TTestTimer* timer = new TTestTimer(&form);
    TPropertyList properties;
};

TEST(PropertyList, ListsThePublishedPropertiesSortedByNameWithLetterCaseCounting)
{
    LabelPage page;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < page.properties.Count(); ++i)
        names.push_back(page.properties.Item(i)->GetName());
    const std::vector<std::string> expected = {
        "Accelerator",  "Alignment", "Big",      "Caption", "Clock", "Cursor",  "Day",
        "FocusControl", "Font",      "Left",     "Lines",   "Name",  "OnClick", "OnKeyUp",
        "Picture",      "Ratio",     "ShortCut", "Stamp",   "Tag",   "Top",     "Visible"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(page.properties.Item(names.size()), nullptr);
}

TEST(PropertyList, FindsSubPropertiesByFullNameWithLetterCaseCounting)
{
    struct Case
    {
        const char* fullName;
        const char* found;  // the property's full name; null: none
        int level;
    };
    const Case cases[] = {
        {"Caption", "Caption", 0},         {"caption", nullptr, 0},
        {"Font.Color", "Font.Color", 1},   {"Font.Style.fsBold", "Font.Style.fsBold", 2},
        {"Font.Style.fsHuge", nullptr, 0}, {"Font.", nullptr, 0},
        {"Lines.Count", nullptr, 0},       {"Nothing.Color", nullptr, 0},
    };
    for (const Case& c : cases) {
        LabelPage page;
        TProperty* property = page.properties.Find(c.fullName);
        if (!c.found) {
            EXPECT_EQ(property, nullptr) << c.fullName;
            continue;
        }
        ASSERT_NE(property, nullptr) << c.fullName;
        EXPECT_EQ(property->FullName(), c.found);
        EXPECT_EQ(property->Level(), c.level) << c.fullName;
    }
}

TEST(PropertyList, ASetHasOneBooleanChildPerMemberInOrdinalOrder)
{
    LabelPage page;
    TPropertyList& members = page.Get("Font.Style").Properties();
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < members.Count(); ++i)
        texts.push_back(members.Item(i)->GetName() + "=" + members.Item(i)->GetValueText());
    EXPECT_EQ(texts, (std::vector<std::string>{"fsBold=False", "fsItalic=False", "fsUnderline=True",
                                               "fsStrikeOut=False"}));
    EXPECT_EQ(members.Item(0)->Kind(), TypeKind::Enumeration);
    EXPECT_EQ(members.Item(0)->GetValues(), (std::vector<std::string>{"False", "True"}));

    members.Item(0)->SetValueText("true");
    members.Item(2)->SetValueText("False");
    EXPECT_EQ(page.Get("Font.Style").GetValueText(), "[fsBold]");
    EXPECT_THROW(members.Item(1)->SetValueText("yes"), EPropertyException);
    EXPECT_EQ(page.Get("Font.Style").GetValueText(), "[fsBold]");
}

TEST(PropertyList, ValueTextsOfEveryKindReadBackAsWritten)
{
    const std::pair<const char*, const char*> texts[] = {
        {"Left", "-5"},
        {"Visible", "False"},
        {"Alignment", "taCenter"},
        {"Cursor", "crHandPoint"},
        {"ShortCut", "Ctrl+S"},
        {"Accelerator", "N"},
        {"Ratio", "2.5"},
        {"Stamp", "1/2/2020 6:05:00 PM"},
        {"Day", ""},
        {"Font.Color", "clBlue"},
        {"Font.Charset", "GREEK_CHARSET"},
        {"Font.Style", "[fsBold,fsItalic]"},
        {"FocusControl", "Label2"},
        {"OnClick", "Button1Click"},
        {"Caption", "Next >"},
    };
    for (const auto& [name, text] : texts) {
        LabelPage page;
        page.Get(name).SetValueText(text);
        EXPECT_EQ(page.Get(name).GetValueText(), text) << name;
    }
}

TEST(PropertyList, ATextThePropertyCannotTakeLeavesItAsItWas)
{
    const std::pair<const char*, const char*> refused[] = {
        {"Left", "many"},
        {"Visible", "yes"},
        {"FocusControl", "Timer1"},
        {"OnClick", "Nowhere"},
        // An object that is not a component is never taken from text, not even its own address.
        {"Font", "0"},
        {"Lines", ""},
    };
    for (const auto& [name, text] : refused) {
        LabelPage page;
        TProperty& property = page.Get(name);
        const std::string before = property.GetValueText();
        try {
            property.SetValueText(text);
            ADD_FAILURE() << name << " := " << text << " was taken";
        } catch (const EPropertyException& error) {
            EXPECT_STREQ(error.what(), "Invalid property value.");
        }
        EXPECT_EQ(property.GetValueText(), before) << name;
    }
    // Too short to name members: the set stays as it is.
    LabelPage page;
    page.Get("Font.Style").SetValueText("[]");
    EXPECT_EQ(page.Get("Font.Style").GetValueText(), "[fsUnderline]");
}

TEST(PropertyList, ObjectsOtherThanComponentsReadAsTheirAddressAndShowTheirClass)
{
    LabelPage page;
    TProperty& font = page.Get("Font");
    EXPECT_EQ(font.GetValueText(), std::to_string(reinterpret_cast<std::uintptr_t>(
                                       static_cast<TObject*>(page.label->Font()))));
    EXPECT_EQ(font.DisplayText(), "(TFont)");
    EXPECT_THROW(font.SetValueText(font.GetValueText() + "0"), EPropertyException);
    page.label->SetFocusControl(page.other);
    EXPECT_EQ(page.Get("FocusControl").DisplayText(), "Label2");
}

TEST(PropertyList, WritingTheTextThatIsThereLeavesTheSetterAlone)
{
    LabelPage page;
    TProperty& caption = page.Get("Caption");
    caption.SetValueText("Next");
    caption.SetValueText("Next");
    EXPECT_EQ(page.label->captionWrites, 1);
}

TEST(PropertyList, ReferencesThatGoRoundInACircleFollowTheCurrentObject)
{
    LabelPage page;
    page.label->SetFocusControl(page.other);
    page.other->SetFocusControl(page.label);
    page.other->SetCaption("Second");
    EXPECT_EQ(page.Get("FocusControl.FocusControl.FocusControl.Caption").GetValueText(), "Second");
    // Pointing elsewhere gives the sub-list of the new object.
    page.label->SetFocusControl(page.label);
    page.label->SetCaption("First");
    EXPECT_EQ(page.Get("FocusControl.Caption").GetValueText(), "First");
    page.label->SetFocusControl(nullptr);
    EXPECT_EQ(page.properties.Find("FocusControl.Caption"), nullptr);
}

TEST(PropertyInterface, ListsTheInstancesPropertiesUntilTheInstanceIsFreed)
{
    TTestForm form;
    auto* label = new TTestLabel(&form);
    TPropertyInterface interface(nullptr);
    EXPECT_EQ(interface.GetPropertyCount(), 0u);
    interface.SetRoot(&form);
    interface.SetInstance(label);
    ASSERT_EQ(interface.GetPropertyCount(), 21u);
    EXPECT_EQ(interface.GetProperty(0)->GetName(), "Accelerator");
    EXPECT_EQ(interface.GetProperty(21), nullptr);
    delete label;
    EXPECT_EQ(interface.Instance(), nullptr);
    EXPECT_EQ(interface.GetPropertyCount(), 0u);

    // Created with an owner, the owner is both root and instance.
    auto* owned = new TPropertyInterface(&form);
    EXPECT_EQ(owned->Root(), &form);
    EXPECT_EQ(owned->Instance(), &form);
    EXPECT_NE(owned->Properties().Find("Caption"), nullptr);
}

}  // namespace
}  // namespace setup::forms
