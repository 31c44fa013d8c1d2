#include <gtest/gtest.h>

#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/forms/fake_control_host.h"
#include "setup/htmlview/forms/form.h"
#include "setup/htmlview/forms/panel.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/tests/attribute_lists.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using namespace htmlview;
using htmlview_tests::Attributes;

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
    auto& first = dynamic_cast<CheckControl&>(form.AddInput(Attributes(
        {{Sym::Type, "radio"}, {Sym::Name, "a"}, {Sym::Value, "1"}, {Sym::Checked, ""}})));
    auto& second = dynamic_cast<CheckControl&>(form.AddInput(Attributes(
        {{Sym::Type, "radio"}, {Sym::Name, "A"}, {Sym::Value, "2"}, {Sym::Checked, ""}})));
    auto& box = dynamic_cast<CheckControl&>(
        form.AddInput(Attributes({{Sym::Type, "checkbox"}, {Sym::Name, "c"}})));
    auto& edit = form.AddInput(Attributes({{Sym::Name, "t"}, {Sym::Value, "v"}}));
    form.AddInput(Attributes({{Sym::Name, "off"}, {Sym::Disabled, ""}}));
    EXPECT_FALSE(first.IsChecked());
    EXPECT_TRUE(second.IsChecked());
    EXPECT_FALSE(host.controls.at(first.control).tabStop);

    host.SetChecked(box.control, true);
    host.SetText(edit.control, u"typed");
    EXPECT_EQ(form.SubmissionList(), (std::vector<std::string>{"A=2", "c=on", "t=typed", "off="}));
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

TEST_F(FormTest, ListsShowTheirRowsAndSubmitTheirValues)
{
    struct Case
    {
        std::vector<std::pair<Sym, std::string>> attributes;
        int options;
        int rows;
        ControlKind kind;
    };
    for (const Case& c :
         std::vector<Case>{{{{Sym::Multiple, ""}}, 12, 8, ControlKind::MultiListBox},
                           {{{Sym::Size, "0"}}, 2, 1, ControlKind::ListBox},
                           {{{Sym::Multiple, ""}}, 2, 2, ControlKind::MultiListBox},
                           {{}, 3, 1, ControlKind::ComboBox}}) {
        AttributeList attributes;
        for (const auto& [symbol, value] : c.attributes) {
            Attribute a;
            a.symbol = symbol;
            a.value = value;
            attributes.Add(a);
        }
        ListControl& list = form.AddSelect(attributes);
        for (int i = 0; i < c.options; ++i)
            list.AddOption(u"item", false, "");
        list.ResetToInitial();
        list.ApplySize();
        EXPECT_EQ(host.controls.at(list.control).kind, c.kind);
        if (c.kind != ControlKind::ComboBox) {
            EXPECT_EQ(list.rows, c.rows) << c.options;
            EXPECT_EQ(list.height, 16 * c.rows + 4);
        }
        EXPECT_EQ(list.width, 17 + 4 * 7 + 10);  // scroll bar, widest option, room
    }

    form.controls.clear();
    ListControl& multi = form.AddSelect(Attributes({{Sym::Name, "m"}, {Sym::Multiple, ""}}));
    multi.AddOption(u"One", true, "1");
    multi.AddOption(u"", false, "");  // an empty text shows a space and submits it
    multi.AddOption(u"Three", true, "");
    multi.ResetToInitial();
    EXPECT_EQ(host.controls.at(multi.control).items[1], u" ");
    ListControl& drop = form.AddSelect(Attributes({{Sym::Name, "d"}}));
    drop.AddOption(u"a", false, "");
    drop.AddOption(u"b", true, "");
    drop.AddOption(u"c", false, "");
    drop.ResetToInitial();
    EXPECT_EQ(form.SubmissionList(), (std::vector<std::string>{"m=1", "m=Three", "d=b"}));
    host.SelectItem(multi.control, 1, true);
    host.SetItemIndex(drop.control, 2);
    EXPECT_EQ(form.SubmissionList(), (std::vector<std::string>{"m=1", "m= ", "m=Three", "d=c"}));
    form.ResetControls();
    EXPECT_EQ(form.SubmissionList(), (std::vector<std::string>{"m=1", "m=Three", "d=b"}));
}

