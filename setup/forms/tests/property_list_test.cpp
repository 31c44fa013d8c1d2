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
        "Accelerator", "Alignment", "Big",     "Caption", "Clock",   "Cursor",
        "Day",         "FocusControl", "Font",   "Left",    "Lines",   "Name",
        "OnClick",     "OnKeyUp",   "Picture", "Ratio",   "ShortCut", "Stamp",
        "Tag",         "Top",       "Visible"};
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
        {"Caption", "Caption", 0},
        {"caption", nullptr, 0},
        {"Font.Color", "Font.Color", 1},
        {"Font.Style.fsBold", "Font.Style.fsBold", 2},
        {"Font.Style.fsHuge", nullptr, 0},
        {"Font.", nullptr, 0},
        {"Lines.Count", nullptr, 0},
        {"Nothing.Color", nullptr, 0},
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
    EXPECT_EQ(texts, (std::vector<std::string>{"fsBold=False", "fsItalic=False",
                                               "fsUnderline=True", "fsStrikeOut=False"}));
    EXPECT_EQ(members.Item(0)->Kind(), TypeKind::Enumeration);
    EXPECT_EQ(members.Item(0)->GetValues(), (std::vector<std::string>{"False", "True"}));

    members.Item(0)->SetValueText("true");
    members.Item(2)->SetValueText("False");
    EXPECT_EQ(page.Get("Font.Style").GetValueText(), "[fsBold]");
    EXPECT_THROW(members.Item(1)->SetValueText("yes"), EPropertyException);
    EXPECT_EQ(page.Get("Font.Style").GetValueText(), "[fsBold]");
}

TEST(PropertyList, ReadsAndWritesValueTextsOfEveryKind)
{
    struct Case
    {
        const char* property;
        const char* text;
        const char* after;  // read back; null: refused, the old text stays
    };
    const Case cases[] = {
        {"Left", "-5", "-5"},
        {"Visible", "false", "False"},
        {"Alignment", "taCenter", "taCenter"},
        {"Cursor", "crHandPoint", "crHandPoint"},
        {"ShortCut", "Ctrl+S", "Ctrl+S"},
        {"ShortCut", "(None)", "(None)"},
        {"Accelerator", "N", "N"},
        {"Ratio", "2.5", "2.5"},
        {"Stamp", "1/2/2020 6:05 PM", "1/2/2020 6:05:00 PM"},
        {"Day", "", ""},
        {"Font.Color", "clBlue", "clBlue"},
        {"Font.Charset", "GREEK_CHARSET", "GREEK_CHARSET"},
        {"Font.Style", "[fsBold,fsItalic]", "[fsBold,fsItalic]"},
        {"Font.Style", "[]", "[fsUnderline]"},  // too short to change the set
        {"FocusControl", "Label2", "Label2"},
        {"FocusControl", "Timer1", nullptr},
        {"OnClick", "Button1Click", "Button1Click"},
        {"OnClick", "Nowhere", nullptr},
        {"Caption", "Next >", "Next >"},
        {"Left", "many", nullptr},
        // An object that is not a component is never taken from text, not even its own address.
        {"Font", "0", nullptr},
        {"Lines", "", nullptr},
    };
    for (const Case& c : cases) {
        LabelPage page;
        TProperty& property = page.Get(c.property);
        const std::string before = property.GetValueText();
        if (c.after) {
            property.SetValueText(c.text);
            EXPECT_EQ(property.GetValueText(), c.after) << c.property << " := " << c.text;
            continue;
        }
        try {
            property.SetValueText(c.text);
            ADD_FAILURE() << c.property << " := " << c.text << " was taken";
        } catch (const EPropertyException& error) {
            EXPECT_STREQ(error.what(), "Invalid property value.");
        }
        EXPECT_EQ(property.GetValueText(), before) << c.property << " := " << c.text;
    }
}

TEST(PropertyList, ObjectsOtherThanComponentsReadAsTheirAddressAndShowTheirClass)
{
    LabelPage page;
    TProperty& font = page.Get("Font");
    EXPECT_EQ(font.GetValueText(),
              std::to_string(reinterpret_cast<std::uintptr_t>(static_cast<TObject*>(
                  page.label->Font()))));
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
