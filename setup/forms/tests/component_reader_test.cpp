#include "setup/forms/component_reader.h"

#include <gtest/gtest.h>

#include "setup/forms/binary_form.h"
#include "setup/forms/form_errors.h"
#include "setup/forms/tests/test_classes.h"
#include "setup/forms/text_form.h"

namespace setup::forms {
namespace {

using namespace testing;

// The text as a page file: compiled to the binary layout with its resource header, then read back.
FormObject ThroughPageFile(const std::string& text)
{
    const std::vector<std::uint8_t> stream = WriteBinaryForm(ReadTextForm(text));
    std::vector<std::uint8_t> file = FormResourceHeader("TTESTFORM", stream.size());
    file.insert(file.end(), stream.begin(), stream.end());
    return ReadBinaryForm(SkipFormResourceHeader(file));
}

class ComponentReaderTest : public ::testing::Test
{
protected:
    ComponentReaderTest() { RegisterTestClasses(registry); }

    // Reads the text into `form`, keeping every error and skipping what it names.
    void Load(const std::string& text)
    {
        ComponentReader reader(registry);
        reader.OnError = [this](const std::string& message) {
            errors.push_back(message);
            return true;
        };
        reader.ReadRootComponent(ThroughPageFile(text), form);
    }
    // Reads the text into `page`; any error fails the read.
    void Read(const std::string& text, TTestForm& page)
    {
        ComponentReader(registry).ReadRootComponent(ThroughPageFile(text), page);
    }
    template <class T>
    T* Find(const char* name)
    {
        return dynamic_cast<T*>(form.FindComponent(name));
    }

    ClassRegistry registry;
    TTestForm form;
    std::vector<std::string> errors;
};

TEST_F(ComponentReaderTest, BuildsTheComponentsWithEveryKindOfProperty)
{
    Load(R"(object MainPage: TTestForm
  Caption = 'Welcome'
  ClientWidth = 462
  OnCreate = FormCreate
  object Label1: TTestLabel
    Left = 8
    Top = 16
    Caption = 'Name:'
    FocusControl = Edit1
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsUnderline]
    Font.Color = clRed
    Font.Charset = EASTEUROPE_CHARSET
    Font.Height = -11
    Alignment = taCenter
    Cursor = crHandPoint
    Visible = False
    ShortCut = 16467
    Accelerator = 'N'
    Big = 5000000000
    Ratio = 0.5
    Stamp = 36526.25D
    OnClick = button1click
  end
  object Panel1: TTestControl
    Font.Color = 255
    object Edit1: TTestControl
      Lines.Strings = (
        'one'
        ''
        'three')
    end
  end
  object Timer1: TTestTimer
    Left = 40
    Top = 8
    Interval = 250
    OnTimer = Button1Click
  end
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
end
)");
    EXPECT_EQ(errors, std::vector<std::string>{});
    EXPECT_EQ(form.Name(), "MainPage");
    EXPECT_EQ(form.caption, "Welcome");
    EXPECT_EQ(form.clientWidth, 462);
    ASSERT_TRUE(form.onCreate);
    EXPECT_EQ(form.onCreate.method->name, "FormCreate");
    EXPECT_FALSE(form.HasState(csLoading));

    std::vector<std::string> names;
    for (std::size_t i = 0; i < form.ComponentCount(); ++i)
        names.push_back(form.Component(i)->Name() + ":" + form.Component(i)->ClassName());
    EXPECT_EQ(names, (std::vector<std::string>{"Label1:TTestLabel", "Panel1:TTestControl",
                                               "Edit1:TTestControl", "Timer1:TTestTimer",
                                               "List1:TTestList"}));