TEST_F(FormTest, ChangesAreReportedOnlyWhenTheValueDiffersOnLeaving)
{
    std::vector<std::string> events;
    form.onObjectEvent = [&](FormControl& control, ObjectEvent event, const std::string& text) {
        const char* kinds[] = {"click", "focus", "blur", "change"};
        events.push_back(control.name + ":" + kinds[static_cast<int>(event)] + ":" + text);
    };
    host.onEvent = [&](int id, ControlEvent event) { form.Dispatch(id, event); };
    auto& edit = form.AddInput(
        Attributes({{Sym::Name, "t"}, {Sym::Onchange, "changed"}, {Sym::Onfocus, "in"}}));
    ListControl& list = form.AddSelect(
        Attributes({{Sym::Name, "l"}, {Sym::Multiple, ""}, {Sym::Onchange, "picked"}}));
    for (int i = 0; i < 60; ++i)
        list.AddOption(u"x", false, "");
    list.ResetToInitial();

    host.Raise(edit.control, ControlEvent::Enter);
    host.Raise(edit.control, ControlEvent::Leave);
    host.Raise(edit.control, ControlEvent::Enter);
    host.SetText(edit.control, u"new");
    host.Raise(edit.control, ControlEvent::Leave);
    // Item 52 of a list is not watched; item 51 is.
    host.Raise(list.control, ControlEvent::Enter);
    host.SelectItem(list.control, 51, true);
    host.Raise(list.control, ControlEvent::Leave);
    host.Raise(list.control, ControlEvent::Enter);
    host.SelectItem(list.control, 50, true);
    host.Raise(list.control, ControlEvent::Leave);
    EXPECT_EQ(events, (std::vector<std::string>{"t:focus:in", "t:focus:in", "t:change:changed",
                                                "l:change:picked"}));
}

TEST_F(FormTest, KeysButtonsAndTextAreas)
{
    std::vector<Form::Submitted> sent;
    form.onSubmit = [&](const Form::Submitted& s) { sent.push_back(s); };
    form.onFileBrowse = [](EditControl&, std::string& name) { name += "chosen.txt"; };
    auto& first = dynamic_cast<CheckControl&>(
        form.AddInput(Attributes({{Sym::Type, "radio"}, {Sym::Name, "r"}, {Sym::Value, "1"}})));
    auto& second = dynamic_cast<CheckControl&>(
        form.AddInput(Attributes({{Sym::Type, "radio"}, {Sym::Name, "r"}, {Sym::Value, "2"}})));
    auto& edit = form.AddInput(Attributes({{Sym::Name, "t"}, {Sym::Value, "v"}}));
    auto& browse = dynamic_cast<ButtonControl&>(
        form.AddInput(Attributes({{Sym::Type, "file"}, {Sym::Name, "f"}, {Sym::Value, "C:\\"}})));
    TextAreaControl& hard = form.AddTextArea(
        Attributes({{Sym::Name, "h"}, {Sym::Wrap, "HARD"}, {Sym::Rows, "2"}, {Sym::Cols, "4"}}),
        "0123456789abc");
    TextAreaControl& soft = form.AddTextArea(Attributes({{Sym::Name, "s"}}), "0123456789abc");

    // Arrow keys move the focus within a radio group and stop at its ends.
    first.Handle(ControlEvent::ArrowForward);
    EXPECT_TRUE(host.controls.at(second.control).focused);
    second.Handle(ControlEvent::ArrowForward);
    EXPECT_TRUE(host.controls.at(second.control).focused);
    second.Handle(ControlEvent::ArrowBack);
    EXPECT_TRUE(host.controls.at(first.control).focused);

    // The browse button keeps no name of its own and fills the file field's text box.
    EXPECT_EQ(host.controls.at(browse.control).text, u"Browse...");
    EXPECT_TRUE(browse.name.empty());
    browse.Handle(ControlEvent::Click);
    ASSERT_NE(browse.browseEdit, nullptr);
    EXPECT_EQ(host.Text(browse.browseEdit->control), u"C:\\chosen.txt");

    // Enter in a text box submits without a button; hard wrapping sends the lines as shown.
    edit.Handle(ControlEvent::Return);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].items, (std::vector<std::string>{"t=v", "f=C:\\chosen.txt",
                                                       "h=0123456789\r\nabc", "s=0123456789abc"}));
    hard.ApplySize();
    EXPECT_EQ(hard.height, 16 * 2 + 5);
    EXPECT_EQ(hard.width, 7 * 4 + 5);
    EXPECT_EQ(host.controls.at(soft.control).kind, ControlKind::Memo);
}

// A whole document built over the fake host, its controls sized by the fake's fonts.
class DocumentWithControls : public ::testing::Test
{
protected:
    DocumentWithControls() { document.controlHost = &host; }

    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    FakeControlHost host;
    Document document{measurer, fonts};
};

