#include <gtest/gtest.h>

#include <map>

#include "setup/htmlview/forms/form.h"

namespace {

using namespace htmlview;

// Records the controls a form makes; every control's font is 7 pixels a character, 16 high.
class FakeControlHost : public IControlHost
{
public:
    struct Control
    {
        ControlKind kind;
        std::u16string text;
        bool enabled = true, checked = false, tabStop = false;
        int x = 0, width = 0, height = 20, maxLength = 0;
    };
    int Create(ControlKind kind, const std::u16string& text, bool enabled) override
    {
        controls[next] = {kind, text, enabled};
        return next++;
    }
    void Destroy(int id) override { controls.erase(id); }
    void Move(int id, int x, int, int width, int height) override
    {
        Control& c = controls.at(id);
        c.x = x;
        c.width = width;
        if (height > 0)
            c.height = height;
    }
    ControlSize Size(int id) const override
    {
        return {controls.at(id).width, controls.at(id).height};
    }
    std::u16string Text(int id) const override { return controls.at(id).text; }
    void SetText(int id, const std::u16string& text) override { controls.at(id).text = text; }
    bool Checked(int id) const override { return controls.at(id).checked; }
    void SetChecked(int id, bool checked) override { controls.at(id).checked = checked; }
    void SetTabStop(int id, bool tabStop) override { controls.at(id).tabStop = tabStop; }
    void SetMaxLength(int id, int length) override { controls.at(id).maxLength = length; }
    int AverageCharWidth(int) const override { return 7; }
    ControlSize TextSize(int, const std::u16string& text) const override
    {
        return {static_cast<int>(text.size()) * 7, 16};
    }

    std::map<int, Control> controls;
    int next = 1;
};

AttributeList Attributes(std::initializer_list<std::pair<Sym, std::string>> values)
{
    AttributeList list;
    for (const auto& [symbol, value] : values) {
        Attribute a;
        a.symbol = symbol;
        a.value = value;
        a.number = std::atoi(value.c_str());
        list.Add(a);
    }
    return list;
}

class FormTest : public ::testing::Test
{
protected:
    FakeControlHost host;
    Form form{host, nullptr};
};

TEST_F(FormTest, ControlsAreMadeThroughTheHostAndParkedOffScreen)
{
    form.AddInput(Attributes({{Sym::Type, "hidden"}, {Sym::Name, "h"}, {Sym::Value, "1"}}));
    auto& edit = dynamic_cast<EditControl&>(
        form.AddInput(Attributes({{Sym::Name, "t"}, {Sym::Size, "30"}, {Sym::Maxlength, "8"}})));
    auto& button = dynamic_cast<ButtonControl&>(form.AddInput(Attributes({{Sym::Type, "SUBMIT"}})));
    form.AddInput(Attributes({{Sym::Type, "password"}, {Sym::Size, "12,3"}}));
    ASSERT_EQ(host.controls.size(), 3u);  // no control for the hidden field
    EXPECT_EQ(form.nonHiddenCount, 3);
    edit.ApplySize();
    EXPECT_EQ(edit.width, 30 * 7 + 23);
    EXPECT_EQ(host.controls.at(edit.control).x, -4000);
    EXPECT_EQ(host.controls.at(edit.control).maxLength, 8);
    button.ApplySize();
    EXPECT_EQ(host.controls.at(button.control).text, u"Submit");
    EXPECT_EQ(button.width, 6 * 7 + 20);
    EXPECT_EQ(button.height, 16 + 8);
    EXPECT_EQ(host.controls.at(3).kind, ControlKind::Password);
}

TEST(EditSize, FromNumbersAndColumnsRows)
{
    // The number the tokenizer read, and the text: "cols, rows" counts when it is no number.
    struct Case
    {
        const char* size;
        int number, chars;
    };
    for (const Case& c : std::vector<Case>{{"30", 30, 30},
                                           {"0", 0, 15},
                                           {"12, 4", 0, 12},
                                           {"x, 4", 0, 20},
                                           {" 12,4", 0, 15},
                                           {"99999999999 ,1", 0, 10000}}) {
        AttributeList list;
        Attribute a;
        a.symbol = Sym::Size;
        a.value = c.size;
        a.number = c.number;
        list.Add(a);
        EXPECT_EQ(EditSizeOf(list), c.chars) << c.size;
    }
}

TEST_F(FormTest, RadioGroupsSubmissionAndReset)
{
    auto& first = dynamic_cast<CheckControl&>(
        form.AddInput(Attributes({{Sym::Type, "radio"}, {Sym::Name, "a"}, {Sym::Value, "1"},
                                  {Sym::Checked, ""}})));
    auto& second = dynamic_cast<CheckControl&>(form.AddInput(
        Attributes({{Sym::Type, "radio"}, {Sym::Name, "A"}, {Sym::Value, "2"}, {Sym::Checked, ""}})));
    auto& box = dynamic_cast<CheckControl&>(
        form.AddInput(Attributes({{Sym::Type, "checkbox"}, {Sym::Name, "c"}})));
    auto& edit = form.AddInput(Attributes({{Sym::Name, "t"}, {Sym::Value, "v"}}));
    form.AddInput(Attributes({{Sym::Name, "off"}, {Sym::Disabled, ""}}));
    EXPECT_FALSE(first.IsChecked());
    EXPECT_TRUE(second.IsChecked());
    EXPECT_FALSE(host.controls.at(first.control).tabStop);

    host.SetChecked(box.control, true);
    host.SetText(edit.control, u"typed");
    EXPECT_EQ(form.SubmissionList(),
              (std::vector<std::string>{"A=2", "c=on", "t=typed", "off="}));
    std::vector<Form::Submitted> sent;
    form.onSubmit = [&](const Form::Submitted& s) { sent.push_back(s); };
    form.Submit("go=1");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].items, (std::vector<std::string>{"A=2", "c=on", "t=typed", "go=1"}));

    first.Click();
    EXPECT_TRUE(first.IsChecked());
    EXPECT_FALSE(second.IsChecked());
    form.ResetControls();
    EXPECT_TRUE(second.IsChecked());
    EXPECT_FALSE(first.IsChecked());
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(host.Text(edit.control), u"v");
}

}  // namespace