    auto* label = Find<TTestLabel>("Label1");
    auto* edit = Find<TTestControl>("Edit1");
    ASSERT_TRUE(label && edit);
    EXPECT_EQ(label->parent_, &form);
    EXPECT_EQ(edit->parent_, Find<TTestControl>("Panel1"));
    EXPECT_EQ(label->left, 8);
    EXPECT_EQ(label->top, 16);
    EXPECT_EQ(label->DesignInfo(), 0u);  // a control's Left and Top are its own properties
    EXPECT_EQ(label->Caption(), "Name:");
    EXPECT_EQ(label->FocusControl(), edit);    // a reference to a component read later
    EXPECT_EQ(label->focusAtLoaded, "Edit1");  // fixed up before Loaded
    EXPECT_EQ(label->Font()->name, "Arial");
    EXPECT_EQ(label->Font()->style.bits, (1u << fsBold) | (1u << fsUnderline));
    EXPECT_EQ(label->Font()->color, 0x0000FF);
    EXPECT_EQ(label->Font()->charset, 238);
    EXPECT_EQ(label->Font()->height, -11);
    EXPECT_EQ(label->alignment, taCenter);
    EXPECT_EQ(label->cursor, -21);
    EXPECT_FALSE(label->visible);
    EXPECT_EQ(label->shortCut, 0x4053);
    EXPECT_EQ(label->accelerator, 'N');
    EXPECT_EQ(label->big, 5000000000);
    EXPECT_EQ(label->ratio, 0.5);
    EXPECT_EQ(label->stamp.value, 36526.25);
    label->onClick.Call(label);
    ASSERT_EQ(form.clicks.size(), 1u);
    EXPECT_EQ(form.clicks[0], label);
    EXPECT_EQ(Find<TTestControl>("Panel1")->Font()->color, 255);
    EXPECT_EQ(edit->Lines()->Items(), (std::vector<std::string>{"one", "", "three"}));

    auto* timer = Find<TTestTimer>("Timer1");
    EXPECT_EQ(timer->DesignInfo(), (8u << 16) | 40u);
    EXPECT_EQ(timer->interval, 250);
    EXPECT_EQ(timer->onTimer.method->name, "Button1Click");

    TCollection* columns = Find<TTestList>("List1")->Columns();
    ASSERT_EQ(columns->Count(), 2u);
    auto* first = dynamic_cast<TTestColumn*>(columns->Item(0));
    EXPECT_EQ(first->caption, "Name");
    EXPECT_EQ(first->width, 120);
    EXPECT_EQ(first->control, label);
    EXPECT_EQ(dynamic_cast<TTestColumn*>(columns->Item(1))->width, 50);
}

TEST_F(ComponentReaderTest, SkipsWhatTheErrorHandlerHandlesAndReadsOn)
{
    struct Case
    {
        const char* lines;  // inside Label1, before "Tag = 7"
        const char* error;
    };
    const Case cases[] = {
        {"Colour = clRed", "Error reading Label1.Colour: Property Colour does not exist"},
        {"Brush.Color = clRed", "Error reading Label1.Brush.Color: Property Brush does not exist"},
        {"Left = 'x'", "Error reading Label1.Left: Invalid property value"},
        {"Left = 5000000000", "Error reading Label1.Left: Invalid property value"},
        {"Alignment = taMiddle", "Error reading Label1.Alignment: Invalid property value"},
        {"Visible = 1", "Error reading Label1.Visible: Invalid property value"},
        {"Font.Style = [fsBold, fsHuge]",
         "Error reading Label1.Font.Style: Invalid property value"},
        {"Font.Charset = 256", "Error reading Label1.Font.Charset: Invalid property value"},
        {"Font.Color = clPlaid", "Error reading Label1.Font.Color: Invalid property value"},
        {"Caption = 12", "Error reading Label1.Caption: Invalid property value"},
        {"Accelerator = 'NO'", "Error reading Label1.Accelerator: Invalid property value"},
        {"Ratio = 'half'", "Error reading Label1.Ratio: Invalid property value"},
        {"OnClick = Button9Click", "Error reading Label1.OnClick: Method Button9Click not found"},
        {"OnClick = 5", "Error reading Label1.OnClick: Invalid property value"},
        {"OnClick = FormCloseQuery",
         "Error reading Label1.OnClick: Method FormCloseQuery does not fit TNotifyEvent"},
        {"OnKeyUp = Button1Click",
         "Error reading Label1.OnKeyUp: Method Button1Click does not fit TTestKeyEvent"},
        {"Picture.Data = 'bitmap'", "Error reading Label1.Picture.Data: Invalid property value"},
        {"FocusControl = Edit9", "Error reading Label1.FocusControl: Component Edit9 not found"},
        {"FocusControl = Timer1", "Error reading Label1.FocusControl: Invalid property value"},
        {"Font = 3", "Error reading Label1.Font: Invalid property value"},
        {"Lines.Strings = 5", "Error reading Label1.Lines.Strings: Invalid property value"},
        {"Lines.Strings = (\n 1)", "Error reading Label1.Lines.Strings: Invalid property value"},
        {"Lines.Text = 'x'", "Error reading Label1.Lines.Text: Property Text does not exist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        TTestForm page;
        errors.clear();
        ComponentReader reader(registry);
        reader.OnError = [this](const std::string& message) {
            errors.push_back(message);
            return true;
        };
        reader.ReadRootComponent(ThroughPageFile(std::string("object F: TTestForm\n"
                                                             "  object Label1: TTestLabel\n") +
                                                 c.lines +
                                                 "\n    Tag = 7\n"
                                                 "  end\n"
                                                 "  object Timer1: TTestTimer\n"
                                                 "  end\n"
                                                 "end\n"),
                                 page);
        EXPECT_EQ(errors, std::vector<std::string>{c.error});
        ASSERT_NE(page.FindComponent("Label1"), nullptr);
        EXPECT_EQ(page.FindComponent("Label1")->Tag(), 7);
        EXPECT_EQ(page.ComponentCount(), 2u);
    }
}

TEST_F(ComponentReaderTest, SkipsAnUnknownClassWithEverythingItHolds)
{
    Load(R"(object F: TTestForm
  object Gauge1: TGauge
    Progress = 50
    Items.Strings = (
      'a')
    object Edit9: TTestControl
      Caption = 'inside'
    end
  end
  object Edit2: TTestLabel
    FocusControl = Edit9
  end
  inherited Missing1: TTestControl
  end
end
)");
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "Class TGauge not found", "Ancestor for 'Missing1' not found",
                          "Error reading Edit2.FocusControl: Component Edit9 not found"}));
    ASSERT_EQ(form.ComponentCount(), 1u);
    EXPECT_EQ(form.Component(0)->Name(), "Edit2");
}