TEST_F(DocumentWithControls, ControlsStandInTheTextAndSubmitTheirForm)
{
    DocumentBuilder builder(document, codePages);
    builder.Build(
        "<form action=/go method=POSTED><table><tr><td>Name<td><input name=n value=x size=4>"
        "<tr><td colspan=2><select name=s><option>a<option selected> b </select>"
        "<textarea name=t>hi</textarea></table><input type=submit name=go value=Go>"
        "<input type=hidden name=h value=1><input type=image name=map src=m.gif width=20 height=10>"
        "</form><input name=outside>");
    ASSERT_EQ(document.forms.size(), 2u);  // the last control gets a form of its own
    const Form& form = *document.forms[0];
    EXPECT_EQ(form.action, "/go");
    EXPECT_EQ(form.method, "POST");
    EXPECT_EQ(form.SubmissionList(), (std::vector<std::string>{"n=x", "s=b", "t=hi", "h=1"}));
    EXPECT_EQ(document.forms[1]->controls.size(), 1u);

    document.Layout(400, 300);
    document.Paint({0, 0, 400, 300});
    // Painting moved every shown control from its parking place into the text: the text box
    // beside "Name", the list under it, the button below the table.
    auto placed = [&](const FormControl& control) { return host.controls.at(control.control); };
    const auto& edit = placed(*form.controls[0]);
    const auto& list = placed(*form.controls[1]);
    const auto& button = placed(*form.controls[3]);
    EXPECT_GE(edit.x, 4 * 8);
    EXPECT_EQ(edit.width, 4 * 7 + 23);
    EXPECT_GE(list.x, 0);
    EXPECT_GT(list.y, edit.y);
    EXPECT_GT(button.y, list.y);
    EXPECT_GE(placed(*document.forms[1]->controls[0]).x, 0);
    EXPECT_NE(document.DumpLayout().find("Name"), std::string::npos);

    // The image button's picture answers a hit test; a click on it submits the point.
    std::vector<Form::Submitted> sent;
    document.forms[0]->onSubmit = [&](const Form::Submitted& s) { sent.push_back(s); };
    LinkHit hit;
    for (int y = 0; y < 300 && !hit.imageButton; ++y)
        for (int x = 0; x < 400 && !hit.imageButton; ++x)
            document.HitLink(x, y, hit);
    ASSERT_NE(hit.imageButton, nullptr);
    EXPECT_EQ(hit.imageX, 0);
    EXPECT_EQ(hit.imageY, 0);
    hit.imageButton->ClickAt(hit.imageX + 3, hit.imageY + 4);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].items,
              (std::vector<std::string>{"n=x", "s=b", "t=hi", "h=1", "map.x=3", "map.y=4"}));
    EXPECT_EQ(document.forms[0]->SubmissionList().size(), 4u);  // the click is forgotten
}

TEST_F(DocumentWithControls, PanelsAreMadeForTheHostAndSizedInTheText)
{
    std::vector<std::string> made;
    document.onPanelCreate = [&](Panel& panel) {
        made.push_back(panel.name + "/" + panel.type + "/" + panel.source);
        if (panel.name == "own")
            host.Move(panel.control, -4000, -4000, 60, 30);  // the host decides its size
    };
    DocumentBuilder builder(document, codePages);
    builder.Build(
        "<p>a <panel name=half type=t src=s.dat width=50% height=40> b "
        "<panel name=own> c <panel name=side align=left width=20 height=200%></p>");
    ASSERT_EQ(document.panels.size(), 3u);
    EXPECT_EQ(made, (std::vector<std::string>{"half/t/s.dat", "own//", "side//"}));
    document.Layout(400, 300);
    document.Paint({0, 0, 400, 300});
    const Panel& half = *document.panels[0];
    const Panel& own = *document.panels[1];
    const Panel& side = *document.panels[2];
    EXPECT_EQ(half.width, 200);
    EXPECT_EQ(half.height, 40);
    EXPECT_EQ(own.width, 60);
    EXPECT_EQ(own.height, 30);
    EXPECT_EQ(side.height, 20);                      // a percentage above a hundred is ignored
    EXPECT_EQ(host.controls.at(side.control).x, 3);  // floated left, with a float's spacing
    EXPECT_GE(host.controls.at(own.control).x, 0);
    EXPECT_EQ(host.controls.at(own.control).kind, ControlKind::Panel);
}

}  // namespace
