#include "setup/ui/control_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "setup/engine/rtl/string_list.h"
#include "setup/forms/property_list.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/tests/test_page.h"

namespace setup::ui::testing {
namespace {

TEST(ControlRules, SplitsALineAtTheSeparatorsTheDesignerWrites)
{
    struct Case
    {
        const char* line;
        ControlRule rule;
    };
    const Case cases[] = {
        {"IF (ComboBox1.ItemIndex = 0)  THEN  Edit1.Enabled := False;",
         {false, "ComboBox1", "ItemIndex", "0", "Edit1", "Enabled", "False"}},
        {"IF (Edit1.Text <> )  THEN  Button1.Enabled := True;",
         {true, "Edit1", "Text", "", "Button1", "Enabled", "True"}},
        {"IF (Edit1.Text = Edit2.Text)  THEN  Label1.Caption := Edit2.Text;",
         {false, "Edit1", "Text", "Edit2.Text", "Label1", "Caption", "Edit2.Text"}},
        // " <> " anywhere makes the rule negated and its operator, even in the target value.
        {"IF (Edit1.Text = a)  THEN  Label1.Caption := x <> y;",
         {true, "Edit1", "Text = a)  THEN  Label1.Caption := x", "", "", "", ""}},
        // A missing separator gives an empty piece and still takes its length off the rest.
        {"IF (Edit1.Text = a) THEN Button1.Enabled := True;",
         {false, "Edit1", "Text", "", "utton1", "Enabled", "True"}},
        {"IF (Edit1Text = a)  THEN  Button1.Enabled := True;",
         {false, "Edit1Text = a)  THEN  Button1", "", "", "", "", ""}},
        {"IF (Edit1.Text = a)  THEN  Button1.Enabled := True",
         {false, "Edit1", "Text", "a", "Button1", "Enabled", ""}},
        {"IF", {false, "", "", "", "", "", ""}},
        {"", {false, "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        const ControlRule rule = ParseControlRule(c.line);
        const auto pieces = [](const ControlRule& r) {
            return std::vector<std::string>{
                r.negated ? "<>" : "=", r.testControl,    r.testProperty, r.testValue,
                r.targetControl,        r.targetProperty, r.targetValue};
        };
        EXPECT_EQ(pieces(rule), pieces(c.rule)) << c.line;
    }
}

// A page with two edits, a button and a read-only memo.
struct RulePage
{
    RulePage()
    {
        page.SetName("Page");
        edit1->SetName("Edit1");
        edit2->SetName("Edit2");
        button->SetName("Button1");
        memo->SetName("Memo1");
    }
    void Apply(const std::vector<std::string>& lines)
    {
        ApplyControlRules(page, rtl::ToCommaText(lines));
    }

    TTestPage page;
    TEdit* edit1 = new TEdit(&page);
    TEdit* edit2 = new TEdit(&page);
    TButton* button = new TButton(&page);
    TMemo* memo = new TMemo(&page);
};

TEST(ControlRules, SetTheTargetWhenTheComparisonHolds)
{
    const std::vector<std::string> inStep = {
        "IF (Edit1.Text = yes)  THEN  Button1.Enabled := True;",
        "IF (Edit1.Text <> yes)  THEN  Button1.Enabled := False;"};
    struct Case
    {
        std::vector<std::string> rules;
        const char* edit1;
        const char* edit2;
        bool enabledBefore;
        bool enabledAfter;
    };
    const Case cases[] = {
        {inStep, "yes", "", false, true},
        {inStep, "no", "", true, false},
        {inStep, "Yes", "", true, false},  // compared with letter case
        {{"IF (Edit1.Text <> )  THEN  Button1.Enabled := True;"}, "x", "", false, true},
        {{"IF (Edit1.Text <> )  THEN  Button1.Enabled := True;"}, "", "", false, false},
        {{"IF (Edit1.Text = Edit2.Text)  THEN  Button1.Enabled := True;"}, "a", "a", false, true},
        {{"IF (Edit1.Text = Edit2.Text)  THEN  Button1.Enabled := True;"}, "a", "b", false, false},
        {{"IF (Edit1.Text = 1.5)  THEN  Button1.Enabled := True;"}, "1.5", "", false, true},
        {{"IF (Button1.Enabled = true)  THEN  Edit1.Text := hit;"}, "", "", true, true},
        // Names of controls and properties ignore letter case.
        {{"IF (EDIT1.text = a)  THEN  button1.ENABLED := True;"}, "a", "", false, true},
        // A missing control reads as the empty text, and setting one does nothing.
        {{"IF (Missing.Text = )  THEN  Button1.Enabled := True;"}, "", "", false, true},
        {{"IF (Edit1.Text = )  THEN  Missing.Enabled := True;"}, "", "", false, false},
        {{"IF (Edit1.Nothing = )  THEN  Button1.Enabled := True;"}, "", "", false, true},
        // The page form itself is not among its components.
        {{"IF (Page.Caption = )  THEN  Button1.Enabled := True;"}, "", "", false, true},
    };
    for (const Case& c : cases) {
        RulePage page;
        page.edit1->SetText(c.edit1);
        page.edit2->SetText(c.edit2);
        page.button->SetEnabled(c.enabledBefore);
        page.Apply(c.rules);
        EXPECT_EQ(page.button->Enabled(), c.enabledAfter) << c.rules[0] << " / " << c.edit1;
        EXPECT_EQ(page.edit1->Text(), c.edit1) << c.rules[0];
    }
}

TEST(ControlRules, RunInFileOrderEachSeeingWhatTheEarlierOnesSet)
{
    RulePage page;
    page.Apply({"IF (Edit1.Text = )  THEN  Edit2.Text := Memo1.MaxLength;",
                "IF (Edit2.Text = 0)  THEN  Edit1.Text := done;",
                "IF (Edit1.Text = )  THEN  Button1.Enabled := False;",
                "IF (Button1.Enabled = True)  THEN  Page.Caption := changed;"});
    EXPECT_EQ(page.edit2->Text(), "0");
    EXPECT_EQ(page.edit1->Text(), "done");
    EXPECT_TRUE(page.button->Enabled());  // the third rule saw "done"
    EXPECT_EQ(page.page.Caption(), "");   // the page form is never a target
}

TEST(ControlRules, AValueThePropertyCannotTakeReachesTheCaller)
{
    RulePage page;
    EXPECT_THROW(page.Apply({"IF (Edit1.Text = )  THEN  Button1.Enabled := yes;"}),
                 forms::EPropertyException);
    EXPECT_TRUE(page.button->Enabled());
    EXPECT_EQ(ResolvePropertyReference(page.page, "Edit1.Text.Length"), "Edit1.Text.Length");
    EXPECT_EQ(GetControlProperty(page.page, "Memo1", "MaxLength"), "0");
    EXPECT_EQ(GetControlProperty(page.page, "Memo1", "Lines.Count"), std::nullopt);
}

TEST(ControlRules, ARuleFileChangesTheControlsOfALoadedPage)
{
    const auto folder = std::filesystem::temp_directory_path();
    const auto pagePath = folder / "control_rules_licence.txt";
    std::ofstream(pagePath) << R"(object Licence: TForm
  object RadioButton1: TSkRadioButton
    Caption = 'I accept'
  end
  object RadioButton2: TSkRadioButton
    Caption = 'I do not accept'
    Checked = True
  end
  object ComboBox1: TComboBox
    Items.Strings = (
      'Full'
      'Custom')
  end
  object Edit1: TEdit
    Text = 'C:\Program Files'
  end
  object Button1: TButton
    Caption = 'Next'
  end
end
)";
    const auto rulePath = folder / "control_rules_licence.txt.qbrf";
    std::ofstream(rulePath)
        << "IF (RadioButton1.Checked = True)  THEN  Button1.Enabled := True;\n"
           "IF (RadioButton1.Checked = False)  THEN  Button1.Enabled := False;\n"
           "IF (ComboBox1.ItemIndex = 0)  THEN  Edit1.Enabled := False;\n"
           "IF (ComboBox1.ItemIndex <> 0)  THEN  Edit1.Enabled := True;\n";
    std::vector<std::string> lines;
    std::ifstream rules(rulePath);
    for (std::string line; std::getline(rules, line);)
        lines.push_back(line);
    const std::string controlRules = rtl::ToCommaText(lines);

    forms::ClassRegistry registry;
    RegisterPageClasses(registry);
    TTestPage page;
    auto* designer = new TFormDesigner(&page);
    designer->registry = &registry;
    designer->clearBeforeLoad = false;
    designer->LoadFromFile(pagePath.string(), FormFileLayout::Text);
    const auto enabled = [&](const char* name) {
        return dynamic_cast<TControl*>(page.FindComponent(name))->Enabled();
    };

    ApplyControlRules(page, controlRules);
    EXPECT_FALSE(enabled("Button1"));
    EXPECT_TRUE(enabled("Edit1"));

    SetControlProperty(page, "RadioButton1", "Checked", "True");
    SetControlProperty(page, "ComboBox1", "ItemIndex", "0");
    ApplyControlRules(page, controlRules);
    EXPECT_TRUE(enabled("Button1"));
    EXPECT_FALSE(enabled("Edit1"));
    EXPECT_EQ(GetControlProperty(page, "RadioButton2", "Checked"), "False");
}

}  // namespace
}  // namespace setup::ui::testing