TEST_F(ComponentReaderTest, RaisesTheErrorWhenNobodyHandlesIt)
{
    const FormObject tree = ReadTextForm(
        "object F: TTestForm\n"
        "  object Edit1: TTestControl\n"
        "  end\n"
        "  object Gauge1: TGauge\n"
        "  end\n"
        "end\n");
    for (const bool withHandler : {false, true}) {
        TTestForm page;
        ComponentReader reader(registry);
        if (withHandler)
            reader.OnError = [](const std::string&) { return false; };
        try {
            reader.ReadRootComponent(tree, page);
            ADD_FAILURE() << "no error";
        } catch (const EReadError& error) {
            EXPECT_STREQ(error.what(), "Class TGauge not found");
        }
        EXPECT_NE(page.FindComponent("Edit1"), nullptr);  // what was read stays
    }
}

TEST_F(ComponentReaderTest, NamesComponentsThroughTheNamingHook)
{
    const FormObject tree = ReadTextForm(
        "object F: TTestForm\n"
        "  object Label1: TTestLabel\n"
        "  end\n"
        "  object Label1: TTestLabel\n"
        "  end\n"
        "end\n");
    {
        // Default naming refuses the clash; the half-read component is freed.
        TTestForm page;
        EXPECT_THROW(ComponentReader(registry).ReadRootComponent(tree, page), EComponentError);
        EXPECT_EQ(page.ComponentCount(), 1u);
    }
    ComponentReader reader(registry);
    std::vector<std::string> asked;
    reader.OnSetName = [&](TComponent& component, const std::string& name) {
        asked.push_back(name);
        component.SetName(component.Owner()->FindComponent(name) ? name + "_2" : name);
    };
    reader.ReadRootComponent(tree, form);
    EXPECT_EQ(asked, (std::vector<std::string>{"Label1", "Label1"}));
    EXPECT_NE(form.FindComponent("Label1_2"), nullptr);
}

TEST_F(ComponentReaderTest, MovesAChildReadWithAPositionToThatPlace)
{
    struct Case
    {
        const char* positions[3];  // after the class names of A, B and C
        const char* order;
    };
    const Case cases[] = {
        {{"", "", ""}, "ABC"},      {{"", "", " [0]"}, "CAB"}, {{"", " [0]", " [1]"}, "BCA"},
        {{" [5]", "", ""}, "ABC"},   // past the end: stays last of what was read
        {{"", "", " [-3]"}, "CAB"},  // before the start: first
    };
    for (const Case& c : cases) {
        TTestForm page;
        Read(std::string("object F: TTestForm\n") +                           //
                 "  object A: TTestControl" + c.positions[0] + "\n  end\n" +  //
                 "  object B: TTestControl" + c.positions[1] + "\n  end\n" +  //
                 "  object C: TTestControl" + c.positions[2] + "\n  end\n" +  //
                 "end\n",
             page);
        std::string order;
        for (std::size_t i = 0; i < page.ComponentCount(); ++i)
            order += page.Component(i)->Name();
        EXPECT_EQ(order, c.order) << c.positions[0] << c.positions[1] << c.positions[2];
    }
}

