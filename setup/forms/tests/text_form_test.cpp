#include "setup/forms/text_form.h"

#include <cmath>

#include <gtest/gtest.h>

#include "setup/forms/binary_form.h"
#include "setup/forms/form_errors.h"

namespace setup::forms {
namespace {

// Forms in the writer's own layout: text -> tree -> binary -> tree -> text gives the same text.
TEST(TextForm, RoundTripsThroughTheBinaryLayout)
{
    const char* const forms[] = {
        "object PoolTemplate: TPoolTemplate\n"
        "  Left = 192\n"
        "  Top = -8\n"
        "  Width = 70000\n"
        "  Tag = 5000000000\n"
        "  Caption = 'It''s a page'\n"
        "  Color = clBtnFace\n"
        "  Font.Style = [fsBold, fsItalic]\n"
        "  Font.Name = 'MS Sans Serif'\n"
        "  BorderIcons = []\n"
        "  Scaled = False\n"
        "  Visible = True\n"
        "  PopupMenu = nil\n"
        "  OnCreate = FormCreate\n"
        "  object Label1: TLabel\n"
        "    Caption = 'Line one'#13#10'Line two'#9\n"
        "    FocusControl = Edit1\n"
        "  end\n"
        "  object Edit1: TEdit\n"
        "    Text = ''\n"
        "  end\n"
        "end\n",

        "object F: TF\n"
        "  Ratio = 1.5\n"
        "  Tiny = 1E-30\n"
        "  Huge = -1.25E300\n"
        "  Third = 0.1\n"
        "  Half = 0.5S\n"
        "  Price = 12.34C\n"
        "  Debt = -0.0001C\n"
        "  Fortune = 907925684877879.6536C\n"
        "  Lowest = -922337203685477.5808C\n"
        "  Day = 36526.5D\n"
        "  Euro = 'Price: '#8364'5'\n"
        "end\n",

        "object Memo1: TMemo\n"
        "  Lines.Strings = (\n"
        "    'first'\n"
        "    ''\n"
        "    'third')\n"
        "  Nested = (\n"
        "    1\n"
        "    (\n"
        "      'a'\n"
        "      True)\n"
        "    ())\n"
        "  Picture.Data = {\n"
        "    07544269746D6170}\n"
        "  Columns = <\n"
        "    item\n"
        "      Caption = 'Name'\n"
        "      Width = 120\n"
        "    end\n"
        "    item [3]\n"
        "    end>\n"
        "  Empty = <>\n"
        "end\n",

        "inherited Page2: TPage2\n"
        "  object Panel1: TPanel [1]\n"
        "    inline Frame1: TFrame1\n"
        "      object TPanel\n"
        "      end\n"
        "    end\n"
        "  end\n"
        "end\n",
    };
    for (const char* text : forms) {
        const FormObject tree = ReadTextForm(text);
        EXPECT_EQ(ReadBinaryForm(WriteBinaryForm(tree)), tree) << text;
        EXPECT_EQ(WriteTextForm(ReadBinaryForm(WriteBinaryForm(tree))), text);
    }
}

TEST(TextForm, ChoosesValueTypesByContent)
{
    const FormObject form = ReadTextForm(
        "OBJECT F: TF\n"
        "  A = 127\n"
        "  B = -129\n"
        "  C = 32768\n"
        "  D = $FFFFFFFF\n"
        "  E = 'one ' +\n"
        "      'two'\n"
        "  G = #200#65\n"
        "  H = #256\n"
        "  I = 2.5\n"
        "  J = 9223372036854775807\n"
        "  K = 0.00005C\n"
        "  L = 1.99994999C\n"
        "END");
    const auto type = [&](std::size_t i) { return form.properties.at(i).value.type; };
    EXPECT_EQ(type(0), ValueType::Int8);
    EXPECT_EQ(type(1), ValueType::Int16);
    EXPECT_EQ(type(2), ValueType::Int32);
    EXPECT_EQ(form.properties[3].value.integer, -1);  // eight hex digits: a 32-bit pattern
    EXPECT_EQ(form.properties[4].value.bytes, "one two");
    EXPECT_EQ(form.properties[5].value.bytes,
              "\xC8"
              "A");
    EXPECT_EQ(type(6), ValueType::WString);
    EXPECT_EQ(type(7), ValueType::Extended);
    EXPECT_EQ(form.properties[7].value.AsFloat(), 2.5L);
    EXPECT_EQ(type(8), ValueType::Int64);
    EXPECT_EQ(form.properties[9].value.integer, 1);  // currency decimals past the fourth round
    EXPECT_EQ(form.properties[10].value.integer, 19999);
    EXPECT_EQ(ReadTextForm("object F: TF\n  S = '" + std::string(256, 'x') + "'\nend")
                  .properties[0]
                  .value.type,
              ValueType::LString);
}

TEST(TextForm, NamesTheLineOfAGrammarFault)
{
    struct Case
    {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object F: TF\n  A = 'open\nend", "Unterminated string on line 2"},
        {"object F: TF\n  A = 1\n  B 2\nend", "'object' expected on line 3"},
        {"object F: TF\n  A = {0F0}\nend", "Odd number of hexadecimal digits on line 2"},
        {"object F: TF\n\n  A = 99999999999999999999\nend", "Number too large on line 3"},
        {"object F: TF\nend\nextra", "End of text expected on line 3"},
        {"thing F: TF\nend", "'object' expected on line 1"},
        {"object F: TF\n  C = <\n    thing\n  end>\nend", "'item' expected on line 3"},
        {"object F: TF\n  S = [a b]\nend", "']' expected on line 2"},
        {"object F: TF\n  A = 1", "Identifier expected on line 2"},
    };
    for (const Case& c : cases) {
        try {
            ReadTextForm(c.text);
            ADD_FAILURE() << "no error for: " << c.text;
        } catch (const EParserError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(TextForm, RefusesWhatTextCannotExpress)
{
    FormObject root;
    root.className = "TF";
    root.properties.push_back({"Bad Name", FormValue::Integer(1)});
    EXPECT_THROW(WriteTextForm(root), EFilerError);
    root.properties[0] = {"Ratio", FormValue::ExtendedFloat(HUGE_VALL)};
    EXPECT_THROW(WriteTextForm(root), EFilerError);
}

}  // namespace
}  // namespace setup::forms
