#include "setup/forms/binary_form.h"

#include <gtest/gtest.h>

#include "setup/forms/form_errors.h"
#include "setup/forms/tests/form_test_bytes.h"

namespace setup::forms {
namespace {

using testing::Hex;
using testing::HexOf;

// "TPF0", an object of class TX without a name, one property P with the value, no children.
std::vector<std::uint8_t> OnePropertyForm(std::string_view valueHex)
{
    return Hex("54504630 02 5458 00 01 50 " + std::string(valueHex) + " 00 00");
}

FormObject OnePropertyTree(FormValue value)
{
    FormObject root;
    root.className = "TX";
    root.properties.push_back({"P", std::move(value)});
    return root;
}

FormCollectionItem Item(OptionalInteger order, std::vector<FormProperty> properties)
{
    return {order, std::move(properties)};
}

TEST(BinaryForm, ReadsAndWritesEveryValueTypeByteForByte)
{
    struct Case
    {
        const char* what;
        std::string_view hex;  // type byte and payload of P's value
        FormValue value;
    };
    const Case cases[] = {
        {"list of two", "01 02 05 06 01 41 00",
         FormValue::Values({FormValue::Integer(5), FormValue::Text("A")})},
        {"empty list", "01 00", FormValue::Values({})},
        {"int8", "02 FE", FormValue::Integer(-2)},
        {"int16", "03 00 80", FormValue::Integer(-32768)},
        {"int32", "04 78 56 34 12", FormValue::Integer(0x12345678)},
        {"int64", "13 01 00 00 00 00 00 00 80", FormValue::Integer(INT64_MIN + 1)},
        // 1.5 = 1.1b * 2^0: mantissa C000..., biased exponent 3FFF.
        {"extended 1.5", "05 00 00 00 00 00 00 00 C0 FF 3F", FormValue::ExtendedFloat(1.5L)},
        {"extended -0.25", "05 00 00 00 00 00 00 00 80 FD BF", FormValue::ExtendedFloat(-0.25L)},
        {"extended 0", "05 00 00 00 00 00 00 00 00 00 00", FormValue::ExtendedFloat(0.0L)},
        {"string", "06 03 61 27 62", FormValue::Text("a'b")},
        {"ident", "07 05 63 6C 52 65 64", FormValue::Identifier("clRed")},
        {"false", "08", FormValue::Boolean(false)},
        {"true", "09", FormValue::Boolean(true)},
        {"binary", "0A 03 00 00 00 00 FF 7F", FormValue::Data(std::string("\0\xFF\x7F", 3))},
        {"set", "0B 06 61 6B 4C 65 66 74 05 61 6B 54 6F 70 00",
         FormValue::Members({"akLeft", "akTop"})},
        {"empty set", "0B 00", FormValue::Members({})},
        {"long string", "0C 02 00 00 00 68 69",
         [] {
             FormValue v = FormValue::Text("hi");
             v.type = ValueType::LString;
             return v;
         }()},
        {"nil", "0D", FormValue::Bare(ValueType::Nil)},
        {"collection with and without order", "0E 01 01 57 02 07 00 02 03 01 00 00",
         FormValue::Collection(
             {Item({}, {{"W", FormValue::Integer(7)}}), Item({ValueType::Int8, 3}, {})})},
        {"single 2.5", "0F 00 00 20 40", FormValue::SingleFloat(2.5f)},
        // 12.34 in ten-thousandths: 123400 = 0x1E208.
        {"currency", "10 08 E2 01 00 00 00 00 00", FormValue::CurrencyScaled(123400)},
        // 1.0 as a double: 3FF0000000000000.
        {"date", "11 00 00 00 00 00 00 F0 3F", FormValue::DoubleFloat(1.0, ValueType::Date)},
        {"double", "15 00 00 00 00 00 00 F0 BF", FormValue::DoubleFloat(-1.0)},
        {"wide string", "12 02 00 00 00 41 00 AC 20", FormValue::Wide(u"A\u20AC")},
        {"utf-8 string", "14 02 00 00 00 C3 A4",
         [] {
             FormValue v;
             v.type = ValueType::UTF8String;
             v.bytes = "\xC3\xA4";
             return v;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::uint8_t> bytes = OnePropertyForm(c.hex);
        EXPECT_EQ(ReadBinaryForm(bytes), OnePropertyTree(c.value));
        EXPECT_EQ(HexOf(WriteBinaryForm(OnePropertyTree(c.value))), HexOf(bytes));
    }
}

TEST(BinaryForm, ReadsObjectPrefixesAndChildren)
{
    // Root TF "F" with an inherited child at position 2 and an inline child with a grandchild.
    const auto bytes =
        Hex("54504630 02 5446 01 46 00"
            "  F3 02 02 02 5441 01 41 00 00"
            "  F4 02 5442 01 42 00"
            "    02 5443 00 00 00"
            "  00"
            "00");
    FormObject grandchild{0, {}, "TC", "", {}, {}};
    FormObject inherited{kInherited | kChildPos, {ValueType::Int8, 2}, "TA", "A", {}, {}};
    FormObject inlined{kInline, {}, "TB", "B", {}, {grandchild}};
    const FormObject expected{0, {}, "TF", "F", {}, {inherited, inlined}};
    EXPECT_EQ(ReadBinaryForm(bytes), expected);
    EXPECT_EQ(HexOf(WriteBinaryForm(expected)), HexOf(bytes));
}

TEST(BinaryForm, WritesAPrefixWhereTheClassNameAloneWouldBeMisread)
{
    FormObject child{0, {}, "", "A", {}, {}};
    const FormObject root{0, {}, "TF", "", {}, {child}};
    EXPECT_EQ(HexOf(WriteBinaryForm(root)),
              HexOf(Hex("54504630 02 5446 00 00  F0 00 01 41 00 00  00")));
    EXPECT_EQ(ReadBinaryForm(WriteBinaryForm(root)), root);
}

TEST(BinaryForm, EveryTruncationIsAnInvalidStreamFormat)
{
    const auto whole =
        Hex("54504630 02 5446 00"
            " 01 4C 01 06 01 61 0C 01 00 00 00 62 00"
            " 01 44 0A 02 00 00 00 01 02"
            " 01 57 12 01 00 00 00 41 00"
            " 01 45 05 00 00 00 00 00 00 00 C0 FF 3F"
            " 01 43 0E 02 01 01 01 50 09 00 00"
            " 01 53 0B 01 61 00 00"
            " F2 02 05 02 5441 00 00 00"
            "00");
    ASSERT_NO_THROW(ReadBinaryForm(whole));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const std::span<const std::uint8_t> cut(whole.data(), size);
        EXPECT_THROW(ReadBinaryForm(cut), EInvalidStreamFormat) << "cut at " << size;
    }
}

TEST(BinaryForm, RejectsDamageWithoutTrustingLengths)
{
    struct Case
    {
        const char* what;
        std::string hex;
    };
    const std::string nesting = [] {
        std::string hex = "54504630 02 5446 00 00";
        for (int i = 0; i <= kMaxFormNesting; ++i)
            hex += " 02 5441 00 00";
        return hex;
    }();
    const Case cases[] = {
        {"wrong signature", "54504631 02 5446 00 00 00"},
        {"unknown value type", "54504630 02 5446 00 01 50 16 00 00"},
        {"binary longer than the stream", "54504630 02 5446 00 01 50 0A FF FF FF FF 00 00"},
        {"long string longer than the stream", "54504630 02 5446 00 01 50 0C 00 00 00 80 00"},
        {"wide string count past the stream", "54504630 02 5446 00 01 50 12 FF FF FF 7F 41 00"},
        {"collection item without its marker", "54504630 02 5446 00 01 50 0E 02 01 05 00 00 00"},
        {"child position that is not an integer", "54504630 F2 06 01 41 02 5446 00 00 00"},
        {"objects nested too deep", nesting},
    };
    for (const Case& c : cases)
        EXPECT_THROW(ReadBinaryForm(Hex(c.hex)), EInvalidStreamFormat) << c.what;

    std::string lists = "54504630 02 5446 00 01 50";
    for (int i = 0; i <= kMaxFormNesting; ++i)
        lists += " 01";
    EXPECT_THROW(ReadBinaryForm(Hex(lists)), EInvalidStreamFormat) << "lists nested too deep";
}

TEST(FormResourceHeader, IsCheckedAndSkipped)
{
    const auto stream = Hex("54504630 02 5446 00 00 00");
    std::vector<std::uint8_t> file = FormResourceHeader("TF", stream.size());
    EXPECT_EQ(HexOf(file), "FF 0A 00 54 46 00 30 10 0A 00 00 00");
    file.insert(file.end(), stream.begin(), stream.end());
    EXPECT_EQ(HexOf({SkipFormResourceHeader(file).begin(), SkipFormResourceHeader(file).end()}),
              HexOf(stream));

    for (const char* damaged :
         {"FE 0A 00 54 46 00 30 10 06 00 00 00", "FF 0B 00 46 00 30 10 0000 0000", "FF 0A 00 54 46",
          "FF 0A 00 54 46 00 30 10 06 00 00", "FF 0A"})
        EXPECT_THROW(SkipFormResourceHeader(Hex(damaged)), EInvalidStreamFormat) << damaged;
}

}  // namespace
}  // namespace setup::forms
