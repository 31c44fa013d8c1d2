#include "setup/forms/component_writer.h"

#include <gtest/gtest.h>

#include "setup/forms/binary_form.h"
#include "setup/forms/component_reader.h"
#include "setup/forms/form_errors.h"
#include "setup/forms/tests/test_classes.h"
#include "setup/forms/text_form.h"

namespace setup::forms {
namespace {

using namespace testing;

void Read(const FormObject& tree, TTestForm& form)
{
    ClassRegistry registry;
    RegisterTestClasses(registry);
    ComponentReader(registry).ReadRootComponent(tree, form);
}

// Each form is read into live components and written back: the text that comes out is the one
// that went in, as every property here differs from a new object's and is in declaration order.
// The written tree, read again through the binary layout, writes the same tree once more.
TEST(ComponentWriter, WritesWhatWasReadBackToTheSameForm)
{
    struct Case
    {
        const char* what;
        const char* text;
    };
    const Case cases[] = {
        {"an empty root", "object Empty: TTestForm\nend\n"},
        {"every kind of property, a reference to a component read later",
         R"(object MainPage: TTestForm
  Caption = 'Welcome'
  ClientWidth = 462
  OnCreate = FormCreate
  object Label1: TTestLabel
    Tag = 3
    Left = 8
    Top = 16
    Caption = 'Name:'#13#10'It''s'
    Visible = False
    Alignment = taCenter
    Cursor = crHandPoint
    ShortCut = 16467
    Accelerator = 'N'
    Big = 5000000000
    Ratio = 0.5
    Stamp = 36526.25D
    Font.Name = 'Arial'
    Font.Height = -13
    Font.Color = clRed
    Font.Charset = EASTEUROPE_CHARSET
    Font.Style = [fsBold, fsUnderline]
    OnClick = Button1Click
    FocusControl = Edit1
  end
  object Edit1: TTestControl
    Font.Color = 12345678
    Lines.Strings = (
      'one'
      ''
      'three')
  end
end
)"},
        {"children under their parents, a non-visual component's design position",
         R"(object Page: TTestForm
  object Panel1: TTestControl
    Left = 4
    object Edit1: TTestControl
      Caption = 'inner'
      object Edit2: TTestControl
        Top = -2
      end
    end
  end
  object Timer1: TTestTimer
    Interval = 250
    OnTimer = Button1Click
    Left = 40
    Top = 8
  end
  object Timer2: TTestTimer
    Top = 65535
  end
end
)"},
        {"a collection whose item refers to a later component",
         R"(object Page: TTestForm
  object List1: TTestList
    Columns = <
      item
        Caption = 'Name'
        Width = 120
        Control = Label1
      end
      item
      end>
  end
  object Label1: TTestLabel
    FocusControl = Label1
  end
end
)"},
        {"binary data handed to an owned object",
         R"(object Page: TTestForm
  object Image1: TTestControl
    Picture.Data = {
      0102FF00}
  end
end
)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TTestForm form;
        Read(ReadTextForm(c.text), form);
        const FormObject written = WriteRootComponent(form);
        EXPECT_EQ(WriteTextForm(written), c.text);

        TTestForm again;
        Read(ReadBinaryForm(WriteBinaryForm(written)), again);
        EXPECT_EQ(WriteRootComponent(again), written);
    }
}

TEST(ComponentWriter, StoresWhatDiffersFromANewObjectAndWhatCodeChanged)
{
    TTestForm form;
    form.SetName("Built");
    // Created before its parent: the record still sits under the parent's.
    auto* edit = new TTestControl(&form);
    edit->SetName("Edit1");
    auto* panel = new TTestControl(&form);
    panel->SetName("Panel1");
    edit->SetParentComponent(panel);
    panel->SetParentComponent(&form);
    edit->Font()->name = "MS Sans Serif";  // the default: not stored
    edit->Font()->height = -12;
    edit->visible = true;  // the default
    edit->Lines()->Add("x");
    static_cast<TMethod&>(edit->onClick) = {form.ClassType().FindMethod("Button1Click"), &form};
    auto* timer = new TTestTimer(&form);
    timer->SetName("Timer1");
    timer->SetDesignInfo(0x00010000);  // left 0, top 1: only Top is stored

    EXPECT_EQ(WriteTextForm(WriteRootComponent(form)), R"(object Built: TTestForm
  object Panel1: TTestControl
    object Edit1: TTestControl
      Font.Height = -12
      Lines.Strings = (
        'x')
      OnClick = Button1Click
    end
  end
  object Timer1: TTestTimer
    Top = 1
  end
end
)");
}

TEST(ComponentWriter, WritesComponentsWhoseParentsFormARingAtTheTop)
{
    TTestForm form;
    form.SetName("Ring");
    auto* first = new TTestControl(&form);
    first->SetName("First");
    auto* second = new TTestControl(&form);
    second->SetName("Second");
    first->SetParentComponent(second);
    second->SetParentComponent(first);

    EXPECT_EQ(WriteTextForm(WriteRootComponent(form)), R"(object Ring: TTestForm
  object First: TTestControl
    object Second: TTestControl
    end
  end
end
)");
}

TEST(ComponentWriter, RefusesWhatAFormCannotHold)
{
    struct Case
    {
        const char* what;
        void (*arrange)(TTestForm& form, TTestLabel& label, TTestForm& other);
    };
    const Case cases[] = {
        {"a reference to a component outside the root",
         [](TTestForm&, TTestLabel& label, TTestForm& other) {
             auto* outside = new TTestControl(&other);
             outside->SetName("Outside");
             label.SetFocusControl(outside);
         }},
        {"a reference to an unnamed component",
         [](TTestForm& form, TTestLabel& label, TTestForm&) {
             label.SetFocusControl(new TTestControl(&form));
         }},
        {"children nested deeper than a form can be read back with",
         [](TTestForm& form, TTestLabel& label, TTestForm&) {
             TComponent* parent = &label;
             for (int depth = 0; depth < kMaxFormNesting; ++depth) {
                 auto* child = new TTestControl(&form);
                 child->SetName("Nested" + std::to_string(depth));
                 child->SetParentComponent(parent);
                 parent = child;
             }
         }},
        {"a handler of another object",
         [](TTestForm&, TTestLabel& label, TTestForm& other) {
             static_cast<TMethod&>(label.onClick) = {other.ClassType().FindMethod("Button1Click"),
                                                     &other};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TTestForm form;
        TTestForm other;
        auto* label = new TTestLabel(&form);
        label->SetName("Label1");
        c.arrange(form, *label, other);
        EXPECT_THROW(WriteRootComponent(form), EFilerError);
    }
}

}  // namespace
}  // namespace setup::forms