TEST_F(ComponentReaderTest, BindsHandlersWithArgumentsBeyondTheSender)
{
    Load(R"(object F: TTestForm
  OnCloseQuery = FormCloseQuery
  object Edit1: TTestControl
    OnKeyUp = Edit1KeyUp
  end
end
)");
    ASSERT_EQ(errors, std::vector<std::string>{});
    bool canClose = true;
    form.allowClose = false;
    form.onCloseQuery(&form, canClose);
    EXPECT_FALSE(canClose);

    auto* edit = Find<TTestControl>("Edit1");
    form.swallowKey = 13;
    std::uint16_t enter = 13;
    std::uint16_t letter = 'A';
    edit->onKeyUp(edit, enter, 4);
    edit->onKeyUp(edit, letter, 1);
    EXPECT_EQ(enter, 0);  // answered through the reference
    EXPECT_EQ(letter, 'A');
    EXPECT_EQ(form.keys, (std::vector<std::pair<std::uint16_t, int>>{{13, 4}, {'A', 1}}));
}

TEST_F(ComponentReaderTest, GivesTheRootAFreeNameWhenAnotherRootBearsIt)
{
    struct Case
    {
        std::vector<std::string> taken;
        const char* stored;
        const char* name;
    };
    const Case cases[] = {
        {{}, "Page", "Page"},
        {{"Other"}, "Page", "Page"},
        {{"PAGE"}, "Page", "Page_1"},
        {{"Page", "Page_1", "Page_3"}, "Page", "Page_2"},
        {{""}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        TTestForm page;
        ComponentReader reader(registry);
        reader.IsRootNameTaken = [&](const std::string& name) {
            for (const std::string& taken : c.taken)
                if (SameName(taken, name))
                    return true;
            return false;
        };
        FormObject tree;
        tree.className = "TTestForm";
        tree.name = c.stored;
        reader.ReadRootComponent(tree, page);
        EXPECT_EQ(page.Name(), c.name);
    }
    // An answer that never lets go ends the read instead of the program.
    TTestForm page;
    ComponentReader reader(registry);
    reader.IsRootNameTaken = [](const std::string&) { return true; };
    EXPECT_THROW(reader.ReadRootComponent(ReadTextForm("object Page: TTestForm\nend\n"), page),
                 EComponentError);
}

// A code page with one character beyond Latin-1: the euro sign, as the byte 0x80.
class EuroCodePage final : public IAnsiCodePage
{
public:
    std::string FromUtf16(std::u16string_view text) const override
    {
        std::string ansi;
        for (const char16_t unit : text)
            ansi += unit == u'\u20AC' ? '\x80' : unit <= 0xFF ? static_cast<char>(unit) : '?';
        return ansi;
    }
};

TEST_F(ComponentReaderTest, TurnsUtf16AndUtf8StringsIntoAnsiText)
{
    FormValue utf8;
    utf8.type = ValueType::UTF8String;
    utf8.bytes = "Caf\xC3\xA9 \xE2\x82\xAC 5";
    FormObject tree;
    tree.className = "TTestForm";
    tree.name = "F";
    tree.properties = {{"Caption", utf8}};
    FormObject label;
    label.className = "TTestLabel";
    label.name = "Label1";
    label.properties = {
        {"Caption", FormValue::Wide(u"\u20AC\u4E2D")},
        {"Accelerator", FormValue::Wide(u"\u20AC")},
        {"Lines.Strings",
         FormValue::Values({utf8, FormValue::Wide(u"\u00C4"), FormValue::Text("plain")})},
    };
    tree.children = {label};

    const EuroCodePage codePage;
    ComponentReader(registry, codePage).ReadRootComponent(tree, form);
    EXPECT_EQ(form.caption, "Caf\xE9 \x80 5");
    auto* read = Find<TTestLabel>("Label1");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Caption(), "\x80?");
    EXPECT_EQ(read->accelerator, '\x80');
    EXPECT_EQ(read->Lines()->Items(),
              (std::vector<std::string>{"Caf\xE9 \x80 5", "\xC4", "plain"}));
}

}  // namespace
}  // namespace setup::forms
