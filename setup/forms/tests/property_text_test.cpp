#include "setup/forms/property_text.h"

#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/tests/test_classes.h"

namespace setup::forms {
namespace {

using namespace testing;

// A page with a label, the edit it may refer to and a timer that no label may refer to.
struct Page
{
    Page()
    {
        form.SetName("Page");
        label->SetName("Label1");
        edit->SetName("Edit1");
        timer->SetName("Timer1");
        label->Font()->style.Include(fsUnderline);
        context.root = &form;
    }
    // "Font.Color" is a property of the label's font; anything else one of the label's.
    std::pair<TPersistent*, const PropInfo*> Find(std::string_view path)
    {
        TPersistent* instance = label;
        if (path.starts_with("Font.")) {
            instance = label->Font();
            path.remove_prefix(5);
        }
        return {instance, instance->ClassType().FindProperty(path)};
    }
    std::string Text(std::string_view path)
    {
        const auto [instance, info] = Find(path);
        return GetPropertyText(*instance, *info, context);
    }

    TTestForm form;
    TTestLabel* label = new TTestLabel(&form);
    TTestControl* edit = new TTestControl(&form);
    TTestTimer* timer = new TTestTimer(&form);
    PropertyTextContext context;
};

TEST(PropertyText, ReadsEveryKindOfValue)
{
    struct Case
    {
        const char* property;
        void (*arrange)(Page& page);
        const char* text;
    };
    const Case cases[] = {
        {"Left", [](Page& p) { p.label->left = -12; }, "-12"},
        {"Caption", [](Page& p) { p.label->SetCaption("Name:"); }, "Name:"},
        {"Visible", [](Page& p) { p.label->visible = false; }, "False"},
        {"Alignment", [](Page& p) { p.label->alignment = taCenter; }, "taCenter"},
        {"Cursor", [](Page& p) { p.label->cursor = TCursor(-21); }, "crHandPoint"},
        {"Cursor", [](Page& p) { p.label->cursor = TCursor(-99); }, "-99"},
        {"ShortCut", [](Page&) {}, "(None)"},
        {"ShortCut", [](Page& p) { p.label->shortCut = TShortCut(0x4053); }, "Ctrl+S"},
        {"Accelerator", [](Page& p) { p.label->accelerator = 'N'; }, "N"},
        {"Big", [](Page& p) { p.label->big = 5; }, ""},  // 64-bit integers have no text
        {"Ratio", [](Page& p) { p.label->ratio = 0.5; }, "0.5"},
        {"Stamp", [](Page&) {}, ""},
        {"Stamp", [](Page& p) { p.label->stamp.value = 36526.25; }, "1/1/2000 6:00:00 AM"},
        {"Stamp", [](Page& p) { p.label->stamp.value = 1e300; }, "1E300"},
        {"Day", [](Page& p) { p.label->day.value = 36526.75; }, "1/1/2000"},
        {"Clock", [](Page& p) { p.label->clock.value = 0.75; }, "6:00:00 PM"},
        {"Font.Color", [](Page& p) { p.label->Font()->color = TColor(0xFF); }, "clRed"},
        {"Font.Color", [](Page& p) { p.label->Font()->color = TColor(0xFF8000); }, "$00FF8000"},
        {"Font.Color", [](Page& p) { p.label->Font()->color = TColor(-2); }, "$FFFFFFFE"},
        {"Font.Charset", [](Page& p) { p.label->Font()->charset = TFontCharset(238); },
         "EASTEUROPE_CHARSET"},
        {"Font.Charset", [](Page& p) { p.label->Font()->charset = TFontCharset(3); }, "3"},
        {"Font.Style", [](Page& p) { p.label->Font()->style = {}; }, "[]"},
        {"Font.Style", [](Page& p) { p.label->Font()->style.Include(fsBold); },
         "[fsBold,fsUnderline]"},
        {"FocusControl", [](Page&) {}, ""},
        {"FocusControl", [](Page& p) { p.label->SetFocusControl(p.edit); }, "Edit1"},
        {"OnClick", [](Page&) {}, ""},
        {"OnClick",
         [](Page& p) {
             static_cast<TMethod&>(p.label->onClick) = {
                 p.form.ClassType().FindMethod("Button1Click"), &p.form};
         },
         "Button1Click"},
    };
    for (const Case& c : cases) {
        Page page;
        c.arrange(page);
        EXPECT_EQ(page.Text(c.property), c.text) << c.property;
    }
    Page page;
    EXPECT_EQ(page.Text("Font"),
              std::to_string(reinterpret_cast<std::uintptr_t>(page.label->Font())));
    page.context.root = nullptr;  // no root: no method names
    static_cast<TMethod&>(page.label->onClick) = {page.form.ClassType().FindMethod("Button1Click"),
                                                  &page.form};
    EXPECT_EQ(page.Text("OnClick"), "");
}

TEST(PropertyText, StoresTheValueATextStandsForOrKeepsTheOldOne)
{
    struct Case
    {
        const char* property;
        const char* text;
        const char* after;  // read back; null: refused, the old text stays
    };
    const Case cases[] = {
        {"Left", "-5", "-5"},
        {"Left", "$10", "16"},
        {"Left", "5000000000", nullptr},
        {"Left", "5 ", nullptr},
        {"Caption", "x", "x"},
        {"Visible", "false", "False"},
        {"Visible", "yes", nullptr},
        {"Alignment", "TACENTER", "taCenter"},
        {"Alignment", "taMiddle", nullptr},
        {"Cursor", "crhandpoint", "crHandPoint"},
        {"Cursor", "-99", "-99"},
        {"Cursor", "40000", nullptr},
        {"ShortCut", "Ctrl+S", "Ctrl+S"},
        {"Accelerator", "Xyz", "X"},
        {"Big", "5", ""},  // nothing to store
        {"Ratio", "2.5", "2.5"},
        {"Ratio", "half", nullptr},
        {"Stamp", "1/2/2020 6:05 PM", "1/2/2020 6:05:00 PM"},
        {"Stamp", "soon", nullptr},
        {"Day", "1/2/2020 6:05 PM", "1/2/2020"},      // the date only
        {"Clock", "1/2/2020 6:00 AM", "6:00:00 AM"},  // the time only
        {"Font.Color", "clBlue", "clBlue"},
        {"Font.Color", "$00FF8000", "$00FF8000"},
        {"Font.Color", "255", "clRed"},
        {"Font.Color", "$FF000005", "clWindow"},
        {"Font.Color", "clPlaid", nullptr},
        {"Font.Charset", "greek_charset", "GREEK_CHARSET"},
        {"Font.Charset", "3", "3"},
        {"Font.Charset", "256", nullptr},
        {"Font.Style", "[fsBold,fsItalic]", "[fsBold,fsItalic]"},
        {"Font.Style", "fsBold", "[fsBold]"},
        {"Font.Style", "[]", "[fsUnderline]"},          // too short to change anything
        {"Font.Style", "[fsBold, fsItalic]", nullptr},  // no trimming
        {"Font.Style", "[fsBold,fsHuge]", nullptr},
        {"FocusControl", "edit1", "Edit1"},
        {"FocusControl", "Missing", ""},
        {"FocusControl", "Timer1", nullptr},  // not a control
        {"OnClick", "button1click", "Button1Click"},
        {"OnClick", "FormCloseQuery", nullptr},  // another signature
        {"OnClick", "Button9Click", nullptr},
        {"Font", "123", nullptr},  // objects other than components are not set from text
    };
    for (const Case& c : cases) {
        Page page;
        const auto [instance, info] = page.Find(c.property);
        ASSERT_NE(info, nullptr) << c.property;
        const std::string before = page.Text(c.property);
        if (c.after) {
            SetPropertyText(*instance, *info, c.text, page.context);
            EXPECT_EQ(page.Text(c.property), c.after) << c.property << " := " << c.text;
        } else {
            EXPECT_THROW(SetPropertyText(*instance, *info, c.text, page.context), rtl::Exception)
                << c.property << " := " << c.text;
            EXPECT_EQ(page.Text(c.property), before) << c.property << " := " << c.text;
        }
    }
}

TEST(PropertyText, LeavesTheSetterAloneWhenTheTextIsAlreadyThere)
{
    Page page;
    const auto [instance, caption] = page.Find("Caption");
    SetPropertyText(*instance, *caption, "Next", page.context);
    SetPropertyText(*instance, *caption, "Next", page.context);
    EXPECT_EQ(page.label->captionWrites, 1);
}

TEST(PropertyText, ListsTheValuesAPropertyAdmits)
{
    Page page;
    const auto values = [&](const char* path) {
        return GetPropertyValues(*page.Find(path).second, page.context);
    };
    const std::vector<std::string> colors = values("Font.Color");
    ASSERT_EQ(colors.size(), 16u + 30u);
    EXPECT_EQ(colors[0], "clBlack");
    EXPECT_EQ(colors[15], "clWhite");
    EXPECT_EQ(colors[16], "clScrollBar");
    EXPECT_EQ(colors.back(), "clMenuBar");

    const std::vector<std::string> cursors = values("Cursor");
    ASSERT_EQ(cursors.size(), 22u);  // -5 has no name, -22 has two
    EXPECT_EQ(cursors.front(), "crDefault");
    EXPECT_EQ(cursors[20], "crHandPoint");
    EXPECT_EQ(cursors.back(), "crSizeAll");

    const std::vector<std::string> charsets = values("Font.Charset");
    ASSERT_EQ(charsets.size(), 19u);
    EXPECT_EQ(charsets.front(), "ANSI_CHARSET");
    EXPECT_EQ(charsets.back(), "OEM_CHARSET");

    const std::vector<std::string> shortCuts = values("ShortCut");
    ASSERT_EQ(shortCuts.size(), 1u + 26u + 4 * 12u + 6u + 2u);
    EXPECT_EQ(shortCuts[0], "(None)");
    EXPECT_EQ(shortCuts[1], "Ctrl+A");
    EXPECT_EQ(shortCuts[27], "F1");
    EXPECT_EQ(shortCuts[39], "Ctrl+F1");
    EXPECT_EQ(shortCuts[63], "Shift+Ctrl+F1");
    EXPECT_EQ(shortCuts[75], "Ins");
    EXPECT_EQ(shortCuts[78], "Shift+Del");
    EXPECT_EQ(shortCuts.back(), "Shift+Alt+BkSp");

    EXPECT_EQ(values("Alignment"),
              (std::vector<std::string>{"taLeftJustify", "taRightJustify", "taCenter"}));
    EXPECT_EQ(values("FocusControl"), (std::vector<std::string>{"Label1", "Edit1"}));
    EXPECT_EQ(values("Caption"), std::vector<std::string>{});
}

}  // namespace
}  // namespace setup::forms
